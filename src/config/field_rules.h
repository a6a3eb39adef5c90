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
    int maxValue;            // for digit fields: the largest value accepted; 0 when unbounded
};

// Some limits lie below their field's width (the FTP and HTTP servers keep 59 characters in 80
// bytes): they are the limits of the edits, not of the record.
// clang-format off
inline constexpr std::array<TextRule, 20> kTextRules = {{
    {"phone", 19, false, 0},
    {"email", 59, false, 0},
    {"imageFrom", 59, false, 0},
    {"smtpAccount", 59, false, 0},
    {"smtpPassword", 39, false, 0},
    {"smtpServer", 39, false, 0},
    {"smtpPort", 5, true, 65535},
    {"mmsApn", 39, false, 0},
    {"mmsUser", 39, false, 0},
    {"mmsPassword", 39, false, 0},
    {"mmscUrl", 79, false, 0},
    {"mmsProxy", 39, false, 0},
    {"mmsPort", 5, true, 0},
    {"netApn", 39, false, 0},
    {"netUser", 39, false, 0},
    {"netPassword", 39, false, 0},
    {"ftpAccount", 59, false, 0},
    {"ftpPassword", 39, false, 0},
    {"ftpServer", 59, false, 0},
    {"httpServer", 59, false, 0},
}};
// clang-format on

// The rule of a field by its record name; nullptr when the field has none.
const NumericRule* FindNumericRule(std::string_view field);
// Accepts "phone[2]" as well as "phone": the four recipients share one rule.
const TextRule* FindTextRule(std::string_view field);

}  // namespace ostrova
