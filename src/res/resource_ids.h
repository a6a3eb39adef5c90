// Resource identifiers: dialog templates, icon, strings, system-menu command and control ids.
// Control ids carry the numbers of their templates. Some numbers are reused across dialogs with
// other roles; the names of the secondary dialogs' controls carry the dialog's prefix.
#pragma once

#include "platform/dialog_template.h"

namespace ostrova::res {

// Templates, icon, strings, menu command.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDD_MAIN = 102;
inline constexpr int IDR_MAINFRAME = 128;
inline constexpr int IDD_EMAIL_SETTING = 129;
inline constexpr int IDD_OPERATOR_PARAM = 130;
inline constexpr int IDD_FTP_SETTING = 131;
inline constexpr int IDD_HTTP_SETTING = 132;
inline constexpr int IDM_ABOUTBOX = 16;  // system-menu command; 16 to 31 all open the About box

// Standard buttons and controls without an id.
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_STATIC = platform::kNoId;

// Main window (template 102).
inline constexpr int IDC_RADIO_INSTANT = 1000;
inline constexpr int IDC_RADIO_DAILY = 1001;
inline constexpr int IDC_RADIO_OFF = 1002;
inline constexpr int IDC_LABEL_MAXNUM = 1003;
inline constexpr int IDC_EDIT_MAXNUM = 1004;
inline constexpr int IDC_LABEL_TIME_SEP = 1005;  // the ":" between hour and minute
inline constexpr int IDC_EDIT_MINUTE = 1006;
inline constexpr int IDC_EDIT_HOUR = 1007;
inline constexpr int IDC_GROUP_SENDMODE = 1008;
inline constexpr int IDC_RADIO_MMS = 1009;
inline constexpr int IDC_RADIO_INTERNET = 1010;
inline constexpr int IDC_BTN_SENDTO_SETTING = 1011;  // opens the Email, HTTP or FTP dialog
inline constexpr int IDC_GROUP_SENDVIA = 1012;
inline constexpr int IDC_LABEL_SMSCONTROL = 1015;
inline constexpr int IDC_COMBO_SMSCONTROL = 1016;
inline constexpr int IDC_BTN_DEFAULT = 1017;
inline constexpr int IDC_LABEL_IMAGEFROM = 1018;
inline constexpr int IDC_COMBO_COUNTRY = 1019;
inline constexpr int IDC_LABEL_COUNTRY = 1020;
inline constexpr int IDC_COMBO_OPERATOR = 1021;
inline constexpr int IDC_LABEL_OPERATOR = 1022;
inline constexpr int IDC_GROUP_OPERATOR = 1023;
inline constexpr int IDC_BTN_PARAMETERS = 1024;
inline constexpr int IDC_LABEL_FILETYPE = 1025;
inline constexpr int IDC_COMBO_SENDTO = 1026;
inline constexpr int IDC_COMBO_FILETYPE = 1027;
inline constexpr int IDC_GROUP_SENDTO = 1030;
inline constexpr int IDC_EDIT_PHONE1 = 1032;
inline constexpr int IDC_EDIT_PHONE2 = 1036;
inline constexpr int IDC_GROUP_RECIPIENTS = 1039;
inline constexpr int IDC_GROUP_IMAGE = 1040;
inline constexpr int IDC_LABEL_IMAGEQUALITY = 1041;
inline constexpr int IDC_EDIT_IMAGEFROM = 1049;
inline constexpr int IDC_BTN_LOAD = 1054;
inline constexpr int IDC_CHECK_PHONE1 = 1056;
inline constexpr int IDC_CHECK_PHONE2 = 1058;
inline constexpr int IDC_EDIT_PHONE3 = 1061;
inline constexpr int IDC_CHECK_PHONE3 = 1063;
inline constexpr int IDC_EDIT_PHONE4 = 1065;
inline constexpr int IDC_CHECK_PHONE4 = 1066;
inline constexpr int IDC_CHECK_EMAIL1 = 1067;
inline constexpr int IDC_EDIT_EMAIL1 = 1068;
inline constexpr int IDC_CHECK_EMAIL2 = 1069;
inline constexpr int IDC_EDIT_EMAIL2 = 1070;
inline constexpr int IDC_CHECK_EMAIL3 = 1071;
inline constexpr int IDC_EDIT_EMAIL3 = 1072;
inline constexpr int IDC_CHECK_EMAIL4 = 1073;
inline constexpr int IDC_EDIT_EMAIL4 = 1074;
inline constexpr int IDC_GROUP_SMS = 1075;
inline constexpr int IDC_CHECK_STATUSRESPONSE = 1076;
inline constexpr int IDC_BTN_SAVE = 1077;
inline constexpr int IDC_BTN_SAVEAS = 1078;
inline constexpr int IDC_COMBO_IMAGEQUALITY = 1079;
inline constexpr int IDC_LABEL_DATETIME = 1080;

// About box (template 100).
inline constexpr int IDC_EDIT_RELEASENOTES = 1059;

// Email Setting (template 129).
inline constexpr int IDC_EMAIL_PROVIDER = 1081;
inline constexpr int IDC_EMAIL_ACCOUNT_LABEL = 1080;
inline constexpr int IDC_EMAIL_ACCOUNT = 1042;
inline constexpr int IDC_EMAIL_PASSWORD = 1044;
inline constexpr int IDC_EMAIL_RETYPE_PASSWORD = 1047;
inline constexpr int IDC_EMAIL_SERVER = 1050;
inline constexpr int IDC_EMAIL_PORT = 1052;
inline constexpr int IDC_EMAIL_SSL = 1077;

// Operator Parameter (template 130).
inline constexpr int IDC_OP_NET_APN = 1045;
inline constexpr int IDC_OP_NET_USER = 1048;
inline constexpr int IDC_OP_NET_PASSWORD = 1051;
inline constexpr int IDC_OP_MMS_APN = 1060;
inline constexpr int IDC_OP_MMS_USER = 1062;
inline constexpr int IDC_OP_MMS_PASSWORD = 1064;
inline constexpr int IDC_OP_MMSC_URL = 1053;
inline constexpr int IDC_OP_MMS_PROXY = 1055;
inline constexpr int IDC_OP_MMS_PORT = 1057;

// FTP Setting (template 131).
inline constexpr int IDC_FTP_ACCOUNT = 1063;
inline constexpr int IDC_FTP_PASSWORD = 1064;
inline constexpr int IDC_FTP_RETYPE_PASSWORD = 1065;
inline constexpr int IDC_FTP_SERVER = 1066;
inline constexpr int IDC_FTP_ACCOUNT_LABEL = 1080;

// HTTP Setting (template 132).
inline constexpr int IDC_HTTP_SERVER = 1067;

}  // namespace ostrova::res
