// The main window's rules: which groups are enabled for each send mode and transport, how the
// radios, the send-to list and the settings button follow the record, and what every user
// action checks and stores.
#include <algorithm>
#include <array>

#include "config/field_rules.h"
#include "res/resource_ids.h"
#include "tables/operator_presets.h"
#include "ui/main/recipients.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::ui {

using namespace ostrova::res;

namespace {

// The three numeric edits, each with its member and its field's bound and message.
struct NumericEdit {
    int id;
    int CSettingsDlg::*member;
    const NumericRule& rule;
};

const std::array<NumericEdit, 3> kNumericEdits = {{
    {IDC_EDIT_HOUR, &CSettingsDlg::m_nHour, kReportHourRule},
    {IDC_EDIT_MINUTE, &CSettingsDlg::m_nMinute, kReportMinuteRule},
    {IDC_EDIT_MAXNUM, &CSettingsDlg::m_nMaxNum, kMaxNumRule},
}};


}  // namespace

// --- Group switches ----------------------------------------------------------------------------

void CSettingsDlg::EnableSendViaGroup(bool on) {
    for (int id : {IDC_GROUP_SENDVIA, IDC_RADIO_MMS, IDC_RADIO_INTERNET}) EnableItem(id, on);
    EnableItem(IDC_BTN_SENDTO_SETTING, on && IsItemChecked(IDC_RADIO_INTERNET));
}

void CSettingsDlg::EnableOperatorGroup(bool on) {
    for (int id : {IDC_GROUP_OPERATOR, IDC_LABEL_COUNTRY, IDC_LABEL_OPERATOR, IDC_COMBO_COUNTRY,
                   IDC_COMBO_OPERATOR})
        EnableItem(id, on);
    EnableItem(IDC_BTN_PARAMETERS, on && m_cbCountry.GetCurSel() != 0);
}

void CSettingsDlg::EnableSendToGroup(bool on) {
    EnableItem(IDC_GROUP_SENDTO, on);
    FillSendToList();
}

void CSettingsDlg::EnableRecipientGroup(bool on) {
    EnableItem(IDC_GROUP_RECIPIENTS, on);
    for (const RecipientPair& r : kRecipients) {
        EnableItem(r.box, on);
        EnableItem(r.edit, on && IsItemChecked(r.box));
    }
}

void CSettingsDlg::EnableImageGroup(bool on) {
    for (int id : {IDC_GROUP_IMAGE, IDC_LABEL_IMAGEQUALITY, IDC_LABEL_IMAGEFROM,
                   IDC_EDIT_IMAGEFROM, IDC_COMBO_IMAGEQUALITY})
        EnableItem(id, on);
}

// --- The master refresh ------------------------------------------------------------------------

void CSettingsDlg::UpdateFormState() {
    m_nHour = m_config.reportHour;
    m_nMinute = m_config.reportMinute;
    m_nMaxNum = m_config.maxNum.get();
    m_strImageFrom = std::string(TextOf(m_config.imageFromShort));

    const std::uint8_t mode = m_config.sendMode;
    if (mode == kSendInstant || mode == kSendDailyReport) {
        EnableSendViaGroup(true);
        EnableOperatorGroup(true);
        EnableSendToGroup(true);
        EnableRecipientGroup(true);
        EnableImageGroup(true);
        for (int id : {IDC_EDIT_HOUR, IDC_LABEL_TIME_SEP, IDC_EDIT_MINUTE})
            EnableItem(id, mode == kSendDailyReport);
        for (int id : {IDC_LABEL_MAXNUM, IDC_EDIT_MAXNUM}) EnableItem(id, mode == kSendInstant);
        CheckItem(IDC_RADIO_OFF, false);
        CheckItem(IDC_RADIO_INSTANT, mode == kSendInstant);
        CheckItem(IDC_RADIO_DAILY, mode == kSendDailyReport);
        ShowSendVia();
        ShowCountryOperator();
        FillSendToList();
        const std::uint16_t q = m_config.imageQuality.get();
        m_cbImageQuality.SetCurSel(q <= 100 ? 0 : q <= 1000 ? 1 : 2);
        EnableItem(IDC_COMBO_IMAGEQUALITY, m_config.sendVia != kViaMms);
    } else if (mode == kSendOff) {
        EnableSendViaGroup(false);
        EnableOperatorGroup(false);
        EnableSendToGroup(false);
        EnableRecipientGroup(false);
        EnableImageGroup(false);
        for (int id : {IDC_EDIT_HOUR, IDC_LABEL_TIME_SEP, IDC_EDIT_MINUTE, IDC_LABEL_MAXNUM,
                       IDC_EDIT_MAXNUM})
            EnableItem(id, false);
        CheckItem(IDC_RADIO_OFF, true);
        CheckItem(IDC_RADIO_INSTANT, false);
        CheckItem(IDC_RADIO_DAILY, false);
    } else {
        platform::AfxMessageBox("Invalid Parameter !");
        return;
    }
    EnableItem(IDC_BTN_PARAMETERS, m_config.countryId != kCountryAuto);
    UpdateData(false);
}

