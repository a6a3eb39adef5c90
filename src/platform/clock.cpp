#include "platform/clock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace ostrova::platform {

std::optional<std::tm> ParseClock(const char* text) {
    if (text == nullptr || std::strlen(text) != 19) return std::nullopt;
    for (int i = 0; i < 19; ++i) {
        const char c = text[i];
        const char separator = i == 4 || i == 7 ? '-' : i == 10 ? ' ' : i == 13 || i == 16 ? ':' : 0;
        if (separator != 0 ? c != separator : (c < '0' || c > '9')) return std::nullopt;
    }
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text, "%4d-%2d-%2d %2d:%2d:%2d", &year, &month, &day, &hour, &minute,
                    &second) != 6)
        return std::nullopt;
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    const int days[] = {31, leap ? 29 : 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (year < 1900 || month < 1 || month > 12 || day < 1 || day > days[month - 1] || hour > 23 ||
        minute > 59 || second > 59)
        return std::nullopt;
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return t;
}

std::optional<std::tm> FixedClock() {
    return ParseClock(std::getenv(kClockVariable));
}

}  // namespace ostrova::platform
