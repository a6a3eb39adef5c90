// The program's string table.
#pragma once

#include <string_view>

#include "res/resource_ids.h"

namespace ostrova::res {

// System-menu entry that opens the About box.
inline constexpr std::string_view kAboutMenuText = "About Ostrova+ (&A)...";

// The string with that resource id; empty for an unknown id, as a failed load would be.
constexpr std::string_view LoadStringResource(int id) {
    return id == IDS_ABOUTBOX ? kAboutMenuText : std::string_view{};
}

}  // namespace ostrova::res
