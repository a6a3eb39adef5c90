#include "config/paths.h"

#ifdef _WIN32
#include "text/utf16.h"
#endif

namespace ostrova {

// The standard library's own conversions are no help on Windows: a narrow string is taken in
// the system's code page, and a name that is not valid UTF-16 throws.
#ifdef _WIN32
std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return WideFromUtf8(utf8);
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return Utf8FromWide(path.native());
}
#else
std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::string(utf8);
}

std::string Utf8FromPath(const std::filesystem::path& path) {
    return path.native();
}
#endif

}  // namespace ostrova
