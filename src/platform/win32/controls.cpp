#include "platform/win32/dialog_window.h"

#include <algorithm>
#include <span>
#include <string>
#include <utility>

#include "platform/win32/backend.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/wide_text.h"

namespace ostrova::platform::win32 {

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

}  // namespace ostrova::platform::win32
