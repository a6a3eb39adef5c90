#include "platform/win32/wide_text.h"

#include "platform/cp1252.h"

namespace ostrova::platform::win32 {

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

std::string Utf8FromWide(std::wstring_view wide) {
    std::string utf8;
    utf8.reserve(wide.size());
    for (std::size_t i = 0; i < wide.size(); ++i) {
        char32_t cp = static_cast<char16_t>(wide[i]);
        if (cp >= 0xD800 && cp < 0xDC00 && i + 1 < wide.size() &&
            static_cast<char16_t>(wide[i + 1]) >= 0xDC00 &&
            static_cast<char16_t>(wide[i + 1]) < 0xE000) {
            cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<char16_t>(wide[++i]) - 0xDC00);
        } else if (cp >= 0xD800 && cp < 0xE000) {
            cp = 0xFFFD;
        }
        if (cp < 0x80) {
            utf8 += static_cast<char>(cp);
        } else if (cp < 0x800) {
            utf8 += static_cast<char>(0xC0 | (cp >> 6));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            utf8 += static_cast<char>(0xE0 | (cp >> 12));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            utf8 += static_cast<char>(0xF0 | (cp >> 18));
            utf8 += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            utf8 += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            utf8 += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    return utf8;
}

std::wstring WideFromCp1252(std::string_view bytes) {
    return WideFromUtf8(Cp1252ToUtf8(bytes));
}

std::wstring WideFromMessage(std::string_view text) {
    for (char32_t cp : DecodeUtf8(text)) {
        if (cp == 0xFFFD) return WideFromCp1252(text);
    }
    return WideFromUtf8(text);
}

}  // namespace ostrova::platform::win32
