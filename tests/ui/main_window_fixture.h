// A main window opened on the headless backend, in a scratch folder of its own that is both
// the program's folder and the current directory.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "config/record.h"
#include "support/file_bytes.h"
#include "platform/headless/headless.h"
#include "res/resource_ids.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::ui::testing {

using namespace ostrova::testing;
using Strings = std::vector<std::string>;
using platform::headless::HeadlessDialog;
using namespace ostrova::res;

// A list's entries as one text: "a|b|".
inline std::string Joined(const Strings& items) {
    std::string out;
    for (const auto& i : items) out += i + "|";
    return out;
}

// A current record as a file of this tool would hold it.
inline ConfigRecord SampleRecord(std::uint8_t mode = kSendDailyReport, std::uint8_t via = kViaMms,
                                 std::uint8_t to = kToBoth) {
    ConfigRecord r{};
    r.version = 2;
    r.sendMode = mode;
    r.sendVia = via;
    r.sendTo = to;
    r.countryId = 22;
    r.operatorId = 21;
    CopyText(r.phone[1], "+46701234567");
    CopyText(r.ftpServer, "ftp.example.org");
    return r;
}

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        backend.programPath = folder / "ostrova-settings";
    }
    void TearDown() override {
        if (dlg) backend.Dismiss(*dlg);
        std::filesystem::current_path(previousDir);
        std::filesystem::remove_all(folder);
    }
    HeadlessDialog& Open() {
        if (dlg) backend.Dismiss(*dlg);
        dlg = std::make_unique<CSettingsDlg>(record, custom);
        return *(w = &backend.Show(*dlg));
    }
    // Starts the program with this record in its folder's wireless.cfg.
    HeadlessDialog& OpenOn(const ConfigRecord& r) {
        WriteBytes(folder / "wireless.cfg", CfgFileOf(r));
        return Open();
    }
    // Picks a file in the Load dialog.
    void Load(const std::filesystem::path& p) {
        backend.openAnswers = {p};
        w->Click(IDC_BTN_LOAD);
    }

    platform::headless::HeadlessBackend backend;
    ConfigRecord record{};
    CustomPreset custom{};
    std::unique_ptr<CSettingsDlg> dlg;
    HeadlessDialog* w = nullptr;
    std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("ostrova-ui-" + std::to_string(::getpid()) + "-" +
         ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::path previousDir = std::filesystem::current_path();
};

}  // namespace ostrova::ui::testing
