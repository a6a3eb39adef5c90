// The two settings file forms: wireless.cfg (ciphered, with checksum) and MMSCFG.BIN (plain).
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "config/record.h"

#ifndef OSTROVA_CONFIG_KEY
#define OSTROVA_CONFIG_KEY "7319"
#endif

namespace ostrova {

// The cipher key of wireless.cfg: four ASCII digits that must equal the camera's key.
// A build for a camera with another key sets the CMake cache option OSTROVA_CONFIG_KEY.
inline constexpr std::string_view kConfigKey = OSTROVA_CONFIG_KEY;
static_assert(kConfigKey.size() == 4);
static_assert(kConfigKey[0] >= '0' && kConfigKey[0] <= '9' && kConfigKey[1] >= '0' &&
              kConfigKey[1] <= '9' && kConfigKey[2] >= '0' && kConfigKey[2] <= '9' &&
              kConfigKey[3] >= '0' && kConfigKey[3] <= '9');

inline constexpr std::size_t kMaxFileSize = 8192;
inline constexpr std::size_t kMinFileSize = 2;
inline constexpr std::uint8_t kCurrentVersion = 2;

enum class FileForm : std::uint8_t {
    Cfg,  // wireless.cfg
    Bin,  // MMSCFG.BIN
};

// Which reader applies the rules: they differ for MMSCFG.BIN.
enum class Reader : std::uint8_t {
    Startup,      // silent, copies up to 2048 bytes, no renumbering, ignores newer files
    LoadCommand,  // copies 868 bytes of MMSCFG.BIN, renumbers old country ids, reports
};

enum class ReadStatus : std::uint8_t {
    Loaded,
    OpenError,         // the file cannot be opened for reading
    TooShort,          // below 2 bytes
    TooLong,           // above 8192 bytes
    ReadError,         // fewer bytes read than the length
    ChecksumMismatch,  // wireless.cfg form whose checksum does not agree
    HigherVersion,     // MMSCFG.BIN form of a version above 2
};

struct ReadResult {
    ReadStatus status = ReadStatus::Loaded;
    // The Load command tells the user that an old file was migrated (shown once, before the
    // form is refreshed).
    bool oldVersionNotice = false;
};

// 16-bit checksum: high byte (8-bit sum + 5), low byte its complement.
std::uint16_t ConfigChecksum(std::span<const std::uint8_t> bytes);
// Position-keyed additive cipher over a run that starts at file position 0; src and dst may
// be the same buffer and must be of equal length.
void EncodeConfigBytes(std::span<const std::uint8_t> src, std::span<std::uint8_t> dst);
void DecodeConfigBytes(std::span<const std::uint8_t> src, std::span<std::uint8_t> dst);

// The whole file of each form as written.
std::array<std::uint8_t, kCfgFormSize> EncodeCfgForm(const ConfigRecord& record);
std::array<std::uint8_t, kBinFormSize> EncodeBinForm(const ConfigRecord& record);
std::vector<std::uint8_t> EncodeForm(const ConfigRecord& record, FileForm form);

// Applies the reading rules of a form to a whole file's bytes. The record changes only when
// the result is Loaded; on every failure it is left byte for byte as it was.
ReadResult ReadSettingsBytes(std::span<const std::uint8_t> file, FileForm form, Reader reader,
                             ConfigRecord& record);

// Reads a file whole: open, length 2 to 8192, one read. bytes is empty unless status is Loaded.
struct FileBytes {
    ReadStatus status = ReadStatus::OpenError;
    std::vector<std::uint8_t> bytes;
};
FileBytes ReadWholeFile(const std::filesystem::path& path);
// What a regular file of `length` bytes is before it is read: too short, too long, or one to
// read (Loaded). The system's ReadWholeFile asks it.
ReadStatus StatusForLength(std::uint64_t length);

// ReadWholeFile followed by ReadSettingsBytes.
ReadResult ReadSettingsFile(const std::filesystem::path& path, FileForm form, Reader reader,
                            ConfigRecord& record);

// Old files may carry country ids of an earlier numbering. Returns the current id when the
// record's country must be renumbered: the old pair has no preset row and the renumbered does.
std::optional<std::uint8_t> NeedsCountryRenumber(const ConfigRecord& record);
void ApplyCountryRenumber(ConfigRecord& record, std::uint8_t renumberedCountry);

}  // namespace ostrova
