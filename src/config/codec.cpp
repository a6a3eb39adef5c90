#include "config/codec.h"

#include <algorithm>
#include <cassert>
#include <cerrno>
#include <cstring>

#include "tables/operator_presets.h"

namespace ostrova {
namespace {

constexpr std::size_t kCipheredBytes = kCfgFormSize - 2;

// Old country id -> current id, for files of older tools (ids 0 to 12).
constexpr std::array<std::uint8_t, 13> kCountryRenumberTable = {0, 1,  6, 24, 9,  10, 22,
                                                                5, 20, 3, 14, 19, 11};

// The cipher adds the key digit of position i mod 4 and the low byte of i; that sum repeats
// every 256 positions, so one table serves every block and lets the loop vectorise.
using OffsetTable = std::array<std::uint8_t, 256>;
const OffsetTable& CipherOffsets() {
    static const OffsetTable table = [] {
        OffsetTable t{};
        for (std::size_t i = 0; i < t.size(); ++i)
            t[i] = static_cast<std::uint8_t>(static_cast<std::uint8_t>(kConfigKey[i % 4]) + i);
        return t;
    }();
    return table;
}

// dst[i] = src[i] + sign * offset[i mod 256], block by block.
template <int Sign>
void ApplyCipher(std::span<const std::uint8_t> src, std::span<std::uint8_t> dst) {
    assert(src.size() == dst.size());
    const OffsetTable& offsets = CipherOffsets();
    for (std::size_t base = 0; base < src.size(); base += offsets.size()) {
        const std::size_t n = std::min(offsets.size(), src.size() - base);
        const std::uint8_t* in = src.data() + base;
        std::uint8_t* out = dst.data() + base;
        for (std::size_t k = 0; k < n; ++k)
            out[k] = static_cast<std::uint8_t>(in[k] + Sign * offsets[k]);
    }
}

// The reading rules of wireless.cfg: checksum over all but the last two bytes, high byte
// first; then the cipher is undone in place.
ReadResult ReadCfg(std::span<const std::uint8_t> file, ConfigRecord& out) {
    const std::size_t n = file.size();
    const std::uint16_t sum = ConfigChecksum(file.first(n - 2));
    const std::uint16_t stored = static_cast<std::uint16_t>(file[n - 2] << 8 | file[n - 1]);
    if (sum != stored) return {ReadStatus::ChecksumMismatch};

    // A file shorter than the record leaves the rest of the record at zero.
    std::array<std::uint8_t, kRecordSize> buffer{};
    const std::size_t taken = std::min(n, kRecordSize);
    std::copy_n(file.begin(), taken, buffer.begin());
    const std::size_t decoded = std::min(n - 2, kRecordSize);
    DecodeConfigBytes(std::span(buffer).first(decoded), std::span(buffer).first(decoded));
    std::memcpy(out.bytes().data(), buffer.data(), kRecordSize);
    return {ReadStatus::Loaded};
}

void MigrateVersion1(ConfigRecord& r) {
    r.version = kCurrentVersion;
    r.countryId = static_cast<std::uint8_t>(r.countryId + 1);
    r.operatorId = static_cast<std::uint8_t>(r.operatorId + 1);
    r.maxNum.set(50);
}

ReadResult ReadBin(std::span<const std::uint8_t> file, Reader reader, ConfigRecord& out) {
    const std::uint8_t version = file[0];
    if (version > kCurrentVersion) return {ReadStatus::HigherVersion};

    ReadResult result{ReadStatus::Loaded};
    if (reader == Reader::Startup) {
        // The start-up load takes up to 2048 bytes; the rest of the record becomes zero.
        out = ConfigRecord{};
        std::copy_n(file.begin(), std::min(file.size(), kRecordSize), out.bytes().begin());
        if (version == 0) out.version = kCurrentVersion;
        if (version == 1) MigrateVersion1(out);
        return result;
    }

    // The Load command replaces the plain part only; the bytes behind it stay.
    auto plain = out.bytes().first(kBinFormSize);
    std::fill(plain.begin(), plain.end(), 0);
    std::copy_n(file.begin(), std::min(file.size(), kBinFormSize), plain.begin());
    if (version == 1) {
        result.oldVersionNotice = true;
        MigrateVersion1(out);
        return result;
    }
    if (version == 0) {
        result.oldVersionNotice = true;
        out.version = kCurrentVersion;
    }
    if (const auto renumbered = NeedsCountryRenumber(out)) {
        result.oldVersionNotice = true;
        ApplyCountryRenumber(out, *renumbered);
    }
    return result;
}

}  // namespace

std::uint16_t ConfigChecksum(std::span<const std::uint8_t> bytes) {
    std::uint8_t s = 0;
    for (std::uint8_t b : bytes) s = static_cast<std::uint8_t>(s + b);
    const std::uint8_t high = static_cast<std::uint8_t>(s + 5);
    const std::uint8_t low = static_cast<std::uint8_t>(255 - high);
    return static_cast<std::uint16_t>(high << 8 | low);
}

void EncodeConfigBytes(std::span<const std::uint8_t> src, std::span<std::uint8_t> dst) {
    ApplyCipher<1>(src, dst);
}

void DecodeConfigBytes(std::span<const std::uint8_t> src, std::span<std::uint8_t> dst) {
    ApplyCipher<-1>(src, dst);
}

std::array<std::uint8_t, kCfgFormSize> EncodeCfgForm(const ConfigRecord& record) {
    std::array<std::uint8_t, kCfgFormSize> file{};
    std::copy_n(record.bytes().begin(), kCfgFormSize, file.begin());
    auto ciphered = std::span(file).first(kCipheredBytes);
    EncodeConfigBytes(ciphered, ciphered);
    const std::uint16_t sum = ConfigChecksum(ciphered);
    file[kCipheredBytes] = static_cast<std::uint8_t>(sum >> 8);
    file[kCipheredBytes + 1] = static_cast<std::uint8_t>(sum & 0xFF);
    return file;
}

std::array<std::uint8_t, kBinFormSize> EncodeBinForm(const ConfigRecord& record) {
    std::array<std::uint8_t, kBinFormSize> file{};
    std::copy_n(record.bytes().begin(), kBinFormSize, file.begin());
    return file;
}

std::vector<std::uint8_t> EncodeForm(const ConfigRecord& record, FileForm form) {
    if (form == FileForm::Cfg) {
        const auto file = EncodeCfgForm(record);
        return {file.begin(), file.end()};
    }
    const auto file = EncodeBinForm(record);
    return {file.begin(), file.end()};
}

ReadResult ReadSettingsBytes(std::span<const std::uint8_t> file, FileForm form, Reader reader,
                             ConfigRecord& record) {
    if (file.size() < kMinFileSize) return {ReadStatus::TooShort};
    if (file.size() > kMaxFileSize) return {ReadStatus::TooLong};
    // Work on a copy so that no failure can leave the record half-changed.
    ConfigRecord next = record;
    const ReadResult result =
        form == FileForm::Cfg ? ReadCfg(file, next) : ReadBin(file, reader, next);
    if (result.status == ReadStatus::Loaded) record = next;
    return result;
}

ReadStatus StatusForLength(std::uint64_t length) {
    if (length < kMinFileSize) return ReadStatus::TooShort;
    if (length > kMaxFileSize) return ReadStatus::TooLong;
    return ReadStatus::Loaded;
}

ReadResult ReadSettingsFile(const std::filesystem::path& path, FileForm form, Reader reader,
                            ConfigRecord& record) {
    const FileBytes file = ReadWholeFile(path);
    if (file.status != ReadStatus::Loaded) return {file.status};
    return ReadSettingsBytes(file.bytes, form, reader, record);
}

std::optional<std::uint8_t> NeedsCountryRenumber(const ConfigRecord& record) {
    const std::uint8_t c = record.countryId;
    const std::uint8_t o = record.operatorId;
    // Ids 13 to 24 are current ones; ids of 25 and above have no old meaning and stay.
    if (c >= kCountryRenumberTable.size()) return std::nullopt;
    const std::uint8_t c2 = kCountryRenumberTable[c];
    if (FindOperatorIndex(c, o) == kNoRow8 && FindOperatorIndex(c2, o) != kNoRow8) return c2;
    return std::nullopt;
}

void ApplyCountryRenumber(ConfigRecord& record, std::uint8_t renumberedCountry) {
    record.countryId = renumberedCountry;
}

}  // namespace ostrova
