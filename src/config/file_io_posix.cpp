// The file system calls of the settings core on Linux and other POSIX systems: reading a
// settings file, replacing one without ever leaving it half-written, locking it for an edit,
// and probing folders. Windows has its own in file_io_windows.cpp, behind the same functions.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>

#include "config/codec.h"
#include "config/save.h"
#include "config/settings_folder.h"

namespace ostrova {

FileBytes ReadWholeFile(const std::filesystem::path& path) {
    FileBytes result;
    // Non-blocking, so that a FIFO cannot hang the window; only regular files are settings.
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) return result;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return result;
    }
    const auto length = static_cast<std::uint64_t>(st.st_size);
    result.status = StatusForLength(length);
    if (result.status == ReadStatus::Loaded) {
        result.bytes.resize(length);
        std::size_t got = 0;
        while (got < length) {
            const ssize_t r = ::read(fd, result.bytes.data() + got, length - got);
            if (r < 0 && errno == EINTR) continue;
            if (r <= 0) break;
            got += static_cast<std::size_t>(r);
        }
        if (got == length) {
            result.status = ReadStatus::Loaded;
        } else {
            result.status = ReadStatus::ReadError;
            result.bytes.clear();
        }
    }
    ::close(fd);
    return result;
}

bool IsWritableFolder(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

std::string ReadEnv(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? std::string(value) : std::string();
}

namespace {

namespace fs = std::filesystem;

std::error_code LastError() {
    return {errno, std::generic_category()};
}

// Follows a chain of symbolic links to the file a save replaces; a dangling link's target is
// created. A path that is no link is its own target.
bool ResolveTarget(const fs::path& path, fs::path& target, std::error_code& error) {
    target = path;
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(target.c_str(), &st) != 0) {
            if (errno == ENOENT) return true;
            error = LastError();
            return false;
        }
        if (!S_ISLNK(st.st_mode)) return true;
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 4096) + 1, '\0');
        const ssize_t n = ::readlink(target.c_str(), link.data(), link.size());
        if (n < 0) {
            error = LastError();
            return false;
        }
        link.resize(static_cast<std::size_t>(n));
        const fs::path next(link);
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    error = std::make_error_code(std::errc::too_many_symbolic_link_levels);
    return false;
}

long RealWrite(int fd, const std::uint8_t* data, std::size_t size) {
    return static_cast<long>(::write(fd, data, size));
}

int RealOpen(const char* path, int flags, unsigned mode) {
    return ::open(path, flags, static_cast<mode_t>(mode));
}

