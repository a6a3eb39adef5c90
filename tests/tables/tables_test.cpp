#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "tables/mail_providers.h"
#include "tables/operator_presets.h"

namespace ostrova {
namespace {

// Every text column is terminated within its width and zero behind the terminator.
template <std::size_t N>
void ExpectCleanColumn(const char (&column)[N], const std::string& where) {
    const std::size_t len = ColumnText(column).size();
    ASSERT_LT(len, N) << where << " has no terminator";
    for (std::size_t i = len; i < N; ++i) ASSERT_EQ(column[i], '\0') << where;
}

TEST(OperatorPresets, RowsAreOrderedAndGroupedByCountry) {
    const auto table = OperatorPresetTable();
    ASSERT_EQ(table.size(), 99u);
    const std::vector<int> countryOrder = {0,  1,  6,  24, 9,  10, 22, 5,  20, 3,  14, 19, 11,
                                           2,  4,  12, 13, 15, 7,  23, 21, 8,  17, 16, 18};
    std::vector<int> seen;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        EXPECT_EQ(row.operatorId, i) << "operator id must equal the row position";
        if (seen.empty() || seen.back() != row.countryId) seen.push_back(row.countryId);
        EXPECT_EQ(ColumnText(row.countryName), *GetCountryName(row.countryId));
        const std::string where = "row " + std::to_string(i);
        ExpectCleanColumn(row.countryName, where);
        ExpectCleanColumn(row.operatorName, where);
    }
    EXPECT_EQ(seen, countryOrder) << "a country's rows must be contiguous, in this order";
}

// Which of the nine parameters are filled, as a string of nine 0/1 flags.
std::string FillPattern(const OperatorPreset& r) {
    std::string s;
    for (std::string_view v :
         {ColumnText(r.mmsApn), ColumnText(r.mmsUser), ColumnText(r.mmsPassword),
          ColumnText(r.mmscUrl), ColumnText(r.mmsProxy), ColumnText(r.mmsPort),
          ColumnText(r.netApn), ColumnText(r.netUser), ColumnText(r.netPassword)})
        s += v.empty() ? '0' : '1';
    return s;
}

TEST(OperatorPresets, FilledColumnsFollowTheFixedPattern) {
    auto patternOf = [](int id) -> std::string {
        auto in = [id](std::initializer_list<int> ids) {
            return std::find(ids.begin(), ids.end(), id) != ids.end();
        };
        if (in({0, 1})) return "000000000";
        if (in({37, 61})) return "000000100";
        if (in({32, 33, 63})) return "000000111";
        if (in({28, 64, 75})) return "100111111";
        if (in({20, 29, 58, 65, 82, 83, 84, 95, 96, 97, 98})) return "111111100";
        if (in({4,  6,  7,  16, 24, 34, 35, 36, 38, 39, 40, 41,
                42, 55, 57, 59, 60, 69, 74, 79, 80, 81}))
            return "111111111";
        return "100111100";
    };
    for (const auto& row : OperatorPresetTable())
        EXPECT_EQ(FillPattern(row), patternOf(row.operatorId)) << "row " << int(row.operatorId);
}

TEST(OperatorPresets, Lookups) {
    EXPECT_EQ(GetCountryName(2), "Danmark");
    EXPECT_EQ(GetCountryName(24), "USA");
    EXPECT_FALSE(GetCountryName(25).has_value());
    EXPECT_EQ(GetOperatorName(2, 5), "TDC 2");
    EXPECT_FALSE(GetOperatorName(2, 6).has_value());
    EXPECT_EQ(GetOperatorId(0, 0), 0);
    EXPECT_EQ(GetOperatorId(1, 0), 1);
    EXPECT_EQ(GetOperatorId(1, 1), 0xFF);
    EXPECT_EQ(GetOperatorId(22, 0), 20);
    EXPECT_EQ(FindOperatorIndex(11, 45), 7);
    EXPECT_EQ(FindOperatorIndex(11, 2), 0xFF);
    EXPECT_EQ(FindOperatorIndex(0xFF, 0), 0xFF);
    EXPECT_EQ(FindPreset(6, 38), nullptr);
    EXPECT_EQ(FindPresetByOperatorId(45)->countryId, 11);
    for (int c = 0; c <= 24; ++c) EXPECT_TRUE(GetCountryName(c).has_value()) << c;
}

TEST(MailProviders, StructureIdsModesAndPorts) {
    const auto table = MailProviderTable();
    ASSERT_EQ(table.size(), 13u);
    const int ids[] = {0, 1, 2, 3, 7, 8, 9, 10, 11, 13, 14, 15, 16};
    const int modes[] = {0, 1, 1, 1, 2, 1, 1, 1, 1, 0, 0, 0, 1};
    const char* plain[] = {"587", "465", "465", "465", "25", "465", "465",
                           "465", "465", "25",  "25",  "25",  "25"};
    const char* ssl[] = {"587", "465", "465", "465", "465", "465", "465",
                         "465", "465", "465", "465", "465", "465"};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        const std::string where = "provider " + std::to_string(i);
        EXPECT_EQ(row.providerId, ids[i]) << where;
        EXPECT_EQ(row.sslMode, modes[i]) << where;
        EXPECT_EQ(ColumnText(row.plainPort), plain[i]) << where;
        EXPECT_EQ(ColumnText(row.sslPort), ssl[i]) << where;
        ExpectCleanColumn(row.displayName, where);
        ExpectCleanColumn(row.addressSuffix, where);
        ExpectCleanColumn(row.smtpServer, where);
        const std::string suffix(ColumnText(row.addressSuffix));
        EXPECT_TRUE(suffix.size() > 1 && suffix[0] == '@') << where;
        EXPECT_TRUE(std::none_of(suffix.begin(), suffix.end(), ::isupper)) << where;
        EXPECT_FALSE(ColumnText(row.smtpServer).empty()) << where;
    }
}

TEST(MailProviders, Lookups) {
    const auto table = MailProviderTable();
    EXPECT_EQ(GetProvider(12), &table[12]);
    EXPECT_EQ(GetProvider(13), nullptr);
    EXPECT_EQ(GetProvider(0xFFFF), nullptr);
    EXPECT_EQ(GetProviderIndex(nullptr), kNoProvider);
    EXPECT_EQ(GetProviderIndex(&table[7]), 7);
    const MailProvider stranger{};
    EXPECT_EQ(GetProviderIndex(&stranger), kNoProvider);

    std::string upper(ColumnText(table[1].addressSuffix));
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(FindProviderByDomain(upper), &table[1]);
    const std::string_view row2(ColumnText(table[2].addressSuffix));
    EXPECT_EQ(FindProviderByDomain(row2), &table[2]) << "the lower index wins";
    EXPECT_EQ(FindProviderByDomain(row2.substr(0, 4)), &table[2]);
    EXPECT_EQ(FindProviderByDomain(std::string(ColumnText(table[1].addressSuffix)) + ".x"),
              nullptr);
    EXPECT_EQ(FindProviderByDomain("@"), &table[0]);
    EXPECT_EQ(FindProviderByDomain(""), &table[0]);
    EXPECT_EQ(FindProviderByDomain("@nowhere.invalid"), nullptr);
    std::string longText(ColumnText(table[1].addressSuffix));
    longText.resize(38, 'x');
    EXPECT_EQ(FindProviderByDomain(longText), nullptr);
    EXPECT_EQ(FindProviderByDomain(std::string("@\xE9")), nullptr);
}

}  // namespace
}  // namespace ostrova
