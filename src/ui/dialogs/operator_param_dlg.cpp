#include "ui/dialogs/operator_param_dlg.h"

#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::ui {

using namespace ostrova::res;
using platform::CDataExchange;

COperatorParamDlg::COperatorParamDlg(ConfigRecord& record, CustomPreset& custom,
                                     platform::CDialog* parent)
    : CDialog(OperatorParamTemplate(), parent), m_record(record), m_custom(custom) {}

void COperatorParamDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_OP_NET_APN, m_strNetApn);
    DDV_Limit(dx, m_strNetApn);
    DDX_Text(dx, IDC_OP_NET_USER, m_strNetUser);
    DDV_Limit(dx, m_strNetUser);
    DDX_Text(dx, IDC_OP_NET_PASSWORD, m_strNetPassword);
    DDV_Limit(dx, m_strNetPassword);
    DDX_Text(dx, IDC_OP_MMS_APN, m_strMmsApn);
    DDV_Limit(dx, m_strMmsApn);
    DDX_Text(dx, IDC_OP_MMS_USER, m_strMmsUser);
    DDV_Limit(dx, m_strMmsUser);
    DDX_Text(dx, IDC_OP_MMS_PASSWORD, m_strMmsPassword);
    DDV_Limit(dx, m_strMmsPassword);
    DDX_Text(dx, IDC_OP_MMS_PROXY, m_strMmsProxy);
    DDV_Limit(dx, m_strMmsProxy);
    DDX_Text(dx, IDC_OP_MMS_PORT, m_strMmsPort);
    DDV_Limit(dx, m_strMmsPort);
    DDX_Text(dx, IDC_OP_MMSC_URL, m_strMmscUrl);
    DDV_Limit(dx, m_strMmscUrl);
}

bool COperatorParamDlg::OnInitDialog() {
    CDialog::OnInitDialog();

    m_strNetApn.clear();
    m_strNetUser.clear();
    m_strNetPassword.clear();
    m_strMmsApn.clear();
    m_strMmsUser.clear();
    m_strMmsPassword.clear();
    m_strMmsProxy.clear();
    m_strMmsPort.clear();
    m_strMmscUrl.clear();

    // A field that fills its whole width (from a file) is cut to what its edit accepts; the
    // record keeps that cut whichever way the dialog closes.
    TerminateField(m_record.mmsApn);
    TerminateField(m_record.mmsUser);
    TerminateField(m_record.mmsPassword);
    TerminateField(m_record.mmscUrl);
    TerminateField(m_record.mmsProxy);
    TerminateField(m_record.mmsPort);
    TerminateField(m_record.netApn);
    TerminateField(m_record.netUser);
    TerminateField(m_record.netPassword);

    m_strNetApn = TextOf(m_record.netApn);
    m_strNetUser = TextOf(m_record.netUser);
    m_strNetPassword = TextOf(m_record.netPassword);
    m_strMmsApn = TextOf(m_record.mmsApn);
    m_strMmsUser = TextOf(m_record.mmsUser);
    m_strMmsPassword = TextOf(m_record.mmsPassword);
    m_strMmsProxy = TextOf(m_record.mmsProxy);
    m_strMmsPort = TextOf(m_record.mmsPort);
    m_strMmscUrl = TextOf(m_record.mmscUrl);

    UpdateData(false);
    return true;
}

void COperatorParamDlg::OnOK() {
    if (!UpdateData(true)) return;

    ZeroField(m_record.mmsApn);
    ZeroField(m_record.mmsUser);
    ZeroField(m_record.mmsPassword);
    ZeroField(m_record.mmscUrl);
    ZeroField(m_record.mmsProxy);
    ZeroField(m_record.mmsPort);
    ZeroField(m_record.netApn);
    ZeroField(m_record.netUser);
    ZeroField(m_record.netPassword);

    CopyText(m_record.netApn, m_strNetApn);
    CopyText(m_record.netPassword, m_strNetPassword);
    CopyText(m_record.netUser, m_strNetUser);
    CopyText(m_record.mmsApn, m_strMmsApn);
    CopyText(m_record.mmsPassword, m_strMmsPassword);
    CopyText(m_record.mmsUser, m_strMmsUser);
    CopyText(m_record.mmsProxy, m_strMmsProxy);
    CopyText(m_record.mmsPort, m_strMmsPort);
    CopyText(m_record.mmscUrl, m_strMmscUrl);

    // The country Custom keeps the user's own parameters across changes of country.
    if (m_record.countryId == 1) StoreCustomPreset(m_custom, m_record);

    EndDialog(platform::kIdOk);
}

}  // namespace ostrova::ui
