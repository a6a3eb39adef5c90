// Operator Parameter dialog: what the user sees of the record's nine parameters and what OK and
// Cancel leave in the record and the Custom side copy.
#include "ui/dialogs/operator_param_dlg.h"

#include <array>
#include <string>

#include "dialog_test_support.h"
#include "res/resource_ids.h"

namespace ostrova::ui::test {
namespace {

using namespace ostrova::res;

// The nine edits, and the fields they stand for in the record or the Custom copy, in order.
constexpr int kIds[] = {IDC_OP_NET_APN,  IDC_OP_NET_USER,  IDC_OP_NET_PASSWORD,
                        IDC_OP_MMS_APN,  IDC_OP_MMS_USER,  IDC_OP_MMS_PASSWORD,
                        IDC_OP_MMSC_URL, IDC_OP_MMS_PROXY, IDC_OP_MMS_PORT};
template <class T>
std::array<std::span<char>, 9> Fields(T& r) {
    return {r.netApn,      r.netUser, r.netPassword, r.mmsApn, r.mmsUser,
            r.mmsPassword, r.mmscUrl, r.mmsProxy,    r.mmsPort};
}

struct OperatorParamDlg : DialogStory {
    CustomPreset custom{};
};

TEST_F(OperatorParamDlg, OkStoresEachEditZeroFilledInItsOwnFieldAndCustomKeepsACopy) {
    for (const std::uint8_t country : {std::uint8_t{5}, std::uint8_t{1}}) {
        record.countryId = country;
        custom = CustomPreset{};
        // Digits only, distinct per edit, so the port edit takes them too and a swap shows.
        for (std::size_t i = 0; i < 9; ++i)
            Put(Fields(record)[i], std::to_string(i + 10) + std::string("\0junk", 5));
        Run<COperatorParamDlg>(
            [&](HeadlessDialog& w) {
                for (std::size_t i = 0; i < 9; ++i) {
                    EXPECT_EQ(w.Text(kIds[i]), std::to_string(i + 10));
                    w.Retype(kIds[i], i == 2 ? "" : std::to_string(i + 20));
                }
                w.Click(IDOK);
            },
            custom);
        for (std::size_t i = 0; i < 9; ++i) {
            const std::string expected = i == 2 ? "" : std::to_string(i + 20);
            EXPECT_TRUE(HoldsZeroFilled(Fields(record)[i], expected)) << i;
            EXPECT_EQ(TextOf(Fields(custom)[i]), country == 1 ? expected : "") << i;
        }
    }
}

TEST_F(OperatorParamDlg, EditsHoldTheirFieldWidthLessOneAndCancelKeepsOnlyTheCut) {
    for (auto field : Fields(record)) Put(field, std::string(80, '7'));  // as from a file
    ConfigRecord expected = record;
    for (auto field : Fields(expected)) field.back() = '\0';
    Run<COperatorParamDlg>(
        [&](HeadlessDialog& w) {
            for (std::size_t i = 0; i < 9; ++i) {
                w.Type(kIds[i], "3");
                EXPECT_EQ(w.Text(kIds[i]), std::string(Fields(record)[i].size() - 1, '7')) << i;
            }
            w.Retype(IDC_OP_MMS_PORT, "8a0-8x0");
            EXPECT_EQ(w.Text(IDC_OP_MMS_PORT), "8080") << "the port takes digits only";
            w.Escape();
        },
        custom);
    EXPECT_EQ(Of(record), Of(expected));
}

}  // namespace
}  // namespace ostrova::ui::test
