#include "config/settings_folder.h"

#include <cstdlib>

#include "config/file_commands.h"
#include "config/paths.h"

namespace ostrova {

namespace {

bool HoldsSettingsFile(const std::filesystem::path& folder) {
    std::error_code ec;
    return std::filesystem::exists(folder / kCfgFileName, ec) ||
           std::filesystem::exists(folder / kBinFileName, ec);
}

}  // namespace

SettingsFolder ChooseSettingsFolder(const std::filesystem::path& programFolder,
                                    const WritableTest& writable, const EnvReader& env) {
    const SettingsFolder own{programFolder, false, programFolder};
    if (writable(programFolder)) return own;
    std::filesystem::path base;
#ifdef _WIN32
    const std::string localAppData = env("LOCALAPPDATA");
    if (localAppData.empty() || !PathFromUtf8(localAppData).is_absolute()) return own;
    base = PathFromUtf8(localAppData);
#else
    const std::string dataHome = env("XDG_DATA_HOME");
    if (!dataHome.empty() && std::filesystem::path(dataHome).is_absolute()) {
        base = dataHome;
    } else {
        const std::string home = env("HOME");
        if (home.empty()) return own;
        base = std::filesystem::path(home) / ".local" / "share";
    }
#endif
    const std::filesystem::path folder = base / "ostrova-settings";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder)) return own;
    return {folder, true, HoldsSettingsFile(folder) ? folder : programFolder};
}

}  // namespace ostrova
