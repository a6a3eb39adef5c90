#include "config/codec.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/file_bytes.h"
#include "tables/operator_presets.h"

namespace ostrova {
namespace {

using namespace ostrova::testing;
using S = ReadStatus;

ConfigRecord Sentinel() {
    ConfigRecord r{};
    std::memset(&r, 0xEE, sizeof r);
    return r;
}
// A plain file of n bytes with the given version, country and operator (and maxNum when set).
Bytes Bin(std::uint8_t version, std::uint8_t country, std::uint8_t op, std::size_t n = 868,
          int maxNum = -1) {
    Bytes b = Pattern(n, 5);
    b[0] = version;
    if (n > 9) b[8] = country, b[9] = op;
    if (maxNum >= 0) b[16] = static_cast<std::uint8_t>(maxNum & 0xFF), b[17] = maxNum >> 8;
    return b;
}
Bytes Resized(Bytes b, std::size_t n) {
    b.resize(n, 0);
    return b;
}
// The Load command replaces bytes 0..867 of the record and keeps the rest.
Bytes OverSentinel(const Bytes& plain) {
    Bytes r = Of(Sentinel()), head = Resized(plain, 868);
    std::copy(head.begin(), head.end(), r.begin());
    return r;
}
// A wireless.cfg of n bytes and the record the readers make of it: the first 2048 bytes,
// deciphered except the checksum, zero behind a short file.
std::pair<Bytes, Bytes> Cfg(std::size_t n) {
    const Bytes plain = Pattern(n - 2, 11);
    const Bytes file = CfgFile(plain);
    Bytes record = plain;
    record.insert(record.end(), file.end() - 2, file.end());  // the checksum stays as it is
    return {file, Resized(record, kRecordSize)};
}

// One table of broken and edge files for both readers: the start-up load takes up to 2048
// bytes of a plain file, the Load command 868 over the record it had.
TEST(Readers, BrokenAndEdgeFiles) {
    struct Case {
        std::string name;
        FileForm form;
        Bytes file;
        S status = S::Loaded;
        Bytes startup = {}, load = {};  // the records they make of the file, when it loads
        bool notice = false;
    };
    std::vector<Case> cases = {
        {"cfg_1", FileForm::Cfg, {2}, S::TooShort},
        {"bin_8193", FileForm::Bin, Bytes(8193), S::TooLong},
        {"cfg_swapped_checksum", FileForm::Cfg, Cfg(2048).first, S::ChecksumMismatch},
        {"bin_v3", FileForm::Bin, Bin(3, 22, 20), S::HigherVersion},
    };
    std::swap(cases[2].file[2046], cases[2].file[2047]);
    for (const std::size_t n : {2, 867, 2048, 2049, 8192}) {
        const auto [file, record] = Cfg(n);
        cases.push_back(
            {"cfg_" + std::to_string(n), FileForm::Cfg, file, S::Loaded, record, record});
    }
    const auto bin = [&](const char* name, Bytes file, const Bytes& startup, const Bytes& load,
                         bool notice = false) {
        cases.push_back({name, FileForm::Bin, std::move(file), S::Loaded,
                         Resized(startup, kRecordSize), OverSentinel(load), notice});
    };
    const Bytes v2 = Bin(2, 22, 20), b867 = Bin(2, 22, 20, 867), big = Bin(2, 22, 20, 8192);
    const Bytes v1 = Bin(2, 22, 20, 868, 50), v1wrap = Bin(2, 0, 8, 868, 50);
    bin("bin_v2", v2, v2, v2), bin("bin_867", b867, b867, b867), bin("bin_8192", big, big, big);
    bin("bin_v0", Bin(0, 22, 20), v2, v2, true);
    bin("bin_v1", Bin(1, 21, 19), v1, v1, true);
    bin("bin_v1_country_255", Bin(1, 255, 7), v1wrap, v1wrap, true);
    // Old country ids are renumbered by the Load command only; 13 to 24 are current ones, and a
    // pair the old id has a row for stays.
    bin("bin_v2_old_china", Bin(2, 2, 2), Bin(2, 2, 2), Bin(2, 6, 2), true);
    bin("bin_v0_old_australia", Bin(0, 9, 30), Bin(2, 9, 30), Bin(2, 3, 30), true);
    bin("bin_v2_current_id", Bin(2, 13, 0), Bin(2, 13, 0), Bin(2, 13, 0));
    bin("bin_v2_valid_pair", Bin(2, 6, 2), Bin(2, 6, 2), Bin(2, 6, 2));

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ConfigRecord r = Sentinel();
        ReadResult result = ReadSettingsBytes(c.file, c.form, Reader::Startup, r);
        EXPECT_EQ(result.status, c.status);
        EXPECT_FALSE(result.oldVersionNotice) << "the start-up load is silent";
        EXPECT_EQ(Of(r), c.status == S::Loaded ? c.startup : Of(Sentinel()));
        r = Sentinel();
        result = ReadSettingsBytes(c.file, c.form, Reader::LoadCommand, r);
        EXPECT_EQ(result.status, c.status);
        EXPECT_EQ(result.oldVersionNotice, c.notice);
        EXPECT_EQ(Of(r), c.status == S::Loaded ? c.load : Of(Sentinel()));
    }
}

// Older tools numbered the countries 0 to 12 by their place in the lists, the table's order.
TEST(Renumbering, EveryOldCountryIdMovesToTheCountryAtItsPlace) {
    std::vector<std::uint8_t> current;
    for (const OperatorPreset& row : OperatorPresetTable())
        if (current.empty() || current.back() != row.countryId) current.push_back(row.countryId);
    for (std::uint8_t old = 2; old < 13; ++old) {
        // An operator of the current country that the old id has no row for.
        int op = 0;
        while (op < 255 &&
               (FindOperatorIndex(old, static_cast<std::uint8_t>(op)) != kNoRow8 ||
                FindOperatorIndex(current[old], static_cast<std::uint8_t>(op)) == kNoRow8))
            ++op;
        ASSERT_LT(op, 255) << int(old);
        ConfigRecord r{};
        ASSERT_EQ(ReadSettingsBytes(Bin(2, old, static_cast<std::uint8_t>(op)), FileForm::Bin,
                                    Reader::LoadCommand, r)
                      .status,
                  S::Loaded);
        EXPECT_EQ(r.countryId, current[old]) << int(old);
        EXPECT_EQ(r.operatorId, op);
    }
}

}  // namespace
}  // namespace ostrova
