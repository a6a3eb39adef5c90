#include "platform/win32/dialog_window.h"

#include <commctrl.h>

#include <algorithm>
#include <cassert>
#include <climits>
#include <span>
#include <string>
#include <utility>

#include "platform/dialog_manager.h"
#include "platform/win32/backend.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/dpi.h"
#include "platform/win32/edit_menu.h"
#include "platform/win32/wide_text.h"

namespace ostrova::platform::win32 {
namespace {

std::wstring WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool IsCombo(ControlKind kind) {
    return kind == ControlKind::ComboDropDown || kind == ControlKind::ComboDropList;
}

bool IsInput(UINT msg) {
    return (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) ||
           (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || msg == WM_PASTE || msg == WM_CUT ||
           msg == WM_CLEAR || msg == WM_UNDO || msg == EM_UNDO || msg == WM_IME_CHAR;
}

}  // namespace

DialogWindow::DialogWindow(CDialog& dlg, Win32Backend& backend, HWND owner)
    : dlg_(dlg), backend_(backend), owner_(owner), names_(dlg.dialogTemplate()) {}

DialogWindow::~DialogWindow() {
    ended_ = true;
    if (hwnd_ != nullptr) DestroyWindow(hwnd_);
    for (const auto& [index, font] : fonts_) DeleteObject(font);
}

HWND DialogWindow::control(int index) const {
    if (index < 0 || index >= static_cast<int>(controls_.size())) return nullptr;
    return controls_[static_cast<std::size_t>(index)];
}

int DialogWindow::Run() {
    // The window without its controls: they are made once the dialog has set their state.
    const std::vector<std::uint8_t> tpl = BuildDialogTemplate(dlg_.dialogTemplate(), false);
    // Modal: the owner takes no input while this dialog runs.
    const bool ownerWasEnabled = owner_ != nullptr && IsWindowEnabled(owner_);
    if (ownerWasEnabled) EnableWindow(owner_, FALSE);
    const HWND created = CreateDialogIndirectParamW(
        backend_.instance(), reinterpret_cast<LPCDLGTEMPLATEW>(tpl.data()), owner_, DialogProc,
        reinterpret_cast<LPARAM>(this));
    if (created == nullptr) {
        if (ownerWasEnabled) EnableWindow(owner_, TRUE);
        return -1;
    }
    if (!ended_) {
        ShowWindow(hwnd_, SW_SHOW);
        UpdateWindow(hwnd_);
        backend_.DialogShown(*this);
    }
    MSG msg;
    while (!ended_) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (PreTranslate(msg) || IsDialogMessageW(hwnd_, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    ended_ = true;
    names_.ClearAll(backend_.accessibleNames());
    // The owner takes the activation back before this window goes, so it does not flicker.
    if (ownerWasEnabled) EnableWindow(owner_, TRUE);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
    controls_.clear();
    return dlg_.result();
}

INT_PTR CALLBACK DialogWindow::DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogWindow*>(lp);
        SetWindowLongPtrW(hwnd, DWLP_USER, lp);
        self->hwnd_ = hwnd;
        self->OnInit();
        return FALSE;  // the focus is placed already
    }
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
    if (self == nullptr || self->hwnd_ != hwnd) return FALSE;
    return self->HandleMessage(msg, wp, lp);
}

LRESULT CALLBACK DialogWindow::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                           DWORD_PTR self) {
    return reinterpret_cast<DialogWindow*>(self)->HandleControlMessage(
        hwnd, static_cast<int>(id) - 1, msg, wp, lp);
}

void DialogWindow::OnInit() {
    SendMessageW(hwnd_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(backend_.icon(true)));
    SendMessageW(hwnd_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(backend_.icon(false)));

    // Each change costs the window system a round trip or more: a list filled an entry at a
    // time, a control enabled and disabled again. The dialog sets its controls' state before
    // they exist; they are made with their texts and enabled states, and the rest is rendered
    // once.
    const auto& templates = dlg_.dialogTemplate().controls;
    pending_.assign(templates.size(), 0);
    deferring_ = true;
    const bool defaultFocus = dlg_.Create(*this);
    deferring_ = false;
    if (dlg_.ended()) return;
    CreateControls();
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        if (controls_[i] == nullptr || !TakesFocus(templates[i].kind)) continue;
        SetWindowSubclass(controls_[i], ControlProc, i + 1, reinterpret_cast<DWORD_PTR>(this));
        if (templates[i].kind == ControlKind::ComboDropDown) {
            if (const HWND edit = GetWindow(controls_[i], GW_CHILD))
                SetWindowSubclass(edit, ControlProc, i + 1, reinterpret_cast<DWORD_PTR>(this));
        }
    }
    KeepLayoutOnDpiChange(backend_.dpi(), hwnd_, controls_);
    RenderPending();
    BOOL reader = FALSE;
    if (SystemParametersInfoW(SPI_GETSCREENREADER, 0, &reader, 0) && reader) NameForReaders();
    if (!placed_ && owner_ != nullptr) CentreOverOwner();
    if (focusLater_ >= 0) {
        FocusControl(std::exchange(focusLater_, -1));
    } else if (defaultFocus && dlg_.focusedId() == kNoId) {
        dlg_.PlaceDefaultFocus();
    }
}

