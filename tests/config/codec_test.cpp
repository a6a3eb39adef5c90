#include "config/codec.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>


namespace ostrova {
namespace {

using Bytes = std::vector<std::uint8_t>;

// --- Expected bytes from first principles: the cipher and checksum as the camera sees them.
const std::string kKey = OSTROVA_CONFIG_KEY;

Bytes Cipher(Bytes plain) {
    for (std::size_t i = 0; i < plain.size(); ++i)
        plain[i] = static_cast<std::uint8_t>(plain[i] + kKey[i % 4] + i % 256);
    return plain;
}
Bytes Decipher(Bytes ciphered) {
    for (std::size_t i = 0; i < ciphered.size(); ++i)
        ciphered[i] = static_cast<std::uint8_t>(ciphered[i] - kKey[i % 4] - i % 256);
    return ciphered;
}
// Ciphers a plain payload and appends its checksum: high byte first.
Bytes CfgFile(const Bytes& plain) {
    Bytes file = Cipher(plain);
    unsigned sum = 0;
    for (std::uint8_t b : file) sum += b;
    const std::uint8_t high = static_cast<std::uint8_t>((sum + 5) % 256);
    file.push_back(high);
    file.push_back(static_cast<std::uint8_t>(255 - high));
    return file;
}
// A recognisable plain record: every byte different from its neighbours.
Bytes Pattern(std::size_t n, std::uint8_t seed = 1) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 7);
    return b;
}
Bytes Padded(Bytes b, std::size_t n) {
    b.resize(n, 0);
    return b;
}
Bytes Of(const ConfigRecord& r) { return Bytes(r.bytes().begin(), r.bytes().end()); }
ConfigRecord Sentinel() {
    ConfigRecord r{};
    std::memset(&r, 0xEE, sizeof r);
    return r;
}

TEST(Checksum, KnownVectors) {
    const std::uint8_t abc[] = {'a', 'b', 'c'};
    EXPECT_EQ(ConfigChecksum(abc), 0x2BD4);
    EXPECT_EQ(ConfigChecksum({}), 0x05FA);
}

TEST(Cipher, MatchesTheFormulaAndRoundTrips) {
    const Bytes zeros(600, 0);
    Bytes out(600);
    EncodeConfigBytes(zeros, out);
    EXPECT_EQ(out, Cipher(zeros));
    EXPECT_EQ(out[0], out[256]) << "the position term wraps at 256";
    EXPECT_EQ(out[3], static_cast<std::uint8_t>(kKey[3] + 3));

    Bytes data = Pattern(2046, 9);
    Bytes same = data;
    EncodeConfigBytes(same, same);  // in place
    DecodeConfigBytes(same, same);
    EXPECT_EQ(same, data);
}

TEST(Writers, BothFormsAsTheCameraReadsThem) {
    ConfigRecord r{};
    const Bytes plain = Pattern(kRecordSize, 3);
    std::memcpy(&r, plain.data(), kRecordSize);

    const auto cfg = EncodeCfgForm(r);
    EXPECT_EQ(Bytes(cfg.begin(), cfg.end()), CfgFile(Bytes(plain.begin(), plain.begin() + 2046)));
    const auto bin = EncodeBinForm(r);
    EXPECT_EQ(Bytes(bin.begin(), bin.end()), Bytes(plain.begin(), plain.begin() + 868));
    EXPECT_EQ(EncodeForm(r, FileForm::Bin).size(), 868u);
    EXPECT_EQ(EncodeForm(r, FileForm::Cfg).size(), 2048u);
}

// --- One table of broken and edge files for both readers.
struct FileCase {
    std::string name;
    FileForm form;
    Bytes file;
    ReadStatus startupStatus;
    Bytes startupRecord;  // expected record after the start-up reader (when loaded)
    ReadStatus loadStatus;
    Bytes loadRecord;  // expected record after the Load command, starting from the sentinel
    bool notice = false;
};

// The Load command replaces bytes 0..867 of the sentinel record and keeps the rest.
Bytes OverSentinel(const Bytes& plain868) {
    Bytes r = Of(Sentinel());
    std::copy(plain868.begin(), plain868.end(), r.begin());
    return r;
}

Bytes BinOfVersion(std::uint8_t version, std::uint8_t country, std::uint8_t op,
                   std::size_t n = 868) {
    Bytes b = Pattern(n, 5);
    b[0] = version;
    b[8] = country;
    b[9] = op;
    return b;
}
Bytes WithFields(Bytes b, std::uint8_t version, std::uint8_t country, std::uint8_t op,
                 int maxNum = -1) {
    b[0] = version;
    b[8] = country;
    b[9] = op;
    if (maxNum >= 0) {
        b[16] = static_cast<std::uint8_t>(maxNum & 0xFF);
        b[17] = static_cast<std::uint8_t>(maxNum >> 8);
    }
    return b;
}

