// The main window as the user meets it: start-up, the clock, what a loaded record shows, and
// the rules that follow the user's clicks (enabling, send to, numeric bounds, recipients,
// Default, country and operator).
#include <cstring>

#include "main_window_fixture.h"

namespace ostrova::ui::testing {
namespace {

TEST_F(MainWindow, StartsWithTheDefaultsInTheOffStateAndAClockThatPushesTheWholeForm) {
    auto& w = Open();
    // MMS is checked by the send-via step before the first refresh.
    EXPECT_TRUE(w.Checked(IDC_RADIO_OFF) && w.Checked(IDC_RADIO_MMS));
    const auto countries = w.Items(IDC_COMBO_COUNTRY);
    ASSERT_EQ(countries.size(), 25u);
    EXPECT_EQ(countries[0] + countries[2] + countries[24], "AutoDanmarkUSA");
    EXPECT_EQ(Joined(w.Items(IDC_COMBO_OPERATOR)) + Joined(w.Items(IDC_COMBO_IMAGEQUALITY)) +
                  Joined(w.Items(IDC_COMBO_SMSCONTROL)) + Joined(w.Items(IDC_COMBO_FILETYPE)),
              "Auto|Normal|High|Original|OFF|ON|MMSCFG.BIN|wireless.cfg|");
    EXPECT_EQ(std::tuple(w.Selection(IDC_COMBO_COUNTRY), w.Selection(IDC_COMBO_OPERATOR),
                         w.Selection(IDC_COMBO_FILETYPE)),
              std::tuple(0, 0, 1));
    EXPECT_EQ(w.Text(IDC_EDIT_HOUR) + ":" + w.Text(IDC_EDIT_MINUTE), "21:30");
    EXPECT_EQ(w.Text(IDC_LABEL_DATETIME), "07-12-2026 09:05:03");
    EXPECT_EQ(w.timers, (std::map<int, int>{{1, 1000}}));

    // Once per second, even under a message box.
    w.Click(IDC_RADIO_DAILY);
    backend.duringMessageBox = [&](std::string_view) {
        backend.now.tm_sec = 5;
        backend.Tick();
        EXPECT_EQ(w.Text(IDC_LABEL_DATETIME), "07-12-2026 09:05:05");
    };
    w.SetCaret(IDC_EDIT_HOUR, 2);
    w.Type(IDC_EDIT_HOUR, "9");  // "219": refused with a message
    EXPECT_EQ(w.Text(IDC_EDIT_HOUR), "219") << "the refused text stays until the user changes it";
    w.Retype(IDC_EDIT_MINUTE, "");
    backend.Tick();
    EXPECT_EQ(w.Text(IDC_EDIT_MINUTE), "30") << "an emptied field gets its value back";
}

// The send choices of a loaded record: the list entry shown, the value kept, the settings
// button's caption, the Filetype entries, or the message for a record the form cannot show.
// clang-format off
const std::tuple<int, int, int, int, int, const char*, int, const char*> kSendToRows[] = {
    {kSendInstant, kViaMms, kToBoth, 2, kToBoth, "", 2, ""},
    {kSendDailyReport, kViaMms, kToFtp, 0, kToPhone, "", 2, ""},
    {kSendInstant, kViaInternet, kToEmail, 0, kToEmail, "Email Setting...", 2, ""},
    {kSendInstant, kViaInternet, kToHttp, 1, kToHttp, "HTTP Setting...", 1, ""},
    {kSendDailyReport, kViaInternet, kToFtp, 2, kToFtp, "FTP Setting...", 1, ""},
    {kSendInstant, kViaInternet, kToPhone, 0, kToEmail, "Email Setting...", 2, ""},
    {kSendOff, kViaInternet, kToFtp, -1, kToFtp, "", 1, ""},
    {7, kViaMms, kToPhone, 0, 0, "", 0, "Invalid Parameter !"},
    {kSendInstant, 9, kToPhone, 0, 0, "", 0, "Invalid Send Via!"}};
// clang-format on

TEST_F(MainWindow, ShowsTheSendChoicesOfALoadedRecord) {
    for (const auto& [mode, via, to, shown, kept, caption, fileTypes, message] : kSendToRows) {
        SCOPED_TRACE(::testing::Message() << mode << " " << via << " " << to);
        backend.messages.clear();
        auto& w = OpenOn(SampleRecord(std::uint8_t(mode), std::uint8_t(via), std::uint8_t(to)));
        EXPECT_EQ(backend.messages, *message ? Strings{message} : Strings{});
        if (*message) continue;
        EXPECT_EQ(std::tuple(w.Selection(IDC_COMBO_SENDTO), int(record.sendTo),
                             int(w.Items(IDC_COMBO_FILETYPE).size()),
                             w.Text(IDC_BTN_SENDTO_SETTING), w.Checked(IDC_RADIO_INSTANT)),
                  std::tuple(shown, kept, fileTypes, std::string(caption), mode == kSendInstant));
    }
}

// A loaded record's country, operator, SMS control, Status Response and image quality, and
// what the form shows: the country entry, the operator list's length and entry, Parameters
// enabled; SMS control's entry, Status Response ticked and enabled; the image quality entry.
// clang-format off
const std::tuple<int, int, int, int, int, const char*> kShownRows[] = {
    {22, 21, 1, 1, 100, "22 4 1 1 1 1 1 0"},
    {22, 99, 5, 0, 101, "22 4 -1 1 1 0 1 1"},
    {30, 0, 0, 1, 1000, "-1 0 -1 1 0 0 0 1"},
    {0, 0, 0, 0, 1001, "0 1 0 0 0 0 0 2"},
    {1, 1, 0, 0, 65535, "1 1 0 1 0 0 0 2"}};
// clang-format on

TEST_F(MainWindow, ShowsTheCountryOperatorSmsControlAndImageQualityOfALoadedRecord) {
    for (const auto& [country, op, sms, status, quality, expected] : kShownRows) {
        ConfigRecord r = SampleRecord(kSendInstant, kViaInternet, kToEmail);
        r.countryId = std::uint8_t(country);
        r.operatorId = std::uint8_t(op);
        r.smsControl = std::uint8_t(sms);
        r.statusResponse = std::uint8_t(status);
        r.imageQuality.set(std::uint16_t(quality));
        auto& w = OpenOn(r);
        std::string shown;
        for (int v :
             {w.Selection(IDC_COMBO_COUNTRY), int(w.Items(IDC_COMBO_OPERATOR).size()),
              w.Selection(IDC_COMBO_OPERATOR), int(w.Enabled(IDC_BTN_PARAMETERS)),
              w.Selection(IDC_COMBO_SMSCONTROL), int(w.Checked(IDC_CHECK_STATUSRESPONSE)),
              int(w.Enabled(IDC_CHECK_STATUSRESPONSE)), w.Selection(IDC_COMBO_IMAGEQUALITY)})
            shown += std::to_string(v) + " ";
        EXPECT_EQ(shown, std::string(expected) + " ");
    }
}

// The enabling table: the radios clicked, what the send-to list holds, and which of the settings
// button, Image quality, Hour, Minute and Max number are enabled.
// clang-format off
const std::tuple<int, int, const char*, const char*> kEnablingRows[] = {
    {IDC_RADIO_OFF, IDC_RADIO_INTERNET, "", "00000"},
    {IDC_RADIO_INSTANT, IDC_RADIO_MMS, "Phone|Email|Both|", "00001"},
    {IDC_RADIO_INSTANT, IDC_RADIO_INTERNET, "Email|HTTP|FTP|", "11001"},
    {IDC_RADIO_DAILY, IDC_RADIO_MMS, "Phone|Email|Both|", "00110"},
    {IDC_RADIO_DAILY, IDC_RADIO_INTERNET, "Email|HTTP|FTP|", "11110"}};
// Enabled in every mode but Off.
constexpr int kFollowMode[] = {
    IDC_GROUP_SENDVIA, IDC_RADIO_MMS, IDC_RADIO_INTERNET, IDC_GROUP_OPERATOR, IDC_COMBO_COUNTRY,
    IDC_COMBO_OPERATOR, IDC_GROUP_SENDTO, IDC_COMBO_SENDTO, IDC_GROUP_RECIPIENTS, IDC_CHECK_PHONE1,
    IDC_CHECK_EMAIL4, IDC_GROUP_IMAGE, IDC_LABEL_IMAGEQUALITY, IDC_EDIT_IMAGEFROM};
// The row's five, then the phone edit, Parameters and Filetype (never enabled by a mode) and
// SMS control, Load, Save and Off (always enabled).
constexpr int kByRow[] = {
    IDC_BTN_SENDTO_SETTING, IDC_COMBO_IMAGEQUALITY, IDC_EDIT_HOUR, IDC_EDIT_MINUTE, IDC_EDIT_MAXNUM,
    IDC_EDIT_PHONE1, IDC_BTN_PARAMETERS, IDC_COMBO_FILETYPE, IDC_COMBO_SMSCONTROL, IDC_BTN_LOAD,
    IDC_BTN_SAVE, IDC_RADIO_OFF};
// clang-format on

TEST_F(MainWindow, EnablingFollowsSendModeAndTransport) {
    for (const auto& [mode, via, sendTo, enabled] : kEnablingRows) {
        auto& w = Open();
        for (int id : {mode == IDC_RADIO_OFF ? IDC_RADIO_INSTANT : mode, via, mode}) w.Click(id);
        const bool on = mode != IDC_RADIO_OFF;
        SCOPED_TRACE(std::to_string(mode) + "/" + std::to_string(via));
        for (int id : kFollowMode) EXPECT_EQ(w.Enabled(id), on) << id;
        std::string flags;
        for (int id : kByRow) flags += w.Enabled(id) ? '1' : '0';
        EXPECT_EQ(flags, std::string(enabled) + "0001111");
        EXPECT_EQ(Joined(w.Items(IDC_COMBO_SENDTO)), sendTo);
        EXPECT_EQ(w.Checked(IDC_RADIO_INTERNET), on && via == IDC_RADIO_INTERNET);
    }
}

// After Instant and Internet: a click on a radio or a pick of a list's entry, then the send-to
// value and entry, the settings caption, the Filetype entries and the image quality stored.
// clang-format off
const std::tuple<int, int, int, int, const char*, const char*, int> kSendToSteps[] = {
    {IDC_COMBO_SENDTO, 2, kToFtp, 2, "FTP Setting...", "wireless.cfg|", 100},
    {IDC_COMBO_SENDTO, 1, kToHttp, 1, "HTTP Setting...", "wireless.cfg|", 100},
    {IDC_RADIO_INTERNET, 0, kToEmail, 0, "Email Setting...", "MMSCFG.BIN|wireless.cfg|", 100},
    {IDC_COMBO_IMAGEQUALITY, 2, kToEmail, 0, "Email Setting...", "MMSCFG.BIN|wireless.cfg|", 2000},
    {IDC_COMBO_IMAGEQUALITY, 0, kToEmail, 0, "Email Setting...", "MMSCFG.BIN|wireless.cfg|", 100},
    {IDC_COMBO_IMAGEQUALITY, 1, kToEmail, 0, "Email Setting...", "MMSCFG.BIN|wireless.cfg|", 200},
    {IDC_COMBO_SENDTO, 1, kToHttp, 1, "HTTP Setting...", "wireless.cfg|", 200},
    {IDC_RADIO_MMS, 2, kToBoth, 2, "", "MMSCFG.BIN|wireless.cfg|", 100},  // and Normal quality
    {IDC_COMBO_SENDTO, 0, kToPhone, 0, "", "MMSCFG.BIN|wireless.cfg|", 100}};  // entry = value
// clang-format on

TEST_F(MainWindow, SendToPicksSetTheTargetCaptionAndFiletype) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_RADIO_INTERNET);
    for (const auto& [id, index, to, entry, caption, fileTypes, quality] : kSendToSteps) {
        id == IDC_RADIO_INTERNET || id == IDC_RADIO_MMS ? w.Click(id) : w.Pick(id, index);
        EXPECT_EQ(std::tuple(int(record.sendTo), w.Selection(IDC_COMBO_SENDTO),
                             w.Text(IDC_BTN_SENDTO_SETTING), Joined(w.Items(IDC_COMBO_FILETYPE)),
                             w.Selection(IDC_COMBO_FILETYPE), int(record.imageQuality.get())),
                  std::tuple(to, entry, std::string(caption), std::string(fileTypes), 0, quality))
            << id << " " << index;
    }
    EXPECT_EQ(w.Selection(IDC_COMBO_IMAGEQUALITY), 0);
}

