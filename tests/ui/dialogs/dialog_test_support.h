// Helpers for the dialog stories: a record to work on, a modal run a script plays, raw bytes.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <string>
#include <string_view>

#include "config/record.h"
#include "platform/headless/headless.h"
#include "support/file_bytes.h"

namespace ostrova::ui::test {

using platform::headless::HeadlessDialog;
using Script = platform::headless::HeadlessBackend::Script;
using ostrova::testing::Of;  // the record's bytes

struct DialogStory : ::testing::Test {
    platform::headless::HeadlessBackend backend;
    ConfigRecord record{};

    DialogStory() { SetConfigDefaults(record); }

    // Runs a Dlg on the record modally; the script is the user. Returns the dialog's result.
    template <class Dlg, class... More>
    int Run(Script script, More&... more) {
        Dlg dlg(record, more...);
        backend.WhenOpened(dlg.dialogTemplate().id, std::move(script));
        const int result = dlg.DoModal();
        EXPECT_TRUE(backend.problems.empty()) << backend.problems.front();
        return result;
    }
};

// Writes raw bytes at the start of a field, the rest left as it is (as a file may bring them).
inline void Put(std::span<char> field, std::string_view bytes) {
    std::memcpy(field.data(), bytes.data(), std::min(bytes.size(), field.size()));
}

// The field holds exactly `text`, then zero bytes to its end.
inline bool HoldsZeroFilled(std::span<const char> field, std::string_view text) {
    return text.size() < field.size() && std::string_view(field.data(), text.size()) == text &&
           std::all_of(field.begin() + static_cast<std::ptrdiff_t>(text.size()), field.end(),
                       [](char c) { return c == '\0'; });
}

}  // namespace ostrova::ui::test
