// The limits the settings form puts on each field it edits: numeric bounds with the messages
// that refuse a value, and the longest text each field keeps. Data only: the window decides
// how it reacts (a message, a silent fall-back, a cut), the command-line tool refuses.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace ostrova {

struct NumericRule {
    std::string_view field;    // record field name
    int bound;                 // a value is accepted when it is below the bound (signed)
    std::string_view message;  // shown when a value is refused; ends with one blank

    constexpr bool Accepts(int value) const { return value < bound; }
};

inline constexpr NumericRule kReportHourRule{"reportHour", 24,
                                             "Please input a number between 0 and 23! "};
inline constexpr NumericRule kReportMinuteRule{"reportMinute", 60,
                                               "Please input a number between 0 and 59! "};
inline constexpr NumericRule kMaxNumRule{"maxNum", 10000, "Please input a number within 9999! "};

inline constexpr std::array<NumericRule, 3> kNumericRules = {kReportHourRule, kReportMinuteRule,
                                                             kMaxNumRule};

struct TextRule {
    std::string_view field;  // record field name; "phone" and "email" cover all four
    std::size_t maxLength;   // longest text kept, in bytes (Windows-1252)
    bool digitsOnly;         // the edit takes the digits 0 to 9 only
    bool keepsLast = false;  // the edit refuses a longer text whole, keeping the last one
};

// Some limits lie below their field's width (the FTP and HTTP servers keep 59 characters in 80
// bytes): they are the limits of the edits, not of the record. The forms' edits take theirs
// from here, as does the command-line tool.
// clang-format off
inline constexpr std::array<TextRule, 20> kTextRules = {{
    {"phone", 19, false, true},
    {"email", 59, false, true},
    {"imageFrom", 59, false},
    {"smtpAccount", 59, false},
    {"smtpPassword", 39, false},
    {"smtpServer", 39, false},
    {"smtpPort", 5, true},
    {"mmsApn", 39, false},
    {"mmsUser", 39, false},
    {"mmsPassword", 39, false},
    {"mmscUrl", 79, false},
    {"mmsProxy", 39, false},
    {"mmsPort", 5, true},
    {"netApn", 39, false},
    {"netUser", 39, false},
    {"netPassword", 39, false},
    {"ftpAccount", 59, false},
    {"ftpPassword", 39, false},
    {"ftpServer", 59, false},
    {"httpServer", 59, false},
}};
// clang-format on

// The rule of a field by its record name, at compile time: a name without one does not build.
consteval const TextRule& TextRuleOf(std::string_view field) {
    for (const TextRule& rule : kTextRules) {
        if (rule.field == field) return rule;
    }
    throw "no text rule for this field";
}

// The rule of a field by its record name; nullptr when the field has none.
const NumericRule* FindNumericRule(std::string_view field);
// Accepts "phone[2]" as well as "phone": the four recipients share one rule.
const TextRule* FindTextRule(std::string_view field);

}  // namespace ostrova
