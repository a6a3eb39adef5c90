// The framework maps screen text (UTF-8) to record bytes (Windows-1252) with the shared mapping.
#pragma once

#include "text/cp1252.h"

namespace ostrova::platform {
using ostrova::AppendUtf8;
using ostrova::Cp1252FromCodePoint;
using ostrova::Cp1252ToUtf8;
using ostrova::DecodeUtf8;
}  // namespace ostrova::platform
