// The Windows program: one modal run of the settings window, on Win32.
#include "platform/win32/windows_api.h"

#include <commctrl.h>

#include "platform/framework.h"
#include "platform/win32/backend.h"
#include "ui/main/settings_app.h"

namespace {

// The one application object, as the classic framework keeps it.
ostrova::ui::CSettingsApp theApp;

}  // namespace

// The command line and the requested show state are not used.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    ostrova::platform::win32::Win32Backend backend(instance);
    ostrova::platform::SetBackend(&backend);
    theApp.InitInstance();  // returns false: no message loop of its own, straight to the end
    ostrova::platform::SetBackend(nullptr);
    return 0;
}