std::vector<FileCase> Cases() {
    std::vector<FileCase> v;
    const auto none = Bytes{};
    using S = ReadStatus;
    for (FileForm f : {FileForm::Cfg, FileForm::Bin}) {
        const char* tag = f == FileForm::Cfg ? "cfg" : "bin";
        v.push_back({tag, f, {}, S::TooShort, none, S::TooShort, none});
        v.push_back({tag, f, {2}, S::TooShort, none, S::TooShort, none});
        v.push_back({tag, f, Bytes(8193, 0), S::TooLong, none, S::TooLong, none});
    }
    v[0].name = "cfg_0";
    v[1].name = "cfg_1";
    v[2].name = "cfg_8193";
    v[3].name = "bin_0";
    v[4].name = "bin_1";
    v[5].name = "bin_8193";

    // wireless.cfg of every interesting length: the record takes the file's first 2048
    // bytes, deciphered except the last two, and zero behind a short file.
    for (std::size_t n : {2u, 867u, 868u, 2047u, 2048u, 2049u, 8192u}) {
        const Bytes plain = Pattern(n - 2, 11);
        const Bytes file = CfgFile(plain);
        Bytes expect = plain;
        expect.push_back(file[n - 2]);
        expect.push_back(file[n - 1]);
        expect = Padded(expect, 8192);
        expect.resize(kRecordSize);
        v.push_back({"cfg_" + std::to_string(n), FileForm::Cfg, file, S::Loaded, expect, S::Loaded,
                     expect});
    }
    {
        Bytes file = CfgFile(Pattern(2046, 11));
        std::swap(file[2046], file[2047]);
        v.push_back({"cfg_swapped_checksum", FileForm::Cfg, file, S::ChecksumMismatch, none,
                     S::ChecksumMismatch, none});
        file = CfgFile(Pattern(2046, 11));
        file[100] ^= 0x01;
        v.push_back({"cfg_changed_byte", FileForm::Cfg, file, S::ChecksumMismatch, none,
                     S::ChecksumMismatch, none});
    }

    // MMSCFG.BIN: versions and lengths. The start-up load takes up to 2048 bytes with zero
    // behind them; the Load command exactly 868 over what the record held.
    {
        const Bytes v2 = BinOfVersion(2, 22, 20);  // Sweden / Telia: a current pair
        v.push_back({"bin_v2", FileForm::Bin, v2, S::Loaded, Padded(v2, 2048), S::Loaded,
                     OverSentinel(v2)});
        const Bytes shortFile = BinOfVersion(2, 22, 20, 867);
        v.push_back({"bin_867", FileForm::Bin, shortFile, S::Loaded, Padded(shortFile, 2048),
                     S::Loaded, OverSentinel(Padded(shortFile, 868))});
        const Bytes two = {2, 1};
        v.push_back({"bin_2", FileForm::Bin, two, S::Loaded, Padded(two, 2048), S::Loaded,
                     OverSentinel(Padded(two, 868))});
        const Bytes longFile = WithFields(Pattern(2049, 5), 2, 22, 20);
        v.push_back({"bin_2049", FileForm::Bin, longFile, S::Loaded,
                     Bytes(longFile.begin(), longFile.begin() + 2048), S::Loaded,
                     OverSentinel(Bytes(longFile.begin(), longFile.begin() + 868))});
        const Bytes big = WithFields(Pattern(8192, 5), 2, 22, 20);
        v.push_back({"bin_8192", FileForm::Bin, big, S::Loaded,
                     Bytes(big.begin(), big.begin() + 2048), S::Loaded,
                     OverSentinel(Bytes(big.begin(), big.begin() + 868))});

        const Bytes v0 = BinOfVersion(0, 22, 20);
        v.push_back({"bin_v0", FileForm::Bin, v0, S::Loaded, Padded(WithFields(v0, 2, 22, 20), 2048),
                     S::Loaded, OverSentinel(WithFields(v0, 2, 22, 20)), true});
        const Bytes v1 = BinOfVersion(1, 21, 19);  // old ids one below the current ones
        v.push_back({"bin_v1", FileForm::Bin, v1,
                     S::Loaded, Padded(WithFields(v1, 2, 22, 20, 50), 2048), S::Loaded,
                     OverSentinel(WithFields(v1, 2, 22, 20, 50)), true});
        const Bytes v1wrap = BinOfVersion(1, 255, 7);
        v.push_back({"bin_v1_country_255", FileForm::Bin, v1wrap, S::Loaded,
                     Padded(WithFields(v1wrap, 2, 0, 8, 50), 2048), S::Loaded,
                     OverSentinel(WithFields(v1wrap, 2, 0, 8, 50)), true});
        for (std::uint8_t ver : {3, 255}) {
            v.push_back({"bin_v" + std::to_string(ver), FileForm::Bin, BinOfVersion(ver, 22, 20),
                         S::HigherVersion, none, S::HigherVersion, none});
        }

        // Country renumbering of old ids, by the Load command only.
        const Bytes china = BinOfVersion(2, 2, 2);  // old China with a China operator
        v.push_back({"bin_v2_old_china", FileForm::Bin, china, S::Loaded, Padded(china, 2048),
                     S::Loaded, OverSentinel(WithFields(china, 2, 6, 2)), true});
        const Bytes australia = BinOfVersion(0, 9, 30);  // old Australia, Telstra
        v.push_back({"bin_v0_old_australia", FileForm::Bin, australia, S::Loaded,
                     Padded(WithFields(australia, 2, 9, 30), 2048), S::Loaded,
                     OverSentinel(WithFields(australia, 2, 3, 30)), true});
        const Bytes current = BinOfVersion(2, 13, 70);  // Italy: ids 13..24 are current
        v.push_back({"bin_v2_current_id", FileForm::Bin, current, S::Loaded,
                     Padded(current, 2048), S::Loaded, OverSentinel(current)});
        const Bytes unknown = BinOfVersion(2, 30, 2);  // 25 and above stay unchanged
        v.push_back({"bin_v2_country_30", FileForm::Bin, unknown, S::Loaded,
                     Padded(unknown, 2048), S::Loaded, OverSentinel(unknown)});
        const Bytes valid = BinOfVersion(2, 6, 2);  // a pair that exists is left alone
        v.push_back({"bin_v2_valid_pair", FileForm::Bin, valid, S::Loaded, Padded(valid, 2048),
                     S::Loaded, OverSentinel(valid)});
    }
    return v;
}

