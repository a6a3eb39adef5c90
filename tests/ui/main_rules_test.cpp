// The main window's rules as the user meets them: enabling, send via and send to, the numeric
// bounds, the recipients, Default, and the country and operator lists.
#include <cstring>

#include "main_window_fixture.h"

namespace ostrova::ui::testing {
namespace {

using Strings = std::vector<std::string>;

std::string Joined(const Strings& items) {
    std::string out;
    for (const auto& i : items) out += i + "|";
    return out;
}

// The enabling table: the radios clicked, then what is enabled and what the send-to list holds.
struct EnablingRow {
    int mode, via, settings, quality, daily, instant;
    const char* sendTo;
};
// clang-format off
const EnablingRow kEnablingRows[] = {
    {IDC_RADIO_OFF, IDC_RADIO_INTERNET, false, false, false, false, ""},
    {IDC_RADIO_INSTANT, IDC_RADIO_MMS, false, false, false, true, "Phone|Email|Both|"},
    {IDC_RADIO_INSTANT, IDC_RADIO_INTERNET, true, true, false, true, "Email|HTTP|FTP|"},
    {IDC_RADIO_DAILY, IDC_RADIO_MMS, false, false, true, false, "Phone|Email|Both|"},
    {IDC_RADIO_DAILY, IDC_RADIO_INTERNET, true, true, true, false, "Email|HTTP|FTP|"}};
// Enabled in every mode but Off.
constexpr int kFollowMode[] = {
    IDC_GROUP_SENDVIA, IDC_RADIO_MMS, IDC_RADIO_INTERNET, IDC_GROUP_OPERATOR, IDC_COMBO_COUNTRY,
    IDC_COMBO_OPERATOR, IDC_GROUP_SENDTO, IDC_COMBO_SENDTO, IDC_GROUP_RECIPIENTS, IDC_CHECK_PHONE1,
    IDC_CHECK_EMAIL4, IDC_GROUP_IMAGE, IDC_LABEL_IMAGEQUALITY, IDC_EDIT_IMAGEFROM};
// clang-format on

TEST_F(MainWindow, EnablingFollowsSendModeAndTransport) {
    for (const EnablingRow& r : kEnablingRows) {
        auto& w = Open();
        for (int id : {r.mode == IDC_RADIO_OFF ? IDC_RADIO_INSTANT : r.mode, r.via, r.mode})
            w.Click(id);
        const bool on = r.mode != IDC_RADIO_OFF;
        SCOPED_TRACE(std::to_string(r.mode) + "/" + std::to_string(r.via));
        for (int id : kFollowMode) EXPECT_EQ(w.Enabled(id), on) << id;
        EXPECT_EQ(w.Enabled(IDC_BTN_SENDTO_SETTING), bool(r.settings));
        EXPECT_EQ(w.Enabled(IDC_COMBO_IMAGEQUALITY), bool(r.quality));
        EXPECT_EQ(w.Enabled(IDC_EDIT_HOUR) + w.Enabled(IDC_EDIT_MINUTE), 2 * r.daily);
        EXPECT_EQ(w.Enabled(IDC_EDIT_MAXNUM), bool(r.instant));
        EXPECT_EQ(Joined(w.Items(IDC_COMBO_SENDTO)), r.sendTo);
        EXPECT_EQ(w.Checked(IDC_RADIO_INTERNET), on && r.via == IDC_RADIO_INTERNET);
        for (int id : {IDC_EDIT_PHONE1, IDC_BTN_PARAMETERS, IDC_COMBO_FILETYPE})
            EXPECT_FALSE(w.Enabled(id)) << id;
        for (int id : {IDC_COMBO_SMSCONTROL, IDC_BTN_LOAD, IDC_BTN_SAVE, IDC_RADIO_OFF})
            EXPECT_TRUE(w.Enabled(id)) << id;
    }
}

TEST_F(MainWindow, SendToPicksSetTheTargetCaptionAndFiletype) {
    auto& w = Open();
    const auto expect = [&](std::uint8_t to, const char* caption, const char* fileTypes) {
        EXPECT_EQ(record.sendTo, to);
        EXPECT_EQ(w.Text(IDC_BTN_SENDTO_SETTING), caption);
        EXPECT_EQ(Joined(w.Items(IDC_COMBO_FILETYPE)), fileTypes);
        EXPECT_EQ(w.Selection(IDC_COMBO_FILETYPE), 0);
    };
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_RADIO_INTERNET);
    w.Pick(IDC_COMBO_SENDTO, 2);
    expect(kToFtp, "FTP Setting...", "wireless.cfg|");
    w.Pick(IDC_COMBO_SENDTO, 1);
    expect(kToHttp, "HTTP Setting...", "wireless.cfg|");
    w.Click(IDC_RADIO_INTERNET);  // again: back to Email, and both file forms
    expect(kToEmail, "Email Setting...", "MMSCFG.BIN|wireless.cfg|");
    EXPECT_EQ(w.Selection(IDC_COMBO_SENDTO), 0);

