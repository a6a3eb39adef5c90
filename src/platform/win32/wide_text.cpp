#include "platform/win32/wide_text.h"

#include "platform/cp1252.h"

namespace ostrova::platform::win32 {

std::wstring WideFromCp1252(std::string_view bytes) {
    return WideFromUtf8(Cp1252ToUtf8(bytes));
}

std::wstring WideFromMessage(std::string_view text) {
    for (char32_t cp : DecodeUtf8(text)) {
        if (cp == 0xFFFD) return WideFromCp1252(text);
    }
    return WideFromUtf8(text);
}

}  // namespace ostrova::platform::win32
