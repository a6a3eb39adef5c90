// The main window's initialisation and the routines that move values between record and form.
#include <cstring>

#include "main_window_fixture.h"
#include "tables/operator_presets.h"

namespace ostrova::ui::testing {
namespace {

using namespace ostrova::res;

TEST_F(MainWindow, StartsWithTheDefaultsInTheOffState) {
    auto& w = Open();
    EXPECT_EQ(record.sendMode, kSendOff);
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_TRUE(backend.problems.empty());

    // Radios: Off, and MMS from the send-via step that runs before the first refresh.
    EXPECT_TRUE(w.Checked(IDC_RADIO_OFF));
    EXPECT_FALSE(w.Checked(IDC_RADIO_INSTANT));
    EXPECT_FALSE(w.Checked(IDC_RADIO_DAILY));
    EXPECT_TRUE(w.Checked(IDC_RADIO_MMS));
    EXPECT_FALSE(w.Checked(IDC_RADIO_INTERNET));

    // Everything but the SMS group, the file buttons and the clock is disabled.
    for (int id : {IDC_GROUP_SENDVIA, IDC_RADIO_MMS, IDC_RADIO_INTERNET, IDC_BTN_SENDTO_SETTING,
                   IDC_GROUP_OPERATOR, IDC_LABEL_COUNTRY, IDC_LABEL_OPERATOR, IDC_COMBO_COUNTRY,
                   IDC_COMBO_OPERATOR, IDC_BTN_PARAMETERS, IDC_GROUP_SENDTO, IDC_COMBO_SENDTO,
                   IDC_GROUP_RECIPIENTS, IDC_CHECK_PHONE1, IDC_EDIT_PHONE1, IDC_CHECK_EMAIL4,
                   IDC_EDIT_EMAIL4, IDC_GROUP_IMAGE, IDC_LABEL_IMAGEQUALITY, IDC_LABEL_IMAGEFROM,
                   IDC_EDIT_IMAGEFROM, IDC_COMBO_IMAGEQUALITY, IDC_EDIT_HOUR, IDC_LABEL_TIME_SEP,
                   IDC_EDIT_MINUTE, IDC_LABEL_MAXNUM, IDC_EDIT_MAXNUM, IDC_COMBO_FILETYPE,
                   IDC_CHECK_STATUSRESPONSE})
        EXPECT_FALSE(w.Enabled(id)) << id;
    for (int id : {IDC_GROUP_SMS, IDC_LABEL_SMSCONTROL, IDC_COMBO_SMSCONTROL, IDC_BTN_DEFAULT,
                   IDC_BTN_LOAD, IDC_BTN_SAVE, IDC_BTN_SAVEAS, IDC_LABEL_DATETIME, IDC_RADIO_OFF,
                   IDC_RADIO_INSTANT, IDC_RADIO_DAILY, IDC_GROUP_SENDMODE})
        EXPECT_TRUE(w.Enabled(id)) << id;

    // Lists.
    const auto countries = w.Items(IDC_COMBO_COUNTRY);
    ASSERT_EQ(countries.size(), 25u);
    EXPECT_EQ(countries[0], "Auto");
    EXPECT_EQ(countries[2], "Danmark");
    EXPECT_EQ(countries[24], "USA");
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 0);
    EXPECT_EQ(w.Items(IDC_COMBO_OPERATOR), std::vector<std::string>{"Auto"});
    EXPECT_EQ(w.Selection(IDC_COMBO_OPERATOR), 0);
    EXPECT_EQ(w.Items(IDC_COMBO_IMAGEQUALITY),
              (std::vector<std::string>{"Normal", "High", "Original"}));
    EXPECT_EQ(w.Selection(IDC_COMBO_IMAGEQUALITY), 0);
    EXPECT_EQ(w.Items(IDC_COMBO_SMSCONTROL), (std::vector<std::string>{"OFF", "ON"}));
    EXPECT_EQ(w.Selection(IDC_COMBO_SMSCONTROL), 0);
    EXPECT_FALSE(w.Checked(IDC_CHECK_STATUSRESPONSE));
    EXPECT_TRUE(w.Items(IDC_COMBO_SENDTO).empty());
    EXPECT_EQ(w.Text(IDC_BTN_SENDTO_SETTING), "");
    EXPECT_EQ(w.Items(IDC_COMBO_FILETYPE),
              (std::vector<std::string>{"MMSCFG.BIN", "wireless.cfg"}));
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 1);

