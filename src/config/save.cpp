#include "config/save.h"

#include <algorithm>
#include <atomic>
#include <ctime>
#include <string>

#include "config/presets.h"

namespace ostrova {

void PrepareForSave(ConfigRecord& record) {
    record.version = kCurrentVersion;
    record.fixedFlag = 1;
    if (record.auxFlag != 1) record.auxFlag = 0;
}

void StampSaveTime(ConfigRecord& record, const std::tm& local) {
    record.saveYear.set(static_cast<std::uint16_t>(local.tm_year + 1900));
    record.saveMonth = static_cast<std::uint8_t>(local.tm_mon + 1);
    record.saveDay = static_cast<std::uint8_t>(local.tm_mday);
    record.saveHour = static_cast<std::uint8_t>(local.tm_hour);
    record.saveMinute = static_cast<std::uint8_t>(local.tm_min);
    record.saveSecond = static_cast<std::uint8_t>(local.tm_sec);
}

std::optional<std::tm> ParseSaveTime(std::string_view text) {
    if (text.size() != 19) return std::nullopt;
    int parts[6] = {};  // year, month, day, hour, minute, second
    for (std::size_t i = 0, part = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (i == 4 || i == 7 || i == 10 || i == 13 || i == 16) {
            const char expected = i < 10 ? '-' : i > 10 ? ':' : ' ';
            if (c != expected && !(i == 10 && c == 'T')) return std::nullopt;
            ++part;
        } else if (c >= '0' && c <= '9') {
            parts[part] = parts[part] * 10 + (c - '0');
        } else {
            return std::nullopt;
        }
    }
    const auto [year, month, day, hour, minute, second] = parts;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1 || day > kDays[month - 1] ||
        (month == 2 && day == 29 && !leap) || hour > 23 || minute > 59 || second > 59)
        return std::nullopt;
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    return t;
}

void CompleteForWrite(ConfigRecord& record) {
    CopyPresetToParams(record, record.countryId, record.operatorId);
}

std::vector<std::uint8_t> EncodeForSave(ConfigRecord& record, FileForm form, const std::tm& local) {
    if (form == FileForm::Cfg) StampSaveTime(record, local);
    CompleteForWrite(record);
    return EncodeForm(record, form);
}

bool NeedsEmailAccount(const ConfigRecord& record) {
    return record.sendMode == kSendInstant && record.sendVia == kViaInternet &&
           record.sendTo == kToEmail &&
           (TextOf(record.smtpAccount).empty() || TextOf(record.smtpServer).empty());
}

bool SmsControlWithoutPhone(const ConfigRecord& record) {
    return record.smsControl != 0 &&
           std::all_of(record.phone.begin(), record.phone.end(),
                       [](const TextField<20>& p) { return TextOf(p).empty(); });
}

FileForm FileFormFromList(int selection, int count) {
    const bool cfg = (selection == 1 && count == 2) || (selection == 0 && count == 1);
    return cfg ? FileForm::Cfg : FileForm::Bin;
}

FileForm FileFormFromExtension(std::string_view path) {
    // Either separator ends a folder: on Windows a dot in a folder's name must not count.
    const std::size_t slash = path.find_last_of("/\\");
    const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string_view::npos || dot + 1 >= name.size()) return FileForm::Cfg;
    const char first = name[dot + 1];
    return first == 'B' || first == 'b' ? FileForm::Bin : FileForm::Cfg;
}

namespace {

// A temporary file of any target's save is nobody's only copy: the cleanup takes every one.
constexpr std::string_view kTemporaryPrefix = ".ostrova-tmp-";

// "<digits>-<digits>..." in at least fewest and at most most groups.
bool IsNumberGroups(std::string_view text, int fewest, int most) {
    int groups = 0;
    for (std::size_t start = 0;; ++groups) {
        const std::size_t dash = std::min(text.find('-', start), text.size());
        const std::string_view group = text.substr(start, dash - start);
        if (group.empty() || group.find_first_not_of("0123456789") != std::string_view::npos)
            return false;
        if (dash == text.size()) return groups + 1 >= fewest && groups + 1 <= most;
        start = dash + 1;
    }
}

class DamagedFile : public std::error_category {
public:
    const char* name() const noexcept override { return "ostrova-damaged-file"; }
    std::string message(int cause) const override {
        return std::generic_category().message(cause) +
               "; the old settings could not be put back either: the file may be damaged";
    }
    std::error_condition default_error_condition(int cause) const noexcept override {
        return {cause, std::generic_category()};
    }
};

}  // namespace

const std::error_category& DamagedFileCategory() {
    static const DamagedFile category;
    return category;
}

std::string TemporaryFileName(unsigned long pid) {
    static std::atomic<unsigned> counter{0};
    return std::string(kTemporaryPrefix) + std::to_string(pid) + "-" + std::to_string(counter++);
}

Leftover LeftoverOf(std::string_view name, std::string_view targetName) {
    if (name.starts_with(kTemporaryPrefix) &&
        IsNumberGroups(name.substr(kTemporaryPrefix.size()), 2, 2))
        return Leftover::Temporary;
    constexpr std::string_view kOlderSuffix = ".tmp-";
    const std::string_view named = name.substr(std::min<std::size_t>(1, name.size()));
    if (name.starts_with('.') && named.starts_with(targetName) &&
        named.substr(targetName.size()).starts_with(kOlderSuffix) &&
        IsNumberGroups(named.substr(targetName.size() + kOlderSuffix.size()), 2, 3))
        return Leftover::OlderRelease;
    return Leftover::None;
}

std::filesystem::path LockFileOf(const std::filesystem::path& file) {
    std::error_code ec;
    // Every name of one file locks the same companion: "x.cfg", "./x.cfg" and a link to it.
    std::filesystem::path real = std::filesystem::weakly_canonical(file, ec);
    if (ec) real = file;
    std::filesystem::path name = ".";
    name += real.filename();  // in the system's own encoding: any name works
    name += ".lock";
    return real.parent_path() / name;
}

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::error_code ignored;
    return WriteFileAtomically(path, bytes, ignored);
}

}  // namespace ostrova
