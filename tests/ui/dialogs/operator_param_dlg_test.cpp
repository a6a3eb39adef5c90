// Operator Parameter dialog: what the user sees of the record's nine parameters and what OK and
// Cancel leave in the record and the Custom side copy.
#include "ui/dialogs/operator_param_dlg.h"

#include <string>

#include "dialog_test_support.h"
#include "res/resource_ids.h"

namespace ostrova::ui::test {
namespace {

using namespace ostrova::res;

struct Param {
    int id;
    std::span<char> (*field)(ConfigRecord&);
    std::span<char> (*custom)(CustomPreset&);
};
#define OSTROVA_PARAM(id, name)                                        \
    Param {                                                            \
        id, [](ConfigRecord& r) -> std::span<char> { return r.name; }, \
            [](CustomPreset& c) -> std::span<char> { return c.name; }  \
    }
const Param kParams[] = {
    OSTROVA_PARAM(IDC_OP_NET_APN, netApn),
    OSTROVA_PARAM(IDC_OP_NET_USER, netUser),
    OSTROVA_PARAM(IDC_OP_NET_PASSWORD, netPassword),
    OSTROVA_PARAM(IDC_OP_MMS_APN, mmsApn),
    OSTROVA_PARAM(IDC_OP_MMS_USER, mmsUser),
    OSTROVA_PARAM(IDC_OP_MMS_PASSWORD, mmsPassword),
    OSTROVA_PARAM(IDC_OP_MMSC_URL, mmscUrl),
    OSTROVA_PARAM(IDC_OP_MMS_PROXY, mmsProxy),
    OSTROVA_PARAM(IDC_OP_MMS_PORT, mmsPort),
};
#undef OSTROVA_PARAM

struct OperatorParamDlg : DialogStory {
    CustomPreset custom{};
};

TEST_F(OperatorParamDlg, OkStoresEachEditZeroFilledInItsOwnFieldAndCustomKeepsACopy) {
    for (const std::uint8_t country : {std::uint8_t{5}, std::uint8_t{1}}) {
        record.countryId = country;
        custom = CustomPreset{};
        // Digits only, distinct per edit, so the port edit takes them too and a swap shows.
        for (std::size_t i = 0; i < std::size(kParams); ++i)
            Put(kParams[i].field(record), std::to_string(i + 10) + std::string("\0junk", 5));
        COperatorParamDlg dlg(record, custom);
        Run(dlg, [&](HeadlessDialog& w) {
            for (std::size_t i = 0; i < std::size(kParams); ++i) {
                EXPECT_EQ(w.Text(kParams[i].id), std::to_string(i + 10));
                w.Retype(kParams[i].id, i == 2 ? "" : std::to_string(i + 20));
            }
            w.Click(IDOK);
        });
        for (std::size_t i = 0; i < std::size(kParams); ++i) {
            const std::string expected = i == 2 ? "" : std::to_string(i + 20);
            EXPECT_TRUE(HoldsZeroFilled(kParams[i].field(record), expected)) << i;
            EXPECT_EQ(TextOf(kParams[i].custom(custom)), country == 1 ? expected : "") << i;
        }
    }
}

TEST_F(OperatorParamDlg, EditsHoldTheirFieldWidthLessOneAndCancelKeepsOnlyTheCut) {
    for (const Param& p : kParams) Put(p.field(record), std::string(80, '7'));  // as from a file
    auto expected = Bytes();
    for (const Param& p : kParams)
        expected[std::size_t(p.field(record).data() - reinterpret_cast<char*>(&record)) +
                 p.field(record).size() - 1] = 0;
    COperatorParamDlg dlg(record, custom);
    Run(dlg, [&](HeadlessDialog& w) {
        for (const Param& p : kParams) {
            w.Type(p.id, "3");
            EXPECT_EQ(w.Text(p.id), std::string(p.field(record).size() - 1, '7')) << p.id;
        }
        w.Retype(IDC_OP_MMS_PORT, "8a0-8x0");
        EXPECT_EQ(w.Text(IDC_OP_MMS_PORT), "8080") << "the port takes digits only";
        w.Escape();
    });
    EXPECT_EQ(Bytes(), expected);
}

}  // namespace
}  // namespace ostrova::ui::test