    // HTTP, then MMS: Both, and Normal quality.
    w.Pick(IDC_COMBO_IMAGEQUALITY, 2);
    EXPECT_EQ(record.imageQuality.get(), 2000);
    w.Pick(IDC_COMBO_IMAGEQUALITY, 1);
    EXPECT_EQ(record.imageQuality.get(), 200);
    w.Pick(IDC_COMBO_SENDTO, 1);
    w.Click(IDC_RADIO_MMS);
    expect(kToBoth, "", "MMSCFG.BIN|wireless.cfg|");
    EXPECT_EQ(record.imageQuality.get(), 100);
    EXPECT_EQ(w.Selection(IDC_COMBO_IMAGEQUALITY), 0);
    w.Pick(IDC_COMBO_SENDTO, 1);
    EXPECT_EQ(record.sendTo, kToEmail);
    w.Pick(IDC_COMBO_SENDTO, 0);
    EXPECT_EQ(record.sendTo, kToPhone);
}

struct BoundRow {
    int mode, edit;
    const char* text;
    int kept;
    const char* message;  // empty: accepted
};
// clang-format off
const BoundRow kBoundRows[] = {
    {IDC_RADIO_DAILY, IDC_EDIT_HOUR, "23", 23, ""},
    {IDC_RADIO_DAILY, IDC_EDIT_HOUR, "24", 23, "Please input a number between 0 and 23! "},
    {IDC_RADIO_DAILY, IDC_EDIT_MINUTE, "59", 59, ""},
    {IDC_RADIO_DAILY, IDC_EDIT_MINUTE, "60", 59, "Please input a number between 0 and 59! "},
    {IDC_RADIO_INSTANT, IDC_EDIT_MAXNUM, "9999", 9999, ""},
    {IDC_RADIO_INSTANT, IDC_EDIT_MAXNUM, "10000", 9999, "Please input a number within 9999! "},
    {IDC_RADIO_INSTANT, IDC_EDIT_MAXNUM, "0", 0, ""}};
// clang-format on

TEST_F(MainWindow, NumericEditsWalkTheirBounds) {
    auto& w = Open();
    for (const BoundRow& r : kBoundRows) {
        w.Click(r.mode);
        backend.messages.clear();
        w.SelectAll(r.edit);
        w.Paste(r.edit, r.text);
        const int kept = r.edit == IDC_EDIT_HOUR     ? record.reportHour
                         : r.edit == IDC_EDIT_MINUTE ? record.reportMinute
                                                     : record.maxNum.get();
        EXPECT_EQ(kept, r.kept) << r.text;
        EXPECT_EQ(backend.messages, *r.message ? Strings{r.message} : Strings{}) << r.text;
        if (!*r.message) continue;
        EXPECT_EQ(w.Text(r.edit), r.text) << "the refused text stays, selected";
        EXPECT_EQ(w.EditSelection(r.edit), (std::pair{0, int(std::strlen(r.text))}));
    }
}

TEST_F(MainWindow, RecipientTextsFallBackSilentlyPastTheirLimit) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Click(IDC_CHECK_PHONE1);
    EXPECT_TRUE(w.Enabled(IDC_EDIT_PHONE1));
    w.Type(IDC_EDIT_PHONE1, std::string(20, '1'));
    EXPECT_EQ(w.Text(IDC_EDIT_PHONE1), std::string(19, '1'));
    EXPECT_EQ(TextOf(record.phone[0]), std::string(19, '1'));
    w.Click(IDC_CHECK_EMAIL2);
    w.Paste(IDC_EDIT_EMAIL2, std::string(60, 'e'));
    EXPECT_EQ(w.Text(IDC_EDIT_EMAIL2), "");
    w.Type(IDC_EDIT_EMAIL2, std::string(60, 'e'));
    EXPECT_EQ(TextOf(record.email[1]), std::string(59, 'e'));
    w.Retype(IDC_EDIT_EMAIL2, "");
    EXPECT_EQ(std::ranges::count(record.email[1], '\0'), 60);
    EXPECT_TRUE(backend.messages.empty());
    w.Click(IDC_CHECK_PHONE1);
    EXPECT_FALSE(w.Enabled(IDC_EDIT_PHONE1));
    EXPECT_EQ(w.Text(IDC_EDIT_PHONE1), "") << "an unticked box empties its edit";
}