// As the dialog manager makes them from the template (below one another in template order,
// in the dialog's font), with the text and enabled state the dialog gave them.
void DialogWindow::CreateControls() {
    const auto& templates = dlg_.dialogTemplate().controls;
    const auto font = static_cast<WPARAM>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    controls_.assign(templates.size(), nullptr);
    for (std::size_t i = 0; i < templates.size(); ++i) {
        const ControlTemplate& c = templates[i];
        const ControlState& s = dlg_.controls()[i];
        const NativeControlStyle n = NativeStyleOf(c);
        DWORD style = n.style & ~(WS_DISABLED | WS_VISIBLE);
        if (!s.enabled) style |= WS_DISABLED;
        if (s.visible) style |= WS_VISIBLE;
        RECT r{c.rect.x, c.rect.y, c.rect.w, c.rect.h};  // each mapped alone, as the manager does
        MapDialogRect(hwnd_, &r);
        std::wstring text;
        if (c.kind == ControlKind::Icon) {
            text = {wchar_t{0xFFFF}, static_cast<wchar_t>(IconResourceOf(c.text))};
        } else if (!IsCombo(c.kind)) {
            text = WideFromCp1252(s.text);
        }
        // The template's predefined class numbers, by name.
        const wchar_t* cls = n.classAtom == 0x80   ? L"Button"
                             : n.classAtom == 0x81 ? L"Edit"
                             : n.classAtom == 0x82 ? L"Static"
                                                   : L"ComboBox";
        const HWND w = CreateWindowExW(n.exStyle | WS_EX_NOPARENTNOTIFY, cls, text.c_str(), style,
                                       r.left, r.top, r.right, r.bottom, hwnd_,
                                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                       backend_.instance(), nullptr);
        if (w == nullptr) continue;
        SendMessageW(w, WM_SETFONT, font, FALSE);
        controls_[i] = w;
        // What is left to render: what the made control does not show yet.
        std::uint32_t left = s.font ? std::uint32_t{kChangedFont} : 0u;
        if (IsCombo(c.kind)) left |= kChangedItems | kChangedSelection | kChangedText;
        if (s.checked) left |= kChangedCheck;
        if (c.kind == ControlKind::Edit || c.kind == ControlKind::ComboDropDown)
            left |= kChangedEditSel;
        pending_[i] &= left;
    }
}

// The names serve screen readers only: they are given when one first asks a window of the
// dialog for its accessible object, or at once while one runs, so a start without a reader
// needs neither COM nor the accessibility library.
void DialogWindow::NameForReaders() {
    if (named_ || ended_) return;
    named_ = true;
    names_.NameAll(backend_.accessibleNames(), dlg_.controls(), controls_);
}

void DialogWindow::CentreOverOwner() {
    RECT owner{}, mine{};
    GetWindowRect(owner_, &owner);
    GetWindowRect(hwnd_, &mine);
    const int w = mine.right - mine.left;
    const int h = mine.bottom - mine.top;
    const int x = std::max<int>(0, owner.left + (owner.right - owner.left - w) / 2);
    const int y = std::max<int>(0, owner.top + (owner.bottom - owner.top - h) / 2);
    SetWindowPos(hwnd_, nullptr, x, y, 0, 0, SWP_NOZORDER | SWP_NOSIZE | SWP_NOACTIVATE);
}

int DialogWindow::FocusedIndex() const {
    for (HWND w = GetFocus(); w != nullptr && w != hwnd_; w = GetParent(w)) {
        const auto it = std::find(controls_.begin(), controls_.end(), w);
        if (it != controls_.end()) return static_cast<int>(it - controls_.begin());
    }
    return -1;
}

