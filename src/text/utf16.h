// Windows' wide-character text (UTF-16) and the UTF-8 of the rest of the program: paths in
// messages, the command line, the environment.
#pragma once

#ifdef _WIN32
#include <string>
#include <string_view>

namespace ostrova {

// A lone surrogate, which a Windows file name may hold, becomes U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);
// Malformed UTF-8 becomes U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
// Every surrogate is paired: the text means the same in UTF-8.
bool IsWellFormedUtf16(std::wstring_view wide);

}  // namespace ostrova
#endif
