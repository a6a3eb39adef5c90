#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "tables/mail_providers.h"
#include "tables/operator_presets.h"

namespace ostrova {
namespace {

// What the lookups rely on: operator id equals row position, and a country's rows lie together
// under one name, the name the country list shows. (The generator refuses rows with an MMS port
// the camera lacks, and writes each row's evidence from the row itself.)
TEST(OperatorPresets, RowsLieByIdAndTogetherByCountry) {
    const auto table = OperatorPresetTable();
    ASSERT_EQ(table.size(), kOperatorPresetCount);
    ASSERT_EQ(PresetSourceTable().size(), kOperatorPresetCount);
    std::set<int> countries;
    for (std::size_t i = 0; i < table.size(); ++i) {
        const auto& row = table[i];
        EXPECT_EQ(row.operatorId, i);
        if (i == 0 || table[i - 1].countryId != row.countryId) {
            EXPECT_TRUE(countries.insert(row.countryId).second) << "country apart at row " << i;
        }
        EXPECT_EQ(ColumnText(row.countryName), *GetCountryName(row.countryId));
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
