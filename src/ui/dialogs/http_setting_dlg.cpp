#include "ui/dialogs/http_setting_dlg.h"

#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::ui {

using namespace ostrova::res;
using platform::CDataExchange;

CHttpSettingDlg::CHttpSettingDlg(ConfigRecord& record, platform::CDialog* parent)
    : CDialog(HttpSettingTemplate(), parent), m_record(record) {
    m_strServer = TextOf(m_record.httpServer);
}

void CHttpSettingDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_HTTP_SERVER, m_strServer);
    DDV_Limit(dx, m_strServer);
}

void CHttpSettingDlg::OnOK() {
    // A server longer than the edit accepts (from a file) is refused before anything is stored.
    if (!UpdateData(true)) return;
    ZeroField(m_record.httpServer);
    CopyText(m_record.httpServer, m_strServer);
    CDialog::OnOK();
}

}  // namespace ostrova::ui
