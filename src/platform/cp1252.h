// Screen text (UTF-8) to record bytes (Windows-1252) and back.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrova::platform {

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined map to the C1
// controls of the same value, as Windows maps them.
std::string Cp1252ToUtf8(std::string_view bytes);

// The Windows-1252 byte of a code point, or nullopt when the code page has none.
std::optional<std::uint8_t> Cp1252FromCodePoint(char32_t cp);

// Splits UTF-8 into code points; malformed bytes become U+FFFD (never in the code page).
std::vector<char32_t> DecodeUtf8(std::string_view utf8);

}  // namespace ostrova::platform
