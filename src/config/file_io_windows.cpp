// The file system calls of the settings core on Windows, through the C runtime's wide-character
// functions: paths stay UTF-16 end to end, so a folder named in any script works.
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <string>

#include "config/codec.h"
#include "config/save.h"
#include "config/settings_folder.h"

namespace ostrova {
namespace {

namespace fs = std::filesystem;

std::error_code LastError() {
    return {errno, std::generic_category()};
}

std::string Utf8(const fs::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

}  // namespace

FileBytes ReadWholeFile(const fs::path& path) {
    FileBytes result;
    const int fd = ::_wopen(path.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
    if (fd < 0) return result;
    struct _stat64 st {};
    if (::_fstat64(fd, &st) != 0 || (st.st_mode & _S_IFMT) != _S_IFREG) {
        ::_close(fd);
        return result;
    }
    const auto length = static_cast<std::uint64_t>(st.st_size);
    if (length < kMinFileSize) {
        result.status = ReadStatus::TooShort;
    } else if (length > kMaxFileSize) {
        result.status = ReadStatus::TooLong;
    } else {
        result.bytes.resize(length);
        std::size_t got = 0;
        while (got < length) {
            const int r =
                ::_read(fd, result.bytes.data() + got, static_cast<unsigned>(length - got));
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
    ::_close(fd);
    return result;
}

bool WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes,
                         std::error_code& error, const WriteHooks& hooks) {
    error.clear();
    const fs::path& target = path;
    if (target.filename().empty()) {
        error = std::make_error_code(std::errc::is_a_directory);
        return false;
    }
    std::error_code probe;
    const fs::file_status status = fs::status(target, probe);
    const bool exists = fs::exists(status);
    if (exists && !fs::is_regular_file(status)) {
        error = std::make_error_code(fs::is_directory(status) ? std::errc::is_a_directory
                                                              : std::errc::invalid_argument);
        return false;
    }
    // A rename would replace a read-only file that a direct write could not.
    if (exists && ::_waccess(target.c_str(), 2) != 0) {
        error = LastError();
        return false;
    }

    static std::atomic<unsigned> counter{0};
    fs::path temp;
    int fd = -1;
    for (unsigned attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = target.parent_path() /
               (L"." + target.filename().wstring() + L".tmp-" + std::to_wstring(::_getpid()) +
                L"-" + std::to_wstring(counter++));
        fd = ::_wopen(temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                      _S_IREAD | _S_IWRITE);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        error = LastError();
        return false;
    }
    const auto fail = [&](std::error_code cause) {
        error = cause;
        if (fd >= 0) ::_close(fd);
        ::_wunlink(temp.c_str());
        return false;
    };

    std::size_t done = 0;
    while (done < bytes.size()) {
        const long n = hooks.write ? hooks.write(fd, bytes.data() + done, bytes.size() - done)
                                   : ::_write(fd, bytes.data() + done,
                                              static_cast<unsigned>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(LastError());
        if (n == 0) return fail(std::make_error_code(std::errc::io_error));
        done += static_cast<std::size_t>(n);
    }
    if ((hooks.fsync ? hooks.fsync(fd) : ::_commit(fd)) != 0) return fail(LastError());
    const int closed = ::_close(fd);
    fd = -1;
    if (closed != 0) return fail(LastError());
    // std::filesystem::rename replaces an existing file in one step (MoveFileEx), which the
    // C runtime's rename refuses to do.
    if (hooks.rename) {
        if (hooks.rename(Utf8(temp).c_str(), Utf8(target).c_str()) != 0) return fail(LastError());
    } else {
        std::error_code renamed;
        fs::rename(temp, target, renamed);
        if (renamed) return fail(renamed);
    }
    return true;
}

// The folder's access rights, not only its read-only flag, decide: try to create a file there.
bool IsWritableFolder(const fs::path& folder) {
    const fs::path probe = folder / (L".ostrova-write-test-" + std::to_wstring(::_getpid()));
    const int fd = ::_wopen(probe.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_TEMPORARY,
                            _S_IREAD | _S_IWRITE);
    if (fd < 0) return false;
    ::_close(fd);  // _O_TEMPORARY removes it
    return true;
}

std::string ReadEnv(const char* name) {
    const std::wstring wide(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = ::_wgetenv(wide.c_str());
    return value != nullptr ? Utf8(fs::path(value)) : std::string();
}

}  // namespace ostrova
