// Helpers for the dialog stories: a record to work on, a modal run a script plays, raw bytes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "config/record.h"
#include "platform/headless/headless.h"

namespace ostrova::ui::test {

using platform::headless::HeadlessDialog;

struct DialogStory : ::testing::Test {
    platform::headless::HeadlessBackend backend;
    ConfigRecord record{};

    DialogStory() { SetConfigDefaults(record); }

    // Runs the dialog modally; the script is the user. Returns the dialog's result.
    int Run(platform::CDialog& dlg, platform::headless::HeadlessBackend::Script script) {
        backend.WhenOpened(dlg.dialogTemplate().id, std::move(script));
        const int result = dlg.DoModal();
        EXPECT_TRUE(backend.problems.empty()) << backend.problems.front();
        return result;
    }
    std::array<std::uint8_t, kRecordSize> Bytes() const {
        std::array<std::uint8_t, kRecordSize> out{};
        std::ranges::copy(record.bytes(), out.begin());
        return out;
    }
};

// Writes raw bytes at the start of a field, the rest left as it is (as a file may bring them).
inline void Put(std::span<char> field, std::string_view bytes) {
    std::memcpy(field.data(), bytes.data(), std::min(bytes.size(), field.size()));
}

// The field holds exactly `text`, then zero bytes to its end.
inline bool HoldsZeroFilled(std::span<const char> field, std::string_view text) {
    if (text.size() >= field.size() || std::string_view(field.data(), text.size()) != text)
        return false;
    return std::all_of(field.begin() + static_cast<std::ptrdiff_t>(text.size()), field.end(),
                       [](char c) { return c == '\0'; });
}

}  // namespace ostrova::ui::test
