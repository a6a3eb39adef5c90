#include "ui/main/settings_app.h"

#include "config/record.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::ui {

namespace {
// The one settings record of the process and the Custom side copy; zero at start.
ConfigRecord g_config{};
CustomPreset g_customPreset{};
}  // namespace

bool CSettingsApp::InitInstance() {
    CSettingsDlg dlg(g_config, g_customPreset);
    dlg.DoModal();  // however the window closed, nothing is saved
    return false;
}

}  // namespace ostrova::ui
