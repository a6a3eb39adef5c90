// Our small dialog framework: dialogs from templates, controls by id, data exchange between
// members and controls, and a handler table. The framework owns every control's state; a
// backend only renders that state and reports what the user did.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dialog_template.h"
#include "platform/edit_history.h"
#include "platform/services.h"

namespace ostrova::platform {

class CDialog;
class DialogView;

// Notifications a handler can be registered for. They come only from user input.
enum class Notify : std::uint8_t {
    Clicked,    // button, check box, radio
    Changed,    // edit text changed by the user
    SelChange,  // combo box: the user picked an entry
    SetFocus,   // control got the focus from the user
    KillFocus,  // control lost the focus to another control of the dialog
};

// The keys the dialog manager handles: Tab and Shift+Tab, the arrow keys (down and right are
// Next), Enter and Escape.
enum class DialogKey : std::uint8_t { Tab, BackTab, Next, Previous, Enter, Escape };

// How the dialog manager moves the focus: to the control a dialog starts with (the framework
// reports it), or by keyboard navigation (the backend reports it as the focus lands).
enum class FocusMove : std::uint8_t { Start, Forward, Backward };

// A font a dialog sets on one of its controls (the template font otherwise).
struct FontSpec {
    std::string face;
    int cellHeight = 0;  // device pixels at any DPI: ascent + descent
    int weight = 400;    // 700 is bold
    bool italic = false;
};

// What changed in a control, for the backend to render.
enum ChangeFlags : std::uint32_t {
    kChangedText = 1u << 0,
    kChangedEnabled = 1u << 1,
    kChangedCheck = 1u << 2,
    kChangedItems = 1u << 3,
    kChangedSelection = 1u << 4,  // combo selection
    kChangedEditSel = 1u << 5,    // edit caret / selected range
    kChangedFont = 1u << 6,
    kChangedVisible = 1u << 7,
    kChangedAll = 0xFFFFFFFFu,
};

// The state of one control. Texts are Windows-1252 bytes, as the record holds them.
struct ControlState {
    const ControlTemplate* tpl = nullptr;
    int id = kNoId;
    ControlKind kind = ControlKind::Label;
    std::uint32_t style = 0;
    std::string text;
    bool enabled = true;
    bool visible = true;
    bool checked = false;
    std::vector<std::string> items;  // combo entries
    int selection = -1;              // combo: -1 = none
    EditRule rule;                   // edit: what the user's changes may make of the text
    int anchor = 0;                  // edit: where the selection starts from
    int caret = 0;                   // edit: where it ends; anchor == caret: nothing selected
    EditHistory history;             // edit: what Ctrl+Z and Ctrl+Y step through
    std::optional<FontSpec> font;
};

// Scroll bar state of a window's own vertical scroll bar (all in pixels).
struct ScrollInfo {
    int min = 0;
    int max = 0;
    int page = 0;
    int pos = 0;
    int trackPos = 0;
};

// Scroll bar requests, with the classic codes.
enum class ScrollRequest : int {
    LineUp = 0,
    LineDown = 1,
    PageUp = 2,
    PageDown = 3,
    ThumbPosition = 4,
    ThumbTrack = 5,
    Top = 6,
    Bottom = 7,
    EndScroll = 8,
};

// Result codes of a modal run.
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;

// --- The data exchange ----------------------------------------------------------------------

class CDataExchange {
public:
    CDataExchange(CDialog& dlg, bool saveAndValidate)
        : m_bSaveAndValidate(saveAndValidate), dlg_(dlg) {}
    const bool m_bSaveAndValidate;  // true: pull (controls to members); false: push
    bool failed() const { return failed_; }
    CDialog& dialog() { return dlg_; }
    // Stops a pull: every later exchange of this run leaves its member alone.
    void Fail() { failed_ = true; }

private:
    CDialog& dlg_;
    bool failed_ = false;
};

// Control wrappers bound with DDX_Control: they address a control of their dialog by id.
class CWnd {
public:
    CWnd() = default;
    bool IsBound() const { return dlg_ != nullptr; }
    int GetDlgCtrlID() const { return id_; }
    void EnableWindow(bool enable);
    bool IsWindowEnabled() const;
    void SetWindowText(std::string_view text);
    std::string GetWindowText() const;
    void ShowWindow(bool show);
    void SetFont(const FontSpec& font);

protected:
    friend void DDX_Control(CDataExchange&, int, CWnd&);
    friend class CDialog;
    ControlState& state() const;
    void touch(std::uint32_t flags) const;
    CDialog* dlg_ = nullptr;
    int id_ = kNoId;
};

class CButton : public CWnd {
public:
    void SetCheck(bool checked);
    bool GetCheck() const;
};

class CComboBox : public CWnd {
public:
    void ResetContent();
    // Inserts at a position (never sorted); -1 appends. Returns the position.
    int InsertString(int index, std::string_view text);
    int AddString(std::string_view text) { return InsertString(-1, text); }
    int GetCount() const;
    int GetCurSel() const;      // -1 when nothing is selected
    void SetCurSel(int index);  // an index outside the list selects nothing
    std::string GetLBText(int index) const;
};

class CEdit : public CWnd {
public:
    void SetSel(int start, int end);  // end -1: to the end of the text
};

void DDX_Control(CDataExchange& dx, int id, CWnd& control);
void DDX_Text(CDataExchange& dx, int id, std::string& value);
void DDX_Text(CDataExchange& dx, int id, int& value);
// Pull: a text longer than the edit's declared limit (set by code or read from a file) fails
// the exchange with the framework's length message. Push: nothing.
void DDV_Limit(CDataExchange& dx, const std::string& value);

// The framework's own messages.
inline constexpr std::string_view kNotANumberMessage = "Please enter a whole number.";
std::string TooLongMessage(int maxChars);  // "Please enter no more than N characters."

// --- Dialogs --------------------------------------------------------------------------------

class CDialog {
public:
    CDialog(const DialogTemplate& tpl, CDialog* parent = nullptr);
    virtual ~CDialog();
    CDialog(const CDialog&) = delete;
    CDialog& operator=(const CDialog&) = delete;

