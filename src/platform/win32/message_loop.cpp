#include "platform/win32/dialog_window.h"

#include <algorithm>

#include "platform/win32/backend.h"
#include "platform/win32/dialog_template.h"

namespace ostrova::platform::win32 {

int Win32Backend::RunModal(CDialog& dlg) {
    // A dialog belongs to its parent's window, or else to the innermost open one.
    HWND owner = ActiveWindow();
    for (DialogWindow* window : open_) {
        if (&window->dialog() == dlg.parent()) owner = window->hwnd();
    }
    DialogWindow window(dlg, *this, owner);
    open_.push_back(&window);
    const int result = window.Run();
    open_.pop_back();
    dlg.Destroyed();
    return result < 0 ? -1 : dlg.result();
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

void DialogWindow::StartTimer(int timerId, int periodMs) {
    ::SetTimer(hwnd_, static_cast<UINT_PTR>(timerId), static_cast<UINT>(std::max(periodMs, 0)),
               nullptr);
}

}  // namespace ostrova::platform::win32
