#include "config/settings_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "config/paths.h"

namespace ostrova {
namespace {

EnvReader Env(std::map<std::string, std::string> vars) {
    return [vars](const char* name) { return vars.contains(name) ? vars.at(name) : std::string(); };
}

// A writable copy keeps its own folder. An installed copy, or one on a write-protected card or a
// read-only share, saves into the per-user folder, created on demand; until that folder holds a
// settings file, the start-up load reads the one beside the program.
TEST(Folders, TheStartupLoadReadsBesideTheProgramUntilThePerUserFolderHoldsAFile) {
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("ostrova-folder-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "program");
    // A user name in Cyrillic: the folder comes through as UTF-8 and stays the path it names.
    const std::filesystem::path data = root / std::filesystem::path(u8"Пользователь");
    const EnvReader env =
        Env({{"XDG_DATA_HOME", Utf8FromPath(data)}, {"LOCALAPPDATA", Utf8FromPath(data)}});
    // (A missing folder is no writable one: the main window's test of an installed copy.)
    auto choice = ChooseSettingsFolder(root / "program", IsWritableFolder, env);
    EXPECT_EQ(std::pair(choice.path, choice.startup),
              std::pair(root / "program", root / "program"));
    EXPECT_FALSE(choice.perUser || std::filesystem::exists(data));

    const auto readOnly = [](auto&) { return false; };
    const std::filesystem::path perUser = data / "ostrova-settings";
    for (const char* saved : {"", "wireless.cfg", "MMSCFG.BIN"}) {
        std::filesystem::remove_all(data);
        if (*saved) {
            std::filesystem::create_directories(perUser);
            std::ofstream(perUser / saved) << "x";  // any file counts, even a broken one
        }
        choice = ChooseSettingsFolder(root / "program", readOnly, env);
        EXPECT_TRUE(choice.perUser && std::filesystem::is_directory(perUser)) << saved;
        EXPECT_EQ(choice.path, perUser) << saved;
        EXPECT_EQ(choice.startup, *saved ? perUser : root / "program") << saved;
    }
    // A relative folder is none: then the home folder's (not on Windows), else the own folder.
    const std::string home = Utf8FromPath(root / "home");
    choice = ChooseSettingsFolder(
        root / "program", readOnly,
        Env({{"XDG_DATA_HOME", "relative"}, {"LOCALAPPDATA", "relative"}, {"HOME", home}}));
#ifdef _WIN32
    EXPECT_EQ(choice.path, root / "program");
#else
    EXPECT_EQ(choice.path, root / "home" / ".local" / "share" / "ostrova-settings");
#endif
    choice = ChooseSettingsFolder(root / "program", readOnly, Env({}));
    EXPECT_EQ(choice.path, root / "program");
    EXPECT_FALSE(choice.perUser);
    std::filesystem::remove_all(root);
}

#ifdef _WIN32
// A Windows name's text, for messages and the extension rule, never fails; UTF-8 from the
// command line and the environment names the file it says.
TEST(Paths, WindowsNamesAndUtf8) {
    EXPECT_EQ(Utf8FromPath(std::filesystem::path(L"C:\\\u041a\\a\xD800.cfg")),
              "C:\\\xD0\x9A\\a\xEF\xBF\xBD.cfg");
    EXPECT_EQ(PathFromUtf8("C:\\\xD0\x9A\xE8\xAE\xBE\\\xF0\x9F\x93\xB7").native(),
              L"C:\\\u041a\u8bbe\\\U0001F4F7");
    EXPECT_EQ(PathFromUtf8("bad\xFF").native(), L"bad\uFFFD");
}
#endif

}  // namespace
}  // namespace ostrova
