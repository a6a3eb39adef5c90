// The steps of a save that the settings window and the command-line tool share: preparing the
// record, choosing the file form, and replacing a settings file without ever leaving it
// half-written.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

#include "config/codec.h"
#include "config/record.h"

namespace ostrova {

namespace msg {
inline constexpr std::string_view kCreateFileFail = "Create File Fail!";
inline constexpr std::string_view kSmsControlNeedsPhone =
    "Please input a phone number when SMS control=on";
}  // namespace msg

// Every save: version 2, fixedFlag 1, auxFlag 0 unless it is 1.
void PrepareForSave(ConfigRecord& record);
// wireless.cfg only: the local time of the save into saveYear .. saveSecond.
void StampSaveTime(ConfigRecord& record, const std::tm& local);
// A local date and time written YYYY-MM-DD HH:MM:SS, or with a T for the blank; nullopt
// unless it is whole and names a real date and time.
std::optional<std::tm> ParseSaveTime(std::string_view text);
// Right before writing: a carrier's operator parameters always go out as its preset.
void CompleteForWrite(ConfigRecord& record);
// StampSaveTime (wireless.cfg only), CompleteForWrite, then the file's bytes. The record
// changes as the window's save changes it.
std::vector<std::uint8_t> EncodeForSave(ConfigRecord& record, FileForm form, const std::tm& local);

// Instant e-mail sending over the Internet with no SMTP account or server: the window opens
// the Email Setting dialog instead of saving.
bool NeedsEmailAccount(const ConfigRecord& record);
// SMS control on and all four phone numbers empty: the save is refused (kSmsControlNeedsPhone).
bool SmsControlWithoutPhone(const ConfigRecord& record);

// The form a save writes, from the Filetype list's selection (-1 for none) and entry count.
FileForm FileFormFromList(int selection, int count);
// The form a file is read in by its extension (the text after the last dot of the file name,
// which follows the last slash or backslash): one beginning with 'B' or 'b' is MMSCFG.BIN, any
// other or none wireless.cfg.
FileForm FileFormFromExtension(std::string_view path);

// Stand-ins for the system calls of a save, so tests can make any step fail. An empty member
// means the real call.
struct WriteHooks {
    // As write(2): bytes written, or -1 with errno set.
    std::function<long(int fd, const std::uint8_t* data, std::size_t size)> write;
    // As fsync(2), for the new file (and, after the rename, its folder).
    std::function<int(int fd)> fsync;
    // As rename(2); on Windows it stands for the replacement of the old file, names in UTF-8.
    std::function<int(const char* from, const char* to)> rename;
    // As open(2), for the temporary file and for a rewrite in place (not on Windows).
    std::function<int(const char* path, int flags, unsigned mode)> open;
};

// Replaces path by bytes only once they are complete on disk: a temporary file in the same
// folder (the target's folder when path is a symbolic link, which stays a link) with the old
// file's permission bits (0666 less the umask for a new file), written whole, synced, then
// renamed over the old one. On failure the temporary file is removed, the previous file is
// untouched, the cause is in error and the result is false.
// The temporary file is named ".ostrova-tmp-<process>-<n>", short beside any file name. Each
// save first removes the temporary files that killed saves left in the target's folder: only
// regular files of that name (or ".<target name>.tmp-<numbers>" of earlier releases, once a
// minute old) that no running save holds; a failed removal is skipped, never the save's failure.
// On Linux two cases rewrite the file in place instead: a file with several hard links, so every
// name sees the new settings, and a writable file in a folder that refuses the temporary file
// for lack of permission. The old bytes are read first, the new ones written over them, the
// file cut only when the new one is shorter, then synced; on any failure the old bytes are put
// back, and where that fails too the error is of DamagedFileCategory(). A write past the
// file-size limit fails with EFBIG instead of ending the program (SIGXFSZ is ignored during the
// save when the program left it at its default).
// On Windows the temporary file replaces an existing one through ReplaceFileW, which keeps the
// old file's attributes, owner and permissions and refuses a file another program holds; both
// names go to the system in their long form, so a folder deeper than MAX_PATH works.
// With IfExists::Refuse the complete file takes a name that nothing holds yet, in one step
// (renameat2 with RENAME_NOREPLACE, else link and unlink; MoveFileExW without replacing), so of
// two saves racing for one new name exactly one succeeds; the other fails with file_exists, as
// does a save to a name that exists (a symbolic link included), and writes nothing.
enum class IfExists { Replace, Refuse };
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::error_code& error, const WriteHooks& hooks = {},
                         IfExists ifExists = IfExists::Replace);
bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// An exclusive advisory lock around a read-modify-write of a settings file, held from its
// construction (which waits for it) to its destruction. It locks ".<name>.lock" beside the
// file, never the file itself: a save renames a new file over the old one, so a lock on the
// settings file would guard an inode the next reader no longer opens. The lock file stays, as
// removing it would let a waiter and a newcomer lock two different files. Where the lock file
// cannot be made (a read-only folder, which no save could write either) nothing is locked.
class FileLock {
public:
    explicit FileLock(const std::filesystem::path& file);
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Locked() const { return handle_ != kNone; }

private:
    static constexpr std::intptr_t kNone = -1;
    std::intptr_t handle_ = kNone;  // a descriptor, or a Windows handle
};
// ".<name>.lock" beside the file.
std::filesystem::path LockFileOf(const std::filesystem::path& file);

// The category of a failed rewrite in place whose old bytes could not be put back either: the
// value is the cause (an errno, equal to its std::errc), the message says the file may be damaged.
const std::error_category& DamagedFileCategory();

// The parts of a save's file names that the POSIX and the Windows file calls share.
// ".ostrova-tmp-<pid>-<n>", n counting this process's saves.
std::string TemporaryFileName(unsigned long pid);
// Whether a file beside target, by its name, is a temporary file a save left: one of ours, or
// ".<target name>.tmp-<pid>-<n>[-<n>]" from a release that named them after the file.
enum class Leftover { None, Temporary, OlderRelease };
Leftover LeftoverOf(std::string_view name, std::string_view targetName);

#ifdef _WIN32
// The form of a path that the Windows file calls take beyond MAX_PATH: made absolute against the
// current folder, then "\\?\C:\..." or "\\?\UNC\server\share\...". A path in that form
// already, or a device name, stays as it is.
std::wstring LongPathName(const std::filesystem::path& path);
#endif

}  // namespace ostrova
