#include "config/save.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace ostrova {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const std::string kKey = OSTROVA_CONFIG_KEY;

// wireless.cfg from first principles: cipher bytes 0..2045, then the checksum high byte first.
Bytes CfgFileOf(const Bytes& record) {
    Bytes file(record.begin(), record.begin() + 2046);
    unsigned sum = 0;
    for (std::size_t i = 0; i < file.size(); ++i) {
        file[i] = static_cast<std::uint8_t>(file[i] + kKey[i % 4] + i % 256);
        sum += file[i];
    }
    const auto high = static_cast<std::uint8_t>((sum + 5) % 256);
    file.push_back(high);
    file.push_back(static_cast<std::uint8_t>(255 - high));
    return file;
}

Bytes Pattern(std::size_t n, std::uint8_t seed) {
    Bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 13);
    return b;
}

ConfigRecord RecordOf(const Bytes& b) {
    ConfigRecord r{};
    std::memcpy(&r, b.data(), kRecordSize);
    return r;
}
Bytes Of(const ConfigRecord& r) {
    return Bytes(r.bytes().begin(), r.bytes().end());
}

std::tm Time(int year, int month, int day, int hour, int minute, int second) {
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    return t;
}

TEST(PrepareForSave, VersionFixedFlagAndAuxFlag) {
    for (int aux : {0, 1, 2, 255}) {
        Bytes before = Pattern(kRecordSize, 40);
        before[0] = 7;  // version
        before[4] = static_cast<std::uint8_t>(aux);
        before[12] = 9;  // fixedFlag
        ConfigRecord r = RecordOf(before);
        PrepareForSave(r);
        Bytes expect = before;
        expect[0] = 2;
        expect[4] = aux == 1 ? 1 : 0;
        expect[12] = 1;
        EXPECT_EQ(Of(r), expect) << "auxFlag " << aux;
    }
}

TEST(EncodeForSave, WirelessCfgCarriesTheSaveTime) {
    Bytes plain = Pattern(kRecordSize, 3);
    plain[8] = 1;  // Custom: the record's own operator parameters go out unchanged
    ConfigRecord r = RecordOf(plain);
    const Bytes file = EncodeForSave(r, FileForm::Cfg, Time(2026, 12, 7, 10, 0, 5));
    // 2026 = 0x07EA little-endian, then month, day, hour, minute, second.
    const std::uint8_t stamp[] = {0xEA, 0x07, 12, 7, 10, 0, 5};
    std::copy(std::begin(stamp), std::end(stamp), plain.begin() + 1190);
    EXPECT_EQ(file, CfgFileOf(plain));
    EXPECT_EQ(Of(r), plain) << "the save changes the record itself";
}

TEST(EncodeForSave, MmscfgBinHasNoSaveTime) {
    Bytes plain = Pattern(kRecordSize, 5);
    plain[8] = 0;  // Auto
    ConfigRecord r = RecordOf(plain);
    const Bytes file = EncodeForSave(r, FileForm::Bin, Time(2030, 1, 2, 3, 4, 5));
    EXPECT_EQ(file, Bytes(plain.begin(), plain.begin() + 868));
    EXPECT_EQ(Of(r), plain);
}

TEST(SaveChecks, EmailAccountAndSmsControl) {
    ConfigRecord r{};
    SetConfigDefaults(r);
    r.sendMode = kSendInstant;
    r.sendVia = kViaInternet;
    r.sendTo = kToEmail;
    EXPECT_FALSE(NeedsEmailAccount(r));
    ZeroField(r.smtpServer);
    EXPECT_TRUE(NeedsEmailAccount(r));
    r.sendMode = kSendDailyReport;
    EXPECT_FALSE(NeedsEmailAccount(r)) << "only Instant sending needs the account at once";
    r.sendMode = kSendInstant;
    r.sendTo = kToFtp;
    EXPECT_FALSE(NeedsEmailAccount(r));

    EXPECT_FALSE(SmsControlWithoutPhone(r));
    r.smsControl = 1;
    EXPECT_TRUE(SmsControlWithoutPhone(r));
    CopyText(r.phone[3], "5551234");
    EXPECT_FALSE(SmsControlWithoutPhone(r)) << "any one phone number will do";
}

