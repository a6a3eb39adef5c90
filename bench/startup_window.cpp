// Start-up of the real program: the settings window on the Qt backend, ended after its first
// paint. Measured beside startup_bare (scripts/bench.sh).
#include <QApplication>

#include "first_paint.h"
#include "platform/framework.h"
#include "platform/qt/backend.h"
#include "ui/main/settings_app.h"

int main(int argc, char** argv) {
    FirstPaint firstPaint;
    QApplication app(argc, argv);
    app.installEventFilter(&firstPaint);
    ostrova::platform::qt::QtBackend backend;
    ostrova::platform::SetBackend(&backend);
    ostrova::ui::CSettingsApp settingsApp;
    settingsApp.InitInstance();
    ostrova::platform::SetBackend(nullptr);
    return 0;
}
