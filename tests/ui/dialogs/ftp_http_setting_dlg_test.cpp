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

const std::string kTooLong = "Please enter no more than 59 characters.";

struct FtpHttpSettingDlg : DialogStory {
    int OpenFtp(platform::headless::HeadlessBackend::Script script) {
        CFtpSettingDlg dlg(record);
        return Run(dlg, std::move(script));
    }
    int OpenHttp(platform::headless::HeadlessBackend::Script script) {
        CHttpSettingDlg dlg(record);
        return Run(dlg, std::move(script));
    }
    // Texts with leftovers after their NUL, as an earlier longer text leaves them.
    void FillWithLeftovers() {
        Put(record.ftpAccount, std::string("acct\0old-account", 16));
        Put(record.ftpPassword, std::string("pass\0old-password", 17));
        Put(record.ftpServer, std::string("ftp.example.com\0old.server.example", 34));
        Put(record.httpServer, std::string("http.example.com\0old.server.example", 35));
    }
};

TEST_F(FtpHttpSettingDlg, CancelAndEscapeLeaveTheRecordByteForByte) {
    FillWithLeftovers();
    const auto before = Bytes();
    for (const bool escape : {false, true}) {
        const auto leave = [escape](HeadlessDialog& w) { escape ? w.Escape() : w.Click(IDCANCEL); };
        EXPECT_EQ(OpenFtp([&](HeadlessDialog& w) {
                      EXPECT_EQ(w.Text(IDC_FTP_RETYPE_PASSWORD), "pass");
                      for (int id : {IDC_FTP_ACCOUNT, IDC_FTP_PASSWORD, IDC_FTP_RETYPE_PASSWORD,
                                     IDC_FTP_SERVER})
                          w.Type(id, "x");
                      leave(w);
                  }),
                  platform::kIdCancel);
        EXPECT_EQ(OpenHttp([&](HeadlessDialog& w) {
                      w.Retype(IDC_HTTP_SERVER, "other");
                      leave(w);
                  }),
                  platform::kIdCancel);
        EXPECT_EQ(Bytes(), before);
    }
}

TEST_F(FtpHttpSettingDlg, OkZeroFillsEachFieldAfterItsText) {
    FillWithLeftovers();
    OpenFtp([](HeadlessDialog& w) {
        w.Retype(IDC_FTP_ACCOUNT, "me");
        w.Retype(IDC_FTP_PASSWORD, "pw");
        w.Retype(IDC_FTP_RETYPE_PASSWORD, "pw");
        w.Retype(IDC_FTP_SERVER, "");
        w.Click(IDOK);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.ftpAccount, "me"));
    EXPECT_TRUE(HoldsZeroFilled(record.ftpPassword, "pw"));
    EXPECT_TRUE(HoldsZeroFilled(record.ftpServer, ""));
    OpenHttp([](HeadlessDialog& w) { w.Click(IDOK); });
    EXPECT_TRUE(HoldsZeroFilled(record.httpServer, "http.example.com"));
    OpenFtp([](HeadlessDialog& w) {
        EXPECT_EQ(w.Text(IDC_FTP_ACCOUNT), "me") << "a second opening shows what OK stored";
        w.Escape();
    });
}

TEST_F(FtpHttpSettingDlg, EditsStopAtWhatTheFieldsHold) {
    const std::string server(59, 's');
    OpenFtp([&](HeadlessDialog& w) {
        w.Type(IDC_FTP_ACCOUNT, std::string(70, 'a'));
        w.Type(IDC_FTP_PASSWORD, std::string(50, 'p'));
        w.Type(IDC_FTP_RETYPE_PASSWORD, std::string(50, 'p'));
        w.Type(IDC_FTP_SERVER, server + "6");  // the 60th character is refused
        EXPECT_EQ(w.Text(IDC_FTP_SERVER), server);
        w.Click(IDOK);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.ftpAccount, std::string(59, 'a')));
    EXPECT_TRUE(HoldsZeroFilled(record.ftpPassword, std::string(39, 'p')));
    EXPECT_TRUE(HoldsZeroFilled(record.ftpServer, server));
    OpenHttp([&](HeadlessDialog& w) {
        w.Type(IDC_HTTP_SERVER, server + "6");
        w.Click(IDOK);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.httpServer, server));
}

TEST_F(FtpHttpSettingDlg, RefusedOkStoresNothing) {
    // Longer texts than the edits accept can come only from a file.
    Put(record.ftpServer, std::string(70, 'f') + '\0');
    Put(record.httpServer, std::string(70, 'h') + '\0');
    const auto before = Bytes();
    // Lengths are checked as the edits are read, before the passwords are compared.
    const auto shorten = [](HeadlessDialog& w, int id, int by) {
        w.SetCaret(id, 80);
        w.Backspace(id, by);
    };
    OpenFtp([&](HeadlessDialog& w) {
        w.Retype(IDC_FTP_PASSWORD, "new");
        w.Click(IDOK);
        EXPECT_EQ(w.Focused(), IDC_FTP_SERVER);
        shorten(w, IDC_FTP_SERVER, 11);
        w.Click(IDOK);
        EXPECT_FALSE(w.ended);
        w.Click(IDCANCEL);
    });
    OpenHttp([](HeadlessDialog& w) {
        w.Click(IDOK);
        EXPECT_FALSE(w.ended);
        w.Escape();
    });
    EXPECT_EQ(backend.messages,
              (std::vector<std::string>{kTooLong, "Password Mismatched!", kTooLong}));
    EXPECT_EQ(Bytes(), before);

    OpenHttp([&](HeadlessDialog& w) {
        shorten(w, IDC_HTTP_SERVER, 11);
        w.Click(IDOK);
    });
    EXPECT_TRUE(HoldsZeroFilled(record.httpServer, std::string(59, 'h')));
}

}  // namespace
}  // namespace ostrova::ui::test
