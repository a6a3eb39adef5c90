// One open dialog on Win32: a modeless dialog from the in-memory template, run by a modal loop
// of our own, that renders the framework's control state and reports the user's input. Its
// methods are defined by concern: the window itself here (dialog_window.cpp), the modal run and
// timers (message_loop.cpp), the controls (controls.cpp), an edit's input (edit_input.cpp), the
// dialog keys and the focus (keyboard.cpp), the frame, scrolling and the wheel (frame.cpp) and
// the names for screen readers (accessibility.cpp).
#pragma once

#include "platform/win32/windows_api.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/framework.h"
#include "platform/win32/accessibility.h"

namespace ostrova::platform::win32 {

class Win32Backend;

class DialogWindow : public DialogView {
public:
    DialogWindow(CDialog& dlg, Win32Backend& backend, HWND owner);
    ~DialogWindow() override;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // Creates the window, runs it until the framework ends it; -1 when it could not be created.
    int Run();

    CDialog& dialog() { return dlg_; }
    HWND hwnd() const { return hwnd_; }
    HWND control(int index) const;  // template order
    // User input after which an edit showed another text than the framework's (none, ever).
    int textMismatches() const { return textMismatches_; }

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
    // The window and its controls' subclass (dialog_window.cpp).
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR self);
    INT_PTR HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    LRESULT HandleControlMessage(HWND hwnd, int index, UINT msg, WPARAM wp, LPARAM lp);
    void OnInit();
    static std::wstring WindowText(HWND hwnd);
    static bool IsCombo(ControlKind kind);

    // The controls (controls.cpp): made from the template, the framework's state rendered into
    // them, their notifications reported.
    void CreateControls();
    void RenderFont(int index) override;
    void RenderEnabled(int index) override;
    void RenderVisible(int index) override;
    void RenderItems(int index) override;
    void RenderSelection(int index) override;
    void RenderText(int index) override;
    void RenderCheck(int index) override;
    void RenderEditSelection(int index) override;
    void RenderPending();          // what changed while the window was being filled
    HWND EditOf(int index) const;  // the edit, or a drop-down combo's edit field
    void OnCommand(int index, int code);

    // An edit's input (edit_input.cpp): the user's changes to an edit, made by the framework's
    // rules instead of the edit's own.
    std::optional<LRESULT> HandleEditMessage(int index, HWND edit, UINT msg, WPARAM wp, LPARAM lp);
    std::optional<LRESULT> HandleEditInput(int index, HWND edit, UINT msg, WPARAM wp);
    void ReportEditSelection(int index);
    void ReplaceByUser(int index, int start, int end, std::wstring_view text, EditKind kind);
    void PasteByUser(int index, HWND edit);
    void ShowEditMenu(int index, HWND edit, LPARAM at);
    void CheckOneText(int index);

    // The dialog keys and the focus (keyboard.cpp).
    bool PreTranslate(const MSG& msg);
    void ControlFocused(int index);  // a control took the focus
    int FocusedIndex() const;        // -1: none of the controls

    // The frame (frame.cpp): placement, the scroll bar, the wheel, the system menu, the icon.
    std::optional<INT_PTR> HandleFrameMessage(UINT msg, WPARAM wp, LPARAM lp);
    bool WheelOverCombo(int index, WPARAM wp);  // true: the dialog took it
    void CentreOverOwner();

    // Screen readers (accessibility.cpp).
    void NameForReaders();

    CDialog& dlg_;
    Win32Backend& backend_;
    HWND owner_;
    HWND hwnd_ = nullptr;
    std::vector<HWND> controls_;
    std::map<int, HFONT> fonts_;                          // control index -> font of its own
    std::map<int, std::vector<std::string>> shownItems_;  // combo index -> its list's entries
    int syncing_ = 0;   // rendering state: notifications are ours, not the user's
    int focusing_ = 0;  // moving the focus from code
    bool ended_ = false;
    bool placed_ = false;        // the dialog placed itself (MoveWindow)
    wchar_t highSurrogate_ = 0;  // the first half of a character typed in two
    int textMismatches_ = 0;
    DialogNames names_;
    // While the dialog fills its hidden window, changes are gathered (control index -> change
    // flags) and rendered once.
    bool deferring_ = false;
    bool firstRender_ = false;  // rendering the hidden window's start-up state
    bool named_ = false;        // the controls have their names for screen readers
    int focusLater_ = -1;       // a focus asked for before the controls were made
    std::vector<std::uint32_t> pending_;
};

}  // namespace ostrova::platform::win32
