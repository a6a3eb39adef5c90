// The browser edition: one modal run of the settings window in the page.
#include "platform/framework.h"
#include "platform/web/backend.h"
#include "ui/main/settings_app.h"

namespace {
// The one application object, as the classic framework keeps it.
ostrova::ui::CSettingsApp theApp;
}  // namespace

int main() {
    ostrova::platform::web::WebBackend backend;
    ostrova::platform::SetBackend(&backend);
    backend.Start();
    theApp.InitInstance();  // returns false: no message loop of its own, straight to the end
    ostrova::platform::SetBackend(nullptr);
    backend.Finish();
    return 0;
}
