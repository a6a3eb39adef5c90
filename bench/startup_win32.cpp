// Start-up of the Windows program's window (the framework on the Win32 backend) or of a bare
// Win32 dialog built from the same template with nothing filled in: each ends right after
// its first paint and prints how long that took, from the process's creation and from the
// start of WinMain. Usage: startup_win32.exe window|bare
#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstring>

#include "platform/framework.h"
#include "platform/win32/backend.h"
#include "platform/win32/dialog_template.h"
#include "platform/win32/dialog_window.h"
#include "res/templates.h"
#include "ui/main/settings_app.h"

namespace {

using Clock = std::chrono::steady_clock;

void Report(Clock::time_point mainStart) {
    FILETIME created{}, exited{}, kernel{}, user{}, now{};
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    GetSystemTimeAsFileTime(&now);
    const auto ticks = [](FILETIME t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    const double sinceCreation = (ticks(now) - ticks(created)) / 1e4;  // 100 ns units
    const double sinceMain =
        std::chrono::duration<double, std::milli>(Clock::now() - mainStart).count();
    std::printf("first paint after %.2f ms (%.2f ms in WinMain)\n", sinceCreation, sinceMain);
    std::fflush(stdout);
}

INT_PTR CALLBACK BareProc(HWND, UINT msg, WPARAM, LPARAM) {
    return msg == WM_INITDIALOG;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const auto start = Clock::now();
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    if (std::strcmp(commandLine, "bare") == 0) {
        const auto tpl =
            ostrova::platform::win32::BuildDialogTemplate(ostrova::res::MainTemplate());
        const HWND dialog = CreateDialogIndirectParamW(
            instance, reinterpret_cast<LPCDLGTEMPLATEW>(tpl.data()), nullptr, BareProc, 0);
        if (dialog == nullptr) return 1;
        ShowWindow(dialog, SW_SHOW);
        UpdateWindow(dialog);  // paints now
        Report(start);
        DestroyWindow(dialog);
        return 0;
    }
    ostrova::platform::win32::Win32Backend backend(instance);
    backend.SetShownHook([&](ostrova::platform::win32::DialogWindow& window) {
        Report(start);  // shown and painted (UpdateWindow)
        window.dialog().EndDialog(ostrova::platform::kIdCancel);
    });
    ostrova::platform::SetBackend(&backend);
    ostrova::ui::CSettingsApp app;
    app.InitInstance();
    ostrova::platform::SetBackend(nullptr);
    return 0;
}
