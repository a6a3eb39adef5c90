#include "config/settings_folder.h"

#include <unistd.h>

#include <cstdlib>

namespace ostrova {

bool IsWritableFolder(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string ReadEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

SettingsFolder ChooseSettingsFolder(const std::filesystem::path& programFolder,
                                    const WritableTest& writable, const EnvReader& env) {
    if (writable(programFolder)) return {programFolder, false};
    std::filesystem::path base;
    const std::string dataHome = env("XDG_DATA_HOME");
    if (!dataHome.empty() && std::filesystem::path(dataHome).is_absolute()) {
        base = dataHome;
    } else {
        const std::string home = env("HOME");
        if (home.empty()) return {programFolder, false};
        base = std::filesystem::path(home) / ".local" / "share";
    }
    const std::filesystem::path folder = base / "ostrova-settings";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder)) return {programFolder, false};
    return {folder, true};
}

}  // namespace ostrova
