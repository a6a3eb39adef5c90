// A plain text field as a small model (text, selection, the user's edits and moves, undo and
// redo with the toolkit's grouping), and the real edits of the main window and the Email
// Setting dialog driven with the same random steps. Where the model's result passes the
// field's rules, the edit shows exactly the model's text and selection and the record follows;
// where the rules refuse, nothing changes at all. The grouping itself is held to a real
// QLineEdit by the Qt backend's tests. OSTROVA_MODEL_STEPS and OSTROVA_MODEL_SEED run others.
#include <cstdlib>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <span>

#include "main_window_fixture.h"
#include "platform/edit_history.h"
#include "text/cp1252.h"
#include "ui/dialogs/email_setting_dlg.h"

namespace ostrova::platform {
inline void PrintTo(const EditSnapshot& s, std::ostream* out) {
    *out << '"' << s.text << "\" anchor " << s.anchor << " caret " << s.caret;
}
}  // namespace ostrova::platform

namespace ostrova::ui::testing {
namespace {

using platform::EditHistory;
using platform::EditKind;
using platform::EditSnapshot;

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

// A field's rules, written down from what the user is told, not from the code.
struct Field {
    int id;
    const char* name;
    bool digits = false;
    int limit = 0;       // the edit refuses growth past it
    int fallbackAt = 0;  // this many characters: back to the last accepted text
    int bound = 0;       // numeric: values from here on get `message`
    const char* message = "";
    bool password = false;
};

const Field kMainFields[] = {
    {IDC_EDIT_PHONE1, "Phone1", false, 0, 20},
    {IDC_EDIT_EMAIL1, "E-mail 1", false, 0, 60},
    {IDC_EDIT_MAXNUM, "Max Num", true, 0, 0, 10000, "Please input a number within 9999! "},
    {IDC_EDIT_IMAGEFROM, "Image From"},
};
const Field kDailyFields[] = {
    {IDC_EDIT_HOUR, "Hour", true, 0, 0, 24, "Please input a number between 0 and 23! "},
    {IDC_EDIT_MINUTE, "Minute", true, 0, 0, 60, "Please input a number between 0 and 59! "},
};
const Field kEmailFields[] = {
    {IDC_EMAIL_PASSWORD, "Password", false, 39, 0, 0, "", true},
    {IDC_EMAIL_SERVER, "Server", false, 39},
    {IDC_EMAIL_PORT, "Port", true, 5},
};

// Mostly characters that repeat, so runs of equal ones are common; now and then one the edits
// refuse (outside the code page, a control character).
constexpr const char* kAlphabet[] = {"0", "1", "a", "@", "0", "1", "\xCE\xA9", "\t"};

class EditModel : public MainWindow {
protected:
    std::mt19937 rng;
    std::size_t Below(std::size_t n) { return static_cast<std::size_t>(rng() % n); }
    std::string Piece() {
        std::string s;
        for (std::size_t n = 1 + Below(Below(4) == 0 ? 12 : 3); n > 0; --n)
            s += kAlphabet[Below(Below(10) == 0 ? std::size(kAlphabet) : 6)];
        return s;
    }

    // The model of one field: its state and history, and what it expects of the framework.
    struct Plain {
        EditSnapshot s;
        EditHistory history;
        long long member = 0;  // a numeric field's last pulled value
        int lo() const { return std::min(s.anchor, s.caret); }
        int hi() const { return std::max(s.anchor, s.caret); }
        int len() const { return static_cast<int>(s.text.size()); }
    };

    // The value a numeric text pulls into its member, if it is a number at all.
    static std::optional<long long> Parsed(const std::string& text) {
        const std::string digits = text.substr(std::min(text.find_first_not_of('0'), text.size()));
        if (text.empty() || digits.size() > 10) return std::nullopt;
        const long long value = digits.empty() ? 0 : std::stoll(digits);
        if (value > 2147483647LL) return std::nullopt;
        return value;
    }
    // What a numeric field's handler tells the user of the text it is left with: a text that
    // is no number stops the pull, and the member, keeping its value, is then judged as well.
    static std::vector<std::string> Complaints(const Field& f, const std::string& text,
                                               long long& member) {
        std::vector<std::string> out;
        if (f.bound == 0) return out;
        if (const auto v = Parsed(text))
            member = *v;
        else
            out.emplace_back("Please enter a whole number.");
        if (member >= f.bound) out.emplace_back(f.message);
        return out;
    }

