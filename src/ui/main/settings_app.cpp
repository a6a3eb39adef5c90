#include "ui/main/settings_app.h"

#include "config/record.h"
#include "config/settings_folder.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::ui {

namespace {
// The one settings record of the process and the Custom side copy; zero at start.
ConfigRecord g_config{};
CustomPreset g_customPreset{};
}  // namespace

bool CSettingsApp::InitInstance() {
    // An installed copy cannot write beside itself: it starts in the per-user folder, so the
    // start-up load and "Save" meet there.
    const SettingsFolder folder = ChooseSettingsFolder(
        platform::CurrentBackend().services().ProgramPath().parent_path());
    if (folder.perUser) {
        std::error_code ec;
        std::filesystem::current_path(folder.path, ec);
    }
    CSettingsDlg dlg(g_config, g_customPreset);
    dlg.DoModal();  // however the window closed, nothing is saved
    return false;
}

}  // namespace ostrova::ui
