#include "config/record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <tuple>

#include "config/presets.h"

namespace ostrova {
namespace {

// (The defaults over an earlier record are the main window's tests; the bytes of the defaults,
// those of the command-line tests' new file.)

// Image From goes into both fields: up to 59 and 15 characters; an empty text clears both.
TEST(ImageFrom, StoredTwiceWithTheStatedCuts) {
    ConfigRecord r{};
    for (const std::size_t n : {1u, 15u, 16u, 59u, 60u}) {
        const std::string text(n, 'a');
        StoreImageFrom(r, text);
        EXPECT_EQ(std::string(TextOf(r.imageFrom)), text.substr(0, 59)) << n;
        EXPECT_EQ(std::string(TextOf(r.imageFromShort)), text.substr(0, 15)) << n;
    }
    StoreImageFrom(r, "");
    EXPECT_EQ(std::count(r.imageFrom.begin(), r.imageFrom.end(), '\0') +
                  std::count(r.imageFromShort.begin(), r.imageFromShort.end(), '\0'),
              76);
}

// The nine operator parameters of a record or a custom preset, in their order, as texts.
std::string Texts(const auto& x) {
    return std::apply([](const auto&... f) { return ((std::string(TextOf(f)) + "|") + ...); },
                      std::tie(x.mmsApn, x.mmsUser, x.mmsPassword, x.mmscUrl, x.mmsProxy, x.mmsPort,
                               x.netApn, x.netUser, x.netPassword));
}

// Custom, Auto and a pair the table lacks keep the record's operator parameters; a Custom copy
// never confirmed brings back none. (A carrier's row replacing all nine, or only the Internet
// APN: the command line's preset tests; Custom's copy coming back: the main window's.)
TEST(Presets, OnlyACarriersRowReplacesTheParameters) {
    ConfigRecord r{};
    std::fill_n(r.bytes().begin() + 486, 852 - 486, 'p');  // every parameter byte dirty
    const std::string full = Texts(r);
    CopyPresetToParams(r, 1, 1);   // Custom
    CopyPresetToParams(r, 0, 0);   // Auto
    CopyPresetToParams(r, 6, 38);  // no such pair
    EXPECT_EQ(Texts(r), full);
    RestoreCustomPreset(CustomPreset{}, r);
    EXPECT_EQ(Texts(r), "|||||||||");
}

}  // namespace
}  // namespace ostrova
