// Texts of the record are Windows-1252 bytes; the terminal and JSON speak UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace ostrova::cli {

// Windows-1252 bytes to UTF-8. The five bytes the code page leaves undefined become the C1
// controls of the same value, as Windows maps them, so every byte shows as something.
std::string Cp1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252 bytes. Refuses malformed UTF-8, characters the code page lacks and
// control characters (the settings edits are single-line); why says what was refused.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8, std::string& why);

}  // namespace ostrova::cli
