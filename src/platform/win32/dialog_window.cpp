#include "platform/win32/dialog_window.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>

#include "platform/dialog_manager.h"
#include "platform/win32/backend.h"
#include "platform/win32/dpi.h"

namespace ostrova::platform::win32 {

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

INT_PTR DialogWindow::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (ended_) return FALSE;
    if (const auto handled = HandleFrameMessage(msg, wp, lp)) return *handled;
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
        default:
            return FALSE;
    }
}

LRESULT DialogWindow::HandleControlMessage(HWND hwnd, int index, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCDESTROY) {
        RemoveWindowSubclass(hwnd, ControlProc, static_cast<UINT_PTR>(index) + 1);
        return DefSubclassProc(hwnd, msg, wp, lp);
    }
    if (msg == WM_GETOBJECT) NameForReaders();
    if (msg == WM_MOUSEWHEEL && WheelOverCombo(index, wp)) return 0;
    if (hwnd == EditOf(index)) {
        if (const auto handled = HandleEditMessage(index, hwnd, msg, wp, lp)) return *handled;
    }
    const LRESULT result = DefSubclassProc(hwnd, msg, wp, lp);
    if (ended_) return result;
    if (msg == WM_SETFOCUS) ControlFocused(index);
    return result;
}

void DialogWindow::EndModal(int) {
    ended_ = true;
    if (hwnd_ != nullptr) PostMessageW(hwnd_, WM_NULL, 0, 0);  // wakes the loop
}

std::wstring DialogWindow::WindowText(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(
        static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool DialogWindow::IsCombo(ControlKind kind) {
    return kind == ControlKind::ComboDropDown || kind == ControlKind::ComboDropList;
}

}  // namespace ostrova::platform::win32