TEST(FileForm, FromTheFiletypeList) {
    const struct {
        int selection, count;
        FileForm form;
    } cases[] = {{1, 2, FileForm::Cfg},  {0, 1, FileForm::Cfg},  {0, 2, FileForm::Bin},
                 {-1, 2, FileForm::Bin}, {-1, 1, FileForm::Bin}, {1, 1, FileForm::Bin}};
    for (const auto& c : cases)
        EXPECT_EQ(FileFormFromList(c.selection, c.count), c.form) << c.selection << "/" << c.count;
}

TEST(FileForm, FromTheExtension) {
    const struct {
        std::string_view path;
        FileForm form;
    } cases[] = {
        {"wireless.cfg", FileForm::Cfg},
        {"MMSCFG.BIN", FileForm::Bin},
        {"backup.bak", FileForm::Bin},
        {"settings", FileForm::Cfg},
        {"old.Bin", FileForm::Bin},
        {"a.bin.cfg", FileForm::Cfg},
        {"card.b/settings", FileForm::Cfg},
        {"card.cfg/MMSCFG.bin", FileForm::Bin},
        {"trailing.", FileForm::Cfg},
        {".bin", FileForm::Bin},
        {"", FileForm::Cfg},
    };
    for (const auto& c : cases) EXPECT_EQ(FileFormFromExtension(c.path), c.form) << c.path;
}

