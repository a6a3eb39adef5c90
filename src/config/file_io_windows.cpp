// The file system calls of the settings core on Windows, on the Win32 file API: paths stay
// UTF-16 end to end and reach the system in their long form, so a folder named in any script,
// or deeper than MAX_PATH, works.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <fcntl.h>
#include <io.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/codec.h"
#include "config/save.h"
#include "config/settings_folder.h"
#include "text/utf16.h"

namespace ostrova {
namespace {

namespace fs = std::filesystem;

std::error_code ErrnoError() {
    return {errno, std::generic_category()};
}

std::error_code SystemError(DWORD code) {
    return {static_cast<int>(code), std::system_category()};
}

// The target's folder, with its trailing backslash: where a save's own files go.
std::wstring FolderOf(const std::wstring& target) {
    const std::size_t slash = target.find_last_of(L'\\');
    return target.substr(0, slash == std::wstring::npos ? 0 : slash + 1);
}

// The old file's name while ReplaceFileW swaps the files: after the file's own, so that a user
// who finds it after a crash knows it, unless that passes the 255 units a name may have.
std::wstring BackupBeside(const std::wstring& target) {
    static std::atomic<unsigned> counter{0};
    const std::wstring folder = FolderOf(target);
    const std::wstring number =
        std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
    std::wstring name = L"." + target.substr(folder.size()) + L".old-" + number;
    if (name.size() > 255) name = L".ostrova-old-" + number;
    return folder + name;
}

ULONGLONG Ticks(const FILETIME& time) {
    return (ULONGLONG{time.dwHighDateTime} << 32) | time.dwLowDateTime;
}

// Removes what killed saves left beside the target (see TemporaryFileName). A running save
// writes its temporary file through a handle that refuses deletion and closes it right before
// ReplaceFileW, so a file goes only once a minute old and when the system lets it. The old file
// under a backup name stays: where the target is gone, it is the only copy of the settings.
void RemoveLeftovers(const std::wstring& target) {
    const std::wstring folder = FolderOf(target);
    const std::string targetName = Utf8FromWide(std::wstring_view(target).substr(folder.size()));
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const ULONGLONG minuteAgo = Ticks(now) - 60ULL * 10'000'000ULL;
    WIN32_FIND_DATAW entry{};
    const HANDLE find = FindFirstFileW((folder + L".*").c_str(), &entry);
    for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileW(find, &entry)) {
        constexpr DWORD kNotAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
        if ((entry.dwFileAttributes & kNotAFile) == 0 && Ticks(entry.ftLastWriteTime) < minuteAgo &&
            LeftoverOf(Utf8FromWide(entry.cFileName), targetName) != Leftover::None)
            DeleteFileW((folder + entry.cFileName).c_str());  // refused while in use: skipped
    }
    if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

// The attributes a user gives a file. ReplaceFileW keeps them on Windows, but not every
// implementation of it does (wine's does not), and a save must not unhide a hidden file.
constexpr DWORD kKeptAttributes =
    FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

// Puts the complete temporary file in the target's place; on failure both keep their names.
bool Replace(const std::wstring& temp, const std::wstring& target, bool exists,
             std::error_code& error) {
    if (!exists) {
        // Without MOVEFILE_REPLACE_EXISTING: a file that appeared meanwhile is never replaced.
        if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
        const DWORD code = GetLastError();
        error = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS
                    ? std::make_error_code(std::errc::file_exists)
                    : SystemError(code);
        return false;
    }
    // The old file steps aside under a name of this save's own, so that a failure half-way can
    // put it back; without one, Windows may leave it under a name nobody knows.
    const std::wstring backup = BackupBeside(target);
    if (ReplaceFileW(target.c_str(), temp.c_str(), backup.c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr)) {
        DeleteFileW(backup.c_str());
        return true;
    }
    const DWORD code = GetLastError();
    // Moved aside, but the new file did not take its place: the old one goes back.
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) MoveFileExW(backup.c_str(), target.c_str(), 0);
    error = SystemError(code);
    return false;
}

}  // namespace

std::wstring LongPathName(const fs::path& path) {
    constexpr std::wstring_view kVerbatim = L"\\\\?\\", kDevice = L"\\\\.\\";
    const std::wstring& name = path.native();
    if (name.starts_with(kVerbatim) || name.starts_with(kDevice)) return name;
    // Absolute against the current folder, '/' turned into '\', "." and ".." resolved: a long
    // name is taken as it stands.
    const DWORD room = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (room == 0) return name;
    std::wstring full(room, L'\0');
    const DWORD length = GetFullPathNameW(name.c_str(), room, full.data(), nullptr);
    if (length == 0 || length >= room) return name;
    full.resize(length);
    if (full.starts_with(kVerbatim) || full.starts_with(kDevice)) return full;  // "NUL", "COM1"
    if (full.starts_with(L"\\\\")) return L"\\\\?\\UNC\\" + full.substr(2);
    if (full.size() >= 3 && full[1] == L':' && full[2] == L'\\')
        return std::wstring(kVerbatim) + full;
    return full;
}

