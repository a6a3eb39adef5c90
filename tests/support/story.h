// One story of choices on the main window, told by the Linux program's driver and by the
// Windows program's: with the clock fixed, both programs must save the same bytes.
#pragma once

#include "res/resource_ids.h"

namespace ostrova::story {

enum class Act {
    Click,  // a click on the check box, radio button or push button
    Type,   // the edit's text selected and the text typed over it, key by key
    Pick,   // the combo box's list stepped through with the Down key up to the entry
};
struct Step {
    Act act;
    int id;
    const char* text;  // UTF-8: what is typed, or the entry the list stops at
};

// OSTROVA_CLOCK for both programs.
inline constexpr const char* kClock = "2026-12-07 09:41:27";

inline constexpr Step kSteps[] = {
    {Act::Click, res::IDC_RADIO_DAILY, ""},
    {Act::Type, res::IDC_EDIT_HOUR, "7"},
    {Act::Type, res::IDC_EDIT_MINUTE, "45"},
    {Act::Click, res::IDC_RADIO_INTERNET, ""},
    {Act::Pick, res::IDC_COMBO_SENDTO, "FTP"},
    {Act::Pick, res::IDC_COMBO_COUNTRY, "Sweden"},
    {Act::Pick, res::IDC_COMBO_OPERATOR, "Tele2"},
    {Act::Click, res::IDC_CHECK_PHONE1, ""},
    {Act::Type, res::IDC_EDIT_PHONE1, "4670123456"},
    {Act::Click, res::IDC_CHECK_EMAIL2, ""},
    {Act::Type, res::IDC_EDIT_EMAIL2, "anna.b@example.org"},
    {Act::Pick, res::IDC_COMBO_IMAGEQUALITY, "High"},
    {Act::Type, res::IDC_EDIT_IMAGEFROM, "Caf\u00e9 \u20ac 1"},
    {Act::Pick, res::IDC_COMBO_SMSCONTROL, "ON"},
    {Act::Click, res::IDC_CHECK_STATUSRESPONSE, ""},
};

}  // namespace ostrova::story