void CSettingsDlg::FillSendToList() {
    if (m_config.sendMode == kSendOff) {
        m_cbSendTo.ResetContent();
        m_cbSendTo.EnableWindow(false);
        SetItemText(IDC_BTN_SENDTO_SETTING, "");
        EnableItem(IDC_BTN_SENDTO_SETTING, false);
        return;
    }
    if (m_config.sendVia == kViaMms) {
        m_cbSendTo.ResetContent();
        m_cbSendTo.EnableWindow(true);
        m_cbSendTo.InsertString(0, "Phone");
        m_cbSendTo.InsertString(1, "Email");
        m_cbSendTo.InsertString(2, "Both");
        EnableItem(IDC_BTN_SENDTO_SETTING, false);
        SetItemText(IDC_BTN_SENDTO_SETTING, "");
        if (m_config.sendTo <= kToBoth) {
            m_cbSendTo.SetCurSel(m_config.sendTo);
        } else {
            m_config.sendTo = kToPhone;
            m_cbSendTo.SetCurSel(0);
        }
        return;
    }
    if (m_config.sendVia == kViaInternet) {
        m_cbSendTo.ResetContent();
        m_cbSendTo.EnableWindow(true);
        m_cbSendTo.InsertString(0, "Email");
        m_cbSendTo.InsertString(1, "HTTP");
        m_cbSendTo.InsertString(2, "FTP");
        EnableItem(IDC_BTN_SENDTO_SETTING, true);
        switch (m_config.sendTo) {
            case kToEmail:
                m_cbSendTo.SetCurSel(0);
                SetItemText(IDC_BTN_SENDTO_SETTING, "Email Setting...");
                break;
            case kToHttp:
                m_cbSendTo.SetCurSel(1);
                SetItemText(IDC_BTN_SENDTO_SETTING, "HTTP Setting...");
                break;
            case kToFtp:
                m_cbSendTo.SetCurSel(2);
                SetItemText(IDC_BTN_SENDTO_SETTING, "FTP Setting...");
                break;
            default:
                m_cbSendTo.SetCurSel(0);
                m_config.sendTo = kToEmail;
                SetItemText(IDC_BTN_SENDTO_SETTING, "Email Setting...");
                break;
        }
    }
    // Any other transport: the list is left as it is.
}

// --- Send mode and send via --------------------------------------------------------------------

void CSettingsDlg::OnInstant() {
    UpdateData(true);
    m_config.sendMode = kSendInstant;
    FillSendToList();
    UpdateFormState();
}

void CSettingsDlg::OnDailyReport() {
    UpdateData(true);
    m_config.sendMode = kSendDailyReport;
    FillSendToList();
    UpdateFormState();
}

void CSettingsDlg::OnOff() {
    UpdateData(true);
    m_config.sendMode = kSendOff;
    UpdateFormState();
}

void CSettingsDlg::OnMms() {
    UpdateData(true);
    m_config.sendVia = kViaMms;
    if (m_config.sendTo > kToBoth) m_config.sendTo = kToBoth;
    m_config.imageQuality.set(100);
    FillSendToList();
    FillFileTypeList();
    UpdateFormState();
}

void CSettingsDlg::OnInternet() {
    UpdateData(true);
    m_config.sendVia = kViaInternet;
    m_config.sendTo = kToEmail;
    FillSendToList();
    FillFileTypeList();
    UpdateFormState();
}

