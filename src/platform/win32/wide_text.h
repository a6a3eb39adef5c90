// Texts at the wide-character API boundary. Record bytes are Windows-1252 and map to UTF-16
// by that code page whatever the system's own; other texts (paths, messages) are UTF-8.
#pragma once

#include <string>
#include <string_view>

#include "text/utf16.h"

namespace ostrova::platform::win32 {

using ostrova::Utf8FromWide;  // lone surrogates become U+FFFD
using ostrova::WideFromUtf8;
std::wstring WideFromCp1252(std::string_view bytes);
// A message may hold UTF-8 (a path) or record bytes: UTF-8 when it is valid UTF-8.
std::wstring WideFromMessage(std::string_view text);

}  // namespace ostrova::platform::win32
