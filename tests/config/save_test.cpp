#include "config/save.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "config/codec.h"
#include "config/paths.h"
#include "support/file_bytes.h"

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>
#else
#include <sys/file.h>
#endif

namespace ostrova {
namespace {

namespace fs = std::filesystem;
using namespace ostrova::testing;

// Every save: version 2, fixedFlag 1, auxFlag 0 unless it is 1. MMSCFG.BIN takes the first 868
// bytes as they are; wireless.cfg, ciphered and closed by its checksum, also the save time, as
// the command line's --time gives it.
TEST(Save, PreparedRecordInBothForms) {
    const std::tm t = ParseSaveTime("2026-12-07T10:23:05").value();  // each field its own value
    for (int aux : {0, 1, 2}) {
        Bytes b = Pattern(kRecordSize, 40);
        b[0] = 7, b[4] = static_cast<std::uint8_t>(aux), b[12] = 9;  // version, aux, fixedFlag
        b[8] = 1;  // Custom: the record's own operator parameters go out unchanged
        ConfigRecord r{};
        std::memcpy(&r, b.data(), sizeof r);
        PrepareForSave(r);
        b[0] = 2, b[4] = aux == 1 ? 1 : 0, b[12] = 1;
        EXPECT_EQ(EncodeForSave(r, FileForm::Bin, t), Bytes(b.begin(), b.begin() + 868));
        EXPECT_EQ(Of(r), b) << "auxFlag " << aux;
        const Bytes file = EncodeForSave(r, FileForm::Cfg, t);
        // 2026 = 0x07EA little-endian, then month, day, hour, minute, second.
        const std::uint8_t stamp[] = {0xEA, 0x07, 12, 7, 10, 23, 5};
        std::copy(std::begin(stamp), std::end(stamp), b.begin() + 1190);
        EXPECT_EQ(file, CfgFile(Bytes(b.begin(), b.begin() + 2046)));
        EXPECT_EQ(Of(r), b) << "the save changes the record itself";
    }
}

// The save time the command line or a test gives: whole, and a real date and time. (The fields
// it reads: the stamp of the save test above.)
TEST(SaveTime, IsReadOnlyFromAWholeRealDateAndTime) {
    // 2000 is a leap year as every 400th. (A leap year by the fourth: the command line's --time
    // test.)
    for (const char* real : {"2000-02-29 23:59:59", "2024-12-31 00:00:00"})
        EXPECT_TRUE(ParseSaveTime(real).has_value()) << real;
    for (const char* none : {"2024-04-31 10:00:00", "2023-02-29 10:00:00", "2100-02-29 10:00:00",
                             "2024-13-01 10:00:00", "2024-00-01 10:00:00", "2024-01-01 24:00:00",
                             "2024-01-01 10:60:00", "2024-01-01 10:00:60", "2024-01-01_10:00:00",
                             "2024-01-01 10:00:0", "+024-01-01 10:00:00", "2024-01-01 10:00:001"})
        EXPECT_FALSE(ParseSaveTime(none).has_value()) << none;
}

// The form a loaded file is read in, by its extension; the Filetype list's rule is the window's.
// Only the file's own name counts, whichever separator ends the folder before it. (Any case, .bak,
// no extension and a dot in a folder's name: the main window's load tests.)
TEST(FileForm, FromTheExtension) {
    for (std::string_view bin : {"card.cfg/MMSCFG.bin", ".bin", "E:\\card.cfg\\MMSCFG.BIN"})
        EXPECT_EQ(FileFormFromExtension(bin), FileForm::Bin) << bin;
    for (std::string_view cfg : {"a.bin.cfg", "trailing.", "", "\\\\nas\\backup.bin\\wireless"})
        EXPECT_EQ(FileFormFromExtension(cfg), FileForm::Cfg) << cfg;
}

// --- Replacing the file on disk.
class AtomicWrite : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("ostrova-save-" + std::to_string(::getpid()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }
    static std::vector<std::string> Names(const fs::path& dir) {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(dir))
            names.push_back(Utf8FromPath(e.path().filename()));
        std::sort(names.begin(), names.end());
        return names;
    }
    fs::path dir_;
};

// Whatever step of a save fails, the old file stays whole and nothing is left beside it: through
// a temporary file, and (Linux) when a hard-linked file or one in a folder that refuses new files
// is rewritten in place, so every name sees the new settings. A rewrite in place never cuts the
// file first; where even putting the old bytes back fails, the error says the file may be
// damaged. The disk takes at most 7 bytes a write and is interrupted now and then.
TEST_F(AtomicWrite, OnlyACompleteWriteReplacesTheFile) {
    constexpr std::size_t kNever = SIZE_MAX;
    enum Way { Renamed, HardLinked, NoNewFiles };
    struct Row {
        Way way;
        std::size_t oldSize, newSize;
        std::size_t failAfter;          // bytes written before the first failing write
        int failedWrites, failedSyncs;  // how many writes fail from there; how many syncs fail
        bool renameFails, damaged;
    };
    const Row rows[] = {
        {Renamed, 2048, 2048, 2047, 1, 0, false, false},
        {Renamed, 2048, 2048, kNever, 0, 1, false, false},
        {Renamed, 2048, 2048, kNever, 0, 0, true, false},
        {HardLinked, 2048, 2048, 2047, 1, 0, false, false},
        {HardLinked, 2048, 868, kNever, 0, 1, false, false},
        {HardLinked, 868, 2048, 1000, 1, 0, false, false},
        {HardLinked, 2048, 2048, 1000, 99, 0, false, true},
        {HardLinked, 2048, 868, kNever, 0, 99, false, true},
        {HardLinked, 868, 2048, kNever, 0, 0, false, false},
        {NoNewFiles, 2048, 868, kNever, 0, 0, false, false},
    };
    const fs::path file = dir_ / "wireless.cfg";
    for (const Row& row : rows) {
        SCOPED_TRACE(&row - rows);
#ifdef _WIN32
        if (row.way != Renamed) continue;  // Windows always replaces the file
#endif
        WriteBytes(file, Pattern(row.oldSize, 1));
        fs::remove(dir_ / "card.cfg");
        if (row.way == HardLinked) fs::create_hard_link(file, dir_ / "card.cfg");
        std::size_t budget = row.failAfter;
        int calls = 0, failedWrites = row.failedWrites, failedSyncs = row.failedSyncs;
        WriteHooks hooks;
        hooks.write = [&](int fd, const std::uint8_t* data, std::size_t size) -> long {
            if (++calls % 3 == 0) return errno = EINTR, -1;
            if (budget == 0 && failedWrites-- > 0) return errno = EIO, -1;
            if (budget == 0) budget = kNever;
            const auto n =
                static_cast<long>(::write(fd, data, std::min({size, budget, std::size_t{7}})));
            if (n > 0 && budget != kNever) budget -= static_cast<std::size_t>(n);
            return n;
        };
        hooks.fsync = [&](int) { return failedSyncs-- > 0 ? (errno = EIO, -1) : 0; };
        if (row.renameFails) hooks.rename = [](auto...) { return errno = EIO, -1; };
#ifndef _WIN32
        if (row.way == NoNewFiles) {
            hooks.open = [](const char* path, int flags, unsigned mode) {
                return flags & O_CREAT ? (errno = EACCES, -1) : ::open(path, flags, mode);
            };
        }
#endif
        std::error_code error;
        const bool failed = row.failedWrites + row.failedSyncs + row.renameFails > 0;
        EXPECT_EQ(WriteFileAtomically(file, Pattern(row.newSize, 2), error, hooks), !failed);
        EXPECT_TRUE(failed ? error == std::errc::io_error : !error) << error.message();
        EXPECT_EQ(error.category() == DamagedFileCategory(), row.damaged);
        if (!row.damaged) {
            EXPECT_EQ(ReadBytes(file), failed ? Pattern(row.oldSize, 1) : Pattern(row.newSize, 2));
        }
        // One file under its names: no temporary file, no old copy beside it.
        const std::uintmax_t names = row.way == HardLinked ? 2 : 1;
        EXPECT_EQ(fs::hard_link_count(file), names);
        EXPECT_EQ(Names(dir_).size(), names);
    }
}

// What killed saves left beside the file goes with the next save. What stays: a temporary file
// a running save holds, one of an earlier release that may still be in use, another file's, a
// user's file of a like name, a link, a folder, and anything outside the file's folder.
TEST_F(AtomicWrite, RemovesTheTemporaryFilesKilledSavesLeft) {
    struct Row {
        const char* name;
        bool aged, held, removed;  // aged: last written over a minute ago; held: by a running save
    };
    const Row rows[] = {
        {".ostrova-tmp-4242-0", true, false, true},
        {".ostrova-tmp-4242-1", true, true, false},
        {".wireless.cfg.tmp-4242-2", true, false, true},
        {".wireless.cfg.tmp-4242-3-917", true, false, true},
        {".wireless.cfg.tmp-4242-4-917", false, false, false},
        {".other.cfg.tmp-4242-5-917", true, false, false},
        {".ostrova-tmp-42x-8", true, false, false},
        {".wireless.cfg.tmp-4242-10.txt", true, false, false},
    };
    const fs::path file = dir_ / "wireless.cfg";
    WriteBytes(file, Pattern(2048, 1));
    fs::create_directories(dir_ / "card" / ".ostrova-tmp-4242-11");
    std::vector<std::string> kept = {"card", "wireless.cfg"};
    std::vector<int> holds;
    for (const Row& row : rows) {
        WriteBytes(dir_ / row.name, Pattern(2048, 9));
        if (row.aged)
            fs::last_write_time(dir_ / row.name,
                                fs::file_time_type::clock::now() - std::chrono::minutes(2));
        if (!row.removed) kept.push_back(row.name);
        if (!row.held) continue;
#ifdef _WIN32  // as a save holds it: others may read and write, not delete
        const HANDLE held = CreateFileW((dir_ / row.name).c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        holds.push_back(::_open_osfhandle(reinterpret_cast<std::intptr_t>(held), 0));
#else
        holds.push_back(::open((dir_ / row.name).c_str(), O_RDONLY | O_CLOEXEC));
        ASSERT_EQ(::flock(holds.back(), LOCK_EX), 0);
#endif
    }
    WriteBytes(dir_ / "card" / ".ostrova-tmp-4242-12", Pattern(2048, 9));
#ifndef _WIN32  // a link of the pattern's name is no save's: neither it nor its target goes
    fs::create_symlink(dir_ / "card" / ".ostrova-tmp-4242-12", dir_ / ".ostrova-tmp-4242-13");
    kept.push_back(".ostrova-tmp-4242-13");
#endif
    std::sort(kept.begin(), kept.end());

    std::error_code error;
    ASSERT_TRUE(WriteFileAtomically(file, Pattern(2048, 2), error)) << error.message();
    EXPECT_EQ(Names(dir_), kept);
    EXPECT_EQ(Names(dir_ / "card"),
              (std::vector<std::string>{".ostrova-tmp-4242-11", ".ostrova-tmp-4242-12"}));
    EXPECT_EQ(ReadBytes(file), Pattern(2048, 2));
    for (int held : holds) ::close(held);
}

#ifndef _WIN32  // permission bits, umask and symbolic links are POSIX matters
// A replaced file keeps its mode, a new one takes the umask's; a link's target is replaced.
TEST_F(AtomicWrite, KeepsModeAndLinksAndCreatesNewFilesByTheUmask) {
    WriteBytes(dir_ / "kept.cfg", Pattern(10, 1));
    fs::permissions(dir_ / "kept.cfg", fs::perms(0604));
    ASSERT_TRUE(WriteFileAtomically(dir_ / "kept.cfg", Pattern(2048, 3)));
    EXPECT_EQ(fs::status(dir_ / "kept.cfg").permissions(), fs::perms(0604));
    const mode_t previous = ::umask(027);
    const bool created = WriteFileAtomically(dir_ / "new.cfg", Pattern(2048, 5));
    ::umask(previous);
    ASSERT_TRUE(created);
    EXPECT_EQ(fs::status(dir_ / "new.cfg").permissions(), fs::perms(0640));

    fs::create_directories(dir_ / "card");
    fs::create_directories(dir_ / "links");
    WriteBytes(dir_ / "card" / "wireless.cfg", Pattern(2048, 1));
    fs::create_symlink("../card/wireless.cfg", dir_ / "links" / "first");     // relative
    fs::create_symlink(dir_ / "links" / "first", dir_ / "links" / "second");  // a chain
    ASSERT_TRUE(WriteFileAtomically(dir_ / "links" / "second", Pattern(2048, 7)));
    EXPECT_EQ(ReadBytes(dir_ / "card" / "wireless.cfg"), Pattern(2048, 7));
    EXPECT_TRUE(fs::is_symlink(dir_ / "links" / "first") &&
                fs::is_symlink(dir_ / "links" / "second"));
    // Every name of one file locks the same companion beside it.
    EXPECT_EQ(LockFileOf(dir_ / "links" / "second"),
              fs::weakly_canonical(dir_ / "card" / ".wireless.cfg.lock"));
}
#endif

// The longest names a folder takes (255 bytes; UTF-16 units on Windows) still leave room for the
// temporary and the old file's names. A missing folder, a folder or no name at all is refused.
// On Windows the name takes the path beyond MAX_PATH: a hidden file is replaced and stays hidden;
// one another program holds (as an editor does: others may read it) or a read-only one stays whole.
TEST_F(AtomicWrite, SavesUnderANameOfAnyLengthAndRefusesWhatItCannotReplace) {
    const std::string name = std::string(250 - 4, 'n') + ".cfg";
    std::error_code error;
    for (std::uint8_t seed : {1, 2}) {  // a new file, then a replaced one
        ASSERT_TRUE(WriteFileAtomically(dir_ / name, Pattern(2048, seed), error))
            << error.message();
    }
#ifdef _WIN32
    const std::wstring wide = LongPathName(dir_ / name);
    ASSERT_GT((dir_ / name).native().size(), std::size_t{MAX_PATH});
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(WriteFileAtomically(dir_ / name, Pattern(2048, 2), error)) << error.message();
    EXPECT_EQ(GetFileAttributesW(wide.c_str()) & FILE_ATTRIBUTE_HIDDEN,
              DWORD{FILE_ATTRIBUTE_HIDDEN});
    const HANDLE held = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(WriteFileAtomically(dir_ / name, Pattern(2048, 3), error));
    EXPECT_TRUE(error);
    CloseHandle(held);
    ASSERT_TRUE(SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(WriteFileAtomically(dir_ / name, Pattern(2048, 3), error));
    EXPECT_EQ(error, std::errc::permission_denied);
    SetFileAttributesW(wide.c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
    EXPECT_EQ(ReadWholeFile(dir_ / name).bytes, Pattern(2048, 2));
    EXPECT_FALSE(WriteFileAtomically(dir_ / "missing" / "wireless.cfg", Pattern(4, 1), error));
    EXPECT_EQ(error, std::errc::no_such_file_or_directory);
    fs::create_directories(dir_ / "folder.cfg");
    EXPECT_FALSE(WriteFileAtomically(dir_ / "folder.cfg", Pattern(4, 1), error));
    EXPECT_EQ(error, std::errc::is_a_directory);
    EXPECT_EQ(Names(dir_), (std::vector<std::string>{"folder.cfg", name}));
#ifndef _WIN32  // nor a new file in a folder that refuses new files
    WriteHooks noNewFiles;
    noNewFiles.open = [](auto...) { return errno = EACCES, -1; };
    EXPECT_FALSE(WriteFileAtomically(dir_ / "new.cfg", Pattern(4, 1), error, noNewFiles));
    EXPECT_EQ(error, std::errc::permission_denied);
#endif
}

#ifdef _WIN32
// The form the Windows file calls take beyond MAX_PATH: absolute, verbatim, the dots resolved.
TEST(LongPathName, AbsoluteAndVerbatim) {
    EXPECT_EQ(LongPathName(L"C:/card/./old/../wireless.cfg"), L"\\\\?\\C:\\card\\wireless.cfg");
}
#endif

}  // namespace
}  // namespace ostrova
