#include "ui/dialogs/email_setting_dlg.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "config/email_rules.h"
#include "config/field_rules.h"
#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::ui {

using namespace ostrova::res;
using platform::CDataExchange;

namespace {

constexpr std::string_view kPleaseSelect = "Please select...";
constexpr std::string_view kOther = "Other";
constexpr std::string_view kUsernameLabel = "Username";
constexpr std::string_view kAddressLabel = "Account(@xxx)";

// The account edit takes any length, as it may hold a whole address; OK refuses more than the
// record holds.
constexpr std::size_t kAccountChars = TextRuleOf("smtpAccount").maxLength;

// Only this much of the text from the "@" on is looked up: a longer one matches no suffix.
constexpr std::size_t kDomainLookupChars = 38;

}  // namespace

CEmailSettingDlg::CEmailSettingDlg(ConfigRecord& record, platform::CDialog* parent)
    : CDialog(EmailSettingTemplate(), parent), m_record(record) {
    using platform::Notify;
    On(IDC_EMAIL_ACCOUNT, Notify::KillFocus, [this] { OnAccountKillFocus(); });
    On(IDC_EMAIL_PROVIDER, Notify::SelChange, [this] { OnProviderChanged(); });
    On(IDC_EMAIL_ACCOUNT, Notify::SetFocus, [this] { OnAccountSetFocus(); });
}

void CEmailSettingDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_EMAIL_PROVIDER, m_cbProvider);
    DDX_Control(dx, IDC_EMAIL_SSL, m_chkSsl);
    DDX_Text(dx, IDC_EMAIL_ACCOUNT, m_strAccount);
    DDX_Text(dx, IDC_EMAIL_PASSWORD, m_strPassword);
    DDX_Text(dx, IDC_EMAIL_RETYPE_PASSWORD, m_strRetypePassword);
    DDX_Text(dx, IDC_EMAIL_SERVER, m_strServer);
    DDX_Text(dx, IDC_EMAIL_PORT, m_strPort);
}

bool CEmailSettingDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    m_cbProvider.ResetContent();
    m_cbProvider.InsertString(0, kPleaseSelect);
    const auto rows = MailProviderTable();
    for (std::size_t i = 0; i < rows.size(); ++i) {
        m_cbProvider.InsertString(static_cast<int>(i) + 1, TextOf(rows[i].displayName));
    }
    m_cbProvider.InsertString(static_cast<int>(rows.size()) + 1, kOther);
    m_nProviderCount = m_cbProvider.GetCount();

    LoadFromRecord();
    DetectProvider();

    if (m_strAccount.empty()) {
        m_cbProvider.SetCurSel(0);
    } else if (m_nProvider == kNoProvider) {
        m_cbProvider.SetCurSel(m_nProviderCount - 1);
    } else {
        m_cbProvider.SetCurSel(m_nProvider + 1);
    }
    return true;
}

void CEmailSettingDlg::LoadFromRecord() {
    TerminateField(m_record.smtpAccount);
    TerminateField(m_record.smtpPassword);
    TerminateField(m_record.smtpServer);
    TerminateField(m_record.smtpPort);

    m_strAccount = TextOf(m_record.smtpAccount);
    m_strLastAccount = m_strAccount;
    m_strPassword = TextOf(m_record.smtpPassword);
    m_strRetypePassword = m_strPassword;
    m_strServer = TextOf(m_record.smtpServer);
    m_strPort = TextOf(m_record.smtpPort);

    // Only this dialog writes smtpSsl, with 0 or 1; any other value from a file means SSL too.
    m_chkSsl.SetCheck(m_record.smtpSsl != 0);

    UpdateData(false);
}

void CEmailSettingDlg::DetectProvider() {
    const std::size_t at = m_strAccount.find('@');
    if (at == std::string::npos || at + 1 == m_strAccount.size()) return;
    const std::string_view domain = std::string_view(m_strAccount).substr(at, kDomainLookupChars);
    m_nProvider = GetProviderIndex(FindProviderByDomain(domain));
}

void CEmailSettingDlg::ApplyProvider(const MailProvider* row) {
    m_strServer.clear();
    m_strPort.clear();
    m_chkSsl.SetCheck(false);
    m_chkSsl.EnableWindow(true);
    if (row == nullptr) return;

    m_strServer = TextOf(row->smtpServer);
    if (row->sslMode == 0) {
        m_strPort = TextOf(row->plainPort);
        m_chkSsl.EnableWindow(false);
    } else {
        m_strPort = TextOf(row->sslPort);
        m_chkSsl.SetCheck(true);
        // Mode 1 always uses SSL; mode 2 lets the user switch it off.
        if (row->sslMode == 1) m_chkSsl.EnableWindow(false);
    }
}

