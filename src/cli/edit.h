// Changing record fields by name under the same rules as the settings window.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/codec.h"
#include "config/record.h"

namespace ostrova::cli {

struct Assignment {
    std::string field;
    std::string value;        // UTF-8 as given; a JSON number in decimal
    bool fromJson = false;    // fields a save writes itself are skipped, not refused
    bool jsonNumber = false;  // the JSON value was a number, not a string
};

struct EditError {
    int exitCode;         // 2 for a field that cannot be set at all, 1 for a refused value
    std::string message;  // "field=value: why"
};

// A country of the preset table by name (any case) or id; else nullopt and why.
std::optional<unsigned> FindCountry(std::string_view nameOrId, std::string& why);

// Applies the assignments (at most one per field) to a record that will be written in the
// given form. A value equal to the field's current one is left alone unchecked, so a file
// shown and set again round-trips. The window's side effects follow a changed field unless
// the assignments name the affected field too: another country picks its first operator,
// MMS keeps sendTo within Phone/Email/Both and sets Normal quality, Internet picks Email,
// SMS control OFF clears Status Response. On any error the record is left as it was.
std::optional<EditError> ApplyEdits(ConfigRecord& record, std::span<const Assignment> edits,
                                    FileForm form);

// "FTP" or "HTTP" when the record sends over the Internet to a target whose settings only the
// wireless.cfg form holds (the window then saves that form); else nullopt.
std::optional<std::string_view> InternetOnlyTarget(const ConfigRecord& record);
// What a save in the MMSCFG.BIN form would lose of the record, by name; empty when nothing.
std::vector<std::string> BinLosses(const ConfigRecord& record);
// The values a choice field takes by name, as set accepts them; empty for other fields.
std::vector<std::string> ChoicesOf(std::string_view field);

// The checks a save makes before writing, as messages; nullopt when the record may be saved.
std::optional<std::string> SaveRefusal(const ConfigRecord& record);

}  // namespace ostrova::cli
