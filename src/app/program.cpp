#include "app/program.h"

#include <QApplication>

#include "ostrova/version.h"
#include "platform/framework.h"
#include "platform/qt/backend.h"
#include "ui/main/settings_app.h"

namespace ostrova::app {
namespace {

// The one application object, as the classic framework keeps it.
ui::CSettingsApp theApp;

// The main window stands at the screen's top-left corner, which a Wayland client cannot ask
// for: unless the user chose a platform, take X11 (XWayland) wherever a display offers it.
void PreferX11() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && !qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace

int RunProgram(int argc, char** argv) {
    // The program takes no arguments, and Qt would read its own (-reverse, -style, ...) from
    // them: it gets the program's name alone. Qt's environment variables still choose the
    // platform and the scale.
    char fallbackName[] = "ostrova-settings";
    int qtArgc = 1;
    char* qtArgv[] = {argc > 0 ? argv[0] : fallbackName, nullptr};
    PreferX11();
    QApplication app(qtArgc, qtArgv);
    QGuiApplication::setDesktopFileName(OSTROVA_APP_ID);  // the window's desktop entry (Wayland)
    platform::qt::QtBackend backend;
    platform::SetBackend(&backend);
    theApp.InitInstance();  // returns false: no message loop of its own, straight to the end
    platform::SetBackend(nullptr);
    return 0;
}

}  // namespace ostrova::app
