// The main window's form: its members, the exchange, initialisation and the routines that move
// values between the record and the controls.
#include "ui/main/settings_dlg.h"

#include "ui/main/recipients.h"

#include <array>
#include <cstdlib>
#include <ctime>

#include "config/save.h"
#include "res/resource_ids.h"
#include "res/templates.h"
#include "tables/operator_presets.h"

namespace ostrova::ui {

using namespace ostrova::res;
using platform::CDataExchange;
using platform::Notify;

namespace {

constexpr int kClockTimer = 1;
constexpr int kClockPeriodMs = 1000;

constexpr const char* kImageQualities[] = {"Normal", "High", "Original"};
constexpr const char* kSmsChoices[] = {"OFF", "ON"};

// The combo position that shows an image quality (unsigned 16-bit comparison).
int ImageQualityPosition(std::uint16_t q) {
    if (q <= 100) return 0;
    if (q <= 1000) return 1;
    return 2;
}

}  // namespace

CSettingsDlg::CSettingsDlg(ConfigRecord& record, CustomPreset& customPreset)
    : CDialog(MainTemplate()), m_config(record), m_customPreset(customPreset) {
    On(IDC_RADIO_INSTANT, Notify::Clicked, [this] { OnInstant(); });
    On(IDC_RADIO_DAILY, Notify::Clicked, [this] { OnDailyReport(); });
    On(IDC_RADIO_OFF, Notify::Clicked, [this] { OnOff(); });
    On(IDC_RADIO_MMS, Notify::Clicked, [this] { OnMms(); });
    On(IDC_RADIO_INTERNET, Notify::Clicked, [this] { OnInternet(); });
    On(IDC_BTN_DEFAULT, Notify::Clicked, [this] { OnDefault(); });
    On(IDC_EDIT_HOUR, Notify::Changed, [this] { OnHourChanged(); });
    On(IDC_EDIT_MINUTE, Notify::Changed, [this] { OnMinuteChanged(); });
    On(IDC_EDIT_MAXNUM, Notify::Changed, [this] { OnMaxNumChanged(); });
    On(IDC_EDIT_IMAGEFROM, Notify::Changed, [this] { OnImageFromChanged(); });
    On(IDC_COMBO_IMAGEQUALITY, Notify::SelChange, [this] { OnImageQualityChanged(); });
    On(IDC_COMBO_SMSCONTROL, Notify::SelChange, [this] { OnSmsControlChanged(); });
    On(IDC_COMBO_SENDTO, Notify::SelChange, [this] { OnSendToChanged(); });
    On(IDC_CHECK_STATUSRESPONSE, Notify::Clicked, [this] { OnStatusResponse(); });
    for (int box : {IDC_CHECK_PHONE1, IDC_CHECK_PHONE2, IDC_CHECK_PHONE3, IDC_CHECK_PHONE4,
                    IDC_CHECK_EMAIL1, IDC_CHECK_EMAIL2, IDC_CHECK_EMAIL3, IDC_CHECK_EMAIL4})
        On(box, Notify::Clicked, [this, box] { OnRecipientBox(box); });
    for (int edit : {IDC_EDIT_PHONE1, IDC_EDIT_PHONE2, IDC_EDIT_PHONE3, IDC_EDIT_PHONE4,
                     IDC_EDIT_EMAIL1, IDC_EDIT_EMAIL2, IDC_EDIT_EMAIL3, IDC_EDIT_EMAIL4})
        On(edit, Notify::Changed, [this, edit] { OnRecipientEdit(edit); });
    On(IDC_COMBO_COUNTRY, Notify::SelChange, [this] { OnCountryChanged(); });
    On(IDC_COMBO_OPERATOR, Notify::SelChange, [this] { OnOperatorChanged(); });
    On(IDC_BTN_PARAMETERS, Notify::Clicked, [this] { OnParameters(); });
    On(IDC_BTN_SENDTO_SETTING, Notify::Clicked, [this] { OnSendToSettings(); });
    On(IDC_BTN_LOAD, Notify::Clicked, [this] { OnLoad(); });
    On(IDC_BTN_SAVE, Notify::Clicked, [this] { OnSave(); });
    On(IDC_BTN_SAVEAS, Notify::Clicked, [this] { OnSaveAs(); });
}

CSettingsDlg::~CSettingsDlg() = default;

void CSettingsDlg::DoDataExchange(CDataExchange& dx) {
    CDialog::DoDataExchange(dx);
    platform::DDX_Control(dx, IDC_COMBO_FILETYPE, m_cbFileType);
    platform::DDX_Control(dx, IDC_COMBO_SENDTO, m_cbSendTo);
    platform::DDX_Control(dx, IDC_COMBO_IMAGEQUALITY, m_cbImageQuality);
    platform::DDX_Control(dx, IDC_CHECK_STATUSRESPONSE, m_chkStatusResponse);
    platform::DDX_Control(dx, IDC_COMBO_SMSCONTROL, m_cbSmsControl);
    platform::DDX_Control(dx, IDC_COMBO_OPERATOR, m_cbOperator);
    platform::DDX_Control(dx, IDC_COMBO_COUNTRY, m_cbCountry);
    platform::DDX_Text(dx, IDC_EDIT_HOUR, m_nHour);
    platform::DDX_Text(dx, IDC_EDIT_MINUTE, m_nMinute);
    platform::DDX_Text(dx, IDC_EDIT_IMAGEFROM, m_strImageFrom);
    platform::DDX_Text(dx, IDC_EDIT_PHONE1, m_strPhone1);
    platform::DDX_Text(dx, IDC_EDIT_PHONE2, m_strPhone2);
    platform::DDX_Text(dx, IDC_EDIT_PHONE3, m_strPhone3);
    platform::DDX_Text(dx, IDC_EDIT_PHONE4, m_strPhone4);
    platform::DDX_Text(dx, IDC_EDIT_EMAIL1, m_strEmail1);
    platform::DDX_Text(dx, IDC_EDIT_EMAIL2, m_strEmail2);
    platform::DDX_Text(dx, IDC_EDIT_EMAIL3, m_strEmail3);
    platform::DDX_Text(dx, IDC_EDIT_EMAIL4, m_strEmail4);
    platform::DDX_Text(dx, IDC_EDIT_MAXNUM, m_nMaxNum);
    platform::DDX_Text(dx, IDC_LABEL_DATETIME, m_strDateTime);
}

std::string CSettingsDlg::FormatDateTime(const std::tm& t) {
    std::array<char, 64> buffer{};
    const std::size_t n = std::strftime(buffer.data(), buffer.size(), "%d-%m-%Y %H:%M:%S", &t);
    return std::string(buffer.data(), n);
}

std::tm CSettingsDlg::Now() {
    if (const char* fixed = std::getenv("OSTROVA_CLOCK"); fixed != nullptr)
        if (const auto t = ParseSaveTime(fixed)) return *t;
    return services().LocalTime();
}

bool CSettingsDlg::OnInitDialog() {
    // The clock starts with the window, before the form is filled.
    SetTimer(kClockTimer, kClockPeriodMs);
    CDialog::OnInitDialog();        // 1. the controls exist, are bound, and get a first push
    FrameSetUp();                   // 2.
    SetConfigDefaults(m_config);    // 3.
    m_nHour = m_config.reportHour;  // 4.
    m_nMinute = m_config.reportMinute;
    m_nMaxNum = m_config.maxNum.get();
    UpdateData(false);
    ShowSendVia();                                  // 5.
    for (int id = 0; id <= kLastCountryId; ++id) {  // 6.
        m_cbCountry.InsertString(id, GetCountryName(static_cast<std::uint8_t>(id)).value_or(""));
    }
    m_cbCountry.SetCurSel(0);
    FillOperatorList();
    m_cbOperator.SetCurSel(0);
    ResetCustomPreset(m_customPreset, m_config);                                       // 7.
    for (int i = 0; i < 3; ++i) m_cbImageQuality.InsertString(i, kImageQualities[i]);  // 8.
    m_cbImageQuality.SetCurSel(ImageQualityPosition(m_config.imageQuality.get()));
    for (int i = 0; i < 2; ++i) m_cbSmsControl.InsertString(i, kSmsChoices[i]);  // 9.
    ShowSmsControl();
    FillSendToList();  // 10.
    UpdateFormState();
    m_cbFileType.ResetContent();  // 11.
    m_cbFileType.InsertString(0, "MMSCFG.BIN");
    m_cbFileType.InsertString(1, "wireless.cfg");
    m_cbFileType.SetCurSel(1);
    m_cbFileType.EnableWindow(false);
    SetItemFont(IDC_LABEL_DATETIME, platform::FontSpec{"Arial", 20, 700, true});  // 12.
    m_strDateTime = FormatDateTime(Now());                                        // 13.
    UpdateData(false);
    LoadStartupSettings();  // 14.
    return true;            // 15. the platform places the default focus
}

void CSettingsDlg::OnTimer(int) {
    m_strDateTime = FormatDateTime(Now());
    UpdateData(false);
}

void CSettingsDlg::ShowSendVia() {
    switch (m_config.sendVia) {
        case kViaMms:
            CheckItem(IDC_RADIO_MMS, true);
            CheckItem(IDC_RADIO_INTERNET, false);
            EnableItem(IDC_BTN_SENDTO_SETTING, false);
            break;
        case kViaInternet:
            CheckItem(IDC_RADIO_MMS, false);
            CheckItem(IDC_RADIO_INTERNET, true);
            EnableItem(IDC_BTN_SENDTO_SETTING, true);
            break;
        default:
            platform::AfxMessageBox("Invalid Send Via!");
            break;
    }
}

void CSettingsDlg::ShowRecipients() {
    for (const RecipientPair& r : kRecipients) {
        (this->*r.member).clear();
        TerminateField(r.FieldIn(m_config));
    }
    for (const RecipientPair& r : kRecipients) {
        this->*r.member = std::string(TextOf(r.FieldIn(m_config)));
    }
    for (const RecipientPair& r : kRecipients) CheckItem(r.box, !(this->*r.member).empty());
}

void CSettingsDlg::StoreRecipients() {
    UpdateData(true);
    for (const RecipientPair& r : kRecipients) CopyText(r.FieldIn(m_config), this->*r.member);
    for (const RecipientPair& r : kRecipients) {
        if ((this->*r.member).empty()) ZeroField(r.FieldIn(m_config));
    }
}

void CSettingsDlg::ShowSmsControl() {
    if (m_config.smsControl != 0) {
        m_cbSmsControl.SetCurSel(1);
        m_chkStatusResponse.SetCheck(m_config.statusResponse != 0);
        m_chkStatusResponse.EnableWindow(true);
    } else {
        m_cbSmsControl.SetCurSel(0);
        m_chkStatusResponse.SetCheck(false);
        m_chkStatusResponse.EnableWindow(false);
    }
}

void CSettingsDlg::StoreSmsControl() {
    UpdateData(true);
    switch (m_cbSmsControl.GetCurSel()) {
        case 0:
            m_config.smsControl = 0;
            m_config.statusResponse = 0;
            m_config.statusResponse2 = 0;
            break;
        case 1: {
            m_config.smsControl = 1;
            const std::uint8_t on = m_chkStatusResponse.GetCheck() ? 1 : 0;
            m_config.statusResponse = on;
            m_config.statusResponse2 = on;
            break;
        }
        default:
            break;  // no selection: the record stays as it is
    }
}

void CSettingsDlg::FillFileTypeList() {
    const bool cfgOnly = m_config.sendVia == kViaInternet &&
                         (m_config.sendTo == kToHttp || m_config.sendTo == kToFtp);
    if (cfgOnly) {
        if (m_cbFileType.GetCount() == 2) {
            m_cbFileType.ResetContent();
            m_cbFileType.InsertString(0, "wireless.cfg");
            m_cbFileType.SetCurSel(0);
        }
    } else if (m_cbFileType.GetCount() == 1) {
        m_cbFileType.ResetContent();
        m_cbFileType.InsertString(0, "MMSCFG.BIN");
        m_cbFileType.InsertString(1, "wireless.cfg");
        m_cbFileType.SetCurSel(0);
    }
}

// --- Country and operator lists ----------------------------------------------------------------

std::uint8_t CSettingsDlg::CountryPosition() const {
    // A list without a selection counts as position 0xFF, which matches no row.
    return static_cast<std::uint8_t>(m_cbCountry.GetCurSel());
}

void CSettingsDlg::FillOperatorList() {
    const std::uint8_t country = CountryPosition();
    m_cbOperator.ResetContent();
    for (int n = 0; n < 256; ++n) {
        const auto name = GetOperatorName(country, static_cast<std::uint8_t>(n));
        if (!name) break;
        m_cbOperator.InsertString(n, *name);
    }
}

void CSettingsDlg::OnCountryChanged() {
    UpdateData(true);
    FillOperatorList();
    m_cbOperator.SetCurSel(0);
    const std::uint8_t country = CountryPosition();
    m_config.operatorId =
        GetOperatorId(country, static_cast<std::uint8_t>(m_cbOperator.GetCurSel()));
    EnableItem(IDC_BTN_PARAMETERS, country != 0);
    m_config.countryId = country;
    if (m_config.countryId == kCountryCustom) RestoreCustomPreset(m_customPreset, m_config);
    UpdateData(false);
}

void CSettingsDlg::OnOperatorChanged() {
    m_config.operatorId =
        GetOperatorId(CountryPosition(), static_cast<std::uint8_t>(m_cbOperator.GetCurSel()));
}

void CSettingsDlg::ShowCountryOperator() {
    m_cbCountry.SetCurSel(m_config.countryId);
    FillOperatorList();
    const std::uint8_t position = FindOperatorIndex(m_config.countryId, m_config.operatorId);
    m_cbOperator.SetCurSel(position == kNoRow8 ? -1 : position);
    EnableItem(IDC_BTN_PARAMETERS, m_cbCountry.GetCurSel() != 0);
}

}  // namespace ostrova::ui
