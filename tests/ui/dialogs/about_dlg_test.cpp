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
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t eol; (eol = notes.find("\r\n", start)) != std::string::npos; start = eol + 2)
        lines.push_back(notes.substr(start, eol - start));
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(start, notes.size()) << "nothing follows the last line break";
    EXPECT_EQ(std::ranges::count(notes, '\r') + std::ranges::count(notes, '\n'), 60)
        << "no bare CR or LF";
    EXPECT_EQ(notes.substr(0, notes.find("\r\n\r\n") + 4),
              "Version: 0.1\r\nRelease: May 30 2018, 14:36:04\r\nAuthor: Ostrova+ team\r\n"
              "Notes: \r\n1. Original version, Support FTP & HTTP. Encrypt the final data "
              "before written into files\r\n\r\n");
    for (std::size_t b = 0; b < 5; ++b)
        EXPECT_EQ(lines[b * 6] + lines[b * 6 + 3] + lines[b * 6 + 5],
                  "Version: 0." + std::to_string(b + 1) + "Notes: ");
    EXPECT_EQ(lines[25] + lines[28],
              "Release: Jul 26 2018, 15:46:31"
              "1. Edit operators of Italy. ");

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
