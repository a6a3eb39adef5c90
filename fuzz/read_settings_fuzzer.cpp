// Feeds arbitrary file bytes to one settings reader (start-up or Load) in one file form and
// checks the record against a reader written here, independently, from the reading rules:
// either the record is left byte for byte as it was, or it holds what the rules give.
// Built four times; OSTROVA_FUZZ_FORM (0 wireless.cfg, 1 MMSCFG.BIN) and OSTROVA_FUZZ_READER
// (0 start-up, 1 Load) pick the pair.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>
#include <string_view>

#include "config/codec.h"
#include "config/record.h"
#include "tables/operator_presets.h"

#ifndef OSTROVA_FUZZ_FORM
#error "OSTROVA_FUZZ_FORM must be 0 (wireless.cfg) or 1 (MMSCFG.BIN)"
#endif
#ifndef OSTROVA_FUZZ_READER
#error "OSTROVA_FUZZ_READER must be 0 (start-up) or 1 (Load)"
#endif

namespace {

using ostrova::ConfigRecord;
using Bytes = std::array<std::uint8_t, 2048>;

constexpr bool kBin = OSTROVA_FUZZ_FORM == 1;
constexpr bool kLoad = OSTROVA_FUZZ_READER == 1;
constexpr std::size_t kRecord = 2048;
constexpr std::size_t kPlain = 868;
constexpr std::size_t kLargest = 8192;

[[noreturn]] void Fail(const char* what, std::size_t at = 0) {
    std::fprintf(stderr, "settings reader fault: %s (byte %zu)\n", what, at);
    std::abort();
}

// A record no reader could produce by chance: every byte differs from its neighbours and no
// text field is terminated, so a stray write or a text read past its field shows.
Bytes Pattern() {
    Bytes b{};
    for (std::size_t i = 0; i < b.size(); ++i)
        b[i] = static_cast<std::uint8_t>(0xA5 ^ (i * 7 + i / 256));
    return b;
}

// --- The reading rules, on their own ----------------------------------------------------------

// Old country id -> current id.
constexpr std::uint8_t kRenumber[13] = {0, 1, 6, 24, 9, 10, 22, 5, 20, 3, 14, 19, 11};

bool HasPair(std::uint8_t country, std::uint8_t op) {
    for (const auto& row : ostrova::OperatorPresetTable())
        if (row.countryId == country && row.operatorId == op) return true;
    return false;
}

// Returns true and sets out when the country must be renumbered.
bool Renumbers(const Bytes& r, std::uint8_t& out) {
    const std::uint8_t c = r[8], o = r[9];
    if (c >= 13) return false;  // 13..24 current ids; 25 and above unknown, left alone
    out = kRenumber[c];
    return !HasPair(c, o) && HasPair(out, o);
}

void MigrateVersion1(Bytes& r) {
    r[0] = 2;
    r[8] = static_cast<std::uint8_t>(r[8] + 1);
    r[9] = static_cast<std::uint8_t>(r[9] + 1);
    r[16] = 50;  // maxNum, little-endian
    r[17] = 0;
}

enum class Outcome { Untouched, Loaded };
struct Expected {
    Outcome outcome = Outcome::Untouched;
    ostrova::ReadStatus status = ostrova::ReadStatus::Loaded;
    bool notice = false;
    Bytes record{};
};

Expected Reference(const std::uint8_t* data, std::size_t n, const Bytes& before) {
    using ostrova::ReadStatus;
    Expected e;
    e.record = before;
    if (n < 2) return e.status = ReadStatus::TooShort, e;
    if (n > kLargest) return e.status = ReadStatus::TooLong, e;

    // The file buffer; what lies past the file's end is zero in this tool.
    static std::array<std::uint8_t, kLargest> buffer;
    buffer.fill(0);
    std::memcpy(buffer.data(), data, n);

    if (!kBin) {
        unsigned sum = 0;
        for (std::size_t i = 0; i + 2 < n; ++i) sum += buffer[i];
        const unsigned high = (sum + 5) % 256;
        const unsigned low = 255 - high;
        if (buffer[n - 2] != high || buffer[n - 1] != low)
            return e.status = ReadStatus::ChecksumMismatch, e;
        const char* key = OSTROVA_CONFIG_KEY;
        for (std::size_t i = 0; i + 2 < n; ++i)
            buffer[i] = static_cast<std::uint8_t>(buffer[i] - key[i % 4] - (i % 256));
        std::memcpy(e.record.data(), buffer.data(), kRecord);  // version not looked at
        e.outcome = Outcome::Loaded;
        return e;
    }

    const std::uint8_t version = buffer[0];
    if (version > 2) return e.status = ReadStatus::HigherVersion, e;
    e.outcome = Outcome::Loaded;
    if (!kLoad) {
        std::memcpy(e.record.data(), buffer.data(), kRecord);
        if (version == 0) e.record[0] = 2;
        if (version == 1) MigrateVersion1(e.record);
        return e;
    }
    std::memcpy(e.record.data(), buffer.data(), kPlain);  // bytes 868.. stay as they were
    if (version == 1) {
        MigrateVersion1(e.record);
        e.notice = true;
        return e;
    }
    if (version == 0) {
        e.record[0] = 2;
        e.notice = true;
    }
    std::uint8_t renumbered = 0;
    if (Renumbers(e.record, renumbered)) {
        e.record[8] = renumbered;
        e.notice = true;
    }
    return e;
}

// --- Text read back from the record -----------------------------------------------------------

template <std::size_t N>
void CheckText(const ostrova::TextField<N>& field) {
    const std::string_view text = ostrova::TextOf(field);
    // A text is at most the width less one, even when the field holds no NUL.
    if (text.data() != field.data() || text.size() > N - 1) Fail("text runs past its field");
    if (text.size() < N - 1 && field[text.size()] != '\0') Fail("text stops short of its NUL");
    if (std::memchr(text.data(), 0, text.size()) != nullptr) Fail("text holds a NUL");
    // Touch every byte so that AddressSanitizer sees a read past the record.
    volatile unsigned sink = 0;
    for (char c : text) sink = sink + static_cast<unsigned char>(c);
}

void CheckTexts(const ConfigRecord& r) {
    for (const auto& f : r.phone) CheckText(f);
    for (const auto& f : r.email) CheckText(f);
    CheckText(r.smtpAccount);
    CheckText(r.smtpPassword);
    CheckText(r.smtpServer);
    CheckText(r.smtpPort);
    CheckText(r.mmsApn);
    CheckText(r.mmsUser);
    CheckText(r.mmsPassword);
    CheckText(r.mmscUrl);
    CheckText(r.mmsProxy);
    CheckText(r.mmsPort);
    CheckText(r.netApn);
    CheckText(r.netUser);
    CheckText(r.netPassword);
    CheckText(r.imageFromShort);
    CheckText(r.ftpAccount);
    CheckText(r.ftpPassword);
    CheckText(r.ftpServer);
    CheckText(r.httpServer);
    CheckText(r.imageFrom);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const Bytes before = Pattern();
    ConfigRecord record;
    std::memcpy(&record, before.data(), kRecord);

    const auto form = kBin ? ostrova::FileForm::Bin : ostrova::FileForm::Cfg;
    const auto reader = kLoad ? ostrova::Reader::LoadCommand : ostrova::Reader::Startup;
    const ostrova::ReadResult got =
        ostrova::ReadSettingsBytes(std::span(data, size), form, reader, record);
    const Expected want = Reference(data, size, before);

    if (got.status != want.status) Fail("status differs from the rules");
    const auto bytes = record.bytes();
    for (std::size_t i = 0; i < kRecord; ++i) {
        if (bytes[i] != want.record[i])
            Fail(want.outcome == Outcome::Untouched ? "a refused file changed the record"
                                                    : "record differs from the rules",
                 i);
    }
    const bool notice = kLoad && want.notice;
    if (got.oldVersionNotice != notice) Fail("old-version notice differs from the rules");
    CheckTexts(record);

    // A whole wireless.cfg that loads is written back byte for byte.
    if (!kBin && size == 2048 && want.outcome == Outcome::Loaded) {
        const auto again = ostrova::EncodeCfgForm(record);
        if (std::memcmp(again.data(), data, size) != 0) Fail("wireless.cfg does not round-trip");
    }
    return 0;
}