    // One random step on field `f` of `d`, the same on the model; then both are compared.
    void Step(HeadlessDialog& d, const Field& f, Plain& m, std::string& log) {
        const EditSnapshot before = m.s;
        std::optional<std::vector<std::string>> expected;  // messages, when a handler ran
        auto edit = [&](int start, int end, std::string ins, EditKind kind) {
            // The model's own rules, in the order the user meets them.
            std::string bytes;
            for (const char32_t cp : DecodeUtf8(ins)) {
                if (cp < 0x20 || cp > 0xFF || (f.digits && (cp < '0' || cp > '9'))) return;
                bytes += static_cast<char>(cp);
            }
            if (f.limit > 0) {
                const int room = std::max(f.limit, m.len()) - (m.len() - (end - start));
                if (!bytes.empty() && room <= 0) return;
                if (static_cast<int>(bytes.size()) > room)
                    bytes.resize(static_cast<std::size_t>(room));
            }
            if (start == end && bytes.empty()) return;
            std::string next = m.s.text.substr(0, static_cast<std::size_t>(start)) + bytes +
                               m.s.text.substr(static_cast<std::size_t>(end));
            if (f.fallbackAt > 0 && static_cast<int>(next.size()) >= f.fallbackAt) return;
            m.history.Record(m.s, start, end, bytes, kind);
            m.s = {next, start + static_cast<int>(bytes.size()),
                   start + static_cast<int>(bytes.size())};
            expected = Complaints(f, m.s.text, m.member);
        };
        auto select = [&](int anchor, int caret) {
            anchor = std::clamp(anchor, 0, m.len());
            caret = std::clamp(caret, 0, m.len());
            if (caret != m.s.caret || (anchor != caret && anchor != m.s.anchor))
                m.history.Separate();
            m.s.anchor = anchor;
            m.s.caret = caret;
            d.Select(f.id, anchor, caret);
        };
        const int lo = m.lo(), hi = m.hi();
        switch (Below(16)) {
            case 0:
            case 1:
            case 2:
            case 3: {
                const std::string one = kAlphabet[Below(Below(8) == 0 ? std::size(kAlphabet) : 6)];
                log = "type " + one;
                edit(lo, hi, one, EditKind::Typing);
                d.Type(f.id, one);
                break;
            }
            case 4: {
                const std::string piece = Piece();
                log = "paste " + piece;
                edit(lo, hi, piece, EditKind::Paste);
                d.Paste(f.id, piece);
                break;
            }
            case 5:
                log = "backspace";
                if (lo < hi)
                    edit(lo, hi, "", EditKind::Backspace);
                else if (lo > 0)
                    edit(lo - 1, lo, "", EditKind::Backspace);
                d.Backspace(f.id);
                break;
            case 6:
                log = "delete";
                if (lo < hi)
                    edit(lo, hi, "", EditKind::Delete);
                else if (hi < m.len())
                    edit(hi, hi + 1, "", EditKind::Delete);
                d.Delete(f.id);
                break;
            case 7:
                log = "cut";
                if (lo < hi) edit(lo, hi, "", EditKind::Delete);
                d.Cut(f.id);
                break;
            case 8:
            case 9: {
                log = "undo";
                if (auto next = m.history.Undo(m.s, f.password)) {
                    m.s = *next;
                    expected = Complaints(f, m.s.text, m.member);
                }
                d.Undo(f.id);
                break;
            }
            case 10: {
                log = "redo";
                if (auto next = f.password ? std::nullopt : m.history.Redo(m.s)) {
                    m.s = *next;
                    expected = Complaints(f, m.s.text, m.member);
                }
                d.Redo(f.id);
                break;
            }
            case 11:
                log = "select all";
                select(0, m.len());
                break;
            case 12:
                log = "home";
                select(0, 0);
                break;
            case 13:
                log = "shift+left";
                select(m.s.anchor, m.s.caret - 1);
                break;
            case 14:
                log = "right";
                select(lo < hi ? hi : hi + 1, lo < hi ? hi : hi + 1);
                break;
            default: {
                const int a = static_cast<int>(Below(static_cast<std::size_t>(m.len()) + 1));
                const int c = static_cast<int>(Below(static_cast<std::size_t>(m.len()) + 1));
                log = "select " + std::to_string(a) + "-" + std::to_string(c);
                select(a, c);
            }
        }
        const std::vector<std::string> told = expected.value_or(std::vector<std::string>{});
        if (!told.empty()) {
            // The refused number stays, selected whole, and the record keeps its value.
            if (m.s.caret != m.len()) m.history.Separate();
            m.s.anchor = 0;
            m.s.caret = m.len();
        }
        EXPECT_EQ(Strings(backend.messages.begin() + static_cast<std::ptrdiff_t>(messages),
                          backend.messages.end()),
                  told)
            << log;
        messages = backend.messages.size();
        ++steps;
        if (m.s != before) ++changes;
    }

