// The texts the file commands show; every message exactly as the user sees it.
#pragma once

#include <string_view>

#include "config/codec.h"

namespace ostrova::msg {

inline constexpr std::string_view kFileOpenError = "File Open Error!";
inline constexpr std::string_view kFileError1 = "File Error1!";
inline constexpr std::string_view kFileError2 = "File Error2!";
inline constexpr std::string_view kReadFileError = "Read File Error!";
inline constexpr std::string_view kFileChecksumError = "File Checksum Error!";
inline constexpr std::string_view kHigherVersion = "File Is Create by Higher Version!";
inline constexpr std::string_view kOldVersion =
    "file is created by an old version tool, it will be translated to new version "
    "automatically! ";

// The Load command's message for a read that did not load; empty for Loaded.
constexpr std::string_view LoadFailureMessage(ReadStatus status) {
    switch (status) {
        case ReadStatus::Loaded: return {};
        case ReadStatus::OpenError: return kFileOpenError;
        case ReadStatus::TooShort: return kFileError1;
        case ReadStatus::TooLong: return kFileError2;
        case ReadStatus::ReadError: return kReadFileError;
        // The camera would silently ignore such a file; the user must not believe it loaded.
        case ReadStatus::ChecksumMismatch: return kFileChecksumError;
        case ReadStatus::HigherVersion: return kHigherVersion;
    }
    return {};
}

}  // namespace ostrova::msg
