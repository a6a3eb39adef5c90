// The application object: one modal run of the main window, nothing saved on close.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "platform/headless/headless.h"
#include "res/resource_ids.h"
#include "ui/main/settings_app.h"

namespace ostrova::ui {
namespace {

TEST(SettingsApp, AnInstalledCopyRunsTheMainWindowOnceInThePerUserFolder) {
    const auto root =
        std::filesystem::temp_directory_path() / ("ostrova-app-" + std::to_string(::getpid()));
    std::filesystem::create_directories(root / "data");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(root);
#ifdef _WIN32
    _putenv_s("LOCALAPPDATA", (root / "data").string().c_str());
#else
    ::setenv("XDG_DATA_HOME", (root / "data").c_str(), 1);
#endif

    platform::headless::HeadlessBackend backend;
    // An installed copy: its own folder cannot be written (here: it does not exist).
    backend.programPath = root / "usr" / "bin" / "ostrova-settings";
    std::vector<std::filesystem::path> runs;
    backend.WhenOpened(res::IDD_MAIN, [&](platform::headless::HeadlessDialog& w) {
        runs.push_back(std::filesystem::current_path());
        w.Click(res::IDC_RADIO_INSTANT);
        w.Escape();
    });
    EXPECT_FALSE(CSettingsApp().InitInstance());
    EXPECT_EQ(runs, std::vector{root / "data" / "ostrova-settings"});
    EXPECT_TRUE(std::filesystem::is_empty(root / "data" / "ostrova-settings")) << "nothing saved";

    std::filesystem::current_path(previous);
    std::filesystem::remove_all(root);
}

}  // namespace
}  // namespace ostrova::ui
