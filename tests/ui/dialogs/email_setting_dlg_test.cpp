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
constexpr int kGmail = 2;  // SSL always, port 465
constexpr int kOther = 14;

struct EmailSettingDlg : DialogStory {
    int Open(Script script) { return Run<CEmailSettingDlg>(std::move(script)); }
    // What the dialog shows of server, port, SSL (ticked, enabled) and the account label.
    static std::string Shown(HeadlessDialog& w) {
        return w.Text(IDC_EMAIL_SERVER) + " " + w.Text(IDC_EMAIL_PORT) + " " +
               (w.Checked(IDC_EMAIL_SSL) ? "ssl" : "plain") +
               (w.Enabled(IDC_EMAIL_SSL) ? "" : "!") + " " + w.Text(IDC_EMAIL_ACCOUNT_LABEL);
    }
};

TEST_F(EmailSettingDlg, OpensOnTheStoredAccountServerPortAndSsl) {
    // clang-format off
    const std::pair<std::string_view, int> accounts[] = {
        {"", kPleaseSelect}, {"bob", kOther}, {"bob@", kOther}, {"bob@GMAIL.com", kGmail},
        {"ann@yahoo.com", 3}};
    // clang-format on
    for (const auto& [account, selection] : accounts) {
        CopyText(record.smtpAccount, account);
        record.smtpSsl = account.empty() ? 0 : 7;  // any value but 0 means SSL
        Open([&](HeadlessDialog& w) {
            const auto items = w.Items(IDC_EMAIL_PROVIDER);
            ASSERT_EQ(items.size(), 15u);
            EXPECT_EQ(items[0] + items[1] + items[14], "Please select...icloud.comOther");
            EXPECT_EQ(w.Selection(IDC_EMAIL_PROVIDER), selection) << account;
            EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT) + w.Text(IDC_EMAIL_RETYPE_PASSWORD),
                      std::string(account) + std::string(kDefaultSmtpPassword));
            EXPECT_EQ(Shown(w), std::string(kDefaultSmtpServer) + " 2525 " +
                                    (account.empty() ? "plain" : "ssl") + " Account ( @xxx )");
            w.Escape();
        });
    }
}

TEST_F(EmailSettingDlg, APickedProviderFillsItsSettingsAndCompletesABareName) {
    Open([&](HeadlessDialog& w) {
        w.Retype(IDC_EMAIL_ACCOUNT, "me@gmail.com");
        w.Retype(IDC_EMAIL_SERVER, "edited");
        w.Pick(IDC_EMAIL_PROVIDER, kOther);  // shows the provider of the address again
        EXPECT_EQ(Shown(w), "smtp.gmail.com 465 ssl! Account(@xxx)");
        w.Pick(IDC_EMAIL_PROVIDER, 3);
        w.Pick(IDC_EMAIL_PROVIDER, kGmail);
        EXPECT_EQ(w.Text(IDC_EMAIL_ACCOUNT) + w.Text(IDC_EMAIL_PASSWORD), "");
        EXPECT_EQ(Shown(w), "smtp.gmail.com 465 ssl! Username");
        w.Type(IDC_EMAIL_ACCOUNT, "bob");
        for (int id : {IDC_EMAIL_PASSWORD, IDC_EMAIL_RETYPE_PASSWORD})
            w.Type(id, std::string(45, 'p'));
        w.Type(IDC_EMAIL_SERVER, std::string(45, 's'));  // the edits stop at what the fields hold
        w.Retype(IDC_EMAIL_PORT, "6x5-53599");
        w.Click(IDOK);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.smtpAccount, "bob@gmail.com") &&
                HoldsZeroFilled(record.smtpPassword, std::string(39, 'p')) &&
                HoldsZeroFilled(record.smtpPort, "65535"));
    EXPECT_EQ(std::pair(int(TextOf(record.smtpServer).size()), int(record.smtpSsl)),
              std::pair(39, 1));
}

