#include "tables/operator_presets.h"

#include <array>

namespace ostrova {
namespace {

constexpr std::array<OperatorPreset, kOperatorPresetCount> kPresets{{
#include "tables/operator_presets_data.inc"
}};

constexpr std::array<PresetSource, kOperatorPresetCount> kSources{{
#include "tables/operator_sources_data.inc"
}};

}  // namespace

std::span<const OperatorPreset> OperatorPresetTable() {
    return kPresets;
}

std::span<const PresetSource> PresetSourceTable() {
    return kSources;
}

std::optional<std::string_view> GetCountryName(std::uint8_t country) {
    for (const auto& row : kPresets) {
        if (row.countryId == country) return ColumnText(row.countryName);
    }
    return std::nullopt;
}

namespace {
// The n-th row of a country in row order, or nullptr.
const OperatorPreset* NthRowOfCountry(std::uint8_t country, std::uint8_t n) {
    unsigned seen = 0;
    for (const auto& row : kPresets) {
        if (row.countryId != country) continue;
        if (seen == n) return &row;
        ++seen;
    }
    return nullptr;
}
}  // namespace

std::optional<std::string_view> GetOperatorName(std::uint8_t country, std::uint8_t n) {
    const OperatorPreset* row = NthRowOfCountry(country, n);
    if (row == nullptr) return std::nullopt;
    return ColumnText(row->operatorName);
}

std::uint8_t GetOperatorId(std::uint8_t country, std::uint8_t n) {
    const OperatorPreset* row = NthRowOfCountry(country, n);
    return row == nullptr ? kNoRow8 : row->operatorId;
}

std::uint8_t FindOperatorIndex(std::uint8_t country, std::uint8_t op) {
    std::uint8_t position = 0;
    for (const auto& row : kPresets) {
        if (row.countryId != country) continue;
        if (row.operatorId == op) return position;
        ++position;
    }
    return kNoRow8;
}

const OperatorPreset* FindPreset(std::uint8_t country, std::uint8_t op) {
    for (const auto& row : kPresets) {
        if (row.countryId == country && row.operatorId == op) return &row;
    }
    return nullptr;
}

const OperatorPreset* FindPresetByOperatorId(std::uint8_t op) {
    for (const auto& row : kPresets) {
        if (row.operatorId == op) return &row;
    }
    return nullptr;
}

}  // namespace ostrova