void DialogWindow::MoveFocus(int index, FocusMove how) {
    if (how == FocusMove::Start) {
        // As the dialog manager gives the first focus: the control alone, without the default
        // button's upkeep that WM_NEXTDLGCTL does over every button. The framework reports it.
        ++focusing_;
        SetFocus(control(index));
        --focusing_;
        return;
    }
    SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control(index)), TRUE);
}

// --- Rendering the framework's state ---------------------------------------------------------

void DialogWindow::RenderPending() {
    const bool deferring = deferring_;
    deferring_ = false;
    firstRender_ = IsWindowVisible(hwnd_) == FALSE;
    for (std::size_t i = 0; i < pending_.size(); ++i) {
        const std::uint32_t flags = std::exchange(pending_[i], 0);
        if (flags != 0) ControlChanged(static_cast<int>(i), flags);
    }
    firstRender_ = false;
    deferring_ = deferring;
}

void DialogWindow::ControlChanged(int index, std::uint32_t flags) {
    if (deferring_ || controls_.empty()) {
        if (static_cast<std::size_t>(index) < pending_.size())
            pending_[static_cast<std::size_t>(index)] |= flags;
        return;
    }
    if (control(index) == nullptr) return;
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    ++syncing_;
    RenderChanges(index, flags);
    --syncing_;
    if (s.kind == ControlKind::Label && (flags & kChangedText) != 0)
        names_.LabelChanged(index, backend_.accessibleNames(), dlg_.controls(), controls_);
}

void DialogWindow::RenderEnabled(int index) {
    const HWND w = control(index);
    const bool enabled = dlg_.controls()[static_cast<std::size_t>(index)].enabled;
    if ((IsWindowEnabled(w) != FALSE) != enabled) EnableWindow(w, enabled);
}

void DialogWindow::RenderVisible(int index) {
    const HWND w = control(index);
    const bool visible = dlg_.controls()[static_cast<std::size_t>(index)].visible;
    if ((IsWindowVisible(w) != FALSE) != visible) ShowWindow(w, visible ? SW_SHOWNA : SW_HIDE);
}

void DialogWindow::RenderText(int index) {
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    if (s.kind == ControlKind::Icon || s.kind == ControlKind::ComboDropList) return;
    const HWND w = s.kind == ControlKind::ComboDropDown ? EditOf(index) : control(index);
    if (w == nullptr) return;
    const std::wstring text = WideFromCp1252(s.text);
    // Setting a text resets caret and selection: only where it differs.
    const std::wstring shown = WindowText(w);
    if (shown == text) return;
    // The first texts go in whole: no caret or place to keep yet.
    if (firstRender_) return static_cast<void>(SetWindowTextW(w, text.c_str()));
    const bool singleLine = (GetWindowLongW(w, GWL_STYLE) & ES_MULTILINE) == 0;
    if (singleLine && (s.kind == ControlKind::Edit || s.kind == ControlKind::ComboDropDown)) {
        // Only the part that changed, so the edit keeps its place in a text wider than itself.
        std::size_t prefix = 0;
        while (prefix < shown.size() && prefix < text.size() && shown[prefix] == text[prefix])
            ++prefix;
        std::size_t suffix = 0;
        while (suffix < shown.size() - prefix && suffix < text.size() - prefix &&
               shown[shown.size() - 1 - suffix] == text[text.size() - 1 - suffix])
            ++suffix;
        const std::wstring middle = text.substr(prefix, text.size() - prefix - suffix);
        SendMessageW(w, EM_SETSEL, prefix, static_cast<LPARAM>(shown.size() - suffix));
        SendMessageW(w, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(middle.c_str()));
        if (WindowText(w) == text) return;
    }
    SetWindowTextW(w, text.c_str());
}

HWND DialogWindow::EditOf(int index) const {
    const HWND w = control(index);
    if (w == nullptr) return nullptr;
    const ControlKind kind = dlg_.controls()[static_cast<std::size_t>(index)].kind;
    if (kind == ControlKind::Edit) return w;
    if (kind == ControlKind::ComboDropDown) return GetWindow(w, GW_CHILD);
    return nullptr;
}

