// Where the program keeps its settings files: its own folder, or a per-user folder when its
// own folder is not writable (an installed copy).
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace ostrova {

struct SettingsFolder {
    std::filesystem::path path;  // where "Save" writes
    bool perUser = false;        // the program's own folder was not writable
    // Where the start-up load looks: `path`, or the program's own folder while the per-user
    // folder holds no settings file, so a copy on a write-protected card or a read-only share
    // still reads the settings beside it.
    std::filesystem::path startup;
};

// Reads an environment variable as UTF-8; empty when unset.
using EnvReader = std::function<std::string(const char* name)>;
using WritableTest = std::function<bool(const std::filesystem::path& folder)>;

bool IsWritableFolder(const std::filesystem::path& folder);
std::string ReadEnv(const char* name);

// The program's own folder when it is writable; else $XDG_DATA_HOME/ostrova-settings (or
// ~/.local/share/ostrova-settings; on Windows %LOCALAPPDATA%\ostrova-settings), created on
// demand. Should that fail too, the own folder.
SettingsFolder ChooseSettingsFolder(const std::filesystem::path& programFolder,
                                    const WritableTest& writable = IsWritableFolder,
                                    const EnvReader& env = ReadEnv);

}  // namespace ostrova
