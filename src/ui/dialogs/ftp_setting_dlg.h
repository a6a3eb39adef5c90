// The FTP Setting dialog: account, password and server of the FTP upload.
#pragma once

#include <string>

#include "config/record.h"
#include "platform/framework.h"

namespace ostrova::ui {

// Takes its texts from the record when constructed and stores them back only on OK.
class CFtpSettingDlg : public platform::CDialog {
public:
    explicit CFtpSettingDlg(ConfigRecord& record, platform::CDialog* parent = nullptr);

    std::string m_strAccount;
    std::string m_strPassword;
    std::string m_strRetypePassword;
    std::string m_strServer;

protected:
    void DoDataExchange(platform::CDataExchange& dx) override;
    void OnOK() override;

private:
    ConfigRecord& m_record;
};

}  // namespace ostrova::ui