void DialogWindow::RenderEditSelection(int index) {
    const HWND edit = EditOf(index);
    if (edit == nullptr) return;
    // An edit without the focus shows no selection: the focus brings it (FocusControl).
    if (firstRender_ && GetFocus() != edit) return;
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    const int length = GetWindowTextLengthW(edit);
    int start = std::clamp(s.anchor, 0, length);
    const int end = std::clamp(s.caret, 0, length);
    // An edit without the focus shows no selection (a picked combo entry is selected whole,
    // which would otherwise light up every list).
    if (GetFocus() != edit) start = end;
    DWORD curStart = 0, curEnd = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&curStart),
                 reinterpret_cast<LPARAM>(&curEnd));
    if (static_cast<int>(curStart) == std::min(start, end) &&
        static_cast<int>(curEnd) == std::max(start, end))
        return;
    SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), end);  // the caret ends at `end`
}

void DialogWindow::RenderItems(int index) {
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    if (!IsCombo(s.kind)) return;
    const HWND combo = control(index);
    // Lists are filled an entry at a time: compare with what the list shows (kept here, no
    // round trip per entry) and insert the one new entry where that is all that changed.
    std::vector<std::string>& shown = shownItems_[index];
    if (shown == s.items) return;
    std::size_t first = 0;
    while (first < shown.size() && first < s.items.size() && shown[first] == s.items[first])
        ++first;
    const bool oneInserted =
        s.items.size() == shown.size() + 1 &&
        std::equal(shown.begin() + static_cast<std::ptrdiff_t>(first), shown.end(),
                   s.items.begin() + static_cast<std::ptrdiff_t>(first) + 1);
    if (oneInserted) {
        SendMessageW(combo, CB_INSERTSTRING, first,
                     reinterpret_cast<LPARAM>(WideFromCp1252(s.items[first]).c_str()));
    } else {
        // Emptying a list costs more than filling it: a list that only grew is appended to.
        const bool grown = first == shown.size();
        if (!grown) SendMessageW(combo, CB_RESETCONTENT, 0, 0);
        for (const std::string& item : std::span(s.items).subspan(grown ? first : 0)) {
            SendMessageW(combo, CB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(WideFromCp1252(item).c_str()));
        }
    }
    shown = s.items;
    RenderSelection(index);
}

void DialogWindow::RenderSelection(int index) {
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    if (!IsCombo(s.kind)) return;
    const HWND combo = control(index);
    const int selection = s.selection < static_cast<int>(s.items.size()) ? s.selection : -1;
    if (SendMessageW(combo, CB_GETCURSEL, 0, 0) != selection)
        SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(selection), 0);
}

void DialogWindow::RenderCheck(int index) {
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    if (s.kind != ControlKind::CheckBox && s.kind != ControlKind::RadioButton) return;
    const HWND button = control(index);
    const WPARAM wanted = s.checked ? BST_CHECKED : BST_UNCHECKED;
    if (static_cast<WPARAM>(SendMessageW(button, BM_GETCHECK, 0, 0)) != wanted)
        SendMessageW(button, BM_SETCHECK, wanted, 0);
}

