// The settings dialogs as the user meets them, each opened modally on a record with a script
// that plays the user: Email Setting (provider list, recognition of a typed address, OK's
// checks in order, what reaches the record); FTP Setting and HTTP Setting (Cancel stores
// nothing, OK stores zero-filled texts, a text longer than its field, only possible from a
// file, is refused before anything is stored); Operator Parameter (the record's nine
// parameters, and what OK and Cancel leave in the record and the Custom side copy).
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/record.h"
#include "platform/headless/headless.h"
#include "res/resource_ids.h"
#include "support/file_bytes.h"
#include "ui/dialogs/email_setting_dlg.h"
#include "ui/dialogs/ftp_setting_dlg.h"
#include "ui/dialogs/http_setting_dlg.h"
#include "ui/dialogs/operator_param_dlg.h"

namespace ostrova::ui::test {
namespace {

using namespace ostrova::res;
using platform::headless::HeadlessDialog;
using Script = platform::headless::HeadlessBackend::Script;
using ostrova::testing::Of;  // the record's bytes

struct DialogStory : ::testing::Test {
    platform::headless::HeadlessBackend backend;
    ConfigRecord record{};
    CustomPreset custom{};  // the Operator Parameter dialog's side copy

    DialogStory() { SetConfigDefaults(record); }

