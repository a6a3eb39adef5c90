// The undo history of one edit, kept as the platform's own plain text field keeps it, so that
// Ctrl+Z steps exactly as it does in every other program of the desktop.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrova::platform {

// Whose plain field the history follows.
enum class UndoStyle : std::uint8_t {
    Qt,       // QLineEdit: many levels; a run of typing, of Backspace or of Delete is one step
    Windows,  // the Win32 EDIT: one level that toggles; adjacent changes extend it
};

// How the user made a change; the Qt history groups by it.
enum class EditKind : std::uint8_t {
    Typing,       // keystrokes that insert, over the selection if there is one
    Backspace,    // the character before the caret
    Delete,       // the character after the caret
    RemoveRange,  // a word or the rest of the line (Ctrl+Backspace, Ctrl+Delete)
    Paste,        // paste, drop, input method: a step of its own
};

// An edit's text (Windows-1252 bytes) and selection: anchor and caret, caret at the moving end.
struct EditSnapshot {
    std::string text;
    int anchor = 0;
    int caret = 0;
    bool operator==(const EditSnapshot&) const = default;
};

// One change of one character, as QLineEdit records it.
struct QtCommand {
    enum Type : std::uint8_t {
        Separator,
        Insert,
        Remove,  // Backspace
        Delete,
        RemoveSelection,
        DeleteSelection,
        SetSelection,
    };
    Type type = Separator;
    int pos = 0;
    char ch = 0;
    int selStart = 0, selEnd = 0;
};

class EditHistory {
public:
    explicit EditHistory(UndoStyle style = UndoStyle::Qt) : style_(style) {}
    UndoStyle style() const { return style_; }

    // An accepted change that turned [start, end) of `before` into `inserted`.
    void Record(const EditSnapshot& before, int start, int end, std::string_view inserted,
                EditKind kind);
    // The caret moved: the next change starts a step of its own.
    void Separate() { separator_ = true; }
    // Text set from code: no step leads back across it.
    void Clear();

    // The state the step leads to, or nothing when there is no step. The history moves along.
    // A password field's Qt history only clears the field, as QLineEdit's does.
    std::optional<EditSnapshot> Undo(const EditSnapshot& now, bool password);
    std::optional<EditSnapshot> Redo(const EditSnapshot& now, bool password);
    bool CanUndo(bool password = false) const;
    bool CanRedo(bool password = false) const;


private:
    // QLineEdit's state while a change is replayed: selection [selStart, selEnd), cursor.
    struct QtState {
        std::string text;
        int selStart = 0, selEnd = 0, cursor = 0;
    };
    static QtState ToQt(const EditSnapshot& s);
    static EditSnapshot FromQt(const QtState& q);
    void QtAdd(const QtState& q, const QtCommand& cmd);
    void QtRemoveSelection(QtState& q);
    void QtInsert(QtState& q, std::string_view text);
    std::optional<EditSnapshot> QtUndo(const EditSnapshot& now);
    std::optional<EditSnapshot> QtRedo(const EditSnapshot& now);
    void WinReplace(const std::string& text, int start, int end, std::string_view inserted);

    UndoStyle style_;
    // Qt: one command per character, as QLineEdit records them.
    std::vector<QtCommand> commands_;
    std::size_t undoState_ = 0;
    bool separator_ = false;
    // Windows: what the last change removed, where, and how much it inserted there.
    std::string winText_;
    int winPosition_ = 0;
    int winInserted_ = 0;
};

}  // namespace ostrova::platform
