#include "platform/win32/dialog_window.h"

#include <algorithm>

namespace ostrova::platform::win32 {

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

void DialogWindow::ControlFocused(int index) {
    if (focusing_ == 0 && syncing_ == 0)
        dlg_.UserFocus(dlg_.controls()[static_cast<std::size_t>(index)].id);
}

}  // namespace ostrova::platform::win32
