// The program: one modal run of the settings window, on Qt.
#include <QApplication>
#include <string_view>

#include "platform/framework.h"
#include "platform/qt/qt_backend.h"
#include "ui/main/settings_app.h"

namespace {

// The one application object, as the classic framework keeps it.
ostrova::ui::CSettingsApp theApp;

// The main window stands at the screen's top-left corner, which a Wayland client cannot ask
// for: unless the user chose a platform, take X11 (XWayland) wherever a display offers it.
void PreferX11(int argc, char** argv) {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "-platform" || arg == "--platform" || arg.starts_with("-platform=") ||
            arg.starts_with("--platform="))
            return;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
}

}  // namespace

int main(int argc, char** argv) {
    PreferX11(argc, argv);
    QApplication app(argc, argv);
    ostrova::platform::qt::QtBackend backend;
    ostrova::platform::SetBackend(&backend);
    theApp.InitInstance();  // returns false: no message loop of its own, straight to the end
    ostrova::platform::SetBackend(nullptr);
    return 0;
}