    // Runs a Dlg on the record modally; the script is the user. Returns the dialog's result.
    template <class Dlg, class... More>
    int Run(Script script, More&... more) {
        Dlg dlg(record, more...);
        backend.WhenOpened(dlg.dialogTemplate().id, std::move(script));
        const int result = dlg.DoModal();
        EXPECT_TRUE(backend.problems.empty()) << backend.problems.front();
        return result;
    }
};

// Writes raw bytes at the start of a field, the rest left as it is (as a file may bring them).
inline void Put(std::span<char> field, std::string_view bytes) {
    std::memcpy(field.data(), bytes.data(), std::min(bytes.size(), field.size()));
}

// The field holds exactly `text`, then zero bytes to its end.
inline bool HoldsZeroFilled(std::span<const char> field, std::string_view text) {
    return text.size() < field.size() && std::string_view(field.data(), text.size()) == text &&
           std::all_of(field.begin() + static_cast<std::ptrdiff_t>(text.size()), field.end(),
                       [](char c) { return c == '\0'; });
}

// --- Email Setting

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
constexpr std::string_view kTooLong = "Please enter no more than 59 characters.";
// clang-format off
const std::tuple<int, std::string, std::string_view, std::string_view, std::string_view,
                 std::string_view, std::string_view, std::string> kOkCases[] = {
    {-1, "", "a", "a", "h", "25", "Invalid Account!", ""},
    {kPleaseSelect, "bob", "", "", "h", "25", "Invalid Account!", ""},
    {kGmail, kName49 + "b", "", "", "h", "25", kTooLong, ""},  // 60 with "@gmail.com"
    {-1, kName49 + "b@gmail.com", "", "", "h", "25", kTooLong, ""},
    {-1, "bob", "a", "b", "h", "25", "Password Mismatched!", ""},
    {-1, "bob", "", "", "", "25", "Invalid SMTP server!", ""},
    {-1, "bob", "", "", "h", "", "Invalid SMTP port!", ""},
    {-1, "bob", "", "", "h", "65536", "Invalid SMTP port2!", ""},
    {-1, "bob", "", "", "h", "65535", "", "bob"},  // "Other" takes a bare name
    {kGmail, kName49, "s", "s", "h", "25", "", kName49 + "@gmail.com"},
};
// clang-format on

TEST_F(EmailSettingDlg, OkChecksInOrderAndStoresOnlyWhenAllPass) {
    for (const auto& [pick, account, password, retype, server, port, message, stored] : kOkCases) {
        SetConfigDefaults(record);
        Put(record.smtpPassword, std::string(30, 'x'));  // longer than any the cases store
        Put(record.smtpServer, std::string(30, 'x'));
        backend.messages.clear();
        const auto before = Of(record);
        std::string shown;
        const int result = Open([&](HeadlessDialog& w) {
            if (pick >= 0) w.Pick(IDC_EMAIL_PROVIDER, pick);
            w.Retype(IDC_EMAIL_ACCOUNT, account);
            w.Retype(IDC_EMAIL_PASSWORD, password);
            w.Retype(IDC_EMAIL_RETYPE_PASSWORD, retype);
            w.Retype(IDC_EMAIL_SERVER, server);
            w.Retype(IDC_EMAIL_PORT, port);
            w.Click(IDOK);
            shown = w.Text(IDC_EMAIL_ACCOUNT);
            if (!w.ended) w.Escape();
        });
        EXPECT_EQ(result, message.empty() ? platform::kIdOk : platform::kIdCancel) << message;
        EXPECT_TRUE(message.empty() || shown == account) << "a refused account stays as typed";
        EXPECT_EQ(backend.messages.empty() ? "" : backend.messages[0], message);
        EXPECT_EQ(backend.messages.size(), message.empty() ? 0u : 1u);
        EXPECT_TRUE(message.empty() ? HoldsZeroFilled(record.smtpAccount, stored) &&
                                          HoldsZeroFilled(record.smtpPassword, password) &&
                                          HoldsZeroFilled(record.smtpServer, server) &&
                                          HoldsZeroFilled(record.smtpPort, port)
                                    : Of(record) == before)
            << message << stored;
    }
}

// --- FTP Setting and HTTP Setting

using FtpHttpSettingDlg = DialogStory;

TEST_F(FtpHttpSettingDlg, CancelKeepsTheRecordOkZeroFillsEachTextAndTooLongATextIsRefused) {
    // Texts with leftovers after their NUL, as an earlier longer text leaves them.
    Put(record.ftpAccount, std::string("acct\0old-account", 16));
    Put(record.ftpPassword, std::string("pass\0old-password", 17));
    Put(record.ftpServer, std::string("ftp.example.com\0old.server", 26));
    Put(record.httpServer, std::string("http.example.com\0old.server", 27));
    auto before = Of(record);
    Run<CFtpSettingDlg>([](HeadlessDialog& w) {
        for (int id : {IDC_FTP_ACCOUNT, IDC_FTP_PASSWORD, IDC_FTP_SERVER}) w.Type(id, "x");
        w.Escape();
    });
    Run<CHttpSettingDlg>(
        [](HeadlessDialog& w) { w.Type(IDC_HTTP_SERVER, "x"), w.Click(IDCANCEL); });
    EXPECT_EQ(Of(record), before);
    Run<CFtpSettingDlg>([](HeadlessDialog& w) {
        EXPECT_EQ(w.Text(IDC_FTP_RETYPE_PASSWORD), "pass");
        w.Retype(IDC_FTP_ACCOUNT, "me");
        w.Retype(IDC_FTP_SERVER, "");
        w.Click(IDOK);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.ftpAccount, "me") && HoldsZeroFilled(record.ftpServer, "") &&
                HoldsZeroFilled(record.ftpPassword, "pass"));
    Run<CHttpSettingDlg>([](HeadlessDialog& w) { w.Click(IDOK); });
    EXPECT_TRUE(HoldsZeroFilled(record.httpServer, "http.example.com"));

    // The edits stop at their limits, and a longer text from a file is refused.
    Put(record.httpServer, std::string(70, 'h') + '\0');
    Run<CFtpSettingDlg>([&](HeadlessDialog& w) {
        for (int id : {IDC_FTP_ACCOUNT, IDC_FTP_PASSWORD, IDC_FTP_SERVER})
            w.Retype(id, std::string(90, 'a'));
        w.Retype(IDC_FTP_RETYPE_PASSWORD, "other");
        w.Click(IDOK);
        EXPECT_FALSE(w.ended);
        w.Retype(IDC_FTP_RETYPE_PASSWORD, std::string(90, 'a'));
        w.Click(IDOK);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.ftpAccount, std::string(59, 'a')) &&
                HoldsZeroFilled(record.ftpPassword, std::string(39, 'a')) &&
                HoldsZeroFilled(record.ftpServer, std::string(59, 'a')));
    before = Of(record);
    Run<CHttpSettingDlg>([](HeadlessDialog& w) {
        w.Click(IDOK);
        EXPECT_EQ(w.Focused(), IDC_HTTP_SERVER) << "the refused field gets the focus";
        w.Escape();
    });
    EXPECT_EQ(Of(record), before);
    EXPECT_EQ(backend.messages,
              (std::vector<std::string>{"Password Mismatched!",
                                        "Please enter no more than 59 characters."}));
}

// --- Operator Parameter

// The nine edits, and the fields they stand for in the record or the Custom copy, in order.
constexpr int kIds[] = {IDC_OP_NET_APN,  IDC_OP_NET_USER,  IDC_OP_NET_PASSWORD,
                        IDC_OP_MMS_APN,  IDC_OP_MMS_USER,  IDC_OP_MMS_PASSWORD,
                        IDC_OP_MMSC_URL, IDC_OP_MMS_PROXY, IDC_OP_MMS_PORT};
template <class T>
std::array<std::span<char>, 9> Fields(T& r) {
    return {r.netApn,      r.netUser, r.netPassword, r.mmsApn, r.mmsUser,
            r.mmsPassword, r.mmscUrl, r.mmsProxy,    r.mmsPort};
}

using OperatorParamDlg = DialogStory;

TEST_F(OperatorParamDlg, OkStoresEachEditZeroFilledInItsOwnFieldAndCustomKeepsACopy) {
    for (const std::uint8_t country : {std::uint8_t{5}, std::uint8_t{1}}) {
        record.countryId = country;
        custom = CustomPreset{};
        // Digits only, distinct per edit, so the port edit takes them too and a swap shows.
        for (std::size_t i = 0; i < 9; ++i)
            Put(Fields(record)[i], std::to_string(i + 10) + std::string("\0junk", 5));
        Run<COperatorParamDlg>(
            [&](HeadlessDialog& w) {
                for (std::size_t i = 0; i < 9; ++i) {
                    EXPECT_EQ(w.Text(kIds[i]), std::to_string(i + 10));
                    w.Retype(kIds[i], i == 2 ? "" : std::to_string(i + 20));
                }
                w.Click(IDOK);
            },
            custom);
        for (std::size_t i = 0; i < 9; ++i) {
            const std::string expected = i == 2 ? "" : std::to_string(i + 20);
            EXPECT_TRUE(HoldsZeroFilled(Fields(record)[i], expected)) << i;
            EXPECT_EQ(TextOf(Fields(custom)[i]), country == 1 ? expected : "") << i;
        }
    }
}

TEST_F(OperatorParamDlg, EditsHoldTheirFieldWidthLessOneAndCancelKeepsOnlyTheCut) {
    for (auto field : Fields(record)) Put(field, std::string(80, '7'));  // as from a file
    ConfigRecord expected = record;
    for (auto field : Fields(expected)) field.back() = '\0';
    Run<COperatorParamDlg>(
        [&](HeadlessDialog& w) {
            for (std::size_t i = 0; i < 9; ++i) {
                w.Type(kIds[i], "3");
                EXPECT_EQ(w.Text(kIds[i]), std::string(Fields(record)[i].size() - 1, '7')) << i;
            }
            w.Retype(IDC_OP_MMS_PORT, "8a0-8x0");
            EXPECT_EQ(w.Text(IDC_OP_MMS_PORT), "8080") << "the port takes digits only";
            w.Escape();
        },
        custom);
    EXPECT_EQ(Of(record), Of(expected));
}

}  // namespace
}  // namespace ostrova::ui::test
