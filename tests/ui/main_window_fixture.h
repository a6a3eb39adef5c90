// A main window opened on the headless backend, in a scratch folder of its own that is both
// the program's folder and the current directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "config/record.h"
#include "platform/headless/headless.h"
#include "res/resource_ids.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::ui::testing {

using Bytes = std::vector<std::uint8_t>;
using platform::headless::HeadlessBackend;
using platform::headless::HeadlessDialog;

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("ostrova-ui-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        previousDir = std::filesystem::current_path();
        std::filesystem::current_path(folder);
        backend.programPath = folder / "ostrova-settings";
    }
    void TearDown() override {
        if (dlg) backend.Dismiss(*dlg);
        dlg.reset();
        std::filesystem::current_path(previousDir);
        std::filesystem::remove_all(folder);
    }
    HeadlessDialog& Open() {
        if (dlg) backend.Dismiss(*dlg);
        dlg = std::make_unique<CSettingsDlg>(record, custom);
        w = &backend.Show(*dlg);
        return *w;
    }
    void WriteFile(const std::filesystem::path& p, const Bytes& bytes) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes ReadFile(const std::filesystem::path& p) {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }

    HeadlessBackend backend;
    ConfigRecord record{};
    CustomPreset custom{};
    std::unique_ptr<CSettingsDlg> dlg;
    HeadlessDialog* w = nullptr;
    std::filesystem::path folder;
    std::filesystem::path previousDir;
};

// --- Files built from first principles: the cipher and checksum as the camera reads them.
inline Bytes CfgFileOf(const ConfigRecord& r) {
    const std::string key = OSTROVA_CONFIG_KEY;
    Bytes file(r.bytes().begin(), r.bytes().begin() + 2046);
    unsigned sum = 0;
    for (std::size_t i = 0; i < file.size(); ++i) {
        file[i] = static_cast<std::uint8_t>(file[i] + key[i % 4] + i % 256);
        sum += file[i];
    }
    const auto high = static_cast<std::uint8_t>((sum + 5) % 256);
    file.push_back(high);
    file.push_back(static_cast<std::uint8_t>(255 - high));
    return file;
}

inline Bytes BinFileOf(const ConfigRecord& r) {
    return Bytes(r.bytes().begin(), r.bytes().begin() + 868);
}

}  // namespace ostrova::ui::testing