TEST_F(MainWindow, DefaultResetsTheRecordButLeavesSmsControlsAndDisabledLists) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    w.Pick(IDC_COMBO_COUNTRY, 22);
    w.Pick(IDC_COMBO_SMSCONTROL, 1);
    w.Click(IDC_CHECK_STATUSRESPONSE);
    EXPECT_EQ(record.statusResponse, 1);
    w.Click(IDC_BTN_DEFAULT);
    EXPECT_TRUE(w.Checked(IDC_RADIO_OFF));
    EXPECT_EQ(record.smsControl, 0);
    EXPECT_EQ(w.Selection(IDC_COMBO_SMSCONTROL), 1);
    EXPECT_TRUE(w.Checked(IDC_CHECK_STATUSRESPONSE));
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 22);
    EXPECT_FALSE(w.Enabled(IDC_BTN_PARAMETERS));
    w.Click(IDC_RADIO_DAILY);
    EXPECT_EQ(w.Selection(IDC_COMBO_COUNTRY), 0) << "a mode shows the record again";
    w.Pick(IDC_COMBO_SMSCONTROL, 0);
    EXPECT_FALSE(w.Checked(IDC_CHECK_STATUSRESPONSE));
    EXPECT_FALSE(w.Enabled(IDC_CHECK_STATUSRESPONSE));
}

TEST_F(MainWindow, CountryAndOperatorPicksAndTheCustomSideCopy) {
    auto& w = Open();
    w.Click(IDC_RADIO_INSTANT);
    CopyText(record.mmsApn, "earlier");
    w.Pick(IDC_COMBO_COUNTRY, 22);  // Sweden
    EXPECT_EQ(Joined(w.Items(IDC_COMBO_OPERATOR)), "Telia|Telenor|Tele2|3|");
    EXPECT_EQ(w.Selection(IDC_COMBO_OPERATOR), 0);
    EXPECT_EQ(record.countryId, 22);
    EXPECT_EQ(record.operatorId, 20);
    EXPECT_EQ(TextOf(record.mmsApn), "earlier") << "no preset copy on a pick";
    w.Pick(IDC_COMBO_OPERATOR, 2);
    EXPECT_EQ(record.operatorId, 22);
    w.Pick(IDC_COMBO_COUNTRY, 1);  // Custom before anything was confirmed: empty parameters
    EXPECT_EQ(TextOf(record.mmsApn), "");

    backend.WhenOpened(IDD_OPERATOR_PARAM, [](HeadlessDialog& d) {
        d.Type(IDC_OP_MMS_APN, "own.apn");
        d.Click(IDOK);
    });
    w.Click(IDC_BTN_PARAMETERS);
    w.Pick(IDC_COMBO_COUNTRY, 6);
    backend.WhenOpened(IDD_OPERATOR_PARAM, [](HeadlessDialog& d) {
        EXPECT_EQ(d.Text(IDC_OP_MMS_APN), "cmwap") << "a carrier shows its preset";
        d.Escape();
    });
    w.Click(IDC_BTN_PARAMETERS);
    w.Pick(IDC_COMBO_COUNTRY, 1);
    EXPECT_EQ(TextOf(record.mmsApn), "own.apn") << "Custom gets its confirmed parameters back";
    w.Pick(IDC_COMBO_COUNTRY, 0);
    EXPECT_FALSE(w.Enabled(IDC_BTN_PARAMETERS));
    EXPECT_TRUE(backend.problems.empty());
}

}  // namespace
}  // namespace ostrova::ui::testing
