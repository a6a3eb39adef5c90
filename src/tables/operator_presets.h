// The built-in carrier presets: countries, operators and their access parameters.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace ostrova {

// One preset row, 430 bytes; texts are NUL-terminated within their width, the rest zero.
struct OperatorPreset {
    std::uint8_t countryId;
    char countryName[31];
    std::uint8_t operatorId;
    char operatorName[31];
    char mmsApn[40];
    char mmsUser[40];
    char mmsPassword[40];
    char mmscUrl[80];
    char mmsProxy[40];
    char mmsPort[6];
    char netApn[40];
    char netUser[40];
    char netPassword[40];
};
static_assert(sizeof(OperatorPreset) == 430);

inline constexpr std::uint8_t kNoRow8 = 0xFF;
inline constexpr std::uint8_t kCountryAuto = 0;
inline constexpr std::uint8_t kCountryCustom = 1;
inline constexpr std::uint8_t kLastCountryId = 24;
inline constexpr std::size_t kOperatorPresetCount = 99;

// The 99 rows in table order; operator id equals row position.
std::span<const OperatorPreset> OperatorPresetTable();

// Country name of the first row with this country id; none for ids without rows.
std::optional<std::string_view> GetCountryName(std::uint8_t country);
// Operator name of the n-th row (from 0, in row order) of the country; none past its rows.
std::optional<std::string_view> GetOperatorName(std::uint8_t country, std::uint8_t n);
// Operator id of the same row as GetOperatorName; 0xFF when there is none.
std::uint8_t GetOperatorId(std::uint8_t country, std::uint8_t n);
// Position of the operator among the country's rows; 0xFF when the pair does not exist.
std::uint8_t FindOperatorIndex(std::uint8_t country, std::uint8_t op);
// The row of the pair, or nullptr.
const OperatorPreset* FindPreset(std::uint8_t country, std::uint8_t op);
// The first row with this operator id (country not compared), or nullptr.
const OperatorPreset* FindPresetByOperatorId(std::uint8_t op);

// Where a row's values come from. The first source is Debian's mobile-broadband-provider-info
// (serviceproviders.xml), the second LineageOS's apns-conf.xml, checked against each other.
enum class Provenance : std::uint8_t {
    Public,  // every value from the carrier's own entry in one of the sources
    Partly,  // some borrowed from a brand on the same network, derived, recalled or placeholders
    StandIn  // neither source has the carrier: another carrier's values, kept traceable
};

// What the two sources say about one parameter of a row.
enum class Evidence : char {
    Empty = '-',       // the column pattern leaves it empty
    Both = 'A',        // both sources give this value
    FirstKept = 'D',   // the sources differ, perhaps only in form; the first source's is kept
    SecondOnly = '2',  // only the second source has the carrier's own value
    FirstOnly = '1',   // only the first source has it
    StandIn = 'O',     // another carrier's value from the first source
    Recalled = 'R',    // written from memory; neither source has it
    Derived = 'x',     // derived from another value, or a placeholder the pattern needs
};

struct PresetSource {
    Provenance provenance;
    char evidence[10];  // one Evidence letter per parameter, in column order (mmsApn first)
};

// The source of each row of OperatorPresetTable, at the same positions.
std::span<const PresetSource> PresetSourceTable();

// Text of a fixed-width table column: up to its NUL, never past the width.
template <std::size_t N>
constexpr std::string_view ColumnText(const char (&column)[N]) {
    std::size_t n = 0;
    while (n < N && column[n] != '\0') ++n;
    return {column, n};
}

}  // namespace ostrova
