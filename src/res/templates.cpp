#include "res/templates.h"

#include <array>
#include <cstdint>

#include "config/field_rules.h"
#include "ostrova/version.h"
#include "res/resource_ids.h"

namespace ostrova::res {
namespace {

using platform::ControlTemplate;
using platform::DialogTemplate;
using Kind = platform::ControlKind;
using namespace platform;  // the kStyle... flags

// The rule of an edit that holds a record field: the one the command-line tool applies too.
consteval EditRule Field(std::string_view name) {
    const TextRule& rule = TextRuleOf(name);
    return {static_cast<int>(rule.maxLength), rule.keepsLast, rule.digitsOnly};
}

constexpr std::string_view kFontFace = "Times New Roman";
constexpr int kFontPoints = 10;

// What a Windows resource editor gives each kind, plus the flags the dialogs ask for.
constexpr std::uint32_t kButton = kStyleTabStop;
constexpr std::uint32_t kDefButton = kStyleDefault | kStyleTabStop;
constexpr std::uint32_t kCheck = kStyleAuto | kStyleTabStop;
constexpr std::uint32_t kRadio = kStyleAuto;
constexpr std::uint32_t kFirstRadio = kStyleAuto | kStyleGroup | kStyleTabStop;
constexpr std::uint32_t kCombo = kStyleTabStop | kStyleVScroll;
constexpr std::uint32_t kEdit = kStyleTabStop | kStyleBorder | kStyleAutoHScroll;
// Labels are taller than a line and line up with the middle of the control beside them.
constexpr std::uint32_t kLabel = kStyleGroup | kStyleCenterV;
constexpr std::uint32_t kGroupBox = kStyleNone;

// Main window. The five radios of Send Mode and Send Via form a single group: nothing between
// 1000 and 1010 starts one, so the form re-checks both sets after every radio click.
constexpr std::uint32_t kNumberEdit = kStyleTabStop | kStyleBorder;
constexpr EditRule kDigits{.digitsOnly = true};
constexpr std::uint32_t kRecipientEdit = kEdit | kStyleMultiLine;

constexpr std::array kMainControls = {
    ControlTemplate{IDC_RADIO_INSTANT, Kind::RadioButton, "Instant", {16, 17, 46, 18}, kFirstRadio},
    ControlTemplate{IDC_EDIT_MAXNUM, Kind::Edit, "", {114, 19, 26, 12}, kNumberEdit}.Taking(
        kDigits),
    ControlTemplate{IDC_RADIO_DAILY, Kind::RadioButton, "Daily Report", {16, 35, 59, 18}, kRadio},
    // Hour and minute share the "Daily Report" row, which names neither.
    ControlTemplate{IDC_EDIT_HOUR, Kind::Edit, "", {76, 38, 26, 12}, kNumberEdit, "Hour"}.Taking(
        kDigits),
    ControlTemplate{IDC_EDIT_MINUTE, Kind::Edit, "", {114, 38, 26, 12}, kNumberEdit, "Minute"}
        .Taking(kDigits),
    ControlTemplate{IDC_RADIO_OFF, Kind::RadioButton, "Off", {16, 53, 62, 18}, kRadio},
    ControlTemplate{IDC_RADIO_MMS, Kind::RadioButton, "MMS", {17, 91, 33, 18}, kRadio},
    ControlTemplate{IDC_RADIO_INTERNET, Kind::RadioButton, "Internet", {17, 109, 48, 18}, kRadio},
    ControlTemplate{
        IDC_COMBO_COUNTRY, Kind::ComboDropDown, "", {228, 19, 65, 104}, kCombo | kStyleGroup},
    ControlTemplate{IDC_COMBO_OPERATOR, Kind::ComboDropDown, "", {228, 38, 65, 89}, kCombo},
    ControlTemplate{IDC_CHECK_PHONE1, Kind::CheckBox, "Phone1", {14, 150, 35, 12}, kCheck},
    ControlTemplate{IDC_EDIT_PHONE1, Kind::Edit, "", {51, 150, 99, 12}, kRecipientEdit}.Taking(
        Field("phone")),
    ControlTemplate{IDC_CHECK_PHONE2, Kind::CheckBox, "Phone2", {161, 150, 35, 12}, kCheck},
    ControlTemplate{IDC_EDIT_PHONE2, Kind::Edit, "", {198, 150, 99, 12}, kRecipientEdit}.Taking(
        Field("phone")),
    ControlTemplate{IDC_CHECK_PHONE3, Kind::CheckBox, "Phone3", {14, 169, 35, 12}, kCheck},
    ControlTemplate{IDC_EDIT_PHONE3, Kind::Edit, "", {51, 169, 99, 12}, kRecipientEdit}.Taking(
        Field("phone")),
    ControlTemplate{IDC_CHECK_PHONE4, Kind::CheckBox, "Phone4", {161, 169, 35, 12}, kCheck},
    ControlTemplate{IDC_EDIT_PHONE4, Kind::Edit, "", {198, 169, 99, 12}, kRecipientEdit}.Taking(
        Field("phone")),
    ControlTemplate{IDC_CHECK_EMAIL1, Kind::CheckBox, "Email 1", {14, 188, 35, 12}, kCheck},
    ControlTemplate{IDC_EDIT_EMAIL1, Kind::Edit, "", {51, 188, 99, 12}, kRecipientEdit}.Taking(
        Field("email")),
    ControlTemplate{IDC_CHECK_EMAIL2, Kind::CheckBox, "Email 2", {161, 188, 35, 12}, kCheck},
    ControlTemplate{IDC_EDIT_EMAIL2, Kind::Edit, "", {198, 188, 99, 12}, kRecipientEdit}.Taking(
        Field("email")),
    ControlTemplate{IDC_CHECK_EMAIL3, Kind::CheckBox, "Email 3", {14, 207, 35, 12}, kCheck},
    ControlTemplate{IDC_EDIT_EMAIL3, Kind::Edit, "", {51, 207, 99, 12}, kRecipientEdit}.Taking(
        Field("email")),
    ControlTemplate{IDC_CHECK_EMAIL4, Kind::CheckBox, "Email 4", {161, 207, 35, 12}, kCheck},
    ControlTemplate{IDC_EDIT_EMAIL4, Kind::Edit, "", {198, 207, 99, 12}, kRecipientEdit}.Taking(
        Field("email")),
    ControlTemplate{IDC_COMBO_IMAGEQUALITY, Kind::ComboDropDown, "", {75, 249, 41, 50}, kCombo},
    ControlTemplate{IDC_EDIT_IMAGEFROM, Kind::Edit, "", {198, 249, 99, 12}, kEdit},
    ControlTemplate{IDC_COMBO_SMSCONTROL, Kind::ComboDropDown, "", {75, 293, 41, 50}, kCombo},
    ControlTemplate{
        IDC_CHECK_STATUSRESPONSE, Kind::CheckBox, "Status Response", {161, 292, 73, 16}, kCheck},
    ControlTemplate{IDC_BTN_SAVE, Kind::PushButton, "Save", {210, 326, 38, 15}, kButton},
    ControlTemplate{IDC_BTN_LOAD, Kind::PushButton, "Load ...", {63, 326, 44, 15}, kButton},
    ControlTemplate{IDC_BTN_DEFAULT, Kind::PushButton, "Default", {7, 326, 44, 15}, kButton},
    ControlTemplate{IDC_LABEL_TIME_SEP, Kind::Label, ":", {102, 36, 8, 14}, kLabel},
    ControlTemplate{IDC_GROUP_SENDMODE, Kind::GroupBox, "Send Mode", {7, 7, 143, 67}, kGroupBox},
    ControlTemplate{
        IDC_BTN_SENDTO_SETTING, Kind::PushButton, "Email Setting ...", {228, 90, 65, 13}, kButton},
    ControlTemplate{IDC_GROUP_SENDVIA, Kind::GroupBox, "Send Via", {7, 81, 143, 50}, kGroupBox},
    ControlTemplate{IDC_LABEL_SMSCONTROL, Kind::Label, "SMS Control", {19, 290, 43, 18}, kLabel},
    ControlTemplate{IDC_LABEL_COUNTRY, Kind::Label, "Country", {172, 19, 34, 11}, kLabel},
    ControlTemplate{IDC_LABEL_OPERATOR, Kind::Label, "Operator", {172, 38, 34, 11}, kLabel},
    ControlTemplate{
        IDC_GROUP_OPERATOR, Kind::GroupBox, "Operator Parameter", {162, 7, 143, 67}, kGroupBox},
    ControlTemplate{
        IDC_BTN_PARAMETERS, Kind::PushButton, "Parameters ...", {228, 55, 65, 13}, kButton},
    ControlTemplate{IDC_GROUP_SENDTO, Kind::GroupBox, "Send To", {162, 81, 143, 49}, kGroupBox},
    ControlTemplate{
        IDC_GROUP_RECIPIENTS, Kind::GroupBox, "Recipients", {7, 138, 298, 89}, kGroupBox},
    ControlTemplate{
        IDC_GROUP_IMAGE, Kind::GroupBox, "MMS/GPRS Image", {7, 234, 298, 36}, kGroupBox},
    ControlTemplate{
        IDC_LABEL_IMAGEQUALITY, Kind::Label, "Image Quality", {19, 250, 47, 11}, kLabel},
    ControlTemplate{IDC_LABEL_IMAGEFROM, Kind::Label, "Image From", {160, 246, 36, 18}, kLabel},
    ControlTemplate{IDC_GROUP_SMS, Kind::GroupBox, "SMS", {7, 279, 298, 36}, kGroupBox},
    ControlTemplate{IDC_LABEL_MAXNUM, Kind::Label, "Max Num", {76, 21, 35, 11}, kLabel},
    ControlTemplate{IDC_COMBO_SENDTO, Kind::ComboDropDown, "", {165, 91, 50, 46}, kCombo},
    ControlTemplate{IDC_COMBO_FILETYPE, Kind::ComboDropList, "", {145, 328, 59, 34}, kCombo},
    ControlTemplate{IDC_LABEL_FILETYPE, Kind::Label, "Filetype", {117, 326, 27, 15}, kLabel},
    ControlTemplate{IDC_BTN_SAVEAS, Kind::PushButton, "Save as...", {259, 326, 46, 15}, kButton},
    ControlTemplate{IDC_LABEL_DATETIME, Kind::Label, "Static", {168, 114, 125, 12}, kLabel},
};

// The window title and the About box's first line: the program and its version.
constexpr char kTitle[] = "Ostrova+  v" OSTROVA_VERSION_SHORT;

// About box.
constexpr std::array kAboutControls = {
    ControlTemplate{IDC_STATIC, Kind::Icon, "128", {11, 10, 20, 20}, kStyleNone},
    ControlTemplate{
        IDC_STATIC, Kind::Label, kTitle, {40, 10, 119, 8}, kStyleGroup | kStyleNoPrefix},
    ControlTemplate{
        IDC_STATIC, Kind::Label, "Camera settings editor", {40, 21, 119, 8}, kStyleGroup},
    ControlTemplate{IDOK, Kind::PushButton, "OK", {178, 7, 50, 14}, kDefButton | kStyleGroup},
    ControlTemplate{
        IDC_EDIT_RELEASENOTES,
        Kind::Edit,
        "",
        {7, 35, 221, 90},
        kStyleTabStop | kStyleBorder | kStyleMultiLine | kStyleReadOnly | kStyleVScroll},
};

// Email Setting.
constexpr std::array kEmailControls = {
    ControlTemplate{IDC_STATIC, Kind::Label, "Email Provider", {9, 14, 64, 12}, kLabel},
    ControlTemplate{IDC_EMAIL_PROVIDER, Kind::ComboDropDown, "", {75, 13, 133, 124}, kCombo},
    ControlTemplate{
        IDC_EMAIL_ACCOUNT_LABEL, Kind::Label, "Account ( @xxx )", {9, 33, 64, 12}, kLabel},
    ControlTemplate{IDC_EMAIL_ACCOUNT, Kind::Edit, "", {75, 33, 133, 13}, kEdit},
    ControlTemplate{IDC_STATIC, Kind::Label, "Password", {9, 50, 64, 12}, kLabel},
    ControlTemplate{IDC_EMAIL_PASSWORD, Kind::Edit, "", {75, 50, 133, 13}, kEdit | kStylePassword}
        .Taking(Field("smtpPassword")),
    ControlTemplate{IDC_STATIC, Kind::Label, "Re-Type Password", {9, 67, 64, 12}, kLabel},
    ControlTemplate{
        IDC_EMAIL_RETYPE_PASSWORD, Kind::Edit, "", {75, 67, 133, 13}, kEdit | kStylePassword}
        .Taking(Field("smtpPassword")),
    ControlTemplate{IDC_STATIC, Kind::Label, "SMTP Server", {9, 84, 45, 12}, kLabel},
    ControlTemplate{IDC_EMAIL_SERVER, Kind::Edit, "", {75, 84, 133, 13}, kEdit}.Taking(
        Field("smtpServer")),
    ControlTemplate{IDC_STATIC, Kind::Label, "SMTP Port", {9, 101, 45, 12}, kLabel},
    ControlTemplate{IDC_EMAIL_PORT, Kind::Edit, "", {75, 101, 48, 13}, kEdit}.Taking(
        Field("smtpPort")),
    ControlTemplate{IDC_EMAIL_SSL, Kind::CheckBox, "SSL", {160, 101, 38, 15}, kCheck},
    ControlTemplate{IDOK, Kind::PushButton, "OK", {36, 123, 50, 14}, kDefButton},
    ControlTemplate{IDCANCEL, Kind::PushButton, "Cancel", {125, 123, 50, 14}, kButton},
};

// Operator Parameter. Each label sits just before its edit, so it is the edit's buddy. The
// passwords are shown in clear: they are the carrier's published access data.
constexpr std::array kOperatorControls = {
    ControlTemplate{IDC_STATIC, Kind::GroupBox, "Internet", {7, 4, 173, 69}, kGroupBox},
    ControlTemplate{IDC_STATIC, Kind::Label, "APN", {11, 17, 53, 13}, kLabel},
    ControlTemplate{IDC_OP_NET_APN, Kind::Edit, "", {66, 17, 107, 13}, kEdit}.Taking(
        Field("netApn")),
    ControlTemplate{IDC_STATIC, Kind::Label, "Username", {11, 35, 53, 13}, kLabel},
    ControlTemplate{IDC_OP_NET_USER, Kind::Edit, "", {66, 35, 107, 13}, kEdit}.Taking(
        Field("netUser")),
    ControlTemplate{IDC_STATIC, Kind::Label, "Password", {11, 53, 53, 13}, kLabel},
    ControlTemplate{IDC_OP_NET_PASSWORD, Kind::Edit, "", {66, 53, 107, 13}, kEdit}.Taking(
        Field("netPassword")),
    ControlTemplate{IDC_STATIC, Kind::GroupBox, "MMS", {7, 79, 173, 124}, kGroupBox},
    ControlTemplate{IDC_STATIC, Kind::Label, "APN", {11, 93, 53, 13}, kLabel},
    ControlTemplate{IDC_OP_MMS_APN, Kind::Edit, "", {65, 93, 107, 13}, kEdit}.Taking(
        Field("mmsApn")),
    ControlTemplate{IDC_STATIC, Kind::Label, "Username", {11, 111, 53, 13}, kLabel},
    ControlTemplate{IDC_OP_MMS_USER, Kind::Edit, "", {65, 111, 107, 13}, kEdit}.Taking(
        Field("mmsUser")),
    ControlTemplate{IDC_STATIC, Kind::Label, "Password", {11, 129, 53, 13}, kLabel},
    ControlTemplate{IDC_OP_MMS_PASSWORD, Kind::Edit, "", {65, 129, 107, 13}, kEdit}.Taking(
        Field("mmsPassword")),
    ControlTemplate{IDC_STATIC, Kind::Label, "URL(MMSC)", {11, 147, 53, 13}, kLabel},
    ControlTemplate{IDC_OP_MMSC_URL, Kind::Edit, "", {65, 147, 107, 13}, kEdit}.Taking(
        Field("mmscUrl")),
    ControlTemplate{IDC_STATIC, Kind::Label, "Gateway(Proxy)", {11, 165, 53, 13}, kLabel},
    ControlTemplate{IDC_OP_MMS_PROXY, Kind::Edit, "", {65, 165, 107, 13}, kEdit}.Taking(
        Field("mmsProxy")),
    ControlTemplate{IDC_STATIC, Kind::Label, "Port", {11, 183, 53, 13}, kLabel},
    ControlTemplate{IDC_OP_MMS_PORT, Kind::Edit, "", {65, 183, 54, 13}, kEdit}.Taking(
        Field("mmsPort")),
    ControlTemplate{IDOK, Kind::PushButton, "OK", {34, 212, 50, 14}, kDefButton},
    ControlTemplate{IDCANCEL, Kind::PushButton, "Cancel", {104, 212, 50, 14}, kButton},
};

// FTP Setting.
constexpr std::array kFtpControls = {
    ControlTemplate{IDC_FTP_ACCOUNT, Kind::Edit, "", {75, 8, 133, 13}, kEdit}.Taking(
        Field("ftpAccount")),
    ControlTemplate{IDC_FTP_PASSWORD, Kind::Edit, "", {75, 27, 133, 13}, kEdit | kStylePassword}
        .Taking(Field("ftpPassword")),
    ControlTemplate{
        IDC_FTP_RETYPE_PASSWORD, Kind::Edit, "", {75, 46, 133, 13}, kEdit | kStylePassword}
        .Taking(Field("ftpPassword")),
    ControlTemplate{IDC_FTP_SERVER, Kind::Edit, "", {75, 65, 133, 13}, kEdit}.Taking(
        Field("ftpServer")),
    ControlTemplate{IDOK, Kind::PushButton, "OK", {36, 89, 50, 14}, kDefButton},
    ControlTemplate{IDCANCEL, Kind::PushButton, "Cancel", {125, 89, 50, 14}, kButton},
    ControlTemplate{IDC_FTP_ACCOUNT_LABEL, Kind::Label, "Account", {9, 8, 64, 12}, kLabel},
    ControlTemplate{IDC_STATIC, Kind::Label, "Password", {9, 27, 64, 12}, kLabel},
    ControlTemplate{IDC_STATIC, Kind::Label, "Re-Type Password", {9, 46, 64, 12}, kLabel},
    ControlTemplate{IDC_STATIC, Kind::Label, "FTP Server", {9, 65, 45, 12}, kLabel},
};

// HTTP Setting.
constexpr std::array kHttpControls = {
    ControlTemplate{IDC_HTTP_SERVER, Kind::Edit, "", {75, 11, 133, 13}, kEdit}.Taking(
        Field("httpServer")),
    ControlTemplate{IDOK, Kind::PushButton, "OK", {36, 32, 50, 14}, kDefButton},
    ControlTemplate{IDCANCEL, Kind::PushButton, "Cancel", {125, 32, 50, 14}, kButton},
    ControlTemplate{IDC_STATIC, Kind::Label, "HTTP Server", {9, 11, 45, 12}, kLabel},
};

constexpr DialogTemplate Dialog(int id, std::string_view title, int width, int height,
                                std::span<const ControlTemplate> controls) {
    return {id, title, width, height, kFontFace, kFontPoints, false, false, controls};
}

constexpr DialogTemplate kAbout = Dialog(IDD_ABOUTBOX, "About Ostrova+", 235, 132, kAboutControls);
constexpr DialogTemplate kMain = {IDD_MAIN,    kTitle, 323,  358,          kFontFace,
                                  kFontPoints, true,   true, kMainControls};
constexpr DialogTemplate kEmail =
    Dialog(IDD_EMAIL_SETTING, "Email Setting", 215, 144, kEmailControls);
constexpr DialogTemplate kOperator =
    Dialog(IDD_OPERATOR_PARAM, "Operator Parameter", 187, 234, kOperatorControls);
constexpr DialogTemplate kFtp = Dialog(IDD_FTP_SETTING, "FTP Setting", 215, 112, kFtpControls);
constexpr DialogTemplate kHttp = Dialog(IDD_HTTP_SETTING, "HTTP Setting", 215, 55, kHttpControls);

constexpr std::array kAll = {&kAbout, &kMain, &kEmail, &kOperator, &kFtp, &kHttp};

}  // namespace

const DialogTemplate& AboutTemplate() {
    return kAbout;
}
const DialogTemplate& MainTemplate() {
    return kMain;
}
const DialogTemplate& EmailSettingTemplate() {
    return kEmail;
}
const DialogTemplate& OperatorParamTemplate() {
    return kOperator;
}
const DialogTemplate& FtpSettingTemplate() {
    return kFtp;
}
const DialogTemplate& HttpSettingTemplate() {
    return kHttp;
}

const DialogTemplate* FindTemplate(int id) {
    for (const DialogTemplate* dialog : kAll) {
        if (dialog->id == id) return dialog;
    }
    return nullptr;
}

}  // namespace ostrova::res
