// ostrova-cfg: shows, checks, compares, converts and edits the camera's settings files
// without the window, with the same reading rules, field rules and save steps.
#include <fcntl.h>
#include <sys/stat.h>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "cli/edit.h"
#include "cli/fields.h"
#include "cli/preset_list.h"
#include "config/codec.h"
#include "config/messages.h"
#include "config/paths.h"
#include "config/record.h"
#include "config/save.h"
#include "ostrova/version.h"
#include "tables/operator_presets.h"
#include "text/cp1252.h"
#ifdef _WIN32
#include "text/utf16.h"
#endif

namespace ostrova::cli {
namespace {

constexpr int kOk = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

int g_writeErrno = 0;
bool g_writeFailed = false;

// Whether writing to standard output has failed; called right after writing, while errno still
// says why. Output lost to a full disk is a failure, as for the standard tools.
bool WriteFailed() {
    if (!g_writeFailed && (!std::cout || std::ferror(stdout))) {
        g_writeFailed = true;
        g_writeErrno = errno;
    }
    return g_writeFailed;
}

void Error(const std::string& where, const std::string& what) {
    std::cerr << "ostrova-cfg: " << (where.empty() ? "" : Escaped(where, false) + ": ")
              << Escaped(what, false) << '\n';
}

std::string_view FormName(FileForm form) {
    return form == FileForm::Cfg ? "wireless.cfg" : "MMSCFG.BIN";
}

// The form by the --form option when given, else by the extension, as the Load command does.
FileForm FormOf(const std::string& path, const std::string& option) {
    if (option.empty()) return FileFormFromExtension(path);
    return option == "bin" ? FileForm::Bin : FileForm::Cfg;
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

// A settings file read by the Load command's rules over the defaults.
struct Loaded {
    bool ok = false;
    std::string summary;  // "valid (...)" or the Load command's message with the cause
    ConfigRecord record{};
    FileForm form = FileForm::Cfg;
    std::size_t size = 0;
};

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
    out.size = file.bytes.size();
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
        "valid (" + std::string(FormName(form)) + " form, " + std::to_string(out.size) + " bytes";
    if (out.size != full) s += ", written files have " + std::to_string(full);
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

bool ReservedInUse(const ConfigRecord& r, std::string& which) {
    for (const ByteRange& range : ReservedRanges()) {
        const auto bytes = r.bytes().subspan(range.offset, range.size);
        if (std::any_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b != 0; })) {
            which += (which.empty() ? "" : ", ") + std::to_string(range.offset) + ".." +
                     std::to_string(range.offset + range.size - 1);
        }
    }
    return !which.empty();
}

// --- show, check, diff --------------------------------------------------------------------

nlohmann::ordered_json ToJson(const ConfigRecord& r) {
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const Field& f : Fields()) {
        if (f.kind == FieldKind::Text)
            j[f.name] = Cp1252ToUtf8(TextBytes(r, f));
        else
            j[f.name] = NumberOf(r, f);
    }
    return j;
}

