// Email Setting dialog: provider list, recognition of a typed address, OK's checks in order,
// and what reaches the record.
#include "ui/dialogs/email_setting_dlg.h"

#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "res/resource_ids.h"

namespace ostrova::ui::test {
namespace {

using namespace ostrova::res;

constexpr int kPleaseSelect = 0;
constexpr int kGmail = 2;  // table row 1: SSL always, port 465
constexpr int kOther = 14;

struct EmailSettingDlg : DialogStory {
    // Opens the dialog on the record and lets the script play the user.
    int Open(platform::headless::HeadlessBackend::Script script) {
        CEmailSettingDlg dlg(record);
        return Run(dlg, std::move(script));
    }
};

TEST_F(EmailSettingDlg, OpensOnTheStoredAccountWithTheStoredServerPortAndSsl) {
    struct Case {
        std::string_view account;
        std::uint8_t ssl;
        int selection;
    };
    for (const Case& c :
         {Case{"", 0, kPleaseSelect}, Case{"bob", 1, kOther}, Case{"bob@example.org", 0, kOther},
          Case{"bob@", 7, kOther}, Case{"bob@GMAIL.com", 0, kGmail}, Case{"ann@yahoo.com", 1, 3}}) {
        ZeroField(record.smtpAccount);
        CopyText(record.smtpAccount, c.account);
        record.smtpSsl = c.ssl;
        Open([&](HeadlessDialog& w) {
            const auto items = w.Items(IDC_EMAIL_PROVIDER);
            ASSERT_EQ(items.size(), 15u);
            EXPECT_EQ(items[0], "Please select...");
            EXPECT_EQ(items[1], "icloud.com");
            EXPECT_EQ(items[13], "AOL");
            EXPECT_EQ(items[14], "Other");
            EXPECT_EQ(w.Selection(IDC_EMAIL_PROVIDER), c.selection) << c.account;
            EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT), c.account);
            EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT_LABEL), "Account ( @xxx )");
            // No provider is applied on opening: the record's own values show.
            EXPECT_EQ(w.Text(IDC_EMAIL_SERVER), kDefaultSmtpServer);
            EXPECT_EQ(w.Text(IDC_EMAIL_PORT), "2525");
            EXPECT_EQ(w.Checked(IDC_EMAIL_SSL), c.ssl != 0) << int{c.ssl};
            EXPECT_TRUE(w.Enabled(IDC_EMAIL_SSL));
            EXPECT_EQ(w.Text(IDC_EMAIL_RETYPE_PASSWORD), kDefaultSmtpPassword);
            w.Escape();
        });
    }
}

TEST_F(EmailSettingDlg, FullWidthFieldsAreCutToTheirLimitsAndCancelKeepsOnlyTheCut) {
    Put(record.smtpAccount, std::string(60, 'a'));
    Put(record.smtpPassword, std::string(40, 'p'));
    Put(record.smtpServer, std::string(40, 's'));
    Put(record.smtpPort, "123456");
    auto expected = Bytes();
    for (const std::size_t lastByte : {340 + 59, 400 + 39, 440 + 39, 480 + 5})
        expected[lastByte] = 0;
    Open([&](HeadlessDialog& w) {
        EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT), std::string(59, 'a'));
        EXPECT_EQ(w.Text(IDC_EMAIL_PASSWORD), std::string(39, 'p'));
        EXPECT_EQ(w.Text(IDC_EMAIL_SERVER), std::string(39, 's'));
        EXPECT_EQ(w.Text(IDC_EMAIL_PORT), "12345");
        w.Retype(IDC_EMAIL_SERVER, "changed");
        w.Click(IDC_EMAIL_SSL);
        w.Click(IDCANCEL);
    });
    EXPECT_EQ(Bytes(), expected);
}

TEST_F(EmailSettingDlg, EditsRefuseWhatTheRecordCannotHold) {
    Open([&](HeadlessDialog& w) {
        for (const int id : {IDC_EMAIL_PASSWORD, IDC_EMAIL_RETYPE_PASSWORD, IDC_EMAIL_SERVER}) {
            w.Retype(id, std::string(45, 'x'));
            EXPECT_EQ(w.Text(id).size(), 39u) << id;
        }
        w.Retype(IDC_EMAIL_PORT, "6x5-53599");
        EXPECT_EQ(w.Text(IDC_EMAIL_PORT), "65535");
        w.Escape();
    });
}