    // Values and the clock.
    EXPECT_EQ(w.Text(IDC_EDIT_HOUR), "21");
    EXPECT_EQ(w.Text(IDC_EDIT_MINUTE), "30");
    EXPECT_EQ(w.Text(IDC_EDIT_MAXNUM), "0");
    EXPECT_EQ(w.Text(IDC_EDIT_IMAGEFROM), "");
    EXPECT_EQ(w.Text(IDC_EDIT_PHONE1), "");
    EXPECT_EQ(w.Text(IDC_LABEL_DATETIME), "07-12-2026 09:05:03");
    const auto& font = dlg->Item(IDC_LABEL_DATETIME).font;
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(font->face, "Arial");
    EXPECT_EQ(font->cellHeight, 20);
    EXPECT_EQ(font->weight, 700);
    EXPECT_TRUE(font->italic);
    EXPECT_EQ(w.timers, (std::map<int, int>{{1, 1000}}));
}

TEST_F(MainWindow, ClockPushesTheWholeFormOncePerSecondEvenUnderAMessageBox) {
    auto& w = Open();
    w.Click(IDC_RADIO_DAILY);
    w.SetCaret(IDC_EDIT_HOUR, 2);
    backend.now.tm_sec = 4;
    backend.Tick();
    EXPECT_EQ(w.Text(IDC_LABEL_DATETIME), "07-12-2026 09:05:04");
    EXPECT_EQ(w.EditSelection(IDC_EDIT_HOUR), (std::pair{2, 2})) << "equal texts stay untouched";

    std::vector<std::string> seenDuringBox;
    backend.duringMessageBox = [&](std::string_view) {
        backend.now.tm_sec = 5;
        backend.Tick();
        seenDuringBox.push_back(w.Text(IDC_LABEL_DATETIME));
    };
    w.Type(IDC_EDIT_HOUR, "9");  // "219": refused with a message
    EXPECT_EQ(seenDuringBox, std::vector<std::string>{"07-12-2026 09:05:05"});
    EXPECT_EQ(w.Text(IDC_EDIT_HOUR), "219") << "the refused text stays until the user changes it";

    // An emptied numeric field gets its last value back from the next tick.
    backend.duringMessageBox = nullptr;
    w.Retype(IDC_EDIT_MINUTE, "");
    EXPECT_EQ(backend.messages.back(), platform::kNotANumberMessage);
    backend.Tick();
    EXPECT_EQ(w.Text(IDC_EDIT_MINUTE), "30");
}

TEST_F(MainWindow, RecipientsShowAndStoreRoundTrip) {
    Open();
    std::memset(record.phone[0].data(), '5', 20);  // no terminator, as a file may hold
    CopyText(record.email[2], "a@example.com");
    std::memset(record.phone[1].data(), 'x', 20);
    record.phone[1][0] = '\0';  // empty, with bytes behind the terminator
    dlg->ShowRecipients();
    EXPECT_EQ(dlg->m_strPhone1, std::string(19, '5'));
    EXPECT_EQ(record.phone[0][19], '\0') << "the terminator is written into the record";
    EXPECT_TRUE(dlg->IsItemChecked(IDC_CHECK_PHONE1));
    EXPECT_FALSE(dlg->IsItemChecked(IDC_CHECK_PHONE2));
    EXPECT_TRUE(dlg->IsItemChecked(IDC_CHECK_EMAIL3));
    EXPECT_EQ(dlg->m_strEmail3, "a@example.com");

    dlg->UpdateData(false);
    std::memset(record.email[2].data(), 'z', 60);
    CopyText(record.email[2], "a@example.com");
    dlg->StoreRecipients();
    EXPECT_EQ(record.email[2][14], 'z') << "bytes behind the terminator keep their contents";
    for (char c : record.phone[1]) ASSERT_EQ(c, '\0') << "an empty recipient is cleared whole";
}

