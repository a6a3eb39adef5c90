// ostrova-cfg show: every field of each settings file, as text or as JSON.
#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/fields.h"
#include "text/cp1252.h"

namespace ostrova::cli {
namespace {

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

}  // namespace

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

}  // namespace ostrova::cli