    // Runs the dialog modally through the current backend; returns the EndDialog result, or
    // -1 when the window could not be created.
    int DoModal();
    void EndDialog(int result);
    bool UpdateData(bool saveAndValidate = true);

    const DialogTemplate& dialogTemplate() const { return tpl_; }
    CDialog* parent() const { return parent_; }
    bool isOpen() const { return view_ != nullptr && !ended_; }

    // Controls by template id (the first one with that id). Missing ids are programming errors.
    ControlState& Item(int id);
    const ControlState& Item(int id) const;
    bool HasItem(int id) const;
    std::vector<ControlState>& controls() { return controls_; }
    const std::vector<ControlState>& controls() const { return controls_; }
    int IndexOf(int id) const;  // -1 when missing

    // Convenience accessors used by form code.
    void EnableItem(int id, bool enable);
    bool IsItemEnabled(int id) const;
    void SetItemText(int id, std::string_view text);
    std::string ItemText(int id) const;
    void CheckItem(int id, bool checked);
    bool IsItemChecked(int id) const;
    void SetItemFont(int id, const FontSpec& font);
    int focusedId() const { return focus_; }
    void GotoDlgCtrl(int id);  // moves the focus from code: raises nothing
    // Binds a control wrapper to a control of this dialog outside an exchange.
    void Bind(CWnd& control, int id);

    // The window's frame: placement, icon, own vertical scroll bar.
    void MoveWindow(int x, int y, int width, int height);
    void SetScrollInfo(const ScrollInfo& info, bool redraw = true);
    ScrollInfo GetScrollInfo() const { return scroll_; }
    void ScrollWindow(int dy);  // moves the whole client area by dy pixels
    int SetTimer(int timerId, int periodMs);
    void AppendSystemMenuCommand(int commandId, std::string_view text);

    // --- User input, reported by a backend. Each applies the framework's input rules, changes
    // the state and raises the notification; nothing is raised during a pull or push.
    // The user replaced [start, end) of the edit's text with `utf8` (typing, paste, drop,
    // deletion), the caret ending after it. The edit's rule judges the change before any
    // handler runs; returns false when it was refused, and then nothing changed at all.
    bool UserReplace(int id, int start, int end, std::string_view utf8, EditKind kind);
    // A toolkit's finished change: the edit's text and caret (in characters) after it. What it
    // replaced follows from the selection before it; `kind` is the key that made it, if known.
    bool UserEdit(int id, std::string_view textUtf8, int caret, std::optional<EditKind> kind);
    // Undo and redo, stepping as the platform's plain field steps; false when there is no step.
    bool UserUndo(int id);
    bool UserRedo(int id);
    bool CanUndo(int id) const;
    bool CanRedo(int id) const;
    // The user moved the caret to `caret`, the selection running from `anchor`.
    void UserSetEditSelection(int id, int anchor, int caret);  // raises no notification
    void UserClick(int id);
    void UserPick(int id, int index);  // a pick from a combo's list
    void UserFocus(int id);            // focus moved to this control (kNoId: none)
    void UserCancel();                 // Escape or the close box
    // A key of the dialog manager, with what only the backend knows: the control holding the
    // native focus (-1: none of them, then the framework's own) and whether a drop-down list is
    // open (it takes Enter and Escape to close). False: the key is not the dialog's, the
    // control keeps it.
    bool UserKey(DialogKey key, int focused, bool listOpen);
    // Gives the focus to the first tab stop as a dialog starts, an edit's text selected whole.
    void PlaceDefaultFocus();
    void UserSysCommand(int commandId);
    void UserVScroll(ScrollRequest request, int thumbPos);
    void UserMouseWheel(int delta);
    void UserTimer(int timerId);

    // Text of a control for display, as UTF-8.
    std::string DisplayText(int index) const;

