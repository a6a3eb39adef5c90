// The About box with the program's release notes.
#pragma once

#include <string>

#include "platform/framework.h"

namespace ostrova::ui {

// The release notes: five blocks of six lines, each line ended by CR LF.
std::string BuildReleaseNotes();

class CAboutDlg : public platform::CDialog {
public:
    explicit CAboutDlg(platform::CDialog* parent = nullptr);

    std::string m_strReleaseNotes;

protected:
    void DoDataExchange(platform::CDataExchange& dx) override;
};

}  // namespace ostrova::ui
