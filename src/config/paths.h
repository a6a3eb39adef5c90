// Paths and the UTF-8 of messages, the command line and the environment. A path stays in the
// system's own form (bytes on Linux, UTF-16 on Windows) until a file is opened; only its text
// for a message or a rule passes through UTF-8.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace ostrova {

// Malformed UTF-8 names no Windows file: it becomes U+FFFD there.
std::filesystem::path PathFromUtf8(std::string_view utf8);
// Never fails: a Windows name's lone surrogate shows as U+FFFD.
std::string Utf8FromPath(const std::filesystem::path& path);

}  // namespace ostrova
