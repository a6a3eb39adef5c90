// What the ostrova-cfg commands share: messages, the write-error watch, reading and saving.
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <system_error>
#include <vector>

#include "cli/command_support.h"
#include "cli/edit.h"
#include "cli/fields.h"
#include "config/messages.h"
#include "config/paths.h"

namespace ostrova::cli {
namespace {

int g_writeErrno = 0;
bool g_writeFailed = false;

std::string_view FormName(FileForm form) {
    return form == FileForm::Cfg ? "wireless.cfg" : "MMSCFG.BIN";
}

std::string Hex16(unsigned v) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "0x%04X", v);
    return buffer;
}

// Every file name given is UTF-8 (on Windows, from the UTF-16 command line).
#ifdef _WIN32
using FileStat = struct _stat64;
int StatFile(const std::string& path, FileStat& st) {
    return ::_wstat64(PathFromUtf8(path).c_str(), &st);
}
int OpenToRead(const std::string& path) {
    return ::_wopen(PathFromUtf8(path).c_str(), _O_RDONLY);  // no FIFO to block on
}
#else
using FileStat = struct stat;
int StatFile(const std::string& path, FileStat& st) {
    return ::stat(path.c_str(), &st);
}
int OpenToRead(const std::string& path) {
    return ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
}
#endif

// What the operating system says about a file that did not open or has the wrong length.
std::string FileDetail(const std::string& path, ReadStatus status) {
    FileStat st{};
    if (StatFile(path, st) != 0) return std::strerror(errno);
    if (S_ISDIR(st.st_mode)) return "a folder, not a file";
    if (!S_ISREG(st.st_mode)) return "not a regular file";
    if (status == ReadStatus::TooShort || status == ReadStatus::TooLong)
        return std::to_string(st.st_size) + (st.st_size == 1 ? " byte" : " bytes") +
               "; a settings file has 2 to 8192";
    const int fd = OpenToRead(path);
    if (fd < 0) return std::strerror(errno);
#ifdef _WIN32
    ::_close(fd);
#else
    ::close(fd);
#endif
    return {};
}

bool AllDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool WriteFailed() {
    if (!g_writeFailed && (!std::cout || std::ferror(stdout))) {
        g_writeFailed = true;
        g_writeErrno = errno;
    }
    return g_writeFailed;
}

int WriteErrno() {
    return g_writeErrno;
}

void Error(const std::string& where, const std::string& what) {
    std::cerr << "ostrova-cfg: " << (where.empty() ? "" : Escaped(where, false) + ": ")
              << Escaped(what, false) << '\n';
}

FileForm FormOf(const std::string& path, const std::string& option) {
    if (option.empty()) return FileFormFromExtension(path);
    return option == "bin" ? FileForm::Bin : FileForm::Cfg;
}

Loaded Load(const std::string& path, FileForm form) {
    Loaded out;
    out.form = form;
    SetConfigDefaults(out.record);
    const FileBytes file = ReadWholeFile(PathFromUtf8(path));
    if (file.status != ReadStatus::Loaded) {
        const std::string detail = FileDetail(path, file.status);
        out.summary = std::string(msg::LoadFailureMessage(file.status)) +
                      (detail.empty() ? "" : " (" + detail + ")");
        return out;
    }
    const std::size_t size = file.bytes.size();
    const ReadResult result = ReadSettingsBytes(file.bytes, form, Reader::LoadCommand, out.record);
    if (result.status == ReadStatus::ChecksumMismatch) {
        const std::size_t n = file.bytes.size();
        const unsigned stored = file.bytes[n - 2] << 8 | file.bytes[n - 1];
        const unsigned computed = ConfigChecksum(std::span(file.bytes).first(n - 2));
        out.summary = std::string(msg::LoadFailureMessage(result.status)) + " (stored " +
                      Hex16(stored) + ", computed " + Hex16(computed) + ")";
        return out;
    }
    if (result.status == ReadStatus::HigherVersion) {
        out.summary = std::string(msg::LoadFailureMessage(result.status)) + " (version " +
                      std::to_string(file.bytes[0]) + ")";
        return out;
    }
    out.ok = true;
    const std::size_t full = form == FileForm::Cfg ? kCfgFormSize : kBinFormSize;
    std::string s =
        "valid (" + std::string(FormName(form)) + " form, " + std::to_string(size) + " bytes";
    if (size != full) s += ", written files have " + std::to_string(full);
    if (form == FileForm::Cfg) {
        s += ", checksum agrees, version " + std::to_string(out.record.version) + ")";
    } else {
        const unsigned stored = file.bytes[0];
        s += ", version " + std::to_string(stored) + ")";
        if (stored < kCurrentVersion) s += "; an old file: read as version 2";
        if (stored == 1) s += " with countryId and operatorId + 1 and maxNum 50";
        if (stored != 1 && file.bytes.size() > 8 && file.bytes[8] != out.record.countryId)
            s += std::string(stored < kCurrentVersion ? " and" : "; an old file:") +
                 " country id " + std::to_string(file.bytes[8]) + " renumbered to " +
                 std::to_string(out.record.countryId);
    }
    out.summary = std::move(s);
    return out;
}

std::optional<std::tm> SaveTime(const std::optional<std::string>& option, std::string& why) {
    std::tm t{};
    if (option) {
        if (const auto parsed = ParseSaveTime(*option)) return parsed;
        why = "--time " + *option + ": expects a local date and time such as 2026-12-07T10:00:00";
        return std::nullopt;
    }
    if (const char* epoch = std::getenv("SOURCE_DATE_EPOCH"); epoch && *epoch) {
        const std::string s = epoch;
        const long long seconds = AllDigits(s) && s.size() < 15 ? std::stoll(s) : -1;
        const std::time_t when = static_cast<std::time_t>(seconds);
        if (seconds < 0 || !::gmtime_r(&when, &t) || t.tm_year + 1900 > 9999) {
            why = "SOURCE_DATE_EPOCH=" + s + ": expects seconds since 1970";
            return std::nullopt;
        }
        return t;
    }
    const std::time_t now = std::time(nullptr);
    ::localtime_r(&now, &t);
    return t;
}

int Save(ConfigRecord record, const std::string& path, FileForm form, const std::tm& time,
         IfExists ifExists) {
    PrepareForSave(record);
    if (const auto refusal = SaveRefusal(record)) {
        Error(path, *refusal);
        return kFailed;
    }
    const std::vector<std::uint8_t> bytes = EncodeForSave(record, form, time);
    std::error_code error;
    if (!WriteFileAtomically(PathFromUtf8(path), bytes, error, {}, ifExists)) {
        if (error == std::errc::file_exists) {
            Error(path, "exists already; --force replaces it");
            return kFailed;
        }
        Error(path, std::string(msg::kCreateFileFail) + " (" + error.message() + ")");
        return kFailed;
    }
    return kOk;
}

}  // namespace ostrova::cli
