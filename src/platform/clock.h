// The wall clock the programs show and stamp their saves with. OSTROVA_CLOCK, when it holds a
// time as "YYYY-MM-DD HH:MM:SS", stands in for it, so that a test driving a whole program can
// compare the files it writes byte for byte.
#pragma once

#include <ctime>
#include <optional>

namespace ostrova::platform {

inline constexpr const char* kClockVariable = "OSTROVA_CLOCK";

// The local time `text` names; nullopt for none (null, malformed, or no such date or time).
std::optional<std::tm> ParseClock(const char* text);

// The time OSTROVA_CLOCK fixes, if it names one.
std::optional<std::tm> FixedClock();

}  // namespace ostrova::platform