// The mode clicked, the edit, the text pasted, the message (none: accepted), the value kept.
// clang-format off
const std::tuple<int, int, const char*, const char*, int> kBoundRows[] = {
    {IDC_RADIO_DAILY, IDC_EDIT_HOUR, "23", "", 23},
    {IDC_RADIO_DAILY, IDC_EDIT_HOUR, "24", "Please input a number between 0 and 23! ", 23},
    {IDC_RADIO_DAILY, IDC_EDIT_MINUTE, "59", "", 59},
    {IDC_RADIO_DAILY, IDC_EDIT_MINUTE, "60", "Please input a number between 0 and 59! ", 59},
    {IDC_RADIO_INSTANT, IDC_EDIT_MAXNUM, "9999", "", 9999},
    {IDC_RADIO_INSTANT, IDC_EDIT_MAXNUM, "10000", "Please input a number within 9999! ", 9999},
    {IDC_RADIO_INSTANT, IDC_EDIT_MAXNUM, "0", "", 0}};
// clang-format on

TEST_F(MainWindow, NumericEditsWalkTheirBounds) {
    auto& w = Open();
    int row = 0;
    for (const auto& [mode, edit, text, message, kept] : kBoundRows) {
        w.Click(mode);
        backend.messages.clear();
        w.SelectAll(edit);
        // Pasted, or reported as the text and caret after the change, as the Qt backend does.
        if (row++ % 3 == 0)
            dlg->UserEdit(edit, text, int(std::strlen(text)), std::nullopt);
        else
            w.Paste(edit, text);
        const int stored = edit == IDC_EDIT_HOUR     ? record.reportHour
                           : edit == IDC_EDIT_MINUTE ? record.reportMinute
                                                     : record.maxNum.get();
        EXPECT_EQ(stored, kept) << text;
        EXPECT_EQ(backend.messages, *message ? Strings{message} : Strings{}) << text;
        if (!*message) continue;
        EXPECT_EQ(w.Text(edit), text) << "the refused text stays, selected";
        EXPECT_EQ(w.EditSelection(edit), (std::pair{0, int(std::strlen(text))}));
    }
}

