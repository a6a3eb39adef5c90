#include "cli/fields.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

#include "tables/operator_presets.h"
#include "text/cp1252.h"

namespace ostrova::cli {
namespace {

std::vector<Field> BuildFields() {
    using K = FieldKind;
    using R = FieldRole;
    std::vector<Field> f;
    const auto add = [&](std::string name, std::size_t offset, std::size_t width, K kind,
                         R role = R::Editable) {
        f.push_back({std::move(name), offset, width, kind, role});
    };
#define NUMBER(member, role)                                                   \
    add(#member, offsetof(ConfigRecord, member), sizeof(ConfigRecord::member), \
        sizeof(ConfigRecord::member) == 1 ? K::U8 : K::U16, role)
#define TEXT(member) \
    add(#member, offsetof(ConfigRecord, member), sizeof(ConfigRecord::member), K::Text)
    NUMBER(version, R::WrittenBySave);
    NUMBER(sendMode, R::Editable);
    NUMBER(sendVia, R::Editable);
    NUMBER(sendTo, R::Editable);
    NUMBER(auxFlag, R::Editable);
    NUMBER(reportHour, R::Editable);
    NUMBER(reportMinute, R::Editable);
    NUMBER(smsControl, R::Editable);
    NUMBER(countryId, R::Editable);
    NUMBER(operatorId, R::Editable);
    NUMBER(imageQuality, R::Editable);
    NUMBER(fixedFlag, R::WrittenBySave);
    NUMBER(statusResponse, R::Editable);
    NUMBER(statusResponse2, R::FollowsStatusResponse);
    NUMBER(smtpSsl, R::Editable);
    NUMBER(maxNum, R::Editable);
    for (std::size_t i = 0; i < 4; ++i)
        add("phone[" + std::to_string(i + 1) + "]", offsetof(ConfigRecord, phone) + 20 * i, 20,
            K::Text);
    for (std::size_t i = 0; i < 4; ++i)
        add("email[" + std::to_string(i + 1) + "]", offsetof(ConfigRecord, email) + 60 * i, 60,
            K::Text);
    TEXT(smtpAccount);
    TEXT(smtpPassword);
    TEXT(smtpServer);
    TEXT(smtpPort);
    TEXT(mmsApn);
    TEXT(mmsUser);
    TEXT(mmsPassword);
    TEXT(mmscUrl);
    TEXT(mmsProxy);
    TEXT(mmsPort);
    TEXT(netApn);
    TEXT(netUser);
    TEXT(netPassword);
    add("imageFromShort", offsetof(ConfigRecord, imageFromShort),
        sizeof(ConfigRecord::imageFromShort), K::Text, R::FollowsImageFrom);
    TEXT(ftpAccount);
    TEXT(ftpPassword);
    TEXT(ftpServer);
    TEXT(httpServer);
    TEXT(imageFrom);
    NUMBER(saveYear, R::WrittenBySave);
    NUMBER(saveMonth, R::WrittenBySave);
    NUMBER(saveDay, R::WrittenBySave);
    NUMBER(saveHour, R::WrittenBySave);
    NUMBER(saveMinute, R::WrittenBySave);
    NUMBER(saveSecond, R::WrittenBySave);
#undef NUMBER
#undef TEXT
    return f;
}

constexpr std::array<ByteRange, 3> kReserved = {{{18, 2}, {868, 2}, {1197, 849}}};

std::string_view SendToCaption(unsigned via, unsigned to) {
    if (via == kViaMms && to <= kToBoth) {
        constexpr std::array<std::string_view, 3> mms = {"Phone", "Email", "Both"};
        return mms[to];
    }
    if (via == kViaInternet) {
        if (to == kToEmail) return "Email";
        if (to == kToHttp) return "HTTP";
        if (to == kToFtp) return "FTP";
    }
    return {};
}

}  // namespace

const std::vector<Field>& Fields() {
    static const std::vector<Field> fields = BuildFields();
    return fields;
}

const Field* FindField(std::string_view name) {
    const auto& fields = Fields();
    const auto it =
        std::find_if(fields.begin(), fields.end(), [&](const Field& f) { return f.name == name; });
    return it == fields.end() ? nullptr : &*it;
}

std::span<const ByteRange> ReservedRanges() {
    return kReserved;
}

unsigned NumberOf(const ConfigRecord& record, const Field& field) {
    const auto bytes = record.bytes();
    if (field.kind == FieldKind::U8) return bytes[field.offset];
    return bytes[field.offset] | (bytes[field.offset + 1] << 8);  // little-endian
}

void SetNumber(ConfigRecord& record, const Field& field, unsigned value) {
    auto bytes = record.bytes();
    bytes[field.offset] = static_cast<std::uint8_t>(value & 0xFF);
    if (field.kind == FieldKind::U16)
        bytes[field.offset + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::string_view TextBytes(const ConfigRecord& record, const Field& field) {
    const auto* start = reinterpret_cast<const char*>(record.bytes().data() + field.offset);
    return TextOf(std::span<const char>(start, field.width));
}

std::span<char> TextSpan(ConfigRecord& record, const Field& field) {
    return {reinterpret_cast<char*>(record.bytes().data() + field.offset), field.width};
}

std::string Caption(const ConfigRecord& record, const Field& field) {
    const unsigned v = NumberOf(record, field);
    if (field.name == "sendMode") {
        constexpr std::array<std::string_view, 3> modes = {"Instant", "Daily Report", "Off"};
        return v < modes.size() ? std::string(modes[v]) : "";
    }
    if (field.name == "sendVia") return v == kViaMms ? "MMS" : v == kViaInternet ? "Internet" : "";
    if (field.name == "sendTo") return std::string(SendToCaption(record.sendVia, v));
    if (field.name == "smsControl") return v == 0 ? "OFF" : v == 1 ? "ON" : "";
    if (field.name == "countryId")
        return std::string(GetCountryName(record.countryId).value_or(""));
    if (field.name == "operatorId") {
        const OperatorPreset* row = FindPreset(record.countryId, record.operatorId);
        return row ? std::string(ColumnText(row->operatorName)) : "";
    }
    if (field.name == "imageQuality") return v <= 100 ? "Normal" : v <= 1000 ? "High" : "Original";
    return "";
}

std::string Display(const ConfigRecord& record, const Field& field) {
    if (field.kind != FieldKind::Text) {
        const std::string caption = Caption(record, field);
        const std::string number = std::to_string(NumberOf(record, field));
        return caption.empty() ? number : number + " (" + caption + ")";
    }
    // Quoted, so blanks at either end show. (Built by appending: GCC 12 warns of a false
    // overlap in a literal + string + literal.)
    std::string quoted = "\"";
    quoted += Escaped(Cp1252ToUtf8(TextBytes(record, field)), true);
    quoted += '"';
    return quoted;
}

std::string Escaped(std::string_view utf8, bool quoted) {
    std::string out;
    const auto hex = [&](unsigned b) {
        char text[8];
        std::snprintf(text, sizeof text, "\\x%02X", b);
        out += text;
    };
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<std::uint8_t>(utf8[i]);
        const std::size_t n = b < 0x80         ? 1
                              : (b >> 5) == 6  ? 2
                              : (b >> 4) == 14 ? 3
                              : (b >> 3) == 30 ? 4
                                               : 0;
        bool whole = n > 0 && i + n <= utf8.size();
        for (std::size_t k = 1; whole && k < n; ++k)
            whole = (static_cast<std::uint8_t>(utf8[i + k]) & 0xC0) == 0x80;
        if (!whole) {
            hex(b);  // not UTF-8
            ++i;
            continue;
        }
        // C1 controls (U+0080..U+009F) as the byte they stand for in Windows-1252.
        const unsigned c1 = n == 2 && b == 0xC2 ? static_cast<std::uint8_t>(utf8[i + 1]) : 0;
        if (b < 0x20 || b == 0x7F || (c1 >= 0x80 && c1 < 0xA0)) {
            hex(c1 ? c1 : b);
        } else if (quoted && (b == '"' || b == '\\')) {
            out += '\\';
            out += static_cast<char>(b);
        } else {
            out.append(utf8.substr(i, n));
        }
        i += n;
    }
    return out;
}

}  // namespace ostrova::cli
