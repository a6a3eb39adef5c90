// The main window's rules, as user stories: enabling, send-via and send-to, the numeric and
// text limits, Default, and records loaded with values the form cannot show.
#include <cstring>

#include "main_window_fixture.h"
#include "platform/framework.h"
#include "tables/operator_presets.h"

namespace ostrova::ui::testing {
namespace {

using namespace ostrova::res;

// The enabling table for Instant and Daily Report, with MMS and with Internet.
struct EnablingCase {
    int mode;  // radio clicked
    int via;   // radio clicked
};

class Enabling : public MainWindow, public ::testing::WithParamInterface<EnablingCase> {};

TEST_P(Enabling, FollowsSendModeAndTransport) {
    auto& w = Open();
    const auto [mode, via] = GetParam();
    w.Click(mode);
    w.Click(via);
    const bool instant = mode == IDC_RADIO_INSTANT;
    const bool internet = via == IDC_RADIO_INTERNET;
    for (int id : {IDC_GROUP_SENDVIA, IDC_RADIO_MMS, IDC_RADIO_INTERNET, IDC_GROUP_OPERATOR,
                   IDC_LABEL_COUNTRY, IDC_LABEL_OPERATOR, IDC_COMBO_COUNTRY, IDC_COMBO_OPERATOR,
                   IDC_GROUP_SENDTO, IDC_COMBO_SENDTO, IDC_GROUP_RECIPIENTS, IDC_CHECK_PHONE1,
                   IDC_CHECK_EMAIL4, IDC_GROUP_IMAGE, IDC_LABEL_IMAGEQUALITY, IDC_LABEL_IMAGEFROM,
                   IDC_EDIT_IMAGEFROM, IDC_GROUP_SMS, IDC_COMBO_SMSCONTROL})
        EXPECT_TRUE(w.Enabled(id)) << id;
    EXPECT_FALSE(w.Enabled(IDC_EDIT_PHONE1)) << "an edit follows its unchecked box";
    EXPECT_EQ(w.Enabled(IDC_BTN_SENDTO_SETTING), internet);
    EXPECT_EQ(w.Enabled(IDC_COMBO_IMAGEQUALITY), internet);
    EXPECT_FALSE(w.Enabled(IDC_BTN_PARAMETERS)) << "country Auto";
    EXPECT_FALSE(w.Enabled(IDC_COMBO_FILETYPE));
    for (int id : {IDC_EDIT_HOUR, IDC_LABEL_TIME_SEP, IDC_EDIT_MINUTE})
        EXPECT_EQ(w.Enabled(id), !instant) << id;
    for (int id : {IDC_LABEL_MAXNUM, IDC_EDIT_MAXNUM}) EXPECT_EQ(w.Enabled(id), instant) << id;
    EXPECT_EQ(w.Checked(IDC_RADIO_INSTANT), instant);
    EXPECT_EQ(w.Checked(IDC_RADIO_DAILY), !instant);
    EXPECT_FALSE(w.Checked(IDC_RADIO_OFF));
    EXPECT_EQ(w.Checked(IDC_RADIO_INTERNET), internet);
    EXPECT_EQ(w.Checked(IDC_RADIO_MMS), !internet);
    EXPECT_EQ(w.Items(IDC_COMBO_SENDTO),
              internet ? (std::vector<std::string>{"Email", "HTTP", "FTP"})
                       : (std::vector<std::string>{"Phone", "Email", "Both"}));
    EXPECT_EQ(w.Text(IDC_BTN_SENDTO_SETTING), internet ? "Email Setting..." : "");

    w.Click(IDC_CHECK_PHONE2);
    EXPECT_TRUE(w.Enabled(IDC_EDIT_PHONE2));
    w.Pick(IDC_COMBO_COUNTRY, 22);
    EXPECT_TRUE(w.Enabled(IDC_BTN_PARAMETERS));
}

INSTANTIATE_TEST_SUITE_P(
    ModesAndTransports, Enabling,
    ::testing::Values(EnablingCase{IDC_RADIO_INSTANT, IDC_RADIO_MMS},
                      EnablingCase{IDC_RADIO_INSTANT, IDC_RADIO_INTERNET},
                      EnablingCase{IDC_RADIO_DAILY, IDC_RADIO_MMS},
                      EnablingCase{IDC_RADIO_DAILY, IDC_RADIO_INTERNET}));

TEST_F(MainWindow, OffDisablesAllButSmsAndLeavesBothTransportsUnchecked) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Pick(IDC_COMBO_COUNTRY, 22);
    w.Click(IDC_RADIO_OFF);
    EXPECT_FALSE(w.Checked(IDC_RADIO_MMS)) << "the five radios are one group";
    EXPECT_FALSE(w.Checked(IDC_RADIO_INTERNET));
    EXPECT_TRUE(w.Items(IDC_COMBO_SENDTO).empty());
    EXPECT_FALSE(w.Enabled(IDC_COMBO_COUNTRY));
    EXPECT_TRUE(w.Enabled(IDC_BTN_PARAMETERS)) << "Parameters follows the country in every mode";
    EXPECT_TRUE(w.Enabled(IDC_COMBO_SMSCONTROL));

