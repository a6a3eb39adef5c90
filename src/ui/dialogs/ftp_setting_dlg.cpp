#include "ui/dialogs/ftp_setting_dlg.h"

#include <string_view>

#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::ui {

using namespace ostrova::res;
using platform::CDataExchange;

namespace {
constexpr std::string_view kPasswordMismatch = "Password Mismatched!";
}  // namespace

CFtpSettingDlg::CFtpSettingDlg(ConfigRecord& record, platform::CDialog* parent)
    : CDialog(FtpSettingTemplate(), parent), m_record(record) {
    m_strAccount = TextOf(m_record.ftpAccount);
    m_strPassword = TextOf(m_record.ftpPassword);
    m_strRetypePassword = TextOf(m_record.ftpPassword);
    m_strServer = TextOf(m_record.ftpServer);
}

void CFtpSettingDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_FTP_ACCOUNT, m_strAccount);
    DDV_Limit(dx, m_strAccount);
    DDX_Text(dx, IDC_FTP_PASSWORD, m_strPassword);
    DDV_Limit(dx, m_strPassword);
    DDX_Text(dx, IDC_FTP_RETYPE_PASSWORD, m_strRetypePassword);
    DDV_Limit(dx, m_strRetypePassword);
    DDX_Text(dx, IDC_FTP_SERVER, m_strServer);
    DDV_Limit(dx, m_strServer);
}

void CFtpSettingDlg::OnOK() {
    // Check everything before the record is touched, so a refusal stores nothing.
    if (!UpdateData(true)) return;
    if (m_strPassword != m_strRetypePassword) {
        platform::AfxMessageBox(kPasswordMismatch);
        return;
    }

    ZeroField(m_record.ftpServer);
    ZeroField(m_record.ftpAccount);
    ZeroField(m_record.ftpPassword);
    CopyText(m_record.ftpServer, m_strServer);
    CopyText(m_record.ftpAccount, m_strAccount);
    CopyText(m_record.ftpPassword, m_strPassword);
    CDialog::OnOK();
}

}  // namespace ostrova::ui
