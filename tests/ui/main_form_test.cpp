// The main window at start-up, its clock, and how it shows the record a file brought.
#include "main_window_fixture.h"

namespace ostrova::ui::testing {
namespace {

using Strings = std::vector<std::string>;

TEST_F(MainWindow, StartsWithTheDefaultsInTheOffState) {
    auto& w = Open();
    EXPECT_TRUE(backend.messages.empty());
    EXPECT_TRUE(w.Checked(IDC_RADIO_OFF));
    EXPECT_TRUE(w.Checked(IDC_RADIO_MMS)) << "from the send-via step before the first refresh";
    const auto countries = w.Items(IDC_COMBO_COUNTRY);
    ASSERT_EQ(countries.size(), 25u);
    EXPECT_EQ(countries[0] + countries[2] + countries[24], "AutoDanmarkUSA");
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 0);
    EXPECT_EQ(w.Items(IDC_COMBO_OPERATOR), Strings{"Auto"});
    EXPECT_EQ(w.Selection(IDC_COMBO_OPERATOR), 0);
    EXPECT_EQ(w.Items(IDC_COMBO_IMAGEQUALITY), (Strings{"Normal", "High", "Original"}));
    EXPECT_EQ(w.Items(IDC_COMBO_SMSCONTROL), (Strings{"OFF", "ON"}));
    EXPECT_EQ(w.Items(IDC_COMBO_FILETYPE), (Strings{"MMSCFG.BIN", "wireless.cfg"}));
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 1);
    EXPECT_EQ(w.Text(IDC_EDIT_HOUR) + ":" + w.Text(IDC_EDIT_MINUTE), "21:30");
    EXPECT_EQ(w.Text(IDC_LABEL_DATETIME), "07-12-2026 09:05:03");
    const auto& font = dlg->Item(IDC_LABEL_DATETIME).font;
    ASSERT_TRUE(font.has_value());
    EXPECT_EQ(std::tuple(font->face, font->cellHeight, font->weight, font->italic),
              std::tuple(std::string("Arial"), 20, 700, true));
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

    Strings seenDuringBox;
    backend.duringMessageBox = [&](std::string_view) {
        backend.now.tm_sec = 5;
        backend.Tick();
        seenDuringBox.push_back(w.Text(IDC_LABEL_DATETIME));
    };
    w.Type(IDC_EDIT_HOUR, "9");  // "219": refused with a message
    EXPECT_EQ(seenDuringBox, Strings{"07-12-2026 09:05:05"});
    EXPECT_EQ(w.Text(IDC_EDIT_HOUR), "219") << "the refused text stays until the user changes it";
    backend.duringMessageBox = nullptr;
    w.Retype(IDC_EDIT_MINUTE, "");
    backend.Tick();
    EXPECT_EQ(w.Text(IDC_EDIT_MINUTE), "30") << "an emptied field gets its value back";
}

// The send choices of a loaded record: the list entry shown, the value kept, the settings
// button's caption, the Filetype entries, or the message for a record the form cannot show.
struct SendToRow {
    int mode, via, to, shown, kept;
    const char* caption;
    std::size_t fileTypes;
    const char* message;
};
// clang-format off
const SendToRow kSendToRows[] = {
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
    for (const SendToRow& r : kSendToRows) {
        SCOPED_TRACE(&r - kSendToRows);
        backend.messages.clear();
        auto& w =
            OpenOn(SampleRecord(std::uint8_t(r.mode), std::uint8_t(r.via), std::uint8_t(r.to)));
        EXPECT_EQ(backend.messages, *r.message ? Strings{r.message} : Strings{});
        if (*r.message) continue;
        EXPECT_EQ(w.Selection(IDC_COMBO_SENDTO), r.shown);
        EXPECT_EQ(record.sendTo, r.kept);
        EXPECT_EQ(w.Text(IDC_BTN_SENDTO_SETTING), r.caption);
        EXPECT_EQ(w.Items(IDC_COMBO_FILETYPE).size(), r.fileTypes);
    }
}

// Country and operator (with the operator list's length), then Parameters enabled; SMS
// control, Status Response (ticked, enabled) and image quality, as a loaded record shows them.
struct ShownRow {
    int country, op, countryShown, operators, operatorShown, parameters;
    int sms, status, quality, smsShown, statusTicked, statusEnabled, qualityShown;
};
// clang-format off
const ShownRow kShownRows[] = {
    {22, 21, 22, 4, 1, true,    1, 1, 100, 1, true, true, 0},
    {22, 99, 22, 4, -1, true,   5, 0, 101, 1, false, true, 1},
    {30, 0, -1, 0, -1, true,    0, 1, 1000, 0, false, false, 1},
    {0, 0, 0, 1, 0, false,      0, 0, 1001, 0, false, false, 2},
    {1, 1, 1, 1, 0, true,       0, 0, 65535, 0, false, false, 2}};
// clang-format on

TEST_F(MainWindow, ShowsTheCountryOperatorSmsControlAndImageQualityOfALoadedRecord) {
    for (const ShownRow& s : kShownRows) {
        SCOPED_TRACE(&s - kShownRows);
        ConfigRecord r = SampleRecord(kSendInstant, kViaInternet, kToEmail);
        r.countryId = std::uint8_t(s.country);
        r.operatorId = std::uint8_t(s.op);
        r.smsControl = std::uint8_t(s.sms);
        r.statusResponse = std::uint8_t(s.status);
        r.imageQuality.set(std::uint16_t(s.quality));
        auto& w = OpenOn(r);
        EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), s.countryShown);
        EXPECT_EQ(int(w.Items(IDC_COMBO_OPERATOR).size()), s.operators);
        EXPECT_EQ(w.Selection(IDC_COMBO_OPERATOR), s.operatorShown);
        EXPECT_EQ(w.Enabled(IDC_BTN_PARAMETERS), bool(s.parameters));
        EXPECT_EQ(w.Selection(IDC_COMBO_SMSCONTROL), s.smsShown);
        EXPECT_EQ(w.Checked(IDC_CHECK_STATUSRESPONSE), bool(s.statusTicked));
        EXPECT_EQ(w.Enabled(IDC_CHECK_STATUSRESPONSE), bool(s.statusEnabled));
        EXPECT_EQ(w.Selection(IDC_COMBO_IMAGEQUALITY), s.qualityShown);
    }
}

}  // namespace
}  // namespace ostrova::ui::testing
