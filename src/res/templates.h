// The program's dialog templates: one source of truth for every backend.
#pragma once

#include "platform/dialog_template.h"

namespace ostrova::res {

const platform::DialogTemplate& AboutTemplate();          // IDD_ABOUTBOX
const platform::DialogTemplate& MainTemplate();           // IDD_MAIN
const platform::DialogTemplate& EmailSettingTemplate();   // IDD_EMAIL_SETTING
const platform::DialogTemplate& OperatorParamTemplate();  // IDD_OPERATOR_PARAM
const platform::DialogTemplate& FtpSettingTemplate();     // IDD_FTP_SETTING
const platform::DialogTemplate& HttpSettingTemplate();    // IDD_HTTP_SETTING

// The template with that resource id, or nullptr.
const platform::DialogTemplate* FindTemplate(int id);

}  // namespace ostrova::res