    // Called by the backend once the window exists: builds the controls, binds, initialises.
    // Returns OnInitDialog's result.
    bool Create(DialogView& view);
    // Called by the backend when the window is gone.
    void Destroyed();
    bool ended() const { return ended_; }
    int result() const { return result_; }
    bool inExchange() const { return exchangeDepth_ > 0; }

protected:
    virtual bool OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    virtual void DoDataExchange(CDataExchange& dx);
    virtual void OnTimer(int timerId);
    virtual void OnSysCommand(int commandId);
    virtual void OnVScroll(ScrollRequest request, int thumbPos);
    virtual void OnMouseWheel(int delta);

    // The handler table: control id + notification -> member.
    void On(int id, Notify notify, std::function<void()> handler);

    // Tells the backend that a control's state changed.
    void Touch(int id, std::uint32_t flags);
    void TouchIndex(int index, std::uint32_t flags);

    Services& services() const;

private:
    friend class CWnd;
    friend void DDX_Control(CDataExchange&, int, CWnd&);
    friend void DDX_Text(CDataExchange&, int, std::string&);
    friend void DDX_Text(CDataExchange&, int, int&);
    friend void DDV_Limit(CDataExchange&, const std::string&);

    void Raise(int id, Notify notify);
    void CommitEdit(int index);           // raises Changed for an accepted change
    bool StepHistory(int id, bool redo);  // undo or redo, as the plain field steps
    static EditSnapshot SnapshotOf(const ControlState& s);
    void FailField(CDataExchange& dx, int id, std::string_view message);
    struct Binding;

    const DialogTemplate& tpl_;
    CDialog* parent_;
    DialogView* view_ = nullptr;
    std::vector<ControlState> controls_;
    struct HandlerEntry {
        int id;
        Notify notify;
        std::function<void()> handler;
    };
    std::vector<HandlerEntry> handlers_;
    int exchangeDepth_ = 0;
    int focus_ = kNoId;
    bool ended_ = false;
    int result_ = -1;
    int lastExchangeId_ = kNoId;  // the control a DDX call handles, for DDV
    struct Placement {
        int x, y, width, height;
        int placedWidth;  // the width the window was given, the form's if that is wider
    };
    std::optional<Placement> placement_;  // where the dialog asked to stand
    void PlaceWindow(bool always);
    ScrollInfo scroll_;
};

// One open dialog window, implemented by a backend.
class DialogView {
public:
    virtual ~DialogView() = default;
    // Render the changed parts of control `index` (template order) from its state.
    virtual void ControlChanged(int index, std::uint32_t flags) = 0;
    // Move the keyboard focus to control `index` (-1: the dialog).
    virtual void FocusControl(int index) = 0;
    // Move the keyboard focus to control `index` as the dialog manager does.
    virtual void MoveFocus(int index, FocusMove how) = 0;
    // Close the window and end its modal run.
    virtual void EndModal(int result) = 0;
    virtual void MoveWindow(int x, int y, int width, int height) = 0;
    // The outer widths, in device pixels, at which the laid-out form shows whole: `edge` ends at
    // its rightmost control, `margin` leaves the form's left margin on the right too. The frame
    // and, if asked, the vertical scroll bar are included; 0 where there is no layout.
    struct FormWidths {
        int edge = 0;
        int margin = 0;
    };
    virtual FormWidths FormOuterWidths(bool scrollBar) const {
        (void)scrollBar;
        return {};
    }
    virtual void SetScrollInfo(const ScrollInfo& info, bool redraw) = 0;
    virtual void ScrollContent(int dy) = 0;
    virtual void StartTimer(int timerId, int periodMs) = 0;
    virtual void AppendSystemMenuCommand(int commandId, std::string_view text) = 0;

protected:
    // Renders the changed aspects of control `index` through the hooks below, in the order
    // every toolkit needs: a combo's entries before its selection, the text after both.
    void RenderChanges(int index, std::uint32_t flags);
    virtual void RenderFont(int index) { (void)index; }
    virtual void RenderEnabled(int index) { (void)index; }
    virtual void RenderVisible(int index) { (void)index; }
    virtual void RenderItems(int index) { (void)index; }
    virtual void RenderSelection(int index) { (void)index; }
    virtual void RenderText(int index) { (void)index; }
    virtual void RenderCheck(int index) { (void)index; }
    virtual void RenderEditSelection(int index) { (void)index; }
};

// A backend runs dialogs modally and offers the desktop services.
class Backend {
public:
    virtual ~Backend() = default;
    // Creates the window for `dlg`, calls dlg.Create(view), runs until EndDialog, then
    // calls dlg.Destroyed(). Returns the result, or -1 when no window could be created.
    virtual int RunModal(CDialog& dlg) = 0;
    virtual Services& services() = 0;
    // Whose plain text field the edits' undo follows.
    virtual UndoStyle undoStyle() const { return UndoStyle::Qt; }
};

// The process-wide backend (set by main or by a test fixture).
void SetBackend(Backend* backend);
Backend& CurrentBackend();

// Modal message box with one OK, titled with the application's name.
void AfxMessageBox(std::string_view text);

}  // namespace ostrova::platform