FileBytes ReadWholeFile(const fs::path& path) {
    FileBytes result;
    const HANDLE file = CreateFileW(LongPathName(path).c_str(), GENERIC_READ,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return result;
    // Only files on a disk are settings: no pipe or device to wait on.
    LARGE_INTEGER size{};
    if (GetFileType(file) != FILE_TYPE_DISK || !GetFileSizeEx(file, &size)) {
        CloseHandle(file);
        return result;
    }
    const auto length = static_cast<std::uint64_t>(size.QuadPart);
    result.status = StatusForLength(length);
    if (result.status == ReadStatus::Loaded) {
        result.bytes.resize(length);
        std::size_t got = 0;
        while (got < length) {
            DWORD r = 0;
            if (!ReadFile(file, result.bytes.data() + got, static_cast<DWORD>(length - got), &r,
                          nullptr) ||
                r == 0)
                break;
            got += r;
        }
        if (got == length) {
            result.status = ReadStatus::Loaded;
        } else {
            result.status = ReadStatus::ReadError;
            result.bytes.clear();
        }
    }
    CloseHandle(file);
    return result;
}

bool WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes,
                         std::error_code& error, const WriteHooks& hooks, IfExists ifExists) {
    error.clear();
    if (path.filename().empty()) {
        error = std::make_error_code(std::errc::is_a_directory);
        return false;
    }
    const std::wstring target = LongPathName(path);
    WIN32_FILE_ATTRIBUTE_DATA old{};
    const bool exists = GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &old) != 0;
    if (exists && ifExists == IfExists::Refuse) {
        error = std::make_error_code(std::errc::file_exists);
        return false;
    }
    if (exists && (old.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        error = std::make_error_code(std::errc::is_a_directory);
        return false;
    }
    // A new file would replace a read-only one that a direct write could not.
    if (exists && (old.dwFileAttributes & FILE_ATTRIBUTE_READONLY) != 0) {
        error = std::make_error_code(std::errc::permission_denied);
        return false;
    }

    RemoveLeftovers(target);

    std::wstring temp;
    HANDLE file = INVALID_HANDLE_VALUE;
    DWORD code = ERROR_FILE_EXISTS;
    for (unsigned attempt = 0; attempt < 100 && code == ERROR_FILE_EXISTS; ++attempt) {
        // No FILE_SHARE_DELETE: another save's cleanup cannot take the file while it is written.
        temp = FolderOf(target) + WideFromUtf8(TemporaryFileName(GetCurrentProcessId()));
        file = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
        code = file == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    }
    if (file == INVALID_HANDLE_VALUE) {
        error = SystemError(code);
        return false;
    }
    // A C runtime descriptor, so the write hooks see what they see on POSIX.
    int fd = ::_open_osfhandle(reinterpret_cast<std::intptr_t>(file), _O_BINARY | _O_WRONLY);
    if (fd < 0) {
        error = ErrnoError();
        CloseHandle(file);
        DeleteFileW(temp.c_str());
        return false;
    }
    const auto fail = [&](std::error_code cause) {
        error = cause;
        if (fd >= 0) ::_close(fd);
        DeleteFileW(temp.c_str());
        return false;
    };

    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = hooks.write ? hooks.write(fd, bytes.data() + done, bytes.size() - done)
                                   : ::_write(fd, bytes.data() + done,
                                              static_cast<unsigned>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(ErrnoError());
        if (n == 0) return fail(std::make_error_code(std::errc::io_error));
        done += static_cast<std::size_t>(n);
    }
    if ((hooks.fsync ? hooks.fsync(fd) : ::_commit(fd)) != 0) return fail(ErrnoError());
    const int closed = ::_close(fd);
    fd = -1;
    if (closed != 0) return fail(ErrnoError());

    if (exists && (old.dwFileAttributes & kKeptAttributes) != 0)
        SetFileAttributesW(temp.c_str(),
                           FILE_ATTRIBUTE_ARCHIVE | (old.dwFileAttributes & kKeptAttributes));
    if (hooks.rename && ifExists == IfExists::Replace) {
        if (hooks.rename(Utf8FromWide(temp).c_str(), Utf8FromWide(target).c_str()) != 0)
            return fail(ErrnoError());
        return true;
    }
    std::error_code replaced;
    if (!Replace(temp, target, exists, replaced)) return fail(replaced);
    return true;
}

FileLock::FileLock(const fs::path& file) {
    // Shared for all, so every save opens it; hidden, as a dot does not hide it on Windows.
    const HANDLE lock =
        CreateFileW(LongPathName(LockFileOf(file)).c_str(), GENERIC_READ | GENERIC_WRITE,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                    FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (lock == INVALID_HANDLE_VALUE) return;
    OVERLAPPED at{};
    if (!LockFileEx(lock, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &at)) {
        CloseHandle(lock);
        return;
    }
    handle_ = reinterpret_cast<std::intptr_t>(lock);
}

FileLock::~FileLock() {
    if (handle_ == kNone) return;
    const HANDLE lock = reinterpret_cast<HANDLE>(handle_);
    OVERLAPPED at{};
    UnlockFileEx(lock, 0, 1, 0, &at);
    CloseHandle(lock);
}

// The folder's access rights, not only its read-only flag, decide: try to create a file there.
// A write-protected card or a read-only share refuses it too.
bool IsWritableFolder(const fs::path& folder) {
    const std::wstring probe =
        LongPathName(folder / (L".ostrova-write-test-" + std::to_wstring(GetCurrentProcessId())));
    const HANDLE file = CreateFileW(
        probe.c_str(), GENERIC_WRITE | DELETE, 0, nullptr, CREATE_NEW,
        FILE_ATTRIBUTE_TEMPORARY | FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    CloseHandle(file);  // and the file is gone
    return true;
}

std::string ReadEnv(const char* name) {
    const std::wstring wide(name, name + std::strlen(name));
    const wchar_t* value = ::_wgetenv(wide.c_str());
    // A value that is not text (a lone surrogate) would name another folder: taken as unset.
    if (value == nullptr || !IsWellFormedUtf16(value)) return {};
    return Utf8FromWide(value);
}

}  // namespace ostrova
