// What every backend's services share: the open dialogs' default extension and the local clock.
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

std::tm Services::LocalTime() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &now);
#else
    localtime_r(&now, &local);
#endif
    return local;
}

}  // namespace ostrova::platform
