// FTP Setting and HTTP Setting dialogs: Cancel stores nothing, OK stores zero-filled texts, and
// a text longer than its field (only possible from a file) is refused before anything is stored.
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "res/resource_ids.h"
#include "ui/dialogs/ftp_setting_dlg.h"
#include "ui/dialogs/http_setting_dlg.h"

namespace ostrova::ui::test {
namespace {

using namespace ostrova::res;
using FtpHttpSettingDlg = DialogStory;
using Ftp = CFtpSettingDlg;
using Http = CHttpSettingDlg;

TEST_F(FtpHttpSettingDlg, CancelKeepsTheRecordOkZeroFillsEachTextAndTooLongATextIsRefused) {
    // Texts with leftovers after their NUL, as an earlier longer text leaves them.
    Put(record.ftpAccount, std::string("acct\0old-account", 16));
    Put(record.ftpPassword, std::string("pass\0old-password", 17));
    Put(record.ftpServer, std::string("ftp.example.com\0old.server", 26));
    Put(record.httpServer, std::string("http.example.com\0old.server", 27));
    auto before = Of(record);
    Run<Ftp>([](HeadlessDialog& w) {
        for (int id : {IDC_FTP_ACCOUNT, IDC_FTP_PASSWORD, IDC_FTP_SERVER}) w.Type(id, "x");
        w.Escape();
    });
    Run<Http>([](HeadlessDialog& w) { w.Type(IDC_HTTP_SERVER, "x"), w.Click(IDCANCEL); });
    EXPECT_EQ(Of(record), before);
    Run<Ftp>([](HeadlessDialog& w) {
        EXPECT_EQ(w.Text(IDC_FTP_RETYPE_PASSWORD), "pass");
        w.Retype(IDC_FTP_ACCOUNT, "me");
        w.Retype(IDC_FTP_SERVER, "");
        w.Click(IDOK);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.ftpAccount, "me") && HoldsZeroFilled(record.ftpServer, "") &&
                HoldsZeroFilled(record.ftpPassword, "pass"));
    Run<Http>([](HeadlessDialog& w) { w.Click(IDOK); });
    EXPECT_TRUE(HoldsZeroFilled(record.httpServer, "http.example.com"));

    // The edits stop at their limits, and a longer text from a file is refused.
    Put(record.httpServer, std::string(70, 'h') + '\0');
    Run<Ftp>([&](HeadlessDialog& w) {
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
    Run<Http>([](HeadlessDialog& w) {
        w.Click(IDOK);
        EXPECT_EQ(w.Focused(), IDC_HTTP_SERVER) << "the refused field gets the focus";
        w.Escape();
    });
    EXPECT_EQ(Of(record), before);
    EXPECT_EQ(backend.messages,
              (std::vector<std::string>{"Password Mismatched!",
                                        "Please enter no more than 59 characters."}));
    Run<Http>([](HeadlessDialog& w) {
        w.SetCaret(IDC_HTTP_SERVER, 80);
        w.Backspace(IDC_HTTP_SERVER, 11);
        w.Click(IDOK);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.httpServer, std::string(59, 'h')));
}

}  // namespace
}  // namespace ostrova::ui::test
