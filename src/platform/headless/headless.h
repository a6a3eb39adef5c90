// A backend without a display: tests drive dialogs through it as a user would.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/framework.h"

namespace ostrova::platform::headless {

class HeadlessBackend;

// One open dialog: the window a test looks at and the user's hands on it.
class HeadlessDialog : public DialogView {
public:
    HeadlessDialog(CDialog& dlg, HeadlessBackend& backend) : dlg_(dlg), backend_(backend) {}
    CDialog& dialog() { return dlg_; }

    // --- What the user does. Typing goes keystroke by keystroke at the caret; the control
    // gets the focus first, as a click into it would give.
    void Type(int id, std::string_view utf8);
    void Paste(int id, std::string_view utf8);  // one insertion over the selection
    void Backspace(int id, int times = 1);
    void Delete(int id, int times = 1);
    void Cut(int id);  // removes the selection
    void Undo(int id);
    void Redo(int id);
    void SelectAll(int id);
    void SetCaret(int id, int position);
    void Select(int id, int anchor, int caret);  // a drag or Shift+arrows: caret at `caret`
    void Retype(int id, std::string_view utf8);  // select all, delete, then type
    void Click(int id);
    void Pick(int id, int index);
    void Focus(int id);
    void Key(DialogKey key, bool listOpen = false);  // a key of the dialog manager
    void Enter();
    void Escape();
    void Close();
    void SysCommand(int commandId);
    void VScroll(ScrollRequest request, int thumbPos = 0);
    void Wheel(int delta);

    // --- What the user sees.
    std::string Text(int id) const;  // UTF-8
    bool Enabled(int id) const;
    bool Checked(int id) const;
    std::vector<std::string> Items(int id) const;
    int Selection(int id) const;
    int Focused() const { return dlg_.focusedId(); }
    std::pair<int, int> EditSelection(int id) const;

    // --- Frame state the dialog asked for.
    struct Rect {
        int x = 0, y = 0, w = 0, h = 0;
    };
    std::optional<Rect> windowRect;
    ScrollInfo scroll;
    bool scrollRedrawn = false;
    int contentOffset = 0;      // sum of all content moves
    std::map<int, int> timers;  // id -> period
    std::vector<std::pair<int, std::string>> systemMenu;
    bool ended = false;
    int result = -1;
    int renders = 0;  // ControlChanged calls, to prove a push changed nothing

    // DialogView
    void ControlChanged(int index, std::uint32_t flags) override;
    void FocusControl(int index) override;
    void MoveFocus(int index, FocusMove how) override;
    void EndModal(int result) override;
    void MoveWindow(int x, int y, int width, int height) override;
    FormWidths FormOuterWidths(bool scrollBar) const override;
    void SetScrollInfo(const ScrollInfo& info, bool redraw) override;
    void ScrollContent(int dy) override;
    void StartTimer(int timerId, int periodMs) override;
    void AppendSystemMenuCommand(int commandId, std::string_view text) override;

private:
    std::pair<int, int> Selected(int id) const;  // [low, high)
    CDialog& dlg_;
    HeadlessBackend& backend_;
};

class HeadlessBackend : public Backend, public Services {
public:
    HeadlessBackend();  // becomes the current backend
    ~HeadlessBackend() override;

    using Script = std::function<void(HeadlessDialog&)>;
    // The next modal run of this template runs the script (first registered, first used).
    void WhenOpened(int templateId, Script script);
    // Creates and initialises a dialog without a modal loop; the test then drives it.
    HeadlessDialog& Show(CDialog& dlg);
    // Closes a dialog opened with Show, so it may be destroyed.
    void Dismiss(CDialog& dlg);
    // Fires every started timer of every open dialog once, `times` times.
    void Tick(int times = 1);

    // Message boxes shown, in order; `duringMessageBox` runs while one is open.
    std::vector<std::string> messages;
    std::function<void(std::string_view)> duringMessageBox;
    // Modal runs nobody scripted, or scripts that left their dialog open.
    std::vector<std::string> problems;

    // Fakes of the desktop.
    std::string appName = "ostrova-settings";
    std::tm now{};
    int screenHeight = 768;
    int dpi = 96;
    DialogView::FormWidths formWidths;  // what a window's laid-out form needs (0: no layout)
    std::filesystem::path programPath = "/opt/ostrova/ostrova-settings";
    std::deque<std::optional<std::filesystem::path>> openAnswers;
    std::deque<std::optional<std::filesystem::path>> saveAnswers;
    struct FileDialogCall {
        bool save = false;
        std::string defaultExtension, initialName, filter;
    };
    std::vector<FileDialogCall> fileDialogs;
    std::vector<std::filesystem::path> shownInFileManager;

    // Whose plain field the edits' undo follows.
    UndoStyle undo = UndoStyle::Qt;

    // Backend
    int RunModal(CDialog& dlg) override;
    Services& services() override { return *this; }
    UndoStyle undoStyle() const override { return undo; }
    // Services
    std::string AppName() override { return appName; }
    void MessageBox(std::string_view text) override;
    std::optional<std::filesystem::path> OpenFileDialog(const FileDialogRequest& req) override;
    std::optional<std::filesystem::path> SaveFileDialog(const FileDialogRequest& req) override;
    void ShowInFileManager(const std::filesystem::path& file) override;
    std::tm LocalTime() override { return now; }
    int PrimaryScreenHeight() override { return screenHeight; }
    int LogicalDpiX() override { return dpi; }
    std::filesystem::path ProgramPath() override { return programPath; }

private:
    std::optional<std::filesystem::path> FileDialog(bool save, const FileDialogRequest& req);
    std::map<int, std::deque<Script>> scripts_;
    std::vector<std::unique_ptr<HeadlessDialog>> open_;
};

}  // namespace ostrova::platform::headless
