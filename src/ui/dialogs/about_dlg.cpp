#include "ui/dialogs/about_dlg.h"

#include <array>
#include <string_view>

#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::ui {

namespace {

struct Release {
    std::string_view version;
    std::string_view date;
    std::string_view note;
};

constexpr std::string_view kAuthor = "Ostrova+ team";

constexpr std::array kReleases = {
    Release{"0.1", "May 30 2018, 14:36:04",
            "Original version, Support FTP & HTTP. Encrypt the final data before written into "
            "files"},
    Release{"0.2", "Jun 1 2018, 14:35:04", "Support output both MMSCFG.BIN and wireless.cfg"},
    Release{"0.3", "Jun 12 2018, 21:47:03", "Add \"Save as\" function button "},
    Release{"0.4", "Jun 20 2018, 10:11:03", "Add operators of Romania. "},
    Release{"0.5", "Jul 26 2018, 15:46:31", "Edit operators of Italy. "},
};

}  // namespace

std::string BuildReleaseNotes() {
    constexpr std::string_view kEol = "\r\n";
    std::string notes;
    for (const Release& r : kReleases) {
        notes.append("Version: ").append(r.version).append(kEol);
        notes.append("Release: ").append(r.date).append(kEol);
        notes.append("Author: ").append(kAuthor).append(kEol);
        notes.append("Notes: ").append(kEol);
        notes.append("1. ").append(r.note).append(kEol);
        notes.append(kEol);
    }
    return notes;
}

CAboutDlg::CAboutDlg(platform::CDialog* parent)
    : CDialog(res::AboutTemplate(), parent), m_strReleaseNotes(BuildReleaseNotes()) {}

void CAboutDlg::DoDataExchange(platform::CDataExchange& dx) {
    DDX_Text(dx, res::IDC_EDIT_RELEASENOTES, m_strReleaseNotes);
}

}  // namespace ostrova::ui
