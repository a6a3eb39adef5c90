#include "config/settings_folder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <map>

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

TEST_F(Folders, AWritableCopyKeepsItsOwnFolder) {
    const auto choice = ChooseSettingsFolder(root / "program", [](auto&) { return true; },
                                             Env({{"XDG_DATA_HOME", (root / "data").string()}}));
    EXPECT_EQ(choice.path, root / "program");
    EXPECT_FALSE(choice.perUser);
    EXPECT_FALSE(std::filesystem::exists(root / "data")) << "nothing created on the way";
}

TEST_F(Folders, AnInstalledCopyUsesThePerUserFolderCreatedOnDemand) {
    const auto readOnly = [](auto&) { return false; };
    auto choice = ChooseSettingsFolder(root / "program", readOnly,
                                       Env({{"XDG_DATA_HOME", (root / "data").string()},
                                            {"HOME", (root / "home").string()}}));
    EXPECT_EQ(choice.path, root / "data" / "ostrova-settings");
    EXPECT_TRUE(choice.perUser);
    EXPECT_TRUE(std::filesystem::is_directory(choice.path));

    // Without XDG_DATA_HOME (or with a relative one) the folder lies under the home folder.
    choice = ChooseSettingsFolder(root / "program", readOnly,
                                  Env({{"XDG_DATA_HOME", "relative"},
                                       {"HOME", (root / "home").string()}}));
    EXPECT_EQ(choice.path, root / "home" / ".local" / "share" / "ostrova-settings");

    // Nowhere to go: the own folder, as before.
    choice = ChooseSettingsFolder(root / "program", readOnly, Env({}));
    EXPECT_EQ(choice.path, root / "program");
    EXPECT_FALSE(choice.perUser);
}

TEST_F(Folders, WritabilityIsTheFolders) {
    EXPECT_TRUE(IsWritableFolder(root / "program"));
    EXPECT_FALSE(IsWritableFolder(root / "missing"));
}

}  // namespace
}  // namespace ostrova