    // Default: the disabled lists keep their previous selections until a mode shows the record.
    w.Click(IDC_BTN_DEFAULT);
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 22);
    EXPECT_FALSE(w.Enabled(IDC_BTN_PARAMETERS));
    w.Click(IDC_RADIO_DAILY);
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 0);
}

TEST_F(MainWindow, SendViaClicksMapSendTo) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    struct Row {
        std::uint8_t before, afterMms, afterInternet;
    };
    for (const Row r : {Row{0, 0, 1}, Row{1, 1, 1}, Row{2, 2, 1}, Row{3, 2, 1}, Row{4, 2, 1}}) {
        record.sendTo = r.before;
        w.Click(IDC_RADIO_MMS);
        EXPECT_EQ(record.sendTo, r.afterMms) << int(r.before);
        record.sendTo = r.before;
        w.Click(IDC_RADIO_INTERNET);
        EXPECT_EQ(record.sendTo, r.afterInternet) << int(r.before);
    }
}

TEST_F(MainWindow, SendToPicksSetTheTargetCaptionAndFiletype) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_RADIO_INTERNET);
    w.Pick(IDC_COMBO_SENDTO, 2);
    EXPECT_EQ(record.sendTo, kToFtp);
    EXPECT_EQ(w.Text(IDC_BTN_SENDTO_SETTING), "FTP Setting...");
    EXPECT_EQ(w.Items(IDC_COMBO_FILETYPE), std::vector<std::string>{"wireless.cfg"});
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 0);
    w.Pick(IDC_COMBO_SENDTO, 1);
    EXPECT_EQ(record.sendTo, kToHttp);
    EXPECT_EQ(w.Text(IDC_BTN_SENDTO_SETTING), "HTTP Setting...");

    // Internet clicked again: back to Email, and the Filetype list grows back to both forms.
    w.Pick(IDC_COMBO_SENDTO, 2);
    w.Click(IDC_RADIO_INTERNET);
    EXPECT_EQ(record.sendTo, kToEmail);
    EXPECT_EQ(w.Selection(IDC_COMBO_SENDTO), 0);
    EXPECT_EQ(w.Text(IDC_BTN_SENDTO_SETTING), "Email Setting...");
    EXPECT_EQ(w.Items(IDC_COMBO_FILETYPE),
              (std::vector<std::string>{"MMSCFG.BIN", "wireless.cfg"}));
    EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 0);

    // HTTP, then MMS: Both, Normal quality, and no settings button.
    w.Pick(IDC_COMBO_IMAGEQUALITY, 2);
    w.Pick(IDC_COMBO_SENDTO, 1);
    w.Click(IDC_RADIO_MMS);
    EXPECT_EQ(record.sendTo, kToBoth);
    EXPECT_EQ(record.imageQuality.get(), 100);
    EXPECT_EQ(w.Selection(IDC_COMBO_IMAGEQUALITY), 0);
    EXPECT_FALSE(w.Enabled(IDC_COMBO_IMAGEQUALITY));
    EXPECT_FALSE(w.Enabled(IDC_BTN_SENDTO_SETTING));
    EXPECT_EQ(w.Text(IDC_BTN_SENDTO_SETTING), "");

    // With MMS a pick among Phone, Email and Both reaches the record.
    w.Pick(IDC_COMBO_SENDTO, 1);
    EXPECT_EQ(record.sendTo, kToEmail);
    w.Pick(IDC_COMBO_SENDTO, 0);
    EXPECT_EQ(record.sendTo, kToPhone);
}

