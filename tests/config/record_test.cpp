#include "config/record.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <tuple>

#include "config/presets.h"

namespace ostrova {
namespace {

TEST(Record, DefaultsSetExactlyTheStatedBytes) {
    ConfigRecord r{};
    std::memset(&r, 0x5A, sizeof r);  // the defaults must clear every earlier byte
    SetConfigDefaults(r);
    std::array<std::uint8_t, kRecordSize> expected{};
    for (const auto& [offset, value] : {std::pair{1, 2}, {5, 21}, {6, 30}, {10, 100}, {12, 1}})
        expected[static_cast<std::size_t>(offset)] = static_cast<std::uint8_t>(value);
    std::memcpy(&expected[480], "2525", 4);
    // The sender account stand-ins: 34, 8 and 27 characters on a reserved example domain.
    std::copy_n(r.bytes().begin() + 340, 140, expected.begin() + 340);
    EXPECT_TRUE(std::ranges::equal(r.bytes(), expected));
    EXPECT_EQ(
        TextOf(r.smtpAccount).size() + TextOf(r.smtpPassword).size() + TextOf(r.smtpServer).size(),
        69u);
    EXPECT_NE(TextOf(r.smtpAccount).find("@example.com"), std::string_view::npos);
}

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

TEST(CustomPreset, SurvivesAChangeOfCountryAndComesBack) {
    ConfigRecord r{};
    std::fill_n(r.bytes().begin() + 486, 852 - 486, 'p');  // every parameter full
    const std::string full = Texts(r);
    CustomPreset custom{};
    ResetCustomPreset(custom, r);  // country Auto: stays empty
    EXPECT_EQ(Texts(custom), "|||||||||");
    r.countryId = 1;  // reset with Custom chosen copies the record's parameters
    ResetCustomPreset(custom, r);
    CopyPresetToParams(r, 22, 20);  // a carrier overwrites them
    RestoreCustomPreset(custom, r);
    EXPECT_EQ(Texts(r), full);
    RestoreCustomPreset(CustomPreset{}, r);  // never confirmed: picking Custom empties all nine
    EXPECT_EQ(Texts(r), "|||||||||");
}

TEST(Presets, CopyFollowsTheCountryRules) {
    ConfigRecord r{};
    CopyText(r.mmsApn, "keep");
    CopyPresetToParams(r, 1, 1);   // Custom
    CopyPresetToParams(r, 0, 0);   // Auto
    CopyPresetToParams(r, 6, 38);  // no such pair
    EXPECT_EQ(std::string(TextOf(r.mmsApn)), "keep");

    std::memset(&r.mmsApn, 'q', 852 - 486);  // every parameter byte dirty
    CopyPresetToParams(r, 19, 37);           // a row with the Internet APN only
    const auto b = r.bytes();
    EXPECT_EQ(std::count(b.begin() + 486, b.begin() + 852, 0) + TextOf(r.netApn).size(), 366u);
    CopyPresetByOperatorId(r, 2);  // by operator id alone, whatever the country
    EXPECT_FALSE(TextOf(r.mmsApn).empty() || TextOf(r.mmscUrl).empty());
}

}  // namespace
}  // namespace ostrova
