// The eight recipient pairs of the main window: box, edit, member and record field.
#pragma once

#include <array>
#include <span>
#include <string>

#include "config/record.h"
#include "res/resource_ids.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::ui {

struct RecipientPair {
    int box;
    int edit;
    std::string CSettingsDlg::*member;
    bool phone;  // a phone number, else an e-mail address
    int index;   // 0 to 3

    std::span<char> FieldIn(ConfigRecord& r) const {
        if (phone) return r.phone[static_cast<std::size_t>(index)];
        return r.email[static_cast<std::size_t>(index)];
    }
};

inline constexpr std::array<RecipientPair, 8> kRecipients = {{
    {res::IDC_CHECK_PHONE1, res::IDC_EDIT_PHONE1, &CSettingsDlg::m_strPhone1, true, 0},
    {res::IDC_CHECK_PHONE2, res::IDC_EDIT_PHONE2, &CSettingsDlg::m_strPhone2, true, 1},
    {res::IDC_CHECK_PHONE3, res::IDC_EDIT_PHONE3, &CSettingsDlg::m_strPhone3, true, 2},
    {res::IDC_CHECK_PHONE4, res::IDC_EDIT_PHONE4, &CSettingsDlg::m_strPhone4, true, 3},
    {res::IDC_CHECK_EMAIL1, res::IDC_EDIT_EMAIL1, &CSettingsDlg::m_strEmail1, false, 0},
    {res::IDC_CHECK_EMAIL2, res::IDC_EDIT_EMAIL2, &CSettingsDlg::m_strEmail2, false, 1},
    {res::IDC_CHECK_EMAIL3, res::IDC_EDIT_EMAIL3, &CSettingsDlg::m_strEmail3, false, 2},
    {res::IDC_CHECK_EMAIL4, res::IDC_EDIT_EMAIL4, &CSettingsDlg::m_strEmail4, false, 3},
}};

}  // namespace ostrova::ui