TEST_F(EmailSettingDlg, PickedProviderFillsServerPortSslAndCompletesABareName) {
    Open([&](HeadlessDialog& w) {
        w.Pick(IDC_EMAIL_PROVIDER, kGmail);
        for (const int id : {IDC_EMAIL_ACCOUNT, IDC_EMAIL_PASSWORD, IDC_EMAIL_RETYPE_PASSWORD})
            EXPECT_EQ(w.Text(id), "") << id;
        EXPECT_EQ(w.Text(IDC_EMAIL_SERVER), "smtp.gmail.com");
        EXPECT_EQ(w.Text(IDC_EMAIL_PORT), "465");
        EXPECT_TRUE(w.Checked(IDC_EMAIL_SSL));
        EXPECT_FALSE(w.Enabled(IDC_EMAIL_SSL));
        EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT_LABEL), "Username");
        w.Type(IDC_EMAIL_ACCOUNT, "bob");
        w.Type(IDC_EMAIL_PASSWORD, "pw");
        w.Type(IDC_EMAIL_RETYPE_PASSWORD, "pw");
        w.Click(IDOK);
        EXPECT_TRUE(w.ended);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.smtpAccount, "bob@gmail.com"));
    EXPECT_TRUE(HoldsZeroFilled(record.smtpPassword, "pw"));
    EXPECT_TRUE(HoldsZeroFilled(record.smtpServer, "smtp.gmail.com"));
    EXPECT_TRUE(HoldsZeroFilled(record.smtpPort, "465"));
    EXPECT_EQ(record.smtpSsl, 1);
}

TEST_F(EmailSettingDlg, LeavingTheAccountRecognisesTheProviderOfAnAddress) {
    struct Case {
        std::string_view account;
        int selection;
        std::string_view server, port, label;
        bool ssl, sslEnabled;
    };
    for (const Case& c : {
             Case{"me@icloud.com", 1, "smtp.mail.me.com", "587", "Username", false, false},
             Case{"me@Qq.com", 5, "smtp.qq.com", "465", "Username", true, true},
             Case{"me@nowhere.example", kOther, "", "", "Account(@xxx)", false, true},
         }) {
        Open([&](HeadlessDialog& w) {
            w.Retype(IDC_EMAIL_ACCOUNT, c.account);
            w.Focus(IDC_EMAIL_PASSWORD);
            EXPECT_EQ(w.Selection(IDC_EMAIL_PROVIDER), c.selection) << c.account;
            EXPECT_EQ(w.Text(IDC_EMAIL_SERVER), c.server);
            EXPECT_EQ(w.Text(IDC_EMAIL_PORT), c.port);
            EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT_LABEL), c.label);
            EXPECT_EQ(w.Checked(IDC_EMAIL_SSL), c.ssl);
            EXPECT_EQ(w.Enabled(IDC_EMAIL_SSL), c.sslEnabled);
            w.Escape();
        });
    }
}

TEST_F(EmailSettingDlg, SslByDefaultMayBeSwitchedOffKeepingItsPort) {
    Open([&](HeadlessDialog& w) {
        w.Retype(IDC_EMAIL_ACCOUNT, "me@qq.com");
        w.Click(IDC_EMAIL_SSL);
        w.Click(IDOK);  // the passwords are still the stored ones, both alike
    });
    EXPECT_TRUE(HoldsZeroFilled(record.smtpAccount, "me@qq.com"));
    EXPECT_TRUE(HoldsZeroFilled(record.smtpPort, "465"));
    EXPECT_EQ(record.smtpSsl, 0);
}

TEST_F(EmailSettingDlg, UnchangedOrClearedAccountKeepsServerPortAndSsl) {
    Open([&](HeadlessDialog& w) {
        w.Retype(IDC_EMAIL_SERVER, "my.host");
        w.Focus(IDC_EMAIL_ACCOUNT);
        w.Focus(IDC_EMAIL_PASSWORD);
        EXPECT_EQ(w.Text(IDC_EMAIL_SERVER), "my.host") << "leaving without a change";
        EXPECT_EQ(w.Selection(IDC_EMAIL_PROVIDER), kOther);
        w.Retype(IDC_EMAIL_ACCOUNT, "");
        w.Focus(IDC_EMAIL_PASSWORD);
        EXPECT_EQ(w.Selection(IDC_EMAIL_PROVIDER), kPleaseSelect);
        EXPECT_EQ(w.Text(IDC_EMAIL_SERVER), "my.host");
        EXPECT_EQ(w.Text(IDC_EMAIL_PORT), "2525");
        EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT_LABEL), "Account ( @xxx )");
        w.Escape();
    });
}