// Names that are not UTF-8 are printed with U+FFFD rather than refused.
std::string Dump(const nlohmann::ordered_json& j) {
    return j.dump(2, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}

int Show(const std::vector<std::string>& files, const std::string& form, bool json) {
    int status = kOk;
    bool first = true;
    // One file: its fields alone, the object --from-json reads. Several: one array of them all.
    nlohmann::ordered_json all = nlohmann::ordered_json::array();
    for (const std::string& path : files) {
        const Loaded file = Load(path, FormOf(path, form));
        if (!file.ok) {
            Error(path, file.summary);
            status = kFailed;
        }
        if (json && files.size() > 1) {
            nlohmann::ordered_json entry = {{"file", path},
                                            {"form", file.form == FileForm::Cfg ? "cfg" : "bin"},
                                            {"valid", file.ok}};
            if (!file.ok) entry["error"] = file.summary;
            entry["fields"] = file.ok ? ToJson(file.record) : nlohmann::ordered_json();
            all.push_back(std::move(entry));
            continue;
        }
        if (!file.ok) continue;
        if (json) {
            std::cout << Dump(ToJson(file.record)) << '\n';
            continue;
        }
        if (!first) std::cout << '\n';
        first = false;
        std::cout << Escaped(path, false) << ": " << file.summary << '\n';
        if (file.form == FileForm::Bin)
            std::cout << "  note: MMSCFG.BIN ends before ftpAccount; the fields from there on "
                         "show their defaults\n";
        std::string reserved;
        if (ReservedInUse(file.record, reserved))
            std::cout << "  note: reserved bytes " << reserved
                      << " are not zero; a save keeps them\n";
        for (const Field& f : Fields()) {
            std::string name = f.name;
            name.resize(std::max<std::size_t>(name.size() + 1, 17), ' ');
            std::cout << "  " << name << Display(file.record, f) << '\n';
        }
        if (WriteFailed()) break;
    }
    if (json && files.size() > 1) std::cout << Dump(all) << '\n';
    return status;
}

int Check(const std::vector<std::string>& files, const std::string& form, bool verbose) {
    int status = kOk;
    for (const std::string& path : files) {
        const Loaded file = Load(path, FormOf(path, form));
        if (!file.ok) status = kFailed;
        if (!file.ok && !verbose) Error(path, file.summary);
        if (verbose)
            std::cout << Escaped(path, false) << ": " << (file.ok ? "" : "not valid: ")
                      << file.summary << '\n';
        if (WriteFailed()) break;
    }
    return status;
}

int Diff(const std::string& a, const std::string& b, const std::string& formA,
         const std::string& formB) {
    const Loaded left = Load(a, FormOf(a, formA));
    const Loaded right = Load(b, FormOf(b, formB));
    if (!left.ok || !right.ok) {
        if (!left.ok) Error(a, left.summary);
        if (!right.ok) Error(b, right.summary);
        return kUsage;  // as diff(1): trouble
    }
    bool differ = false;
    for (const Field& f : Fields()) {
        const bool same = f.kind == FieldKind::Text
                              ? TextBytes(left.record, f) == TextBytes(right.record, f)
                              : NumberOf(left.record, f) == NumberOf(right.record, f);
        if (same) continue;
        differ = true;
        std::cout << f.name << ": " << Display(left.record, f) << " -> " << Display(right.record, f)
                  << '\n';
    }
    for (const ByteRange& range : ReservedRanges()) {
        const auto l = left.record.bytes().subspan(range.offset, range.size);
        const auto r = right.record.bytes().subspan(range.offset, range.size);
        if (std::equal(l.begin(), l.end(), r.begin())) continue;
        differ = true;
        std::cout << "reserved bytes " << range.offset << ".." << range.offset + range.size - 1
                  << " differ\n";
    }
    WriteFailed();
    return differ ? kFailed : kOk;
}

// --- writing ------------------------------------------------------------------------------

bool AllDigits(std::string_view s) {
    return !s.empty() &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// --time (local, "2026-12-07T10:00:00"), else SOURCE_DATE_EPOCH (in UTC, so the same
// sources give the same file anywhere), else the current local time.
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

// The save as the window makes it: preparation, its checks, the time stamp for
// wireless.cfg, the preset copy, then an atomic replacement of the file.
int Save(ConfigRecord record, const std::string& path, FileForm form, const std::tm& time,
         IfExists ifExists = IfExists::Replace) {
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

constexpr std::size_t kMaxJsonBytes = 1 << 20;

// The whole of a JSON file or of standard input ("-"), up to kMaxJsonBytes: a device or a pipe
// without end is refused instead of read forever. Else false and why.
bool ReadJsonText(const std::string& path, std::string& text, std::string& why) {
    std::FILE* in = stdin;
    if (path != "-") {
#ifdef _WIN32
        in = ::_wfopen(PathFromUtf8(path).c_str(), L"rb");
#else
        in = std::fopen(path.c_str(), "rb");
#endif
        if (!in) {
            why = std::strerror(errno);
            return false;
        }
    }
    text.resize(kMaxJsonBytes + 1);
    std::size_t got = 0;
    while (got < text.size()) {
        const std::size_t n = std::fread(text.data() + got, 1, text.size() - got, in);
        got += n;
        if (n == 0) break;
    }
    const bool failed = std::ferror(in);
    if (failed) why = std::strerror(errno);
    if (in != stdin) std::fclose(in);
    if (failed) return false;
    if (got > kMaxJsonBytes) {
        why = "is larger than 1 MiB; a JSON file of fields is far smaller";
        return false;
    }
    text.resize(got);
    return true;
}

// The fields of a JSON object as show --json prints it.
std::optional<std::vector<Assignment>> JsonEdits(const std::string& path, int& status) {
    status = kFailed;
    std::string text, why;
    if (!ReadJsonText(path, text, why)) {
        Error(path, why);
        return std::nullopt;
    }
    // A field named twice is an error, as on the command line; a JSON object would keep the last.
    std::set<std::string> keys;
    std::string twice;
    const auto onEvent = [&](int depth, nlohmann::json::parse_event_t event,
                             nlohmann::json& parsed) {
        if (event == nlohmann::json::parse_event_t::key && depth == 1 && twice.empty() &&
            !keys.insert(parsed.get<std::string>()).second)
            twice = parsed.get<std::string>();
        return true;
    };
    const nlohmann::json j = nlohmann::json::parse(text, onEvent, false);
    if (!twice.empty() && j.is_object()) {
        Error(path, twice + ": given twice");
        status = kUsage;
        return std::nullopt;
    }
    if (j.is_discarded() || !j.is_object()) {
        Error(path, "expects one JSON object of fields, as show --json prints it");
        return std::nullopt;
    }
    std::vector<Assignment> edits;
    for (const auto& [key, value] : j.items()) {
        Assignment a{key, "", true, false};
        if (value.is_string()) {
            a.value = value.get<std::string>();
        } else if (value.is_number_unsigned()) {
            a.value = std::to_string(value.get<std::uint64_t>());
            a.jsonNumber = true;
        } else {
            Error(path, key + ": expects a whole number from 0 or a string");
            return std::nullopt;
        }
        edits.push_back(std::move(a));
    }
    return edits;
}

// field=value arguments, then the JSON file's fields that the arguments do not name.
std::optional<std::vector<Assignment>> Edits(const std::vector<std::string>& args,
                                             const std::string& jsonPath, int& status) {
    std::vector<Assignment> edits;
    for (const std::string& arg : args) {
        const std::size_t eq = arg.find('=');
        if (eq == std::string::npos || eq == 0) {
            Error(arg, "expects field=value");
            status = kUsage;
            return std::nullopt;
        }
        Assignment a{arg.substr(0, eq), arg.substr(eq + 1)};
        if (std::any_of(edits.begin(), edits.end(),
                        [&](const Assignment& e) { return e.field == a.field; })) {
            Error(a.field, "given twice");
            status = kUsage;
            return std::nullopt;
        }
        edits.push_back(std::move(a));
    }
    if (!jsonPath.empty()) {
        auto json = JsonEdits(jsonPath, status);
        if (!json) return std::nullopt;
        for (Assignment& a : *json) {
            if (std::none_of(edits.begin(), edits.end(),
                             [&](const Assignment& e) { return e.field == a.field; }))
                edits.push_back(std::move(a));
        }
    }
    return edits;
}

struct WriteOptions {
    std::string form;
    std::optional<std::string> time;  // given, even empty, it is the only source
    std::string json;
    bool force = false;
};

int EditAndSave(ConfigRecord record, const std::string& path, FileForm form,
                const std::vector<std::string>& args, const WriteOptions& options,
                IfExists ifExists = IfExists::Replace) {
    std::string why;
    const std::optional<std::tm> time = SaveTime(options.time, why);
    if (!time) {
        Error(path, why);
        return kUsage;
    }
    int status = kOk;
    const auto edits = Edits(args, options.json, status);
    if (!edits) return status;
    if (const auto error = ApplyEdits(record, *edits, form)) {
        Error(path, error->message);
        return error->exitCode;
    }
    return Save(record, path, form, *time, ifExists);
}

int New(const std::string& out, const std::vector<std::string>& args, const WriteOptions& options) {
    std::error_code ec;
    if (!options.force &&
        std::filesystem::exists(std::filesystem::symlink_status(PathFromUtf8(out), ec))) {
        Error(out, "exists already; --force replaces it");
        return kFailed;
    }
    ConfigRecord record{};
    SetConfigDefaults(record);
    return EditAndSave(record, out, FormOf(out, options.form), args, options,
                       options.force ? IfExists::Replace : IfExists::Refuse);
}

int Set(const std::string& path, const std::vector<std::string>& args,
        const WriteOptions& options) {
    const FileForm form = FormOf(path, options.form);
    const FileLock lock(PathFromUtf8(path));  // from the read to the write: no edit is lost
    const Loaded file = Load(path, form);
    if (!file.ok) {
        Error(path, file.summary);
        return kFailed;
    }
    return EditAndSave(file.record, path, form, args, options);
}

int Convert(const std::string& in, const std::string& out, const std::string& inForm,
            const WriteOptions& options) {
    std::string why;
    const std::optional<std::tm> time = SaveTime(options.time, why);
    if (!time) {
        Error(out, why);
        return kUsage;
    }
    const Loaded file = Load(in, FormOf(in, inForm));
    if (!file.ok) {
        Error(in, file.summary);
        return kFailed;
    }
    const FileForm form = FormOf(out, options.form);
    if (form == FileForm::Bin && !options.force) {
        const std::vector<std::string> lost = BinLosses(file.record);
        if (!lost.empty()) {
            std::string names;
            for (std::size_t i = 0; i < lost.size(); ++i)
                names += (i == 0 ? "" : i + 1 == lost.size() ? " and " : ", ") + lost[i];
            Error(out,
                  "the MMSCFG.BIN form cannot carry " + names + "; --force writes it without them");
            return kFailed;
        }
    }
    return Save(file.record, out, form, *time,
                options.force ? IfExists::Replace : IfExists::Refuse);
}

int Presets(const std::string& country, bool values) {
    std::optional<std::uint8_t> only;
    if (!country.empty()) {
        std::string why;
        const std::optional<unsigned> id = FindCountry(country, why);
        if (!id) {
            Error(country, why);
            return kUsage;
        }
        only = static_cast<std::uint8_t>(*id);
    }
    ListPresets(std::cout, only, values);
    WriteFailed();
    return kOk;
}

int ListFields(const std::string& name) {
    if (name.empty()) {
        for (const Field& f : Fields())
            if (f.role == FieldRole::Editable) std::cout << f.name << '\n';
    } else {
        const Field* f = FindField(name);
        if (!f || f->role != FieldRole::Editable) {
            Error(name, "no field that set takes (see ostrova-cfg fields)");
            return kUsage;
        }
        for (const std::string& value : ChoicesOf(name)) std::cout << value << '\n';
    }
    WriteFailed();
    return kOk;
}

int Run(int argc, char** argv) {
    CLI::App app{
        "Shows, checks, compares, converts and edits the settings files of the Ostrova+ "
        "camera: wireless.cfg (ciphered, with a checksum) and MMSCFG.BIN (plain), and lists "
        "the built-in carrier presets. A file's form follows its extension as in the "
        "settings window: one beginning with B is MMSCFG.BIN, any other wireless.cfg.",
        "ostrova-cfg"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("ostrova-cfg ") + OSTROVA_VERSION);
    const auto formOption = [](CLI::App* sub, std::string& into, const std::string& name,
                               const std::string& what) {
        sub->add_option(name, into,
                        what +
                            ": cfg (wireless.cfg) or bin (MMSCFG.BIN), "
                            "whatever the extension")
            ->check(CLI::IsMember({"cfg", "bin"}));
    };
    const std::string timeHelp =
        "save time stamped into wireless.cfg, local, e.g. 2026-12-07T10:00:00 (default: "
        "SOURCE_DATE_EPOCH in UTC when set, else now); an empty one is refused";

    std::vector<std::string> files;
    std::string form, formB, inForm;
    bool json = false, verbose = false;

    CLI::App* show = app.add_subcommand("show", "Print every field of each settings file");
    show->add_option("FILE", files, "settings files")->required();
    show->add_flag("--json", json,
                   "the fields as one JSON object, texts in UTF-8; for several files an array "
                   "of objects with file, form, valid, error and fields");
    formOption(show, form, "--form", "read the files as");

    CLI::App* check = app.add_subcommand(
        "check",
        "Exit 0 when every file is a valid settings file, 1 when any is not (named on "
        "standard error with the reason)");
    check->add_option("FILE", files, "settings files")->required();
    check->add_flag("-v,--verbose", verbose, "say for each file whether it is valid and why");
    formOption(check, form, "--form", "read the files as");

    std::string a, b;
    CLI::App* diff =
        app.add_subcommand("diff", "Print the fields that differ, exit 1 when any does");
    diff->add_option("A", a, "first settings file")->required();
    diff->add_option("B", b, "second settings file")->required();
    formOption(diff, form, "--form-a", "read A as");
    formOption(diff, formB, "--form-b", "read B as");

    WriteOptions options;
    std::string timeText;
    std::vector<CLI::Option*> timeOptions;
    std::vector<std::string> assignments;
    const auto writeOptions = [&](CLI::App* sub, bool assigns) {
        if (assigns) {
            sub->add_option("ASSIGNMENT", assignments,
                            "field=value, by the names show prints; numbers or captions for "
                            "choices (sendMode=Instant, countryId=Sweden, operatorId=Telia)");
            sub->add_option(
                "--from-json", options.json,
                "apply the fields of a JSON object as show --json prints it, up to 1 MiB ('-' "
                "reads standard input); field=value arguments take precedence; a field named twice "
                "is an error");
        }
        timeOptions.push_back(sub->add_option("--time", timeText, timeHelp));
    };

    std::string path, out;
    CLI::App* newCmd = app.add_subcommand("new", "Write a new settings file from the defaults");
    newCmd->add_option("OUT", out, "file to write")->required();
    writeOptions(newCmd, true);
    formOption(newCmd, options.form, "--form", "write");
    newCmd->add_flag("--force", options.force, "replace OUT when it exists");

    CLI::App* set = app.add_subcommand(
        "set", "Change fields of a settings file by the settings window's rules and save it");
    set->add_option("FILE", path, "settings file")->required();
    writeOptions(set, true);
    formOption(set, options.form, "--form", "read and write");

    std::string in;
    CLI::App* convert = app.add_subcommand("convert", "Write a settings file in the other form");
    convert->add_option("IN", in, "settings file to read")->required();
    convert->add_option("OUT", out, "file to write")->required();
    formOption(convert, inForm, "--in-form", "read IN as");
    formOption(convert, options.form, "--form", "write OUT as");
    convert->add_flag("--force", options.force,
                      "replace OUT when it exists, and write MMSCFG.BIN even when the FTP and "
                      "HTTP settings are lost");
    writeOptions(convert, false);

    std::string presetCountry;
    bool presetValues = false;
    CLI::App* presets = app.add_subcommand(
        "presets", "List the carrier presets, where their values come from and how sure they are");
    presets->footer(
        "Provenance: public = every value from the carrier's own entry in a public source; "
        "partly = some values borrowed from a brand on the same network, derived, recalled or "
        "placeholders; none = a stand-in holding another carrier's values.\n"
        "Sources: Debian = mobile-broadband-provider-info 20230416 (serviceproviders.xml), "
        "LineageOS = apns-conf.xml at commit 08343528. For each parameter: both sources give it, "
        "they differ (if only in letter case or a trailing slash; Debian's value is kept), only "
        "one has it, or neither (recalled from memory, or derived from another value or a "
        "placeholder the camera's table needs).");
    presets->add_option("COUNTRY", presetCountry, "only this country's rows, by name or id");
    presets->add_flag("-v,--values", presetValues, "print each row's parameters too");

    std::string fieldName;
    CLI::App* fields = app.add_subcommand(
        "fields",
        "List the fields that set and new take, one a line; with FIELD, the values it takes "
        "by name");
    fields->add_option("FIELD", fieldName, "a choice field: its values, one a line");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // A word CLI11 could not place explains a missing argument better than the lack does.
        std::string where, what = e.what();
        for (CLI::App* sub : app.get_subcommands({})) {
            if (!sub->parsed()) continue;
            where = sub->get_name();
            const std::vector<std::string> left = sub->remaining();
            if (!left.empty() && left[0].size() > 1 && left[0][0] == '-')
                what = left[0] + ": no such option (a file name beginning with - goes after --)";
        }
        const std::vector<std::string> left = app.remaining();
        if (where.empty() && !left.empty())
            what = left[0] + (left[0][0] == '-' ? ": no such option" : ": no such command") +
                   " (see ostrova-cfg --help)";
        Error(where, what);
        return kUsage;
    }

    for (const CLI::Option* option : timeOptions)
        if (option->count() > 0) options.time = timeText;
    if (show->parsed()) return Show(files, form, json);
    if (check->parsed()) return Check(files, form, verbose);
    if (diff->parsed()) return Diff(a, b, form, formB);
    if (newCmd->parsed()) return New(out, assignments, options);
    if (set->parsed()) return Set(path, assignments, options);
    if (convert->parsed()) return Convert(in, out, inForm, options);
    if (presets->parsed()) return Presets(presetCountry, presetValues);
    if (fields->parsed()) return ListFields(fieldName);
    return kUsage;
}

}  // namespace

// Run, with whatever escapes it (memory, a library's error) reported as a failure, not an abort.
int Main(int argc, char** argv) {
    try {
        const int status = Run(argc, argv);
        errno = 0;
        if (std::fflush(stdout) != 0) WriteFailed();
        if (!WriteFailed()) return status;
        std::cerr << "ostrova-cfg: write error" << (g_writeErrno ? ": " : "")
                  << (g_writeErrno ? std::strerror(g_writeErrno) : "") << '\n';
        return status == kOk ? kFailed : status;
    } catch (const std::exception& e) {
        std::cerr << "ostrova-cfg: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "ostrova-cfg: unexpected error\n";
    }
    return kFailed;
}

}  // namespace ostrova::cli

#ifdef _WIN32
// The command line is read as UTF-16 and turned into UTF-8 once, as the window program reads
// its paths: a file in a folder named in any script is found, whatever the code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(ostrova::Utf8FromWide(argv[i]));
    std::vector<char*> pointers;
    for (std::string& arg : args) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    return ostrova::cli::Main(argc, pointers.data());
}
#else
int main(int argc, char** argv) {
    return ostrova::cli::Main(argc, argv);
}
#endif