    // Runs `n` steps on each field in turn, a stretch at a time, from a fresh history.
    void Run(HeadlessDialog& d, std::span<const Field> fields, std::size_t n,
             const std::function<void(const Field&, const std::string&)>& recordHolds) {
        for (std::size_t done = 0; done < n;) {
            const Field& f = fields[Below(fields.size())];
            auto& dlg = d.dialog();
            const std::string start = dlg.ItemText(f.id);
            for (const std::string& t : {std::string("-"), start}) dlg.SetItemText(f.id, t);
            Plain m{{start, dlg.Item(f.id).anchor, dlg.Item(f.id).caret},
                    EditHistory(platform::UndoStyle::Qt),
                    f.bound > 0 ? Parsed(start).value_or(0) : 0};
            messages = backend.messages.size();
            for (std::size_t k = 0; k < 300 && done < n; ++k, ++done) {
                std::string log;
                Step(d, f, m, log);
                const auto& s = dlg.Item(f.id);
                ASSERT_EQ((EditSnapshot{s.text, s.anchor, s.caret}), m.s)
                    << f.name << ", step " << done << " (" << log << ")";
                if (f.bound == 0 || (Parsed(m.s.text) && m.member < f.bound))
                    recordHolds(f, m.s.text);
            }
            // A number the form refused would stop the next field's pull: leave a good one.
            if (f.bound > 0) d.Retype(f.id, "7");
        }
    }

    std::size_t messages = 0, steps = 0, changes = 0;
};

TEST_F(EditModel, TheFormsEditsAgreeWithAPlainFieldWhereTheirRulesAccept) {
    const std::uint64_t seed = EnvNumber("OSTROVA_MODEL_SEED", 20261207);
    const std::size_t n = EnvNumber("OSTROVA_MODEL_STEPS", 120000);
    rng.seed(static_cast<unsigned>(seed));
    Open();
    for (int id : {IDC_RADIO_INSTANT, IDC_CHECK_PHONE1, IDC_CHECK_EMAIL1}) w->Click(id);
    auto mainHolds = [this](const Field& f, const std::string& text) {
        std::string saved = text;  // the fields the record does not hold here
        const std::string number = f.bound > 0 ? std::to_string(std::stoll(text)) : text;
        switch (f.id) {
            case IDC_EDIT_PHONE1:
                saved = TextOf(record.phone[0]);
                break;
            case IDC_EDIT_EMAIL1:
                saved = TextOf(record.email[0]);
                break;
            case IDC_EDIT_MAXNUM:
                saved = std::to_string(record.maxNum.get());
                break;
            case IDC_EDIT_HOUR:
                saved = std::to_string(record.reportHour);
                break;
            case IDC_EDIT_MINUTE:
                saved = std::to_string(record.reportMinute);
                break;
            default:
                break;
        }
        ASSERT_EQ(saved, number) << f.name << " in the record";
    };
    Run(*w, kMainFields, n / 2, mainHolds);
    w->Click(IDC_RADIO_DAILY);
    Run(*w, kDailyFields, n / 6, mainHolds);

    CEmailSettingDlg email(record, nullptr);
    auto& e = backend.Show(email);
    Run(e, kEmailFields, n / 3, [](const Field&, const std::string&) {});
    backend.Dismiss(email);

    std::cout << "edit model: " << steps << " steps, seed " << seed << ", " << changes
              << " changed the text or the selection\n";
    EXPECT_GT(changes, steps / 3);
}

}  // namespace
}  // namespace ostrova::ui::testing