TEST_F(EmailSettingDlg, LeavingTheAccountRecognisesTheProviderOfAnAddress) {
    const std::tuple<std::string_view, int, std::string_view> cases[] = {
        {"me@icloud.com", 1, "smtp.mail.me.com 587 plain! Username"},
        {"me@nowhere.example", kOther, "  plain Account(@xxx)"},
        {"", kPleaseSelect, "my.host 2525 plain Account ( @xxx )"},  // cleared: settings stay
        {"me@Qq.com", 5, "smtp.qq.com 465 ssl Username"},
    };
    for (const auto& [account, selection, shown] : cases) {
        SetConfigDefaults(record);
        Open([&](HeadlessDialog& w) {
            w.Retype(IDC_EMAIL_SERVER, "my.host");
            w.Focus(IDC_EMAIL_ACCOUNT);
            w.Focus(IDC_EMAIL_PASSWORD);
            EXPECT_EQ(w.Text(IDC_EMAIL_SERVER), "my.host") << "leaving without a change";
            w.Retype(IDC_EMAIL_ACCOUNT, account);
            w.Focus(IDC_EMAIL_PASSWORD);
            EXPECT_EQ(w.Selection(IDC_EMAIL_PROVIDER), selection) << account;
            EXPECT_EQ(Shown(w), shown);
            w.Click(IDC_EMAIL_SSL);  // SSL by default may be switched off, keeping its port
            w.Click(IDOK);
            if (!w.ended) w.Escape();
        });
    }
    EXPECT_TRUE(HoldsZeroFilled(record.smtpAccount, "me@Qq.com") &&
                HoldsZeroFilled(record.smtpPort, "465") && record.smtpSsl == 0);
}

// Each row is one try at OK: the provider picked (-1: keep "Other", the one the dialog opened
// with), account, password, retype, server, port; the message (empty: accepted; otherwise the
// dialog stays open and nothing is stored), and the account stored when accepted.
const std::string kName49(49, 'b');
// clang-format off
const std::tuple<int, std::string, std::string_view, std::string_view, std::string_view,
                 std::string_view, std::string_view, std::string> kOkCases[] = {
    {-1, "", "a", "a", "h", "25", "Invalid Account!", ""},
    {kPleaseSelect, "bob", "", "", "h", "25", "Invalid Account!", ""},
    {kGmail, kName49 + "b", "", "", "h", "25", "Invalid Account!", ""},  // 60 with "@gmail.com"
    {-1, "bob", "a", "b", "h", "25", "Password Mismatched!", ""},
    {-1, "bob", "", "", "", "25", "Invalid SMTP server!", ""},
    {-1, "bob", "", "", "h", "", "Invalid SMTP port!", ""},
    {-1, "bob", "", "", "h", "65536", "Invalid SMTP port2!", ""},
    {-1, "bob", "", "", "h", "99999", "Invalid SMTP port2!", ""},
    {-1, "bob", "", "", "h", "65535", "", "bob"},  // "Other" takes a bare name
    {kGmail, kName49, "s", "s", "h", "25", "", kName49 + "@gmail.com"},
};
// clang-format on

TEST_F(EmailSettingDlg, OkChecksInOrderAndStoresOnlyWhenAllPass) {
    for (const auto& [pick, account, password, retype, server, port, message, stored] : kOkCases) {
        SetConfigDefaults(record);
        backend.messages.clear();
        const auto before = Of(record);
        const int result = Open([&](HeadlessDialog& w) {
            if (pick >= 0) w.Pick(IDC_EMAIL_PROVIDER, pick);
            w.Retype(IDC_EMAIL_ACCOUNT, account);
            w.Retype(IDC_EMAIL_PASSWORD, password);
            w.Retype(IDC_EMAIL_RETYPE_PASSWORD, retype);
            w.Retype(IDC_EMAIL_SERVER, server);
            w.Retype(IDC_EMAIL_PORT, port);
            w.Click(IDOK);
            if (!w.ended) w.Escape();
        });
        EXPECT_EQ(result, message.empty() ? platform::kIdOk : platform::kIdCancel) << message;
        EXPECT_EQ(backend.messages.empty() ? "" : backend.messages[0], message);
        EXPECT_EQ(backend.messages.size(), message.empty() ? 0u : 1u);
        EXPECT_TRUE(message.empty() ? HoldsZeroFilled(record.smtpAccount, stored) &&
                                          HoldsZeroFilled(record.smtpPort, port)
                                    : Of(record) == before)
            << message << stored;
    }
}

}  // namespace
}  // namespace ostrova::ui::test
