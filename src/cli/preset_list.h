// The carrier presets as ostrova-cfg lists them, with where each value comes from.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>

namespace ostrova::cli {

// One line per preset row (only the country's rows when given): id, country, operator,
// provenance and what the two public sources say about its parameters; with values, each
// filled parameter follows on a line of its own.
void ListPresets(std::ostream& out, std::optional<std::uint8_t> country, bool values);

}  // namespace ostrova::cli
