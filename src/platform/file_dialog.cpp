// The rule for the open dialogs' default extension, shared by every backend.
#include "platform/services.h"

namespace ostrova::platform {

std::filesystem::path OpenedFileName(const std::filesystem::path& typed,
                                     std::string_view defaultExtension) {
    std::error_code error;
    if (defaultExtension.empty() || typed.filename().has_extension() ||
        std::filesystem::exists(typed, error)) {
        return typed;
    }
    std::filesystem::path completed = typed;
    completed += ".";
    completed +=
        std::filesystem::path(std::u8string(defaultExtension.begin(), defaultExtension.end()));
    return completed;
}

}  // namespace ostrova::platform