void CSettingsDlg::OnSendToChanged() {
    const int position = m_cbSendTo.GetCurSel();
    if (m_config.sendVia == kViaInternet) {
        static constexpr std::uint8_t kTargets[] = {kToEmail, kToHttp, kToFtp};
        static constexpr const char* kCaptions[] = {"Email Setting...", "HTTP Setting...",
                                                    "FTP Setting..."};
        if (position >= 0 && position <= 2) {
            m_config.sendTo = kTargets[position];
            SetItemText(IDC_BTN_SENDTO_SETTING, kCaptions[position]);
            EnableItem(IDC_BTN_SENDTO_SETTING, true);
            UpdateData(false);
        }
    } else if (m_config.sendVia == kViaMms && position >= 0 && position <= 2) {
        // With MMS the entries Phone, Email and Both are the send-to values 0, 1 and 2.
        m_config.sendTo = static_cast<std::uint8_t>(position);
    }
    FillFileTypeList();
}

void CSettingsDlg::OnDefault() {
    SetConfigDefaults(m_config);
    ShowRecipients();
    UpdateFormState();
}

// --- Numeric edits -----------------------------------------------------------------------------

void CSettingsDlg::OnHourChanged() { OnNumericChanged(IDC_EDIT_HOUR); }
void CSettingsDlg::OnMinuteChanged() { OnNumericChanged(IDC_EDIT_MINUTE); }
void CSettingsDlg::OnMaxNumChanged() { OnNumericChanged(IDC_EDIT_MAXNUM); }

void CSettingsDlg::OnNumericChanged(int edit) {
    UpdateData(true);  // a field that does not parse is reported by the exchange itself
    const NumericEdit& rule =
        *std::find_if(kNumericEdits.begin(), kNumericEdits.end(),
                      [edit](const NumericEdit& r) { return r.id == edit; });
    const int value = this->*rule.member;
    if (rule.rule.Accepts(value)) {
        switch (edit) {
            case IDC_EDIT_HOUR: m_config.reportHour = static_cast<std::uint8_t>(value); break;
            case IDC_EDIT_MINUTE: m_config.reportMinute = static_cast<std::uint8_t>(value); break;
            default: m_config.maxNum.set(static_cast<std::uint16_t>(value)); break;
        }
        return;
    }
    platform::AfxMessageBox(rule.rule.message);
    platform::CEdit field;
    Bind(field, edit);
    field.SetSel(0, -1);  // the refused text stays, selected, with the caret in view
}

// --- SMS, image ----------------------------------------------------------------------------------

void CSettingsDlg::OnSmsControlChanged() {
    const int position = m_cbSmsControl.GetCurSel();
    m_config.smsControl = static_cast<std::uint8_t>(position);
    if (position == 0) {
        m_chkStatusResponse.SetCheck(false);
        m_chkStatusResponse.EnableWindow(false);
    } else {
        m_chkStatusResponse.EnableWindow(true);
    }
}

void CSettingsDlg::OnStatusResponse() {
    const std::uint8_t on = m_chkStatusResponse.GetCheck() ? 1 : 0;
    m_config.statusResponse = on;
    m_config.statusResponse2 = on;
}

void CSettingsDlg::OnImageQualityChanged() {
    const int position = m_cbImageQuality.GetCurSel();
    m_config.imageQuality.set(position == 0 ? 100 : position == 2 ? 2000 : 200);
}

void CSettingsDlg::OnImageFromChanged() {
    UpdateData(true);
    StoreImageFrom(m_config, m_strImageFrom);
}

// --- Recipients ----------------------------------------------------------------------------------

void CSettingsDlg::OnRecipientBox(int box) {
    const RecipientPair& r = *std::find_if(kRecipients.begin(), kRecipients.end(),
                                           [box](const RecipientPair& p) { return p.box == box; });
    const bool checked = IsItemChecked(box);
    EnableItem(r.edit, checked);
    if (!checked) {
        (this->*r.member).clear();
        UpdateData(false);
    }
}

void CSettingsDlg::OnRecipientEdit(int edit) {
    UpdateData(true);
    const RecipientPair& r = *std::find_if(
        kRecipients.begin(), kRecipients.end(), [edit](const RecipientPair& p) { return p.edit == edit; });
    const std::span<char> field = r.FieldIn(m_config);
    const std::string& member = this->*r.member;
    if (!member.empty()) {
        CopyText(field, member);
    } else {
        ZeroField(field);
    }
}

}  // namespace ostrova::ui