TEST_F(MainWindow, NumericEditsWalkTheirBounds) {
    auto& w = Open();
    struct Case {
        int mode, edit;
        const char* text;
        bool stored;
        int value;
        const char* message;
    };
    const char* hourMsg = "Please input a number between 0 and 23! ";
    const char* minuteMsg = "Please input a number between 0 and 59! ";
    const char* maxMsg = "Please input a number within 9999! ";
    const Case cases[] = {
        {IDC_RADIO_DAILY, IDC_EDIT_HOUR, "23", true, 23, nullptr},
        {IDC_RADIO_DAILY, IDC_EDIT_HOUR, "7", true, 7, nullptr},
        {IDC_RADIO_DAILY, IDC_EDIT_HOUR, "24", false, 7, hourMsg},
        {IDC_RADIO_DAILY, IDC_EDIT_MINUTE, "59", true, 59, nullptr},
        {IDC_RADIO_DAILY, IDC_EDIT_MINUTE, "60", false, 59, minuteMsg},
        {IDC_RADIO_INSTANT, IDC_EDIT_MAXNUM, "9999", true, 9999, nullptr},
        {IDC_RADIO_INSTANT, IDC_EDIT_MAXNUM, "10000", false, 9999, maxMsg},
        {IDC_RADIO_INSTANT, IDC_EDIT_MAXNUM, "0", true, 0, nullptr},
    };
    for (const Case& c : cases) {
        w.Click(c.mode);
        backend.messages.clear();
        w.SelectAll(c.edit);
        w.Paste(c.edit, c.text);
        const int stored = c.edit == IDC_EDIT_HOUR     ? record.reportHour
                           : c.edit == IDC_EDIT_MINUTE ? record.reportMinute
                                                       : record.maxNum.get();
        EXPECT_EQ(stored, c.value) << c.text;
        if (c.stored) {
            EXPECT_TRUE(backend.messages.empty()) << c.text;
        } else {
            EXPECT_EQ(backend.messages, std::vector<std::string>{c.message}) << c.text;
            EXPECT_EQ(w.Text(c.edit), c.text) << "the refused text stays";
            EXPECT_EQ(w.EditSelection(c.edit),
                      (std::pair{0, static_cast<int>(std::string(c.text).size())}));
        }
    }
}

TEST_F(MainWindow, RecipientTextsFallBackSilentlyPastTheirLimit) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_CHECK_PHONE1);
    w.Type(IDC_EDIT_PHONE1, std::string(19, '1'));
    EXPECT_EQ(TextOf(record.phone[0]), std::string(19, '1'));
    w.Type(IDC_EDIT_PHONE1, "2");
    EXPECT_EQ(w.Text(IDC_EDIT_PHONE1), std::string(19, '1'));
    EXPECT_TRUE(backend.messages.empty());

    w.Click(IDC_CHECK_EMAIL2);
    w.Type(IDC_EDIT_EMAIL2, std::string(60, 'e'));
    EXPECT_EQ(w.Text(IDC_EDIT_EMAIL2), std::string(59, 'e'));
    EXPECT_EQ(TextOf(record.email[1]), std::string(59, 'e'));
    w.Paste(IDC_EDIT_EMAIL2, "longer");
    EXPECT_EQ(TextOf(record.email[1]), std::string(59, 'e'));
    w.Retype(IDC_EDIT_EMAIL2, "");
    for (char c : record.email[1]) ASSERT_EQ(c, '\0');

    // Unchecking a box disables and empties its edit; the save clears the field.
    w.Click(IDC_CHECK_PHONE1);
    EXPECT_FALSE(w.Enabled(IDC_EDIT_PHONE1));
    EXPECT_EQ(w.Text(IDC_EDIT_PHONE1), "");
    EXPECT_EQ(TextOf(record.phone[0]), std::string(19, '1'));
    dlg->StoreRecipients();
    for (char c : record.phone[0]) ASSERT_EQ(c, '\0');
}

TEST_F(MainWindow, ImageFromIsStoredTwice) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    for (std::size_t n : {0u, 15u, 16u, 59u, 60u, 70u}) {
        std::string text;
        for (std::size_t i = 0; i < n; ++i) text += static_cast<char>('a' + i % 26);
        w.SelectAll(IDC_EDIT_IMAGEFROM);
        w.Paste(IDC_EDIT_IMAGEFROM, text);
        if (n == 0) w.Backspace(IDC_EDIT_IMAGEFROM);
        EXPECT_EQ(w.Text(IDC_EDIT_IMAGEFROM), text) << "the edit itself is not limited";
        EXPECT_EQ(TextOf(record.imageFrom), text.substr(0, 59)) << n;
        EXPECT_EQ(TextOf(record.imageFromShort), text.substr(0, 15)) << n;
    }
}

TEST_F(MainWindow, DefaultLeavesSmsControlsAndTheSaveStoresThem) {
    auto& w = Open();
    w.Pick(IDC_COMBO_SMSCONTROL, 1);
    w.Click(IDC_CHECK_STATUSRESPONSE);
    EXPECT_EQ(record.smsControl, 1);
    EXPECT_EQ(record.statusResponse, 1);
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_BTN_DEFAULT);
    EXPECT_EQ(record.smsControl, 0);
    EXPECT_EQ(w.Selection(IDC_COMBO_SMSCONTROL), 1);
    EXPECT_TRUE(w.Checked(IDC_CHECK_STATUSRESPONSE));
    EXPECT_TRUE(w.Checked(IDC_RADIO_OFF));
    dlg->StoreSmsControl();
    EXPECT_EQ(record.smsControl, 1);

    // OFF unchecks and disables Status Response; the record's flag waits for the save.
    w.Pick(IDC_COMBO_SMSCONTROL, 0);
    EXPECT_FALSE(w.Checked(IDC_CHECK_STATUSRESPONSE));
    EXPECT_FALSE(w.Enabled(IDC_CHECK_STATUSRESPONSE));
    EXPECT_EQ(record.statusResponse, 1);
}