class ReaderTable : public ::testing::TestWithParam<FileCase> {};

TEST_P(ReaderTable, StartupReader) {
    const FileCase& c = GetParam();
    ConfigRecord r = Sentinel();
    const ReadResult result = ReadSettingsBytes(c.file, c.form, Reader::Startup, r);
    EXPECT_EQ(result.status, c.startupStatus);
    EXPECT_FALSE(result.oldVersionNotice) << "the start-up load is silent";
    EXPECT_EQ(Of(r), c.startupStatus == ReadStatus::Loaded ? c.startupRecord : Of(Sentinel()));
}

TEST_P(ReaderTable, LoadCommandReader) {
    const FileCase& c = GetParam();
    ConfigRecord r = Sentinel();
    const ReadResult result = ReadSettingsBytes(c.file, c.form, Reader::LoadCommand, r);
    EXPECT_EQ(result.status, c.loadStatus);
    EXPECT_EQ(result.oldVersionNotice, c.notice);
    if (c.loadStatus == ReadStatus::Loaded) {
        EXPECT_EQ(Of(r), c.loadRecord);
    } else {
        EXPECT_EQ(Of(r), Of(Sentinel())) << "a failed read must leave the record untouched";
    }
}

INSTANTIATE_TEST_SUITE_P(BrokenAndEdgeFiles, ReaderTable, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return info.param.name; });

// --- Reading from disk: open, length and read failures.
class OnDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("ostrova-codec-" + std::to_string(::getpid()));
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::filesystem::path Write(const std::string& name, const Bytes& bytes) {
        const auto p = dir_ / name;
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return p;
    }
    std::filesystem::path dir_;
};

TEST_F(OnDisk, ReportsEachFailureAndLoadsAGoodFile) {
    ConfigRecord r = Sentinel();
    EXPECT_EQ(ReadSettingsFile(dir_ / "missing.cfg", FileForm::Cfg, Reader::LoadCommand, r).status,
              ReadStatus::OpenError);
    EXPECT_EQ(ReadSettingsFile(dir_, FileForm::Cfg, Reader::LoadCommand, r).status,
              ReadStatus::OpenError)
        << "a folder is not a settings file";
    EXPECT_EQ(ReadSettingsFile(Write("one.bin", {2}), FileForm::Bin, Reader::LoadCommand, r)
                  .status,
              ReadStatus::TooShort);
    EXPECT_EQ(ReadSettingsFile(Write("big.cfg", Bytes(8193)), FileForm::Cfg,
                               Reader::LoadCommand, r)
                  .status,
              ReadStatus::TooLong);
    EXPECT_EQ(Of(r), Of(Sentinel()));

    const Bytes plain = Pattern(2046, 4);
    EXPECT_EQ(ReadSettingsFile(Write("wireless.cfg", CfgFile(plain)), FileForm::Cfg,
                               Reader::Startup, r)
                  .status,
              ReadStatus::Loaded);
    EXPECT_EQ(Bytes(r.bytes().begin(), r.bytes().begin() + 2046), plain);
}

TEST(RoundTrip, WrittenFilesReadBackUnchanged) {
    ConfigRecord r{};
    std::memcpy(&r, Pattern(kRecordSize, 21).data(), kRecordSize);
    r.version = 2;
    r.countryId = 22;
    r.operatorId = 20;
    ConfigRecord back = Sentinel();
    const auto cfg = EncodeCfgForm(r);
    ASSERT_EQ(ReadSettingsBytes(cfg, FileForm::Cfg, Reader::LoadCommand, back).status,
              ReadStatus::Loaded);
    EXPECT_EQ(Bytes(back.bytes().begin(), back.bytes().begin() + 2046),
              Bytes(r.bytes().begin(), r.bytes().begin() + 2046));
    EXPECT_EQ(Decipher(Bytes(cfg.begin(), cfg.begin() + 2046)),
              Bytes(r.bytes().begin(), r.bytes().begin() + 2046));
}

}  // namespace
}  // namespace ostrova
