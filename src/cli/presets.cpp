// ostrova-cfg presets: the carrier presets and where their values come from.
#include <cstdint>
#include <iostream>
#include <optional>
#include <string>

#include "cli/commands.h"
#include "cli/edit.h"
#include "cli/preset_list.h"

namespace ostrova::cli {

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

}  // namespace ostrova::cli
