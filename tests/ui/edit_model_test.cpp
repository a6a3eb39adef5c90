// A plain Qt line edit as a small model of its own (text, selection, cursor and the command
// list its undo and redo walk), and the real edits of the main window and the Email Setting
// dialog driven with the same random steps, reported now as a replacement (as the Windows
// backend reports) and now as the text and caret after it (as the Qt backend does). Where the
// field's rules accept, the edit shows exactly the model's text and selection and the record
// follows; where they refuse, nothing changes at all. (A password field's undo, which only
// clears it, is the Qt typing test's, beside a real QLineEdit.) OSTROVA_MODEL_STEPS and
// OSTROVA_MODEL_SEED run others.
#include <cstdlib>
#include <iostream>
#include <optional>
#include <random>
#include <span>

#include "main_window_fixture.h"
#include "text/cp1252.h"
#include "ui/dialogs/email_setting_dlg.h"

namespace ostrova::ui::testing {
namespace {

using platform::EditKind;

std::uint64_t EnvNumber(const char* name, std::uint64_t fallback) {
    const char* v = std::getenv(name);
    return v != nullptr && *v != '\0' ? std::strtoull(v, nullptr, 10) : fallback;
}

// A QLineEdit as the user meets it: every change is a list of one-character commands, a run
// of the same kind undone together, and a separator between runs wherever the cursor moved.
struct PlainField {
    enum Type { Separator, Insert, Remove, Delete, RemoveSelection, DeleteSelection, SetSelection };
    struct Command {
        Type type;
        int pos;
        char ch;
        int selStart, selEnd;
    };
    std::string text;
    int selStart = 0, selEnd = 0, cursor = 0;
    std::vector<Command> history;
    std::size_t undoState = 0;
    bool separator = false;