TEST_F(MainWindow, RecordsTheFormCannotShowAreReportedAndRepaired) {
    auto& w = Open();
    record.sendMode = 7;
    record.reportHour = 5;
    const int renders = w.renders;
    dlg->UpdateFormState();
    EXPECT_EQ(backend.messages, std::vector<std::string>{"Invalid Parameter !"});
    EXPECT_EQ(w.renders, renders) << "nothing is changed or pushed";
    backend.Tick();
    EXPECT_EQ(w.Text(IDC_EDIT_HOUR), "5") << "the members were set before the stop";

    backend.messages.clear();
    record.sendMode = kSendInstant;
    record.sendVia = 9;
    dlg->UpdateFormState();
    EXPECT_EQ(backend.messages, std::vector<std::string>{"Invalid Send Via!"});

    record.sendVia = kViaInternet;
    record.sendTo = kToPhone;
    dlg->UpdateFormState();
    EXPECT_EQ(record.sendTo, kToEmail);
    EXPECT_EQ(w.Text(IDC_BTN_SENDTO_SETTING), "Email Setting...");
    record.sendVia = kViaMms;
    record.sendTo = kToFtp;
    dlg->UpdateFormState();
    EXPECT_EQ(record.sendTo, kToPhone);
    EXPECT_EQ(w.Selection(IDC_COMBO_SENDTO), 0);

    record.sendMode = kSendOff;
    record.sendTo = kToFtp;
    dlg->UpdateFormState();
    EXPECT_EQ(record.sendTo, kToFtp) << "with Off the value stays as loaded";

    record.sendMode = kSendInstant;
    record.sendVia = kViaMms;
    record.countryId = 30;  // unknown country: no selection, empty operators, Parameters on
    dlg->UpdateFormState();
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), -1);
    EXPECT_TRUE(w.Items(IDC_COMBO_OPERATOR).empty());
    EXPECT_TRUE(w.Enabled(IDC_BTN_PARAMETERS));
}

TEST_F(MainWindow, CountryAndOperatorPicksAndTheCustomSideCopy) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    CopyText(record.mmsApn, "earlier");
    w.Pick(IDC_COMBO_COUNTRY, 22);  // Sweden
    EXPECT_EQ(w.Items(IDC_COMBO_OPERATOR),
              (std::vector<std::string>{"Telia", "Telenor", "Tele2", "3"}));
    EXPECT_EQ(w.Selection(IDC_COMBO_OPERATOR), 0);
    EXPECT_EQ(record.countryId, 22);
    EXPECT_EQ(record.operatorId, 20);
    EXPECT_EQ(TextOf(record.mmsApn), "earlier") << "no preset copy on a pick";
    w.Pick(IDC_COMBO_OPERATOR, 2);
    EXPECT_EQ(record.operatorId, 22);

    // Custom before anything was confirmed: nine empty parameters.
    w.Pick(IDC_COMBO_COUNTRY, 1);
    EXPECT_EQ(TextOf(record.mmsApn), "");
    EXPECT_EQ(record.operatorId, 1);

    // Custom parameters confirmed in the Operator Parameter dialog survive a round trip.
    backend.WhenOpened(IDD_OPERATOR_PARAM, [](HeadlessDialog& d) {
        d.Type(IDC_OP_MMS_APN, "own.apn");
        d.Type(IDC_OP_NET_APN, "own.net");
        d.Click(IDOK);
    });
    w.Click(IDC_BTN_PARAMETERS);
    EXPECT_EQ(TextOf(record.mmsApn), "own.apn");
    w.Pick(IDC_COMBO_COUNTRY, 6);
    w.Click(IDC_BTN_PARAMETERS);  // a carrier shows its preset: nobody scripted it, so Cancel
    EXPECT_EQ(TextOf(record.mmsApn), "cmwap");
    w.Pick(IDC_COMBO_COUNTRY, 1);
    EXPECT_EQ(TextOf(record.mmsApn), "own.apn");
    EXPECT_EQ(TextOf(record.netApn), "own.net");
    w.Pick(IDC_COMBO_COUNTRY, 0);
    EXPECT_FALSE(w.Enabled(IDC_BTN_PARAMETERS));
    backend.problems.clear();
}

}  // namespace
}  // namespace ostrova::ui::testing