TEST_F(MainWindow, RecipientsCountryAndOperatorFollowTheUserAndDefaultResetsTheRecord) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_CHECK_EMAIL2);
    w.Paste(IDC_EDIT_EMAIL2, std::string(60, 'e'));
    EXPECT_EQ(w.Text(IDC_EDIT_EMAIL2), "") << "one character too many: the last text comes back";
    w.Type(IDC_EDIT_EMAIL2, std::string(60, 'e'));
    EXPECT_EQ(TextOf(record.email[1]), std::string(59, 'e'));
    w.Click(IDC_CHECK_PHONE1);
    w.Type(IDC_EDIT_PHONE1, std::string(20, '1'));
    EXPECT_EQ(TextOf(record.phone[0]), std::string(19, '1'));
    EXPECT_TRUE(backend.messages.empty());
    w.Click(IDC_CHECK_PHONE1);
    EXPECT_FALSE(w.Enabled(IDC_EDIT_PHONE1) || !w.Text(IDC_EDIT_PHONE1).empty())
        << "an unticked box disables and empties its edit";

    // Country and operator picks, then Default.
    CopyText(record.mmsApn, "earlier");
    w.Pick(IDC_COMBO_COUNTRY, 1);  // Custom before anything was confirmed: empty parameters
    EXPECT_EQ(TextOf(record.mmsApn), "");
    CopyText(record.mmsApn, "earlier");
    w.Pick(IDC_COMBO_COUNTRY, 22);  // Sweden
    EXPECT_TRUE(w.Enabled(IDC_BTN_PARAMETERS)) << "a country has parameters";
    EXPECT_EQ(Joined(w.Items(IDC_COMBO_OPERATOR)), "Telia|Telenor|Tele2|3|");
    EXPECT_EQ(w.Selection(IDC_COMBO_OPERATOR), 0);
    EXPECT_EQ(std::tuple(record.countryId, record.operatorId), std::tuple(22, 20));
    EXPECT_EQ(TextOf(record.mmsApn), "earlier") << "no preset copy on a pick";
    w.Pick(IDC_COMBO_OPERATOR, 2);
    EXPECT_EQ(record.operatorId, 22);

    // Default resets the record but leaves the SMS controls and the disabled lists as they are.
    w.Pick(IDC_COMBO_SMSCONTROL, 1);
    w.Click(IDC_CHECK_STATUSRESPONSE);
    w.Click(IDC_BTN_DEFAULT);
    EXPECT_TRUE(w.Checked(IDC_RADIO_OFF) && record.smsControl == 0);
    EXPECT_TRUE(w.Selection(IDC_COMBO_SMSCONTROL) == 1 && w.Checked(IDC_CHECK_STATUSRESPONSE));
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 22);
    EXPECT_FALSE(w.Enabled(IDC_BTN_PARAMETERS)) << "it follows the record's country";
    w.Click(IDC_RADIO_DAILY);
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 0) << "a mode shows the record again";
    w.Pick(IDC_COMBO_SMSCONTROL, 0);
    EXPECT_FALSE(w.Checked(IDC_CHECK_STATUSRESPONSE) || w.Enabled(IDC_CHECK_STATUSRESPONSE));
}

}  // namespace
}  // namespace ostrova::ui::testing