// Writes every byte from the descriptor's offset (short writes and interruptions resumed);
// done counts the bytes written, also when the write fails part-way.
std::error_code WriteAll(int fd, std::span<const std::uint8_t> bytes, const WriteHooks& hooks,
                         std::size_t& done) {
    const auto write = hooks.write ? hooks.write : RealWrite;
    done = 0;
    while (done < bytes.size()) {
        const long n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return LastError();
        if (n == 0) return std::make_error_code(std::errc::io_error);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

std::error_code Sync(int fd, const WriteHooks& hooks) {
    return (hooks.fsync ? hooks.fsync(fd) : ::fsync(fd)) == 0 ? std::error_code{} : LastError();
}

// Puts the first `changed` old bytes back and the old length, and syncs them.
bool PutBack(int fd, std::span<const std::uint8_t> old, std::size_t changed,
             const WriteHooks& hooks) {
    std::size_t done = 0;
    struct stat now {};
    return ::lseek(fd, 0, SEEK_SET) == 0 && !WriteAll(fd, old.first(changed), hooks, done) &&
           ::fstat(fd, &now) == 0 &&
           (static_cast<std::size_t>(now.st_size) == old.size() ||
            ::ftruncate(fd, static_cast<off_t>(old.size())) == 0) &&
           !Sync(fd, hooks);
}

// Overwrites the file itself, so its links, owner and permissions stay. Both settings forms have
// a fixed size: one write over the old bytes replaces them without a moment of an empty file, and
// the length changes only when the form does.
bool RewriteInPlace(const fs::path& target, std::span<const std::uint8_t> bytes,
                    std::error_code& error, const WriteHooks& hooks) {
    const auto open = hooks.open ? hooks.open : RealOpen;
    const int fd = open(target.c_str(), O_RDWR | O_CLOEXEC, 0);
    if (fd < 0) {
        error = LastError();
        return false;
    }
    std::vector<std::uint8_t> old;
    for (std::uint8_t chunk[4096];;) {
        const ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) error = LastError();
        if (n <= 0) break;
        old.insert(old.end(), chunk, chunk + n);
    }
    std::size_t changed = 0;  // the leading old bytes that may no longer be on disk
    if (!error && ::lseek(fd, 0, SEEK_SET) != 0) error = LastError();
    if (!error) error = WriteAll(fd, bytes, hooks, changed);
    if (!error && bytes.size() < old.size()) {
        changed = old.size();
        if (::ftruncate(fd, static_cast<off_t>(bytes.size())) != 0) error = LastError();
    }
    if (!error) error = Sync(fd, hooks);
    // Nothing written, nothing put back: after a failed read the old bytes are not all at hand.
    if (error && changed > 0 && !PutBack(fd, old, std::min(changed, old.size()), hooks))
        error = {error.value(), DamagedFileCategory()};
    ::close(fd);  // synced before, or failed already
    return !error;
}

// Removes what killed saves left beside the target (see TemporaryFileName): a running save holds
// an exclusive lock on its temporary file until it is renamed, so a file whose lock we get is
// nobody's. Saves of earlier releases took no lock: theirs go once a minute old. Links and
// anything but a regular file stay; a failure only leaves a file for a later save.
void RemoveLeftovers(const fs::path& folder, const std::string& targetName) {
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) return;
    const int at = ::dirfd(dir);
    const std::time_t minuteAgo = std::time(nullptr) - 60;
    while (const dirent* entry = ::readdir(dir)) {
        const Leftover kind = LeftoverOf(entry->d_name, targetName);
        if (kind == Leftover::None) continue;
        const int fd =
            ::openat(at, entry->d_name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat held {};
        struct stat named {};
        // The name is checked again under the lock: it must still be the file we hold.
        if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) &&
            (kind == Leftover::Temporary || held.st_mtime < minuteAgo) &&
            ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::fstatat(at, entry->d_name, &named, AT_SYMLINK_NOFOLLOW) == 0 &&
            named.st_dev == held.st_dev && named.st_ino == held.st_ino)
            ::unlinkat(at, entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// Creates this save's temporary file beside the target and locks it for the save's lifetime.
// A name some other save's cleanup took between our create and our lock is given up for another.
int CreateTemporary(const fs::path& folder, fs::path& temp, const WriteHooks& hooks) {
    const auto open = hooks.open ? hooks.open : RealOpen;
    for (unsigned attempt = 0; attempt < 100; ++attempt) {
        temp = folder / TemporaryFileName(static_cast<unsigned long>(::getpid()));
        // 0666: the umask shapes a new file's bits as it would for a direct create.
        const int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno == EEXIST) continue;
        if (fd < 0) return -1;
        struct stat mine {};
        struct stat named {};
        // A file system without locks has no cleanup either: the file is ours all the same.
        const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK;
        if (locked && ::fstat(fd, &mine) == 0 && ::lstat(temp.c_str(), &named) == 0 &&
            mine.st_dev == named.st_dev && mine.st_ino == named.st_ino)
            return fd;
        if (!locked) ::unlink(temp.c_str());  // our own name: the cleanup that holds it skips it
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// A write past the file-size limit must fail with EFBIG rather than end the program with a file
// half-rewritten. Only for the save's duration, and only where the program kept the default: a
// library should not change a process-wide setting for good behind its caller's back.
class FileSizeSignalIgnored {
public:
    FileSizeSignalIgnored() {
        const std::lock_guard lock(mutex_);
        if (savers_++ > 0) return;
        struct sigaction ignore {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        changed_ = ::sigaction(SIGXFSZ, nullptr, &previous_) == 0 &&
                   (previous_.sa_flags & SA_SIGINFO) == 0 && previous_.sa_handler == SIG_DFL &&
                   ::sigaction(SIGXFSZ, &ignore, nullptr) == 0;
    }
    ~FileSizeSignalIgnored() {
        const std::lock_guard lock(mutex_);
        if (--savers_ == 0 && changed_) ::sigaction(SIGXFSZ, &previous_, nullptr);
    }
    FileSizeSignalIgnored(const FileSizeSignalIgnored&) = delete;
    FileSizeSignalIgnored& operator=(const FileSizeSignalIgnored&) = delete;

private:
    // Saves on several threads: the first one in sets it, the last one out restores it.
    static inline std::mutex mutex_;
    static inline int savers_ = 0;
    static inline bool changed_ = false;
    static inline struct sigaction previous_ {};
};

// Syncs the folder so the rename itself survives a power loss.
void SyncFolder(const fs::path& folder, const WriteHooks& hooks) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The new file is already in place: a failure here only weakens durability, and calling
    // the save failed would be false.
    (void)(hooks.fsync ? hooks.fsync(fd) : ::fsync(fd));
    ::close(fd);
}

// Gives the complete temporary file the target's name unless that name is taken.
int RenameWithoutReplacing(const fs::path& temp, const fs::path& target) {
#ifdef RENAME_NOREPLACE
    if (::renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) return -1;
#endif
    // A file system without renameat2: a hard link fails just as atomically on a taken name.
    if (::link(temp.c_str(), target.c_str()) != 0) return -1;
    ::unlink(temp.c_str());
    return 0;
}

}  // namespace

bool WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes,
                         std::error_code& error, const WriteHooks& hooks, IfExists ifExists) {
    error.clear();
    const bool replace = ifExists == IfExists::Replace;
    fs::path target = path;  // a new file takes the name itself, even that of a dangling link
    if (replace && !ResolveTarget(path, target, error)) return false;
    if (target.filename().empty()) {
        error = std::make_error_code(std::errc::is_a_directory);
        return false;
    }
    const FileSizeSignalIgnored fileSizeSignal;

    struct stat old {};
    if (!replace && ::lstat(target.c_str(), &old) == 0) {
        error = std::make_error_code(std::errc::file_exists);
        return false;
    }
    const bool exists = replace && ::stat(target.c_str(), &old) == 0;
    if (exists && !S_ISREG(old.st_mode)) {
        error = std::make_error_code(S_ISDIR(old.st_mode) ? std::errc::is_a_directory
                                                          : std::errc::invalid_argument);
        return false;
    }
    // A rename would replace a write-protected file that a direct write could not.
    if (exists && ::access(target.c_str(), W_OK) != 0) {
        error = LastError();
        return false;
    }

    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    RemoveLeftovers(folder, target.filename().string());

    // A file with several names: a rename would leave the other names on the old settings.
    if (exists && old.st_nlink > 1) return RewriteInPlace(target, bytes, error, hooks);

    fs::path temp;
    const int fd = CreateTemporary(target.parent_path(), temp, hooks);
    if (fd < 0) {
        // A folder that refuses new files may still hold a settings file the user may rewrite.
        if (exists && (errno == EACCES || errno == EPERM))
            return RewriteInPlace(target, bytes, error, hooks);
        error = LastError();
        return false;
    }

    // The descriptor stays open until the rename: its lock tells other saves the file is in use.
    const auto fail = [&](std::error_code cause) {
        error = cause;
        ::unlink(temp.c_str());
        ::close(fd);
        return false;
    };

    if (exists) {
        // Keep the owner where we may (a save by root must not take the user's file away).
        if (old.st_uid != ::geteuid() || old.st_gid != ::getegid())
            (void)::fchown(fd, old.st_uid, old.st_gid);
        if (::fchmod(fd, old.st_mode & 07777) != 0) return fail(LastError());
    }

    std::size_t written = 0;
    if (const std::error_code cause = WriteAll(fd, bytes, hooks, written)) return fail(cause);
    if (const std::error_code cause = Sync(fd, hooks)) return fail(cause);
    const int renamed = !replace       ? RenameWithoutReplacing(temp, target)
                        : hooks.rename ? hooks.rename(temp.c_str(), target.c_str())
                                       : std::rename(temp.c_str(), target.c_str());
    if (renamed != 0) return fail(LastError());
    ::close(fd);  // the bytes were synced before the rename

    SyncFolder(folder, hooks);
    return true;
}

FileLock::FileLock(const fs::path& file) {
    const int fd =
        ::open(LockFileOf(file).c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0666);
    if (fd < 0) return;
    int locked = -1;
    while ((locked = ::flock(fd, LOCK_EX)) != 0 && errno == EINTR) {
    }
    if (locked != 0) {
        ::close(fd);
        return;
    }
    handle_ = fd;
}

FileLock::~FileLock() {
    if (handle_ != kNone) ::close(static_cast<int>(handle_));  // and the lock goes with it
}

}  // namespace ostrova