TEST_F(MainWindow, SmsControlShowAndStore) {
    auto& w = Open();
    struct Case {
        std::uint8_t sms, status;
        int shown;
        bool checked, enabled;
    };
    for (const Case c : {Case{1, 1, 1, true, true}, Case{5, 0, 1, false, true},
                         Case{0, 1, 0, false, false}}) {
        dlg->EnableItem(IDC_CHECK_STATUSRESPONSE, false);
        record.smsControl = c.sms;
        record.statusResponse = c.status;
        dlg->ShowSmsControl();
        EXPECT_EQ(w.Selection(IDC_COMBO_SMSCONTROL), c.shown);
        EXPECT_EQ(w.Checked(IDC_CHECK_STATUSRESPONSE), c.checked);
        EXPECT_EQ(w.Enabled(IDC_CHECK_STATUSRESPONSE), c.enabled);
    }
    w.Pick(IDC_COMBO_SMSCONTROL, 1);
    w.Click(IDC_CHECK_STATUSRESPONSE);
    record.smsControl = 0;
    record.statusResponse = 0;
    dlg->StoreSmsControl();
    EXPECT_EQ(record.smsControl, 1);
    EXPECT_EQ(record.statusResponse, 1);
    EXPECT_EQ(record.statusResponse2, 1);
    w.Pick(IDC_COMBO_SMSCONTROL, 0);
    dlg->StoreSmsControl();
    EXPECT_EQ(record.smsControl, 0);
    EXPECT_EQ(record.statusResponse, 0);
    EXPECT_EQ(record.statusResponse2, 0);
}

TEST_F(MainWindow, ImageQualityAndImageFromAreShownFromTheRecord) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    for (const auto& [value, position] :
         std::vector<std::pair<int, int>>{{0, 0}, {100, 0}, {101, 1}, {1000, 1}, {1001, 2},
                                          {2000, 2}, {65535, 2}}) {
        record.imageQuality.set(static_cast<std::uint16_t>(value));
        dlg->UpdateFormState();
        EXPECT_EQ(w.Selection(IDC_COMBO_IMAGEQUALITY), position) << value;
    }
    StoreImageFrom(record, std::string(40, 'k'));
    dlg->UpdateFormState();
    EXPECT_EQ(w.Text(IDC_EDIT_IMAGEFROM), std::string(15, 'k'));
    EXPECT_EQ(TextOf(record.imageFrom), std::string(40, 'k')) << "kept until the edit changes";
}

TEST_F(MainWindow, EnterClosesOnlyWhenThePullSucceedsAndEscapeCloses) {
    auto& w = Open();
    w.Click(IDC_RADIO_DAILY);
    w.Retype(IDC_EDIT_HOUR, "");
    w.Enter();
    EXPECT_FALSE(w.ended);
    w.Type(IDC_EDIT_HOUR, "7");
    w.Enter();
    EXPECT_TRUE(w.ended);
    EXPECT_FALSE(std::filesystem::exists(folder / "wireless.cfg"));

    CSettingsDlg second(record, custom);
    auto& w2 = backend.Show(second);
    w2.Escape();
    EXPECT_EQ(w2.result, platform::kIdCancel);
    EXPECT_TRUE(std::filesystem::is_empty(folder)) << "closing saves nothing";
}

}  // namespace
}  // namespace ostrova::ui::testing