TEST_F(EmailSettingDlg, OtherAfterARecognisedAddressShowsThatProviderAgain) {
    Open([&](HeadlessDialog& w) {
        w.Retype(IDC_EMAIL_ACCOUNT, "me@gmail.com");
        w.Retype(IDC_EMAIL_SERVER, "edited");
        w.Pick(IDC_EMAIL_PROVIDER, kOther);
        EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT), "");
        EXPECT_EQ(w.Text(IDC_EMAIL_PASSWORD), "");
        EXPECT_EQ(w.Text(IDC_EMAIL_SERVER), "smtp.gmail.com");
        EXPECT_EQ(w.Text(IDC_EMAIL_PORT), "465");
        EXPECT_TRUE(w.Checked(IDC_EMAIL_SSL));
        EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT_LABEL), "Account(@xxx)");
        w.Escape();
    });
}

// Each row is one try at OK; a message means the dialog stays open and nothing is stored.
struct OkCase {
    int pick;  // -1: keep the selection the dialog opened with ("Other")
    std::string_view account, password, retype, server, port;
    std::string_view message;  // empty: accepted
    std::string_view stored;   // the account stored when accepted
};
const OkCase kOkCases[] = {
    {-1, "", "a", "b", "", "", "Invalid Account!", ""},
    {kPleaseSelect, "bob", "", "", "h", "25", "Invalid Account!", ""},
    {kGmail, std::string_view("bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"), "", "", "h",
     "25", "Invalid Account!", ""},  // 50 + "@gmail.com" is one byte too many
    {-1, "bob", "a", "b", "", "", "Password Mismatched!", ""},
    {-1, "bob", "", "", "", "", "Invalid SMTP server!", ""},
    {-1, "bob", "", "", "h", "", "Invalid SMTP port!", ""},
    {-1, "bob", "", "", "h", "65536", "Invalid SMTP port2!", ""},
    {-1, "bob", "", "", "h", "99999", "Invalid SMTP port2!", ""},
    {-1, "bob", "", "", "h", "65535", "", "bob"},  // "Other" takes a bare name
    {kGmail, std::string_view("bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb"), "s", "s", "h",
     "25", "", "bbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbbb@gmail.com"},
};

TEST_F(EmailSettingDlg, OkChecksInOrderAndStoresOnlyWhenAllPass) {
    for (const OkCase& c : kOkCases) {
        SetConfigDefaults(record);
        backend.messages.clear();
        const auto before = Bytes();
        const int result = Open([&](HeadlessDialog& w) {
            if (c.pick >= 0) w.Pick(IDC_EMAIL_PROVIDER, c.pick);
            w.Type(IDC_EMAIL_PROVIDER, "typed text selects nothing");
            w.Retype(IDC_EMAIL_ACCOUNT, c.account);
            w.Retype(IDC_EMAIL_PASSWORD, c.password);
            w.Retype(IDC_EMAIL_RETYPE_PASSWORD, c.retype);
            w.Retype(IDC_EMAIL_SERVER, c.server);
            w.Retype(IDC_EMAIL_PORT, c.port);
            w.Click(IDOK);
            EXPECT_EQ(w.ended, c.message.empty()) << c.account;
            if (!w.ended) w.Escape();
        });
        if (c.message.empty()) {
            EXPECT_EQ(result, platform::kIdOk);
            EXPECT_TRUE(backend.messages.empty());
            EXPECT_TRUE(HoldsZeroFilled(record.smtpAccount, c.stored));
            EXPECT_TRUE(HoldsZeroFilled(record.smtpPort, c.port));
        } else {
            EXPECT_EQ(backend.messages, std::vector<std::string>{std::string(c.message)});
            EXPECT_EQ(Bytes(), before) << c.message;
        }
    }
}

}  // namespace
}  // namespace ostrova::ui::test
