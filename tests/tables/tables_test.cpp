#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "tables/mail_providers.h"
#include "tables/operator_presets.h"

namespace ostrova {
namespace {

// What the lookups rely on: operator id equals row position, a country's rows lie together
// under one name; and each row's evidence has a letter for exactly the parameters it fills,
// with MMS ports only of the camera's set.
TEST(OperatorPresets, RowsCountriesAndEvidence) {
    const auto table = OperatorPresetTable();
    const auto sources = PresetSourceTable();
    ASSERT_EQ(table.size(), kOperatorPresetCount);
    ASSERT_EQ(sources.size(), kOperatorPresetCount);
    std::set<int> countries;
    const std::set<std::string_view> ports = {"",     "80",   "8080", "8799", "8008",
                                              "5080", "8070", "8001", "9093"};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        EXPECT_EQ(row.operatorId, i);
        if (i == 0 || table[i - 1].countryId != row.countryId) {
            EXPECT_TRUE(countries.insert(row.countryId).second) << "country apart at row " << i;
        }
        EXPECT_EQ(ColumnText(row.countryName), *GetCountryName(row.countryId));
        EXPECT_TRUE(ports.contains(ColumnText(row.mmsPort))) << i;
        const std::string_view values[] = {
            ColumnText(row.mmsApn),  ColumnText(row.mmsUser),  ColumnText(row.mmsPassword),
            ColumnText(row.mmscUrl), ColumnText(row.mmsProxy), ColumnText(row.mmsPort),
            ColumnText(row.netApn),  ColumnText(row.netUser),  ColumnText(row.netPassword)};
        const std::string_view evidence = ColumnText(sources[i].evidence);
        ASSERT_EQ(evidence.size(), 9u) << "row " << i;
        for (std::size_t p = 0; p < 9; ++p) {
            EXPECT_EQ(evidence[p] == '-', values[p].empty()) << "row " << i << " " << p;
            EXPECT_NE(std::string_view("-AD21ORx").find(evidence[p]), std::string_view::npos);
        }
    }
    EXPECT_EQ(countries.size(), kLastCountryId + 1u);
}

// The domain lookup folds the text to lower case: every suffix is "@" and a lower-case domain.
TEST(MailProviders, SuffixesAreLowerCaseDomains) {
    for (const auto& row : MailProviderTable()) {
        const std::string suffix(ColumnText(row.addressSuffix));
        EXPECT_TRUE(suffix.size() > 1 && suffix[0] == '@') << suffix;
        EXPECT_TRUE(std::none_of(suffix.begin(), suffix.end(), ::isupper)) << suffix;
    }
}

}  // namespace
}  // namespace ostrova
