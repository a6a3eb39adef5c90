#include "text/cp1252.h"

#include <array>
#include <cstdint>
#include <cstdio>

namespace ostrova {
namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five bytes the code page leaves undefined.
constexpr std::array<char32_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

std::string CodePointName(char32_t cp) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    return buffer;
}

// The next code point of well-formed UTF-8 (no overlong forms, no surrogates), or nullopt.
std::optional<char32_t> NextCodePoint(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<std::uint8_t>(s[i]);
    int extra = 0;
    char32_t cp = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        ++i;
        return lead;
    } else if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, least = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, least = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, least = 0x10000;
    } else {
        return std::nullopt;
    }
    if (i + extra >= s.size()) return std::nullopt;
    for (int k = 1; k <= extra; ++k) {
        const auto b = static_cast<std::uint8_t>(s[i + k]);
        if ((b & 0xC0) != 0x80) return std::nullopt;
        cp = (cp << 6) | (b & 0x3F);
    }
    if (cp < least || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return std::nullopt;
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

}  // namespace

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        const auto b = static_cast<std::uint8_t>(c);
        const char32_t cp = b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0 ? kHigh[b - 0x80] : b;
        AppendUtf8(out, cp);
    }
    return out;
}

std::optional<std::uint8_t> Cp1252FromCodePoint(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<std::uint8_t>(cp);
    if (cp >= 0x80 && cp < 0xA0) {
        // The five undefined bytes map back from the C1 controls they show as.
        const auto b = static_cast<std::size_t>(cp - 0x80);
        return kHigh[b] == 0 ? std::optional<std::uint8_t>(static_cast<std::uint8_t>(cp))
                             : std::nullopt;
    }
    for (std::size_t k = 0; k < kHigh.size(); ++k) {
        if (kHigh[k] == cp) return static_cast<std::uint8_t>(0x80 + k);
    }
    return std::nullopt;
}

std::vector<char32_t> DecodeUtf8(std::string_view utf8) {
    std::vector<char32_t> out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::size_t start = i;
        const std::optional<char32_t> cp = NextCodePoint(utf8, i);
        if (cp) {
            out.push_back(*cp);
        } else {
            out.push_back(0xFFFD);
            i = start + 1;
        }
    }
    return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view utf8, std::string& why) {
    std::string out;
    std::size_t i = 0;
    while (i < utf8.size()) {
        const std::optional<char32_t> cp = NextCodePoint(utf8, i);
        if (!cp) {
            why = "is not valid UTF-8";
            return std::nullopt;
        }
        if (*cp < 0x20 || (*cp >= 0x7F && *cp < 0xA0)) {
            why = "holds a control character (" + CodePointName(*cp) + ")";
            return std::nullopt;
        }
        if (*cp <= 0xFF) {
            out += static_cast<char>(*cp);
            continue;
        }
        std::size_t k = 0;
        while (k < kHigh.size() && kHigh[k] != *cp) ++k;
        if (k == kHigh.size()) {
            std::string shown;
            AppendUtf8(shown, *cp);
            why = "holds \"" + shown + "\" (" + CodePointName(*cp) +
                  "), which Windows-1252 cannot store";
            return std::nullopt;
        }
        out += static_cast<char>(0x80 + k);
    }
    return out;
}

}  // namespace ostrova
