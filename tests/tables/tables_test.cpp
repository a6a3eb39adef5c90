#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "tables/mail_providers.h"
#include "tables/operator_presets.h"

namespace ostrova {
namespace {

// Which of the nine parameters are filled, as nine 0/1 flags.
std::string FillPattern(const OperatorPreset& r) {
    std::string s;
    for (std::string_view v :
         {ColumnText(r.mmsApn), ColumnText(r.mmsUser), ColumnText(r.mmsPassword),
          ColumnText(r.mmscUrl), ColumnText(r.mmsProxy), ColumnText(r.mmsPort),
          ColumnText(r.netApn), ColumnText(r.netUser), ColumnText(r.netPassword)})
        s += v.empty() ? '0' : '1';
    return s;
}

// Rows in operator id order, each country's rows together in the lists' order, the parameters
// every row fills, the MMS ports that occur, and a source for each filled parameter.
TEST(OperatorPresets, RowsCountriesAndFilledColumns) {
    const auto table = OperatorPresetTable();
    const auto sources = PresetSourceTable();
    ASSERT_EQ(table.size(), 99u);
    ASSERT_EQ(sources.size(), 99u);
    const std::vector<int> countryOrder = {0, 1, 6,  24, 9,  10, 22, 5,  20, 3,  14, 19, 11,
                                           2, 4, 12, 13, 15, 7,  23, 21, 8,  17, 16, 18};
    const auto patternOf = [](int id) -> std::string {
        const auto in = [id](std::initializer_list<int> ids) {
            return std::find(ids.begin(), ids.end(), id) != ids.end();
        };
        if (in({0, 1})) return "000000000";
        if (in({37, 61})) return "000000100";
        if (in({32, 33, 63})) return "000000111";
        if (in({28, 64, 75})) return "100111111";
        if (in({20, 29, 58, 65, 82, 83, 84, 95, 96, 97, 98})) return "111111100";
        if (in({4,  6,  7,  16, 24, 34, 35, 36, 38, 39, 40,
                41, 42, 55, 57, 59, 60, 69, 74, 79, 80, 81}))
            return "111111111";
        return "100111100";
    };
    std::vector<int> seen;
    std::set<std::string_view> ports;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        EXPECT_EQ(row.operatorId, i);
        if (seen.empty() || seen.back() != row.countryId) seen.push_back(row.countryId);
        EXPECT_EQ(ColumnText(row.countryName), *GetCountryName(row.countryId));
        EXPECT_EQ(FillPattern(row), patternOf(row.operatorId)) << "row " << i;
        if (!ColumnText(row.mmsPort).empty()) ports.insert(ColumnText(row.mmsPort));
        const std::string_view evidence = ColumnText(sources[i].evidence);
        ASSERT_EQ(evidence.size(), 9u) << "row " << i;
        for (std::size_t p = 0; p < 9; ++p) {
            EXPECT_EQ(evidence[p] == '-', FillPattern(row)[p] == '0') << "row " << i << " " << p;
            EXPECT_NE(std::string_view("-AD21ORx").find(evidence[p]), std::string_view::npos);
        }
    }
    EXPECT_EQ(seen, countryOrder);
    EXPECT_EQ(ports, (std::set<std::string_view>{"80", "8080", "8799", "8008", "5080", "8070",
                                                 "8001", "9093"}));
}

TEST(MailProviders, IdsModesPortsAndSuffixes) {
    const auto table = MailProviderTable();
    ASSERT_EQ(table.size(), 13u);
    const int ids[] = {0, 1, 2, 3, 7, 8, 9, 10, 11, 13, 14, 15, 16};
    const int modes[] = {0, 1, 1, 1, 2, 1, 1, 1, 1, 0, 0, 0, 1};
    const char* plain[] = {"587", "465", "465", "465", "25", "465", "465",
                           "465", "465", "25",  "25",  "25", "25"};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        EXPECT_EQ(row.providerId, ids[i]) << i;
        EXPECT_EQ(row.sslMode, modes[i]) << i;
        EXPECT_EQ(ColumnText(row.plainPort), plain[i]) << i;
        EXPECT_EQ(ColumnText(row.sslPort), i == 0 ? "587" : "465") << i;
        const std::string suffix(ColumnText(row.addressSuffix));
        EXPECT_TRUE(suffix.size() > 1 && suffix[0] == '@') << i;
        EXPECT_TRUE(std::none_of(suffix.begin(), suffix.end(), ::isupper)) << i;
    }
}

}  // namespace
}  // namespace ostrova
