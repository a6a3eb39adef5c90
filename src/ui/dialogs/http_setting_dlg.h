// The HTTP Setting dialog: the server pictures are uploaded to.
#pragma once

#include <string>

#include "config/record.h"
#include "platform/framework.h"

namespace ostrova::ui {

// Takes the server from the record when constructed and stores it back only on OK.
class CHttpSettingDlg : public platform::CDialog {
public:
    explicit CHttpSettingDlg(ConfigRecord& record, platform::CDialog* parent = nullptr);

    std::string m_strServer;

protected:
    void DoDataExchange(platform::CDataExchange& dx) override;
    void OnOK() override;

private:
    ConfigRecord& m_record;
};

}  // namespace ostrova::ui
