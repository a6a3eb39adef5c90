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

// Custom, Auto and a pair the table lacks keep the record's operator parameters; a carrier's row
// replaces all nine (one with the Internet APN alone empties the rest). With Custom chosen, a
// reset copies them aside, and they come back after a carrier's; never confirmed, none come.
TEST(Presets, OnlyACarriersRowReplacesTheParametersAndCustomOnesComeBack) {
    ConfigRecord r{};
    std::fill_n(r.bytes().begin() + 486, 852 - 486, 'p');  // every parameter byte dirty
    const std::string full = Texts(r);
    CopyPresetToParams(r, 1, 1);   // Custom
    CopyPresetToParams(r, 0, 0);   // Auto
    CopyPresetToParams(r, 6, 38);  // no such pair
    EXPECT_EQ(Texts(r), full);
    CustomPreset custom{};
    r.countryId = 1;
    ResetCustomPreset(custom, r);
    CopyPresetToParams(r, 19, 37);  // a row with the Internet APN only
    const auto b = r.bytes();
    EXPECT_EQ(std::count(b.begin() + 486, b.begin() + 852, 0) + TextOf(r.netApn).size(), 366u);
    RestoreCustomPreset(custom, r);
    EXPECT_EQ(Texts(r), full);
    RestoreCustomPreset(CustomPreset{}, r);
    EXPECT_EQ(Texts(r), "|||||||||");
}

}  // namespace
}  // namespace ostrova
