// Built for Windows only, where wchar_t is a UTF-16 code unit.
#include "text/utf16.h"

#include "text/cp1252.h"

namespace ostrova {
namespace {

bool IsHigh(char32_t unit) {
    return unit >= 0xD800 && unit < 0xDC00;
}
bool IsLow(char32_t unit) {
    return unit >= 0xDC00 && unit < 0xE000;
}

}  // namespace

std::string Utf8FromWide(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = static_cast<char16_t>(wide[i]);
        if (IsHigh(cp) && i + 1 < wide.size() && IsLow(static_cast<char16_t>(wide[i + 1]))) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char16_t>(wide[++i]) - 0xDC00);
        } else if (IsHigh(cp) || IsLow(cp)) {
            cp = 0xFFFD;
        }
        AppendUtf8(utf8, cp);
    }
    return utf8;
}

std::wstring WideFromUtf8(std::string_view utf8) {
    std::wstring wide;
    wide.reserve(utf8.size());
    for (char32_t cp : DecodeUtf8(utf8)) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            wide += static_cast<wchar_t>(0xD800 + (cp >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (cp & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(cp);
        }
    }
    return wide;
}

bool IsWellFormedUtf16(std::wstring_view wide) {
    for (std::size_t i = 0; i < wide.size(); ++i) {
        const char32_t unit = static_cast<char16_t>(wide[i]);
        if (IsLow(unit)) return false;
        if (!IsHigh(unit)) continue;
        if (i + 1 == wide.size() || !IsLow(static_cast<char16_t>(wide[i + 1]))) return false;
        ++i;
    }
    return true;
}

}  // namespace ostrova
