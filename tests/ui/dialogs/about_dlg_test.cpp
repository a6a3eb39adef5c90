// About box: the release notes text and how the box closes.
#include "ui/dialogs/about_dlg.h"

#include <string>
#include <vector>

#include "dialog_test_support.h"
#include "res/resource_ids.h"

namespace ostrova::ui::test {
namespace {

using namespace ostrova::res;

TEST(ReleaseNotes, FiveBlocksOfSixCrLfLines) {
    const std::string notes = BuildReleaseNotes();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t eol; (eol = notes.find("\r\n", start)) != std::string::npos; start = eol + 2)
        lines.push_back(notes.substr(start, eol - start));
    ASSERT_EQ(lines.size(), 30u);
    EXPECT_EQ(start, notes.size()) << "nothing follows the last line break";
    for (const std::string& line : lines)
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a bare CR or LF: " << line;

    EXPECT_EQ(notes.substr(0, notes.find("\r\n\r\n") + 4),
              "Version: 0.1\r\nRelease: May 30 2018, 14:36:04\r\nAuthor: Ostrova+ team\r\n"
              "Notes: \r\n1. Original version, Support FTP & HTTP. Encrypt the final data "
              "before written into files\r\n\r\n");
    const char* versions[] = {"0.1", "0.2", "0.3", "0.4", "0.5"};
    const char* notesLines[] = {
        "1. Original version, Support FTP & HTTP. Encrypt the final data before written into files",
        "1. Support output both MMSCFG.BIN and wireless.cfg",
        "1. Add \"Save as\" function button ",
        "1. Add operators of Romania. ",
        "1. Edit operators of Italy. ",
    };
    for (std::size_t b = 0; b < 5; ++b) {
        EXPECT_EQ(lines[b * 6], std::string("Version: ") + versions[b]);
        EXPECT_EQ(lines[b * 6 + 1].rfind("Release: ", 0), 0u);
        EXPECT_EQ(lines[b * 6 + 2], "Author: Ostrova+ team");
        EXPECT_EQ(lines[b * 6 + 3], "Notes: ");
        EXPECT_EQ(lines[b * 6 + 4], notesLines[b]);
        EXPECT_EQ(lines[b * 6 + 5], "");
    }
    EXPECT_EQ(lines[25], "Release: Jul 26 2018, 15:46:31");
}

TEST(AboutDlg, ShowsTheNotesAndClosesWithOkOrEscape) {
    platform::headless::HeadlessBackend backend;
    for (const bool ok : {true, false}) {
        CAboutDlg about;
        backend.WhenOpened(IDD_ABOUTBOX, [&](HeadlessDialog& w) {
            EXPECT_EQ(w.Text(IDC_EDIT_RELEASENOTES), BuildReleaseNotes());
            ok ? w.Click(IDOK) : w.Escape();
        });
        EXPECT_EQ(about.DoModal(), ok ? platform::kIdOk : platform::kIdCancel);
    }
    EXPECT_TRUE(backend.problems.empty());
}

}  // namespace
}  // namespace ostrova::ui::test
