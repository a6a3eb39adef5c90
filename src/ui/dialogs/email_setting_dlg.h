// The Email Setting dialog: the SMTP account the camera sends pictures with.
#pragma once

#include <string>

#include "config/record.h"
#include "platform/framework.h"
#include "tables/mail_providers.h"

namespace ostrova::ui {

// Edits smtpAccount, smtpPassword, smtpServer, smtpPort and smtpSsl. A provider picked from the
// list, or recognised from the domain of a typed address, fills server, port and SSL; for a
// provider picked from the list a bare user name is enough and OK adds the address suffix.
class CEmailSettingDlg : public platform::CDialog {
public:
    explicit CEmailSettingDlg(ConfigRecord& record, platform::CDialog* parent = nullptr);

    int m_nProviderCount = 0;
    int m_nProvider = kNoProvider;  // row found or kept, kNoProvider for none
    std::string m_strLastAccount;   // the account text last taken as seen
    platform::CComboBox m_cbProvider;
    platform::CButton m_chkSsl;
    std::string m_strAccount;
    std::string m_strPassword;
    std::string m_strRetypePassword;
    std::string m_strServer;
    std::string m_strPort;

protected:
    void DoDataExchange(platform::CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

    void LoadFromRecord();
    void DetectProvider();
    void ApplyProvider(const MailProvider* row);
    void OnAccountSetFocus();
    void OnAccountKillFocus();
    void OnProviderChanged();

private:
    // The selected list position; a list without a selection counts as "Other".
    int SelectedPosition() const;
    // A position between "Please select..." and "Other".
    bool IsProviderEntry(int position) const;
    void ShowAccountLabel(bool providerChosen);

    ConfigRecord& m_record;
};

}  // namespace ostrova::ui
