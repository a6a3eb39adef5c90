#include "cli/edit.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <climits>
#include <set>
#include <string_view>
#include <utility>
#include <vector>

#include "cli/fields.h"
#include "config/email_rules.h"
#include "config/field_rules.h"
#include "config/presets.h"
#include "config/save.h"
#include "tables/operator_presets.h"
#include "text/cp1252.h"

namespace ostrova::cli {
namespace {

struct Refused {
    int exitCode = 1;
    std::string why;
};

struct Named {
    std::string_view name;
    unsigned value;
};

constexpr std::array<Named, 3> kSendModes = {{{"Instant", 0}, {"Daily Report", 1}, {"Off", 2}}};
constexpr std::array<Named, 2> kSendVias = {{{"MMS", 0}, {"Internet", 1}}};
constexpr std::array<Named, 5> kSendTos = {
    {{"Phone", 0}, {"Email", 1}, {"Both", 2}, {"HTTP", 3}, {"FTP", 4}}};
constexpr std::array<Named, 2> kOnOff = {{{"OFF", 0}, {"ON", 1}}};
constexpr std::array<Named, 3> kQualities = {{{"Normal", 100}, {"High", 200}, {"Original", 2000}}};

bool SameWord(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A whole number of digits only; values past int's range saturate, so a bound still refuses
// them with its own message.
std::optional<long long> ParseCount(std::string_view s) {
    if (s.empty() || !std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    long long v = 0;
    for (char c : s) v = std::min<long long>(v * 10 + (c - '0'), INT_MAX);
    return v;
}

template <std::size_t N>
std::string Choices(const std::array<Named, N>& names) {
    std::string out;
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) out += i + 1 == N ? " or " : ", ";
        out += names[i].name;
    }
    return out;
}

// A number or one of its captions, up to max.
template <std::size_t N>
std::optional<unsigned> ParseNamed(std::string_view s, const std::array<Named, N>& names,
                                   unsigned max, Refused& refused) {
    for (const Named& n : names)
        if (SameWord(s, n.name)) return n.value;
    if (const auto v = ParseCount(s); v && *v <= max) return static_cast<unsigned>(*v);
    refused.why = "expects " + Choices(names) + " (or a number up to " + std::to_string(max) + ")";
    return std::nullopt;
}

std::optional<unsigned> ParseRange(std::string_view s, unsigned max, Refused& refused) {
    if (const auto v = ParseCount(s); v && *v <= max) return static_cast<unsigned>(*v);
    refused.why = "expects a whole number from 0 to " + std::to_string(max);
    return std::nullopt;
}

std::string OperatorsOf(std::uint8_t country) {
    std::string out;
    for (std::uint8_t n = 0;; ++n) {
        const auto name = GetOperatorName(country, n);
        if (!name) break;
        if (!out.empty()) out += ", ";
        out += std::string(*name) + " " + std::to_string(GetOperatorId(country, n));
    }
    return out;
}

// An operator by name or id among the rows of the record's (already updated) country.
// An id comes first: some operators are named by a number ("3").
std::optional<unsigned> ParseOperator(std::string_view s, std::uint8_t country, Refused& refused) {
    if (const auto v = ParseCount(s);
        v && *v <= 255 && FindOperatorIndex(country, static_cast<std::uint8_t>(*v)) != kNoRow8)
        return static_cast<unsigned>(*v);
    for (std::uint8_t n = 0;; ++n) {
        const auto name = GetOperatorName(country, n);
        if (!name) break;
        if (SameWord(s, *name)) return GetOperatorId(country, n);
    }
    const auto countryName = GetCountryName(country);
    refused.why = "is no operator of " +
                  (countryName ? std::string(*countryName) : "country " + std::to_string(country)) +
                  " (" + OperatorsOf(country) + ")";
    return std::nullopt;
}

std::optional<unsigned> ParseNumber(const Field& field, std::string_view s,
                                    const ConfigRecord& record, Refused& refused) {
    if (const NumericRule* rule = FindNumericRule(field.name)) {
        const auto v = ParseCount(s);
        if (!v) {
            refused.why = "expects a whole number";
            return std::nullopt;
        }
        if (!rule->Accepts(static_cast<int>(*v))) {
            refused.why = rule->message;
            return std::nullopt;
        }
        return static_cast<unsigned>(*v);
    }
    const std::string& n = field.name;
    if (n == "sendMode") return ParseNamed(s, kSendModes, 2, refused);
    if (n == "sendVia") return ParseNamed(s, kSendVias, 1, refused);
    if (n == "sendTo") return ParseNamed(s, kSendTos, 4, refused);
    if (n == "smsControl") return ParseNamed(s, kOnOff, 1, refused);
    if (n == "imageQuality") return ParseNamed(s, kQualities, 65535, refused);
    if (n == "countryId") return FindCountry(s, refused.why);
    if (n == "operatorId") return ParseOperator(s, record.countryId, refused);
    // statusResponse, smtpSsl, auxFlag: flags; a save would turn any other auxFlag into 0.
    return ParseRange(s, 1, refused);
}

std::optional<std::string> ParseText(const Field& field, std::string_view s, Refused& refused) {
    std::optional<std::string> bytes = Utf8ToCp1252(s, refused.why);
    if (!bytes) return std::nullopt;
    const TextRule* rule = FindTextRule(field.name);
    const std::size_t longest = rule ? rule->maxLength : field.width - 1;
    if (bytes->size() > longest) {
        refused.why = "is " + std::to_string(bytes->size()) + " characters long; " + field.name +
                      " keeps at most " + std::to_string(longest);
        return std::nullopt;
    }
    if (rule && rule->digitsOnly) {
        if (!std::all_of(bytes->begin(), bytes->end(),
                         [](char c) { return c >= '0' && c <= '9'; })) {
            refused.why = "takes digits only";
            return std::nullopt;
        }
    }
    // The Email Setting dialog's checks; the tool chooses no provider, so an account needs "@".
    std::optional<std::string_view> email;
    if (field.name == "smtpAccount") email = SmtpAccountRefusal(*bytes, false);
    if (field.name == "smtpServer") email = SmtpServerRefusal(*bytes);
    if (field.name == "smtpPort") email = SmtpPortRefusal(*bytes);
    if (email) {
        refused.why = *email;
        return std::nullopt;
    }
    return bytes;
}

void StoreText(ConfigRecord& record, const Field& field, const std::string& bytes) {
    const bool recipient = field.name.starts_with("phone[") || field.name.starts_with("email[");
    if (field.name == "imageFrom") {
        StoreImageFrom(record, bytes);
    } else if (recipient && bytes.empty()) {
        ZeroField(TextSpan(record, field));  // an emptied recipient is cleared whole
    } else {
        CopyText(TextSpan(record, field), bytes);
    }
}

bool Differs(const ConfigRecord& a, const ConfigRecord& b, const Field& f) {
    return f.kind == FieldKind::Text ? TextBytes(a, f) != TextBytes(b, f)
                                     : NumberOf(a, f) != NumberOf(b, f);
}

bool IsOperatorParam(const Field& f) {
    return f.offset >= offsetof(ConfigRecord, mmsApn) &&
           f.offset < offsetof(ConfigRecord, imageFromShort);
}

std::string Quote(const Assignment& a) {
    return a.field + "=" + a.value;
}

std::string_view RoleRefusal(FieldRole role) {
    switch (role) {
        case FieldRole::WrittenBySave:
            return "is written by every save";
        case FieldRole::FollowsStatusResponse:
            return "follows statusResponse";
        case FieldRole::FollowsImageFrom:
            return "follows imageFrom (its first 15 characters)";
        case FieldRole::Editable:
            break;
    }
    return {};
}

}  // namespace

std::optional<std::string_view> InternetOnlyTarget(const ConfigRecord& record) {
    if (record.sendVia != kViaInternet) return std::nullopt;
    if (record.sendTo == kToFtp) return "FTP";
    if (record.sendTo == kToHttp) return "HTTP";
    return std::nullopt;
}

std::vector<std::string> BinLosses(const ConfigRecord& record) {
    std::vector<std::string> lost;
    if (const auto target = InternetOnlyTarget(record))
        lost.push_back("sendTo " + std::string(*target));
    for (const Field& f : Fields()) {
        if (f.offset < kBinFormSize || f.role != FieldRole::Editable) continue;
        const std::string_view text = TextBytes(record, f);
        if (f.name == "imageFrom") {
            if (text.size() >= record.imageFromShort.size())
                lost.push_back("imageFrom beyond " +
                               std::to_string(record.imageFromShort.size() - 1) + " characters");
        } else if (!text.empty()) {
            lost.push_back(f.name);
        }
    }
    return lost;
}

std::vector<std::string> ChoicesOf(std::string_view field) {
    std::vector<std::string> out;
    const auto add = [&](const auto& names) {
        for (const Named& n : names) out.emplace_back(n.name);
    };
    if (field == "sendMode") add(kSendModes);
    if (field == "sendVia") add(kSendVias);
    if (field == "sendTo") add(kSendTos);
    if (field == "smsControl") add(kOnOff);
    if (field == "imageQuality") add(kQualities);
    if (field == "statusResponse" || field == "smtpSsl" || field == "auxFlag") out = {"0", "1"};
    if (field == "countryId") {
        for (unsigned id = 0; id <= kLastCountryId; ++id)
            if (const auto name = GetCountryName(static_cast<std::uint8_t>(id)))
                out.emplace_back(*name);
    }
    return out;
}

std::optional<unsigned> FindCountry(std::string_view s, std::string& why) {
    for (unsigned id = 0; id <= kLastCountryId; ++id) {
        const auto name = GetCountryName(static_cast<std::uint8_t>(id));
        if (name && SameWord(s, *name)) return id;
    }
    if (const auto v = ParseCount(s);
        v && *v <= 255 && GetCountryName(static_cast<std::uint8_t>(*v)))
        return static_cast<unsigned>(*v);
    why = "is no country of the preset table (a name such as Sweden, or an id 0 to " +
          std::to_string(kLastCountryId) + ")";
    return std::nullopt;
}

std::optional<EditError> ApplyEdits(ConfigRecord& record, std::span<const Assignment> edits,
                                    FileForm form) {
    const ConfigRecord before = record;
    ConfigRecord r = record;
    std::set<std::string> given;

    for (const Assignment& a : edits) {
        const Field* f = FindField(a.field);
        if (!f) return EditError{2, a.field + ": no such field (see the names that show prints)"};
    }

    for (const Field& field : Fields()) {
        const Field* f = &field;
        const auto it = std::find_if(edits.begin(), edits.end(),
                                     [&](const Assignment& a) { return a.field == f->name; });
        if (it == edits.end()) continue;
        const Assignment& a = *it;
        if (f->role != FieldRole::Editable) {
            if (a.fromJson) continue;  // the save writes these itself
            return EditError{2, a.field + ": " + std::string(RoleRefusal(f->role))};
        }
        given.insert(f->name);
        Refused refused;
        if (f->kind == FieldKind::Text) {
            if (a.jsonNumber) return EditError{1, Quote(a) + ": expects a text (a JSON string)"};
            if (a.value == Cp1252ToUtf8(TextBytes(r, *f))) continue;  // unchanged: no checks
            const std::optional<std::string> text = ParseText(*f, a.value, refused);
            if (!text) return EditError{refused.exitCode, Quote(a) + ": " + refused.why};
            StoreText(r, *f, *text);
        } else {
            if (a.value == std::to_string(NumberOf(r, *f))) continue;  // unchanged
            const std::optional<unsigned> v = ParseNumber(*f, a.value, r, refused);
            if (!v) return EditError{refused.exitCode, Quote(a) + ": " + refused.why};
            if (*v == NumberOf(r, *f)) continue;
            SetNumber(r, *f, *v);
            // Picking Custom brings back its own parameters, which this run has none of yet;
            // the parameters given with it come later in record order.
            if (f->name == "countryId" && r.countryId == kCountryCustom)
                RestoreCustomPreset(CustomPreset{}, r);
        }
    }

    const auto changed = [&](std::string_view name) {
        return Differs(before, r, *FindField(name));
    };
    const auto isGiven = [&](std::string_view name) { return given.count(std::string(name)) > 0; };
    const auto field = [&](std::string_view name) -> const Assignment* {
        for (const Assignment& a : edits)
            if (a.field == name) return &a;
        return nullptr;
    };

    // Another country: its first operator, as the Country list picks it.
    if (changed("countryId") && !isGiven("operatorId"))
        r.operatorId = GetOperatorId(r.countryId, 0);
    if ((changed("countryId") || changed("operatorId")) &&
        FindOperatorIndex(r.countryId, r.operatorId) == kNoRow8) {
        const Assignment* a = field("operatorId") ? field("operatorId") : field("countryId");
        const auto countryName = GetCountryName(r.countryId);
        return EditError{1, Quote(*a) + ": operator " + std::to_string(r.operatorId) +
                                " is no operator of " + std::string(countryName.value_or("?")) +
                                " (" + OperatorsOf(r.countryId) + ")"};
    }

    // The Send Via radios and the send-to list.
    if (changed("sendVia")) {
        if (!isGiven("sendTo")) {
            if (r.sendVia == kViaInternet) r.sendTo = kToEmail;
            if (r.sendVia == kViaMms && r.sendTo > kToBoth) r.sendTo = kToBoth;
        }
        if (r.sendVia == kViaMms && !isGiven("imageQuality")) r.imageQuality.set(100);
    }
    const bool sendToFits = r.sendVia == kViaMms
                                ? r.sendTo <= kToBoth
                                : r.sendTo == kToEmail || r.sendTo == kToHttp || r.sendTo == kToFtp;
    if (changed("sendMode") && r.sendMode != kSendOff && !isGiven("sendTo") && !sendToFits)
        r.sendTo = r.sendVia == kViaMms ? kToPhone : kToEmail;  // as the send-to list refills
    else if ((changed("sendVia") || changed("sendTo")) && !sendToFits) {
        const Assignment* a = field("sendTo") ? field("sendTo") : field("sendVia");
        return EditError{
            1, Quote(*a) + ": sendTo " + std::to_string(r.sendTo) +
                   (r.sendVia == kViaMms ? " is not available with MMS (Phone, Email or Both)"
                                         : " is not available with Internet (Email, HTTP or FTP)")};
    }

    // SMS control and Status Response.
    if (changed("smsControl") && r.smsControl == 0 && !isGiven("statusResponse"))
        r.statusResponse = 0;
    if (changed("statusResponse")) r.statusResponse2 = r.statusResponse;  // always together
    if (changed("statusResponse") && r.statusResponse == 1 && r.smsControl == 0)
        return EditError{1, Quote(*field("statusResponse")) +
                                ": Status Response needs SMS control ON (smsControl=ON)"};

    // MMS sends at Normal quality: the window disables the list.
    if (changed("imageQuality") && r.sendVia == kViaMms && r.imageQuality.get() != 100)
        return EditError{1, Quote(*field("imageQuality")) +
                                ": Image Quality stays Normal with MMS (sendVia=Internet chooses "
                                "another)"};

    // With Auto the window's Parameters button is disabled.
    for (const Field& f : Fields()) {
        if (!IsOperatorParam(f) || !changed(f.name) || r.countryId != kCountryAuto) continue;
        return EditError{1, Quote(*field(f.name)) +
                                ": the operator parameters cannot be set with country Auto; "
                                "set countryId=Custom to use your own"};
    }

    // A carrier's parameters go out as its preset: a different value would be lost silently.
    ConfigRecord completed = r;
    CompleteForWrite(completed);
    for (const Field& f : Fields()) {
        if (!IsOperatorParam(f) || !changed(f.name) || !Differs(r, completed, f)) continue;
        return EditError{1, Quote(*field(f.name)) +
                                ": the operator parameters of a carrier come from its preset; "
                                "set countryId=Custom to use your own"};
    }

    // MMSCFG.BIN carries bytes 0 to 867 only.
    if (form == FileForm::Bin) {
        if (const auto target = InternetOnlyTarget(r)) {
            const Assignment* a = field("sendTo") ? field("sendTo") : field("sendVia");
            return EditError{1, (a ? Quote(*a) : "sendTo") + ": MMSCFG.BIN cannot hold the " +
                                    std::string(*target) + " settings; sending to " +
                                    std::string(*target) +
                                    " is saved in the wireless.cfg form (--form cfg)"};
        }
        for (const Field& f : Fields()) {
            if (f.offset < kBinFormSize || !changed(f.name)) continue;
            if (f.name == "imageFrom" && TextOf(r.imageFrom).size() < r.imageFromShort.size())
                continue;  // imageFromShort carries all of it
            const Assignment* a = field(f.name);
            return EditError{1, (a ? Quote(*a) : f.name) +
                                    ": MMSCFG.BIN does not carry this field" +
                                    (f.name == "imageFrom" ? " beyond 15 characters" : "")};
        }
    }

    record = r;
    return std::nullopt;
}

std::optional<std::string> SaveRefusal(const ConfigRecord& record) {
    if (SmsControlWithoutPhone(record)) return std::string(msg::kSmsControlNeedsPhone);
    if (NeedsEmailAccount(record))
        return "Instant sending by e-mail needs the sender account: set smtpAccount and "
               "smtpServer";
    return std::nullopt;
}

}  // namespace ostrova::cli
