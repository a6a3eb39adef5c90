// ostrova-cfg new and set: field=value arguments and a JSON object of fields applied by the
// settings window's rules, then saved.
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <string>
#include <system_error>
#include <vector>

#include "cli/commands.h"
#include "cli/edit.h"
#include "config/paths.h"

namespace ostrova::cli {
namespace {

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

}  // namespace

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

}  // namespace ostrova::cli
