// The record's fields by name, as the command-line tool shows, compares and sets them.
#pragma once

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "config/record.h"

namespace ostrova::cli {

enum class FieldKind { U8, U16, Text };

enum class FieldRole {
    Editable,
    WrittenBySave,          // version, fixedFlag and the save time: every save decides them
    FollowsStatusResponse,  // statusResponse2
    FollowsImageFrom,       // imageFromShort: the window writes both from one text
};

struct Field {
    std::string name;  // the record's name; "phone[1]" .. "email[4]" for the recipients
    std::size_t offset;
    std::size_t width;  // bytes
    FieldKind kind;
    FieldRole role;
};

// Every field in record order; reserved bytes are not fields.
const std::vector<Field>& Fields();
const Field* FindField(std::string_view name);

// Reserved byte ranges a file can bring in and a save keeps (bytes 2046 and 2047 are left out:
// after a wireless.cfg load they hold its checksum).
struct ByteRange {
    std::size_t offset;
    std::size_t size;
};
std::span<const ByteRange> ReservedRanges();

unsigned NumberOf(const ConfigRecord& record, const Field& field);
void SetNumber(ConfigRecord& record, const Field& field, unsigned value);
// The field's text as stored: Windows-1252 bytes up to the first NUL.
std::string_view TextBytes(const ConfigRecord& record, const Field& field);
std::span<char> TextSpan(ConfigRecord& record, const Field& field);

// What a person reads for a number: "Off", "Sweden", "High"; empty when it has no caption.
std::string Caption(const ConfigRecord& record, const Field& field);
// The value as the show and diff commands print it: 2 (Off), "text".
std::string Display(const ConfigRecord& record, const Field& field);
// Text for a terminal: control characters and bytes that are not UTF-8 as \xNN, so a value or a
// file name cannot send escape sequences; quoted escapes '"' and '\' too, for a quoted value.
std::string Escaped(std::string_view utf8, bool quoted);

}  // namespace ostrova::cli
