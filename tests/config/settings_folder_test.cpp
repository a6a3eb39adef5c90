#include "config/settings_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "config/paths.h"

namespace ostrova {
namespace {

struct Folders : ::testing::Test {
    void SetUp() override {
        root = std::filesystem::temp_directory_path() /
               ("ostrova-folder-" + std::to_string(::getpid()));
        std::filesystem::create_directories(root / "program");
    }
    void TearDown() override { std::filesystem::remove_all(root); }
    EnvReader Env(std::map<std::string, std::string> vars) {
        return [vars](const char* name) {
            const auto it = vars.find(name);
            return it == vars.end() ? std::string() : it->second;
        };
    }
    std::filesystem::path root;
};

#ifdef _WIN32
TEST_F(Folders, AnInstalledCopyUsesThePerUserFolderCreatedOnDemand) {
    const auto readOnly = [](auto&) { return false; };
    // A user name in Cyrillic: the folder comes through as UTF-8 and stays a wide path.
    const std::filesystem::path appData = root / std::filesystem::path(u8"Пользователь");
    const std::u8string appDataUtf8 = appData.u8string();
    auto choice = ChooseSettingsFolder(
        root / "program", readOnly,
        Env({{"LOCALAPPDATA", std::string(appDataUtf8.begin(), appDataUtf8.end())}}));
    EXPECT_EQ(choice.path, appData / "ostrova-settings");
    EXPECT_TRUE(choice.perUser);
    EXPECT_TRUE(std::filesystem::is_directory(choice.path));

    choice = ChooseSettingsFolder(root / "program", readOnly, Env({{"LOCALAPPDATA", "relative"}}));
    EXPECT_EQ(choice.path, root / "program");
    EXPECT_FALSE(choice.perUser);
}
#else
TEST_F(Folders, AnInstalledCopyUsesThePerUserFolderCreatedOnDemand) {
    const auto readOnly = [](auto&) { return false; };
    const std::string home = (root / "home").string();
    auto choice =
        ChooseSettingsFolder(root / "program", readOnly,
                             Env({{"XDG_DATA_HOME", (root / "data").string()}, {"HOME", home}}));
    EXPECT_EQ(choice.path, root / "data" / "ostrova-settings");
    EXPECT_TRUE(choice.perUser);
    EXPECT_TRUE(std::filesystem::is_directory(choice.path));
    // Without XDG_DATA_HOME (or with a relative one) the folder lies under the home folder.
    choice = ChooseSettingsFolder(root / "program", readOnly,
                                  Env({{"XDG_DATA_HOME", "relative"}, {"HOME", home}}));
    EXPECT_EQ(choice.path, root / "home" / ".local" / "share" / "ostrova-settings");
    // Nowhere to go: the own folder, as before.
    choice = ChooseSettingsFolder(root / "program", readOnly, Env({}));
    EXPECT_EQ(choice.path, root / "program");
    EXPECT_FALSE(choice.perUser);
}
#endif

// A writable copy keeps its own folder. A copy on a write-protected card or a read-only share
// saves into the per-user folder; until that folder holds a settings file, the start-up load
// reads the one beside the program.
TEST_F(Folders, TheStartupLoadReadsBesideTheProgramUntilThePerUserFolderHoldsAFile) {
    const std::string data = Utf8FromPath(root / "data");
    const EnvReader env = Env({{"XDG_DATA_HOME", data}, {"LOCALAPPDATA", data}});
    EXPECT_TRUE(IsWritableFolder(root / "program"));
    EXPECT_FALSE(IsWritableFolder(root / "missing"));
    auto choice = ChooseSettingsFolder(root / "program", IsWritableFolder, env);
    EXPECT_EQ(std::pair(choice.path, choice.startup),
              std::pair(root / "program", root / "program"));
    EXPECT_FALSE(choice.perUser || std::filesystem::exists(root / "data"));

    const auto readOnly = [](auto&) { return false; };
    const std::filesystem::path perUser = root / "data" / "ostrova-settings";
    for (const char* saved : {"", "wireless.cfg", "MMSCFG.BIN"}) {
        std::filesystem::remove_all(root / "data");
        if (*saved) {
            std::filesystem::create_directories(perUser);
            std::ofstream(perUser / saved) << "x";  // any file counts, even a broken one
        }
        choice = ChooseSettingsFolder(root / "program", readOnly, env);
        EXPECT_EQ(choice.path, perUser) << saved;
        EXPECT_EQ(choice.startup, *saved ? perUser : root / "program") << saved;
    }
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
