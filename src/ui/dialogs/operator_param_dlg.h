// The Operator Parameter dialog: the nine access-point parameters of the record.
#pragma once

#include <string>

#include "config/record.h"
#include "platform/framework.h"

namespace ostrova::ui {

// Shows the record's OperatorParams and stores them back on OK. The caller copies the chosen
// carrier's preset into the record before opening it; for the country Custom, OK also keeps the
// values in the Custom side copy.
class COperatorParamDlg : public platform::CDialog {
public:
    COperatorParamDlg(ConfigRecord& record, CustomPreset& custom,
                      platform::CDialog* parent = nullptr);

    std::string m_strNetApn;
    std::string m_strNetUser;
    std::string m_strNetPassword;
    std::string m_strMmsApn;
    std::string m_strMmsUser;
    std::string m_strMmsPassword;
    std::string m_strMmsProxy;
    std::string m_strMmsPort;
    std::string m_strMmscUrl;

protected:
    void DoDataExchange(platform::CDataExchange& dx) override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    ConfigRecord& m_record;
    CustomPreset& m_custom;
};

}  // namespace ostrova::ui