// --- Atomic replacement on disk.
class AtomicWrite : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ostrova-save-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override {
        fs::permissions(dir_, fs::perms::owner_all, fs::perm_options::add);
        fs::remove_all(dir_);
    }
    static void Put(const fs::path& p, const Bytes& b) {
        std::ofstream(p, std::ios::binary)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    static Bytes Get(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    static std::vector<std::string> Names(const fs::path& dir) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
#ifndef _WIN32
    static unsigned Mode(const fs::path& p) {
        struct stat st {};
        ::stat(p.c_str(), &st);
        return st.st_mode & 07777;
    }
#endif
    fs::path dir_;
};

TEST_F(AtomicWrite, AFailedWriteLosesNothing) {
    const fs::path file = dir_ / "wireless.cfg";
    const Bytes old = Pattern(2048, 1);
    const Bytes next = Pattern(2048, 2);
    for (std::size_t failAfter : {0u, 1u, 867u, 2047u}) {
        Put(file, old);
        std::size_t written = 0;
        WriteHooks hooks;
        // A disk that fills up after failAfter bytes, taking them a few at a time.
        hooks.write = [&](int fd, const std::uint8_t* data, std::size_t size) -> long {
            if (written >= failAfter) {
                errno = ENOSPC;
                return -1;
            }
            const std::size_t n = std::min({size, failAfter - written, std::size_t{500}});
            written += n;
            return static_cast<long>(::write(fd, data, n));
        };
        std::error_code error;
        EXPECT_FALSE(WriteFileAtomically(file, next, error, hooks)) << failAfter;
        EXPECT_EQ(error, std::errc::no_space_on_device);
        EXPECT_EQ(Get(file), old) << failAfter;
        EXPECT_EQ(Names(dir_), std::vector<std::string>{"wireless.cfg"}) << "temp file left";
    }
}

TEST_F(AtomicWrite, FailedSyncOrRenameLosesNothing) {
    const fs::path file = dir_ / "MMSCFG.BIN";
    const Bytes old = Pattern(868, 1);
    for (int step = 0; step < 2; ++step) {
        Put(file, old);
        WriteHooks hooks;
        const auto fail = [](auto...) {
            errno = EIO;
            return -1;
        };
        if (step == 0) hooks.fsync = fail;
        if (step == 1) hooks.rename = fail;
        std::error_code error;
        EXPECT_FALSE(WriteFileAtomically(file, Pattern(868, 9), error, hooks));
        EXPECT_EQ(error, std::errc::io_error);
        EXPECT_EQ(Get(file), old);
        EXPECT_EQ(Names(dir_), std::vector<std::string>{"MMSCFG.BIN"});
    }
}

TEST_F(AtomicWrite, ShortWritesAndInterruptionsStillWriteEverything) {
    const fs::path file = dir_ / "wireless.cfg";
    int calls = 0;
    WriteHooks hooks;
    hooks.write = [&](int fd, const std::uint8_t* data, std::size_t size) -> long {
        if (++calls % 3 == 0) {
            errno = EINTR;
            return -1;
        }
        return static_cast<long>(::write(fd, data, std::min<std::size_t>(size, 7)));
    };
    std::error_code error;
    const Bytes next = Pattern(2048, 4);
    ASSERT_TRUE(WriteFileAtomically(file, next, error, hooks)) << error.message();
    EXPECT_EQ(Get(file), next);
}

#ifndef _WIN32  // permission bits, umask and symbolic links are POSIX matters
TEST_F(AtomicWrite, KeepsPermissionsAndCreatesNewFilesByTheUmask) {
    const fs::path kept = dir_ / "kept.cfg";
    Put(kept, Pattern(10, 1));
    ::chmod(kept.c_str(), 0604);
    ASSERT_TRUE(WriteFileAtomically(kept, Pattern(2048, 3)));
    EXPECT_EQ(Mode(kept), 0604u);

    const mode_t previous = ::umask(027);
    const bool created = WriteFileAtomically(dir_ / "new.cfg", Pattern(2048, 5));
    ::umask(previous);
    ASSERT_TRUE(created);
    EXPECT_EQ(Mode(dir_ / "new.cfg"), 0640u);
    EXPECT_EQ(Get(dir_ / "new.cfg"), Pattern(2048, 5));
}

TEST_F(AtomicWrite, ReplacesTheTargetOfASymbolicLink) {
    fs::create_directories(dir_ / "card");
    fs::create_directories(dir_ / "links");
    Put(dir_ / "card" / "wireless.cfg", Pattern(2048, 1));
    fs::create_symlink("../card/wireless.cfg", dir_ / "links" / "first");     // relative
    fs::create_symlink(dir_ / "links" / "first", dir_ / "links" / "second");  // a chain
    fs::create_symlink(dir_ / "card" / "later.cfg", dir_ / "links" / "dangling");

    ASSERT_TRUE(WriteFileAtomically(dir_ / "links" / "second", Pattern(2048, 7)));
    EXPECT_TRUE(fs::is_symlink(dir_ / "links" / "first"));
    EXPECT_TRUE(fs::is_symlink(dir_ / "links" / "second"));
    EXPECT_EQ(Get(dir_ / "card" / "wireless.cfg"), Pattern(2048, 7));

    ASSERT_TRUE(WriteFileAtomically(dir_ / "links" / "dangling", Pattern(868, 8)));
    EXPECT_TRUE(fs::is_symlink(dir_ / "links" / "dangling"));
    EXPECT_EQ(Get(dir_ / "card" / "later.cfg"), Pattern(868, 8));
    EXPECT_EQ(Names(dir_ / "card"), (std::vector<std::string>{"later.cfg", "wireless.cfg"}));
    EXPECT_EQ(Names(dir_ / "links"), (std::vector<std::string>{"dangling", "first", "second"}));
}
#endif

TEST_F(AtomicWrite, RefusesWhatItCannotReplace) {
    std::error_code error;
    EXPECT_FALSE(WriteFileAtomically(dir_ / "missing" / "wireless.cfg", Pattern(4, 1), error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    fs::create_directories(dir_ / "folder.cfg");
    EXPECT_FALSE(WriteFileAtomically(dir_ / "folder.cfg", Pattern(4, 1), error));
    EXPECT_EQ(error, std::errc::is_a_directory);
    EXPECT_EQ(Names(dir_), std::vector<std::string>{"folder.cfg"});
}

#ifndef _WIN32
TEST_F(AtomicWrite, ReadOnlyFolderOrFileChangesNothing) {
    const fs::path file = dir_ / "wireless.cfg";
    Put(file, Pattern(2048, 1));
    ::chmod(file.c_str(), 0444);
    if (::access(file.c_str(), W_OK) == 0) GTEST_SKIP() << "permissions do not bind this user";
    std::error_code error;
    EXPECT_FALSE(WriteFileAtomically(file, Pattern(2048, 2), error)) << "read-only file";
    EXPECT_EQ(error, std::errc::permission_denied);
    ::chmod(file.c_str(), 0644);
    ::chmod(dir_.c_str(), 0555);
    EXPECT_FALSE(WriteFileAtomically(file, Pattern(2048, 2), error)) << "read-only folder";
    EXPECT_EQ(error, std::errc::permission_denied);
    EXPECT_EQ(Get(file), Pattern(2048, 1));
    EXPECT_EQ(Names(dir_), std::vector<std::string>{"wireless.cfg"});
}

#endif

}  // namespace
}  // namespace ostrova
