// About box: the release notes text and how the box closes.
#include "ui/dialogs/about_dlg.h"

#include <algorithm>
#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "res/resource_ids.h"

namespace ostrova::ui::test {
namespace {

TEST(AboutDlg, ShowsFiveBlocksOfSixCrLfLinesAndClosesWithOkOrEscape) {
    const std::string notes = BuildReleaseNotes();
    std::size_t crlf = 0;  // thirty lines, each ended by CR LF, and no bare CR or LF
    for (std::size_t at = 0; (at = notes.find("\r\n", at)) != std::string::npos; at += 2) ++crlf;
    EXPECT_EQ(crlf * 2, std::ranges::count(notes, '\r') + std::ranges::count(notes, '\n'));
    EXPECT_EQ(crlf, 30u);
    EXPECT_TRUE(notes.starts_with(
        "Version: 0.1\r\nRelease: May 30 2018, 14:36:04\r\nAuthor: Ostrova+ team\r\nNotes: \r\n"
        "1. Original version, Support FTP & HTTP. Encrypt the final data before written into "
        "files\r\n\r\nVersion: 0.2\r\n"));
    EXPECT_TRUE(
        notes.ends_with("Release: Jul 26 2018, 15:46:31\r\nAuthor: Ostrova+ team\r\n"
                        "Notes: \r\n1. Edit operators of Italy. \r\n\r\n"));

    platform::headless::HeadlessBackend backend;
    for (const bool ok : {true, false}) {
        CAboutDlg about;
        backend.WhenOpened(res::IDD_ABOUTBOX, [&](HeadlessDialog& w) {
            EXPECT_EQ(w.Text(res::IDC_EDIT_RELEASENOTES), notes);
            ok ? w.Click(res::IDOK) : w.Escape();
        });
        EXPECT_EQ(about.DoModal(), ok ? platform::kIdOk : platform::kIdCancel);
    }
    EXPECT_TRUE(backend.problems.empty());
}

}  // namespace
}  // namespace ostrova::ui::test
