#include "config/settings_folder.h"

#ifndef _WIN32
#include <unistd.h>
#endif

#include <cstdlib>

namespace ostrova {

#ifdef _WIN32
namespace {
// Environment values are UTF-8 (see ReadEnv), whatever the system's code page.
std::filesystem::path PathFromUtf8(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}
}  // namespace
#else  // Windows: file_io_windows.cpp  // Windows: file_io_windows.cpp
bool IsWritableFolder(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string ReadEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}
#endif

SettingsFolder ChooseSettingsFolder(const std::filesystem::path& programFolder,
                                    const WritableTest& writable, const EnvReader& env) {
    if (writable(programFolder)) return {programFolder, false};
    std::filesystem::path base;
#ifdef _WIN32
    const std::string localAppData = env("LOCALAPPDATA");
    if (localAppData.empty() || !PathFromUtf8(localAppData).is_absolute())
        return {programFolder, false};
    base = PathFromUtf8(localAppData);
#else
    const std::string dataHome = env("XDG_DATA_HOME");
    if (!dataHome.empty() && std::filesystem::path(dataHome).is_absolute()) {
        base = dataHome;
    } else {
        const std::string home = env("HOME");
        if (home.empty()) return {programFolder, false};
        base = std::filesystem::path(home) / ".local" / "share";
    }
#endif
    const std::filesystem::path folder = base / "ostrova-settings";
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    if (ec || !std::filesystem::is_directory(folder)) return {programFolder, false};
    return {folder, true};
}

}  // namespace ostrova
