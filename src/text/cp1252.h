// Record texts are Windows-1252 bytes; the screen, the terminal and JSON speak UTF-8.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ostrova {

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined become the C1
// controls of the same value, as Windows maps them, so every byte shows as something.
std::string Cp1252ToUtf8(std::string_view bytes);

// The Windows-1252 byte of a code point, or nullopt when the code page has none.
std::optional<std::uint8_t> Cp1252FromCodePoint(char32_t cp);

// Appends one code point to a UTF-8 text.
void AppendUtf8(std::string& out, char32_t cp);

// Splits UTF-8 into code points; malformed sequences (overlong forms, surrogates, cut short)
// become U+FFFD, which the code page lacks.
std::vector<char32_t> DecodeUtf8(std::string_view utf8);

// UTF-8 to Windows-1252 bytes. Refuses malformed UTF-8, characters the code page lacks and
// control characters (every settings text is single-line); why says what was refused.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8, std::string& why);

}  // namespace ostrova