void CEmailSettingDlg::OnAccountSetFocus() {
    m_strLastAccount = m_strAccount;
}

void CEmailSettingDlg::OnAccountKillFocus() {
    UpdateData(true);
    if (m_strAccount == m_strLastAccount) return;

    m_strLastAccount = m_strAccount;
    const int s = SelectedPosition();
    if (m_strAccount.empty()) {
        m_cbProvider.SetCurSel(0);
        return;
    }

    const bool providerEntry = IsProviderEntry(s);
    const bool hasAt = m_strAccount.find('@') != std::string::npos;
    if (!providerEntry && !hasAt) return;

    m_nProvider = kNoProvider;
    if (providerEntry && !hasAt) {
        // A bare user name for the provider already chosen: its settings stay as they are.
        m_nProvider = s - 1;
    } else {
        DetectProvider();
        ApplyProvider(GetProvider(static_cast<std::uint16_t>(m_nProvider)));
    }

    if (m_nProvider != kNoProvider) {
        m_cbProvider.SetCurSel(m_nProvider + 1);
        ShowAccountLabel(true);
    } else {
        m_cbProvider.SetCurSel(m_nProviderCount - 1);
        ShowAccountLabel(false);
    }
    UpdateData(false);
}

void CEmailSettingDlg::OnProviderChanged() {
    UpdateData(true);
    const int s = SelectedPosition();

    m_strAccount.clear();
    m_strLastAccount.clear();
    m_strPassword.clear();
    m_strRetypePassword.clear();

    const bool providerEntry = IsProviderEntry(s);
    if (providerEntry) {
        ApplyProvider(GetProvider(static_cast<std::uint16_t>(s - 1)));
    } else {
        // Back to the provider last recognised or kept, if any.
        DetectProvider();
        ApplyProvider(GetProvider(static_cast<std::uint16_t>(m_nProvider)));
    }
    ShowAccountLabel(providerEntry);
    UpdateData(false);
}

void CEmailSettingDlg::OnOK() {
    if (!UpdateData(true)) return;
    const int s = SelectedPosition();

    if (const auto refusal = SmtpAccountRefusal(m_strAccount, s != 0))
        return platform::AfxMessageBox(*refusal);
    std::string account = m_strAccount;  // the edit keeps what was typed until OK succeeds
    if (account.find('@') == std::string::npos) {
        if (const MailProvider* row = GetProvider(static_cast<std::uint16_t>(s - 1))) {
            account += TextOf(row->addressSuffix);
        }
    }
    // A longer account would be stored cut, different from the address the user gave.
    if (account.size() > kAccountChars) {
        return platform::AfxMessageBox(platform::TooLongMessage(kAccountChars));
    }
    m_strAccount = account;
    if (m_strPassword != m_strRetypePassword)
        return platform::AfxMessageBox(msg::kPasswordMismatch);
    if (const auto refusal = SmtpServerRefusal(m_strServer))
        return platform::AfxMessageBox(*refusal);
    if (const auto refusal = SmtpPortRefusal(m_strPort)) return platform::AfxMessageBox(*refusal);

    ZeroField(m_record.smtpAccount);
    ZeroField(m_record.smtpPassword);
    ZeroField(m_record.smtpServer);
    ZeroField(m_record.smtpPort);
    CopyText(m_record.smtpAccount, m_strAccount);
    CopyText(m_record.smtpPassword, m_strPassword);
    CopyText(m_record.smtpServer, m_strServer);
    CopyText(m_record.smtpPort, m_strPort);
    m_record.smtpSsl = m_chkSsl.GetCheck() ? 1 : 0;

    EndDialog(platform::kIdOk);
}

int CEmailSettingDlg::SelectedPosition() const {
    const int s = m_cbProvider.GetCurSel();
    return s < 0 ? m_nProviderCount - 1 : s;
}

bool CEmailSettingDlg::IsProviderEntry(int position) const {
    return position != 0 && position != m_nProviderCount - 1;
}

void CEmailSettingDlg::ShowAccountLabel(bool providerChosen) {
    SetItemText(IDC_EMAIL_ACCOUNT_LABEL, providerChosen ? kUsernameLabel : kAddressLabel);
}

}  // namespace ostrova::ui