    int len() const { return static_cast<int>(text.size()); }
    bool hasSelection() const { return 0 <= selStart && selStart < selEnd && selEnd <= len(); }
    int anchor() const {
        if (!hasSelection()) return cursor;
        return cursor == selStart ? selEnd : selStart;
    }
    void Add(Command c) {
        if (separator && undoState > 0 && history[undoState - 1].type != Separator) {
            history.resize(undoState + 2);
            history[undoState++] = {Separator, cursor, 0, selStart, selEnd};
        } else {
            history.resize(undoState + 1);
        }
        separator = false;
        history[undoState++] = c;
    }
    void RemoveSelected() {
        if (!hasSelection()) return;
        separator = true;
        Add({SetSelection, cursor, 0, selStart, selEnd});
        const auto at = [&](int i) { return text[static_cast<std::size_t>(i)]; };
        if (selStart <= cursor && cursor < selEnd) {
            for (int i = cursor; i >= selStart; --i) Add({DeleteSelection, i, at(i), -1, 1});
            for (int i = selEnd - 1; i > cursor; --i)
                Add({DeleteSelection, i - cursor + selStart - 1, at(i), -1, -1});
        } else {
            for (int i = selEnd - 1; i >= selStart; --i) Add({RemoveSelection, i, at(i), -1, -1});
        }
        text.erase(static_cast<std::size_t>(selStart), static_cast<std::size_t>(selEnd - selStart));
        if (cursor > selStart) cursor -= std::min(cursor, selEnd) - selStart;
        selStart = selEnd = 0;
    }
    void Put(const std::string& bytes, bool paste) {
        if (paste) separator = true;
        RemoveSelected();
        for (char c : bytes) {
            text.insert(static_cast<std::size_t>(cursor), 1, c);
            Add({Type::Insert, cursor++, c, -1, -1});
        }
        if (paste) separator = true;
    }
    void DeleteAtCursor(bool backspace) {
        if (cursor >= len()) return;
        Add({backspace ? Remove : Delete, cursor, text[static_cast<std::size_t>(cursor)], -1, -1});
        text.erase(static_cast<std::size_t>(cursor), 1);
    }
    void Backspace() {
        if (hasSelection()) return RemoveSelected();
        if (cursor == 0) return;
        --cursor;
        DeleteAtCursor(true);
    }
    void Del() { hasSelection() ? RemoveSelected() : DeleteAtCursor(false); }
    void MoveCursor(int pos, bool mark) {
        if (pos != cursor) separator = true;
        if (mark) {
            const int a = anchor();
            selStart = std::min(a, pos);
            selEnd = std::max(a, pos);
        } else {
            selStart = selEnd = 0;
        }
        cursor = pos;
    }
    bool CanUndo() const { return undoState > 0; }
    bool CanRedo() const { return undoState < history.size(); }
    void Undo() {
        if (!CanUndo()) return;
        selStart = selEnd = 0;
        while (undoState > 0) {
            const Command cmd = history[--undoState];
            const auto pos = static_cast<std::size_t>(cmd.pos);
            switch (cmd.type) {
                case Type::Insert:
                    text.erase(pos, 1), cursor = cmd.pos;
                    break;
                case SetSelection:
                    selStart = cmd.selStart, selEnd = cmd.selEnd, cursor = cmd.pos;
                    break;
                case Remove:
                case RemoveSelection:
                    text.insert(pos, 1, cmd.ch), cursor = cmd.pos + 1;
                    break;
                case Delete:
                case DeleteSelection:
                    text.insert(pos, 1, cmd.ch), cursor = cmd.pos;
                    break;
                case Separator:
                    continue;
            }
            if (undoState == 0) break;
            const Type next = history[undoState - 1].type;
            if (next != cmd.type && next < RemoveSelection &&
                (cmd.type < RemoveSelection || next == Separator))
                break;
        }
        Normalise();
    }
    // A real QLineEdit's redo may leave the cursor past the end or a selection from -1; the
    // user is shown the nearest sound state.
    void Normalise() {
        cursor = std::min(cursor, len());
        if (!hasSelection()) selStart = selEnd = 0;
    }
    void Redo() {
        if (!CanRedo()) return;
        selStart = selEnd = 0;
        while (undoState < history.size()) {
            const Command cmd = history[undoState++];
            const auto pos = static_cast<std::size_t>(cmd.pos);
            switch (cmd.type) {
                case Type::Insert:
                    text.insert(pos, 1, cmd.ch), cursor = cmd.pos + 1;
                    break;
                case Separator:
                case SetSelection:
                    selStart = cmd.selStart, selEnd = cmd.selEnd, cursor = cmd.pos;
                    break;
                default:
                    text.erase(pos, 1), selStart = cmd.selStart, selEnd = cmd.selEnd,
                                        cursor = cmd.pos;
            }
            if (undoState == history.size()) break;
            const Type next = history[undoState].type;
            if (next != cmd.type && cmd.type < RemoveSelection && next != Separator &&
                (next < RemoveSelection || cmd.type == Separator))
                break;
        }
        Normalise();
    }
};

// A field's rules, written down from what the user is told, not from the code.
struct Field {
    int id;
    const char* name;
    bool digits = false;
    int limit = 0;       // the edit refuses growth past it
    int fallbackAt = 0;  // this many characters: the change is refused whole
    std::string (*stored)(const ConfigRecord&) = nullptr;  // what the record holds of it
};

const Field kMainFields[] = {
    {IDC_EDIT_PHONE1, "Phone1", false, 0, 20,
     [](const ConfigRecord& r) { return std::string(TextOf(r.phone[0])); }},
    {IDC_EDIT_EMAIL1, "E-mail 1", false, 0, 60,
     [](const ConfigRecord& r) { return std::string(TextOf(r.email[0])); }},
    {IDC_EDIT_IMAGEFROM, "Image From"},
};
const Field kEmailFields[] = {
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

    // What the user's change gives by the field's rules: the bytes it inserts, cut to fit, or
    // nothing when it is refused.
    static std::optional<std::string> Accepted(const Field& f, const PlainField& m,
                                               std::string_view utf8) {
        std::string bytes;
        for (const char32_t cp : DecodeUtf8(utf8)) {
            if (cp < 0x20 || cp > 0xFF || (f.digits && (cp < '0' || cp > '9'))) return std::nullopt;
            bytes += static_cast<char>(cp);
        }
        const int kept = m.len() - (m.selEnd - m.selStart);
        if (f.limit > 0) {
            const int room = std::max(f.limit, m.len()) - kept;
            if (!bytes.empty() && room <= 0) return std::nullopt;
            if (static_cast<int>(bytes.size()) > room) bytes.resize(static_cast<std::size_t>(room));
        }
        if (f.fallbackAt > 0 && kept + static_cast<int>(bytes.size()) >= f.fallbackAt)
            return std::nullopt;
        return bytes;
    }

    // One random step on field `f` of `d`, the same on the model; then both are compared.
    void Step(HeadlessDialog& d, const Field& f, PlainField& m, std::string& log) {
        auto& dlg = d.dialog();
        const PlainField before = m;
        // A change as the Qt backend reports it: the text and caret the toolkit shows after
        // it, whatever the rules will make of it; the key that made it, or none.
        const bool asResult = Below(2) == 0;
        auto report = [&](PlainField shown, std::optional<EditKind> kind) {
            if (!asResult) return false;
            // Without the key, one pasted character is taken for a typed one: a paste always
            // says what it is.
            const bool unknown = kind != EditKind::Paste && Below(3) == 0;
            dlg.UserEdit(f.id, Cp1252ToUtf8(shown.text), shown.cursor,
                         unknown ? std::nullopt : kind);
            return true;
        };
        auto insert = [&](const std::string& utf8, bool paste) {
            PlainField shown = m;
            shown.Put(utf8, paste);  // as UTF-8 bytes: only its length and place matter here
            if (const auto bytes = Accepted(f, m, utf8)) m.Put(*bytes, paste);
            if (report(shown, paste ? EditKind::Paste : EditKind::Typing)) return;
            paste ? d.Paste(f.id, utf8) : d.Type(f.id, utf8);
        };
        auto remove = [&](void (PlainField::*op)(), EditKind kind,
                          void (HeadlessDialog::*key)(int, int)) {
            (m.*op)();
            if (!report(m, kind)) (d.*key)(f.id, 1);
        };
        // The caret moved, the selection made by a press at `anchor` and a drag to `caret`
        // (with `press` false: Shift and an arrow key), each move reported as it happens.
        auto select = [&](int anchor, int caret, bool press) {
            anchor = std::clamp(anchor, 0, m.len());
            caret = std::clamp(caret, 0, m.len());
            if (press) m.MoveCursor(anchor, false), d.SetCaret(f.id, anchor);
            m.MoveCursor(caret, anchor != caret || !press);
            d.Select(f.id, anchor, caret);
        };
        switch (Below(16)) {
            case 0:
            case 1:
            case 2:
            case 3: {
                const std::string one = kAlphabet[Below(Below(8) == 0 ? std::size(kAlphabet) : 6)];
                log = "type " + one;
                // A refused character that is no single byte is never reported as a result:
                // the toolkit's caret would count it as two.
                if (static_cast<unsigned char>(one[0]) < 0x80) {
                    insert(one, false);
                } else {
                    if (const auto bytes = Accepted(f, m, one)) m.Put(*bytes, false);
                    d.Type(f.id, one);
                }
                break;
            }
            case 4: {
                std::string piece = Piece();
                if (asResult) std::erase(piece, '\xCE'), std::erase(piece, '\xA9');
                if (piece.empty()) piece = "1";
                log = "paste " + piece;
                insert(piece, true);
                break;
            }
            case 5:
                log = "backspace";
                remove(&PlainField::Backspace, EditKind::Backspace, &HeadlessDialog::Backspace);
                break;
            case 6:
                log = "delete";
                remove(&PlainField::Del, EditKind::Delete, &HeadlessDialog::Delete);
                break;
            case 7:
                log = "cut";
                if (m.hasSelection()) m.Del();
                if (!report(m, EditKind::Delete)) d.Cut(f.id);
                break;
            case 8:
            case 9:
                log = "undo";
                m.Undo();
                d.Undo(f.id);
                break;
            case 10:
                log = "redo";
                m.Redo();
                d.Redo(f.id);
                break;
            case 11:
                // Select all when all is selected already: QLineEdit separates the next change
                // from the last, which the framework cannot see happen. Left out.
                if (m.selStart == 0 && m.selEnd == m.len() && m.cursor == m.len()) break;
                log = "select all";
                m.cursor = m.selStart = m.selEnd = 0;
                m.MoveCursor(m.len(), true);
                d.SelectAll(f.id);
                break;
            case 12:
                log = "home";
                select(0, 0, true);
                break;
            case 13:
                log = "shift+left";
                select(m.anchor(), m.cursor - 1, false);
                break;
            case 14: {
                log = "right";
                const int to = m.hasSelection() ? m.selEnd : m.cursor + 1;
                select(to, to, true);
                break;
            }
            default: {
                const int a = static_cast<int>(Below(static_cast<std::size_t>(m.len()) + 1));
                const int c = static_cast<int>(Below(static_cast<std::size_t>(m.len()) + 1));
                log = "select " + std::to_string(a) + "-" + std::to_string(c);
                select(a, c, true);
            }
        }
        if (asResult) log += " (as text and caret)";
        EXPECT_TRUE(backend.messages.empty()) << log;
        ++steps;
        if (m.text != before.text || m.cursor != before.cursor || m.anchor() != before.anchor())
            ++changes;
    }

    // Runs `n` steps on each field in turn, a stretch at a time, from a fresh history.
    void Run(HeadlessDialog& d, std::span<const Field> fields, std::size_t n) {
        for (std::size_t done = 0; done < n;) {
            const Field& f = fields[Below(fields.size())];
            auto& dlg = d.dialog();
            const std::string start = dlg.ItemText(f.id);
            for (const std::string& t : {std::string("-"), start}) dlg.SetItemText(f.id, t);
            PlainField m;
            m.text = start;
            m.MoveCursor(dlg.Item(f.id).anchor, false);
            m.MoveCursor(dlg.Item(f.id).caret, true);
            m.separator = false;
            std::string recent;  // the last steps, for a failure's message
            for (std::size_t k = 0; k < 300 && done < n; ++k, ++done) {
                std::string log;
                Step(d, f, m, log);
                recent = recent.substr(
                             recent.size() > 400 ? recent.find(", ", recent.size() - 400) + 2 : 0) +
                         log + " -> \"" + m.text + "\", ";
                const auto& s = dlg.Item(f.id);
                ASSERT_EQ((Strings{s.text, std::to_string(s.anchor), std::to_string(s.caret)}),
                          (Strings{m.text, std::to_string(m.anchor()), std::to_string(m.cursor)}))
                    << f.name << ", step " << done << ": " << recent;
                ASSERT_EQ(std::pair(dlg.CanUndo(f.id), dlg.CanRedo(f.id)),
                          std::pair(m.CanUndo(), m.CanRedo()))
                    << f.name << ", step " << done << " (" << log << ")";
                ASSERT_EQ(f.stored ? f.stored(record) : m.text, m.text)
                    << f.name << " in the record";
            }
        }
    }

    std::size_t steps = 0, changes = 0;
};

TEST_F(EditModel, TheFormsEditsAgreeWithAPlainFieldWhereTheirRulesAccept) {
    const std::uint64_t seed = EnvNumber("OSTROVA_MODEL_SEED", 20261207);
    const std::size_t n = EnvNumber("OSTROVA_MODEL_STEPS", 120000);
    rng.seed(static_cast<unsigned>(seed));
    Open();
    for (int id : {IDC_RADIO_INSTANT, IDC_CHECK_PHONE1, IDC_CHECK_EMAIL1}) w->Click(id);
    Run(*w, kMainFields, n / 2);

    CEmailSettingDlg email(record, nullptr);
    auto& e = backend.Show(email);
    Run(e, kEmailFields, n / 2);
    backend.Dismiss(email);

    std::cout << "edit model: " << steps << " steps, seed " << seed << ", " << changes
              << " changed the text or the selection\n";
    EXPECT_GT(changes, steps / 3);
}

}  // namespace
}  // namespace ostrova::ui::testing
