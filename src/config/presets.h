// Copies of a carrier preset into the record's operator parameters.
#pragma once

#include <cstdint>

#include "config/record.h"

namespace ostrova {

// For a carrier pair (country not Auto or Custom) zero-fills the nine parameters and copies
// the preset into them; Auto, Custom and unknown pairs leave the record alone.
void CopyPresetToParams(ConfigRecord& record, std::uint8_t country, std::uint8_t op);
// Copies the first preset row with this operator id, whatever its country.
void CopyPresetByOperatorId(ConfigRecord& record, std::uint8_t op);

}  // namespace ostrova