void DialogWindow::RenderFont(int index) {
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    // A control that never had a font of its own has the dialog's already.
    if (!s.font && fonts_.count(index) == 0) return;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
    if (s.font) {
        // A positive height asks for the cell height (ascent + descent), in device pixels
        // whatever the DPI.
        font =
            CreateFontW(s.font->cellHeight, 0, 0, 0, s.font->weight, s.font->italic, FALSE, FALSE,
                        DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                        DEFAULT_PITCH | FF_DONTCARE, WideFromCp1252(s.font->face).c_str());
    }
    SendMessageW(control(index), WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    if (const auto old = fonts_.find(index); old != fonts_.end()) {
        DeleteObject(old->second);
        fonts_.erase(old);
    }
    if (s.font) fonts_[index] = font;
}

// --- User input ------------------------------------------------------------------------------

bool DialogWindow::PreTranslate(const MSG& msg) {
    if (msg.message != WM_KEYDOWN || (msg.hwnd != hwnd_ && !IsChild(hwnd_, msg.hwnd))) return false;
    const bool arrow = msg.wParam == VK_LEFT || msg.wParam == VK_RIGHT || msg.wParam == VK_UP ||
                       msg.wParam == VK_DOWN;
    const bool tab = msg.wParam == VK_TAB && (GetKeyState(VK_CONTROL) & 0x8000) == 0;
    if (arrow) {
        const bool next = msg.wParam == VK_RIGHT || msg.wParam == VK_DOWN;
        const auto it = std::find(controls_.begin(), controls_.end(), msg.hwnd);
        if (it == controls_.end() || !dlg_.UserKey(next ? DialogKey::Next : DialogKey::Previous,
                                                   static_cast<int>(it - controls_.begin()), false))
            return false;
    } else if (tab) {
        const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
        dlg_.UserKey(back ? DialogKey::BackTab : DialogKey::Tab, FocusedIndex(), false);
    }
    if (arrow || tab) {
        // Keyboard navigation shows the focus rectangle, as the dialog manager's does.
        SendMessageW(hwnd_, WM_CHANGEUISTATE, MAKEWPARAM(UIS_CLEAR, UISF_HIDEFOCUS), 0);
        return true;
    }
    if (msg.wParam == VK_F1) return true;  // the program has no help
    if (msg.wParam != VK_RETURN && msg.wParam != VK_ESCAPE) return false;
    bool listOpen = false;
    for (HWND w = msg.hwnd; w != nullptr && w != hwnd_; w = GetParent(w))
        listOpen = listOpen || SendMessageW(w, CB_GETDROPPEDSTATE, 0, 0) != 0;
    // An open list keeps the key: the dialog manager hands it on, and the list closes.
    return dlg_.UserKey(msg.wParam == VK_RETURN ? DialogKey::Enter : DialogKey::Escape,
                        FocusedIndex(), listOpen);
}

INT_PTR DialogWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (ended_) return FALSE;
    switch (msg) {
        case WM_GETOBJECT:
            NameForReaders();
            return FALSE;
        case WM_COMMAND: {
            const HWND from = reinterpret_cast<HWND>(lp);
            const auto it = std::find(controls_.begin(), controls_.end(), from);
            if (from != nullptr && it != controls_.end()) {
                OnCommand(static_cast<int>(it - controls_.begin()), HIWORD(wp));
            } else if (from == nullptr && LOWORD(wp) == IDCANCEL) {
                dlg_.UserCancel();
            }
            return TRUE;
        }
        case WM_CLOSE:
            dlg_.UserCancel();
            return TRUE;
        case WM_TIMER:
            dlg_.UserTimer(static_cast<int>(wp));
            return TRUE;
        case WM_VSCROLL:
            if (lp != 0) return FALSE;  // a scroll bar control's, not the window's own
            dlg_.UserVScroll(static_cast<ScrollRequest>(LOWORD(wp)), HIWORD(wp));
            return TRUE;
        case WM_MOUSEWHEEL:
            dlg_.UserMouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
            return TRUE;
        case WM_SYSCOMMAND:
            // The program's own entries; move, size, close and the rest are the system's.
            if ((wp & 0xFFF0) >= 0xF000) return FALSE;
            dlg_.UserSysCommand(static_cast<int>(wp));
            return TRUE;
        case WM_QUERYDRAGICON:
            return reinterpret_cast<INT_PTR>(backend_.icon(true));
        case WM_PAINT: {
            if (!IsIconic(hwnd_)) return FALSE;
            // Minimised: the window's icon, centred.
            PAINTSTRUCT paint{};
            const HDC dc = BeginPaint(hwnd_, &paint);
            SendMessageW(hwnd_, WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
            RECT client{};
            GetClientRect(hwnd_, &client);
            const int x = (client.right - GetSystemMetrics(SM_CXICON) + 1) / 2;
            const int y = (client.bottom - GetSystemMetrics(SM_CYICON) + 1) / 2;
            DrawIcon(dc, x, y, backend_.icon(true));
            EndPaint(hwnd_, &paint);
            return TRUE;
        }
        default:
            return FALSE;
    }
}

void DialogWindow::OnCommand(int index, int code) {
    if (syncing_ > 0 || ended_) return;
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    const int id = s.id;
    switch (s.kind) {
        case ControlKind::Edit:
            // Typing, paste, cut and undo come through HandleEditInput; a change the edit made
            // by itself (an input method's) is read against the selection before it.
            if (code == EN_CHANGE) {
                DWORD caret = 0;
                SendMessageW(control(index), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
                dlg_.UserEdit(id, Utf8FromWide(WindowText(control(index))), static_cast<int>(caret),
                              std::nullopt);
                CheckOneText(index);
            }
            break;
        case ControlKind::ComboDropDown:
        case ControlKind::ComboDropList:
            if (code == CBN_EDITCHANGE) {
                DWORD caret = 0;
                SendMessageW(EditOf(index), EM_GETSEL, 0, reinterpret_cast<LPARAM>(&caret));
                dlg_.UserEdit(id, Utf8FromWide(WindowText(EditOf(index))), static_cast<int>(caret),
                              std::nullopt);
                CheckOneText(index);
            } else if (code == CBN_SELCHANGE || code == CBN_SELENDOK || code == CBN_SELENDCANCEL ||
                       code == CBN_CLOSEUP) {
                // Also the keyboard's moves in a closed list: the user's input as well. A list
                // that closes may show another entry than the last change said (Escape puts
                // the one before back): the framework follows what the list shows.
                const int picked =
                    static_cast<int>(SendMessageW(control(index), CB_GETCURSEL, 0, 0));
                if (code != CBN_SELCHANGE && (picked < 0 || picked == s.selection)) break;
                dlg_.UserPick(id, picked);
                if (!ended_) {
                    ++syncing_;
                    RenderSelection(index);
                    --syncing_;
                }
            }
            break;
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            if (code != BN_CLICKED) break;
            dlg_.UserClick(id);
            if (ended_) break;
            // The framework renders the checks it changed; a refused click changes none.
            ++syncing_;
            RenderCheck(index);
            --syncing_;
            break;
        default:
            break;
    }
}

LRESULT DialogWindow::HandleControlMessage(HWND hwnd, int index, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, ControlProc, static_cast<UINT_PTR>(index) + 1);
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    if (msg == WM_GETOBJECT) NameForReaders();
    if (msg == WM_MOUSEWHEEL && IsCombo(dlg_.controls()[static_cast<std::size_t>(index)].kind)) {
        // Windows sends the wheel to the control under the pointer, and a closed combo box
        // would turn it into a pick: one without the focus hands it to the dialog, which
        // scrolls, as in the Linux program.
        const HWND combo = control(index);
        const HWND focus = GetFocus();
        const bool focused = focus == combo || (focus != nullptr && IsChild(combo, focus));
        if (!focused && SendMessageW(combo, CB_GETDROPPEDSTATE, 0, 0) == 0) {
            if (!ended_) dlg_.UserMouseWheel(GET_WHEEL_DELTA_WPARAM(wp));
            return 0;
        }
    }
    const bool isEdit = hwnd == EditOf(index);
    if (isEdit && msg == WM_CONTEXTMENU && syncing_ == 0 && !ended_) {
        ShowEditMenu(index, hwnd, lp);
        return 0;
    }
    if (isEdit && syncing_ == 0 && !ended_) {
        if (const auto handled = HandleEditInput(index, hwnd, msg, wp)) return *handled;
    }
    const bool editInput = IsInput(msg) && isEdit;
    if (editInput && syncing_ == 0 && !ended_) ReportEditSelection(index);
    const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    if (ended_) return result;
    if (editInput && syncing_ == 0) ReportEditSelection(index);
    if (msg == WM_SETFOCUS && focusing_ == 0 && syncing_ == 0)
        dlg_.UserFocus(dlg_.controls()[static_cast<std::size_t>(index)].id);
    return result;
}

void DialogWindow::ReportEditSelection(int index) {
    const HWND edit = EditOf(index);
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    // Caret moves inside a change in progress belong to that change.
    if (edit == nullptr || WindowText(edit) != WideFromCp1252(s.text)) return;
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (static_cast<int>(start) != std::min(s.anchor, s.caret) ||
        static_cast<int>(end) != std::max(s.anchor, s.caret))
        dlg_.UserSetEditSelection(s.id, static_cast<int>(start), static_cast<int>(end));
}

std::optional<LRESULT> DialogWindow::HandleEditInput(int index, HWND edit, UINT msg, WPARAM wp) {
    const bool changes = msg == WM_CHAR || msg == WM_IME_CHAR || msg == WM_PASTE || msg == WM_CUT ||
                         msg == WM_CLEAR || msg == WM_UNDO || msg == EM_UNDO || msg == EM_CANUNDO ||
                         (msg == WM_KEYDOWN && (wp == VK_DELETE || wp == VK_INSERT));
    if (!changes) return std::nullopt;  // the edit's own: moves, selections, its queries
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const int lo = static_cast<int>(start), hi = static_cast<int>(end);
    const int length = GetWindowTextLengthW(edit);
    const bool password = (s.style & kStylePassword) != 0;
    const bool shift = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    auto cut = [&] {
        if (lo == hi || password) return;  // a password is never put on the clipboard
        DefSubclassProc(edit, WM_COPY, 0, 0);
        ReplaceByUser(index, lo, hi, L"", EditKind::Delete);
    };
    switch (msg) {
        case WM_CHAR:
        case WM_IME_CHAR: {
            const auto c = static_cast<wchar_t>(wp);
            switch (c) {
                case 0x01:  // Ctrl+A and Ctrl+C: the edit's own, they change no text
                case 0x03:
                    return std::nullopt;
                case L'\t':
                case L'\n':
                case L'\r':
                case 0x1B:
                    // A combo box's edit hands Enter and Escape to its open list, which closes;
                    // a single-line edit ignores them, as it does Tab.
                    if (IsCombo(s.kind)) return std::nullopt;
                    return 0;
                case 0x08:
                    if (lo < hi)
                        ReplaceByUser(index, lo, hi, L"", EditKind::Backspace);
                    else if (lo > 0)
                        ReplaceByUser(index, lo - 1, lo, L"", EditKind::Backspace);
                    return 0;
                case 0x16:
                    PasteByUser(index, edit);
                    return 0;
                case 0x18:
                    cut();
                    return 0;
                case 0x1A:
                    dlg_.UserUndo(s.id);
                    CheckOneText(index);
                    return 0;
                default:
                    break;
            }
            if (IS_HIGH_SURROGATE(c)) {
                highSurrogate_ = c;
                return 0;
            }
            std::wstring typed(1, c);
            if (IS_LOW_SURROGATE(c) && highSurrogate_ != 0)
                typed.insert(typed.begin(), highSurrogate_);
            highSurrogate_ = 0;
            const std::string before = s.text;
            ReplaceByUser(index, lo, hi, typed, EditKind::Typing);
            // A letter refused by a digits-only edit goes on to the edit itself, which refuses
            // it too and tells the user why in its own tip.
            const bool digit = c >= L'0' && c <= L'9';
            if ((s.style & kStyleDigits) != 0 && !digit &&
                dlg_.controls()[static_cast<std::size_t>(index)].text == before)
                DefSubclassProc(edit, msg, wp, 0);
            return 0;
        }
        case WM_KEYDOWN:
            if (wp == VK_DELETE) {
                if (lo < hi) {
                    shift ? cut() : ReplaceByUser(index, lo, hi, L"", EditKind::Delete);
                } else if (shift) {
                    if (lo > 0) ReplaceByUser(index, lo - 1, lo, L"", EditKind::Backspace);
                } else if (hi < length) {
                    ReplaceByUser(index, hi, ctrl ? length : hi + 1, L"",
                                  ctrl ? EditKind::RemoveRange : EditKind::Delete);
                }
                return 0;
            }
            if (wp == VK_INSERT && shift && !ctrl) {
                PasteByUser(index, edit);
                return 0;
            }
            return std::nullopt;
        case WM_PASTE:
            PasteByUser(index, edit);
            return 0;
        case WM_CUT:
            cut();
            return 0;
        case WM_CLEAR:
            if (lo < hi) ReplaceByUser(index, lo, hi, L"", EditKind::Delete);
            return 0;
        case WM_UNDO:
        case EM_UNDO:
            dlg_.UserUndo(s.id);
            CheckOneText(index);
            return TRUE;
        case EM_CANUNDO:
            return dlg_.CanUndo(s.id) ? TRUE : FALSE;
        default:
            return std::nullopt;
    }
}

// The edit's own menu would ask the edit's undo buffer, which the framework keeps empty: the
// same items are offered by the framework's state, and each goes through the framework as its
// key does.
void DialogWindow::ShowEditMenu(int index, HWND edit, LPARAM at) {
    if (GetFocus() != edit) SetFocus(edit);
    ReportEditSelection(index);
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    const int from = std::min(s.anchor, s.caret), to = std::max(s.anchor, s.caret);
    const EditMenuState state{
        .editable = s.enabled && (s.style & kStyleReadOnly) == 0,
        .canUndo = dlg_.CanUndo(s.id),
        .selection = from < to,
        .wholeText = from == 0 && to == static_cast<int>(s.text.size()),
        .password = (s.style & kStylePassword) != 0,
    };
    const POINT point{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    const UINT chosen = TrackEditMenu(edit, state, point);
    if (chosen == 0 || ended_) return;
    if (chosen == EM_SETSEL) {
        SendMessageW(edit, EM_SETSEL, 0, -1);
        ReportEditSelection(index);
    } else {
        SendMessageW(edit, chosen, 0, 0);  // through this subclass, as the keys go
    }
}

void DialogWindow::ReplaceByUser(int index, int start, int end, std::wstring_view text,
                                 EditKind kind) {
    ReportEditSelection(index);  // the selection the change replaces
    const ControlState& s = dlg_.controls()[static_cast<std::size_t>(index)];
    dlg_.UserReplace(s.id, start, end, Utf8FromWide(text), kind);
    CheckOneText(index);
}

void DialogWindow::PasteByUser(int index, HWND edit) {
    std::wstring text;
    if (OpenClipboard(edit)) {
        if (const HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                text = chars;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    // A single-line edit takes the first line of what is pasted.
    text = text.substr(0, text.find_first_of(L"\r\n"));
    if (text.empty()) return;
    DWORD start = 0, end = 0;
    SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    ReplaceByUser(index, static_cast<int>(start), static_cast<int>(end), text, EditKind::Paste);
}

void DialogWindow::CheckOneText(int index) {
    if (ended_) return;
    const HWND edit = EditOf(index);
    if (edit == nullptr) return;
    const bool same =
        WindowText(edit) == WideFromCp1252(dlg_.controls()[static_cast<std::size_t>(index)].text);
    if (!same) ++textMismatches_;
    assert(same && "the edit shows another text than the framework's");
}

void DialogWindow::FocusControl(int index) {
    if (controls_.empty()) {
        focusLater_ = index;  // once the controls are made
        return;
    }
    RenderPending();  // the focus lands on the control as it stands
    ++focusing_;
    if (const HWND w = control(index)) {
        SendMessageW(hwnd_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(w), TRUE);
        ++syncing_;
        RenderEditSelection(index);
        --syncing_;
    } else {
        SetFocus(hwnd_);
    }
    --focusing_;
}

// --- Frame -----------------------------------------------------------------------------------

void DialogWindow::EndModal(int) {
    ended_ = true;
    if (hwnd_ != nullptr) PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the loop
}

void DialogWindow::MoveWindow(int x, int y, int width, int height) {
    placed_ = true;
    ::MoveWindow(hwnd_, x, y, width, height, TRUE);
}

DialogView::FormWidths DialogWindow::FormOuterWidths(bool scrollBar) const {
    // Where the template puts the controls, mapped as they are made (the controls may not be
    // there yet when the dialog places its window).
    LONG left = LONG_MAX, right = 0;
    for (const ControlTemplate& c : dlg_.dialogTemplate().controls) {
        RECT r{c.rect.x, c.rect.y, c.rect.w, c.rect.h};
        MapDialogRect(hwnd_, &r);
        left = std::min(left, r.left);
        right = std::max(right, r.left + r.right);
    }
    if (right == 0) return {};
    const int dpi = LayoutDpi(backend_.dpi(), hwnd_);
    const auto style = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_STYLE));
    const auto exStyle = static_cast<DWORD>(GetWindowLongW(hwnd_, GWL_EXSTYLE));
    RECT outer{0, 0, right, 1};
    FrameFor(backend_.dpi(), dpi, outer, style & ~WS_VSCROLL, exStyle);
    const int edge = outer.right - outer.left +
                     (scrollBar ? SystemMetricFor(backend_.dpi(), dpi, SM_CXVSCROLL) : 0);
    return {edge, edge + std::max<int>(left, 0)};
}

void DialogWindow::SetScrollInfo(const ScrollInfo& info, bool redraw) {
    SCROLLINFO si{};
    si.cbSize = sizeof si;
    si.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    si.nMin = info.min;
    si.nMax = info.max;
    si.nPage = static_cast<UINT>(std::max(info.page, 0));
    si.nPos = info.pos;
    ::SetScrollInfo(hwnd_, SB_VERT, &si, redraw);
}

void DialogWindow::ScrollContent(int dy) {
    ScrollWindowEx(hwnd_, 0, dy, nullptr, nullptr, nullptr, nullptr,
                   SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
}

void DialogWindow::StartTimer(int timerId, int periodMs) {
    ::SetTimer(hwnd_, static_cast<UINT_PTR>(timerId), static_cast<UINT>(std::max(periodMs, 0)),
               nullptr);
}

void DialogWindow::AppendSystemMenuCommand(int commandId, std::string_view text) {
    const HMENU menu = GetSystemMenu(hwnd_, FALSE);
    if (menu == nullptr) return;
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, static_cast<UINT_PTR>(commandId), WideFromCp1252(text).c_str());
}

}  // namespace ostrova::platform::win32
