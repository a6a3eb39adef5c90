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

// Digits only, distinct per edit, so the port edit takes them too and a swapped field shows.
std::string Value(std::size_t i, std::string_view tag) {
    return std::string(tag) + std::to_string(i);
}

TEST_F(OperatorParamDlg, OkStoresEachEditZeroFilledInItsOwnField) {
    for (const std::uint8_t country : {std::uint8_t{5}, std::uint8_t{1}}) {
        record.countryId = country;
        custom = CustomPreset{};
        for (std::size_t i = 0; i < std::size(kParams); ++i) {
            Put(kParams[i].field(record), Value(i, "1") + std::string("\0junk", 5));
        }
        COperatorParamDlg dlg(record, custom);
        const int result = Run(dlg, [&](HeadlessDialog& w) {
            for (std::size_t i = 0; i < std::size(kParams); ++i) {
                EXPECT_EQ(w.Text(kParams[i].id), Value(i, "1"));
                w.Retype(kParams[i].id, i == 2 ? "" : Value(i, "2"));  // empty is allowed
            }
            w.Click(IDOK);
        });
        EXPECT_EQ(result, platform::kIdOk);
        EXPECT_TRUE(backend.messages.empty());
        for (std::size_t i = 0; i < std::size(kParams); ++i) {
            const std::string expected = i == 2 ? "" : Value(i, "2");
            EXPECT_TRUE(HoldsZeroFilled(kParams[i].field(record), expected)) << i;
            // Only the country Custom keeps the values beside the record.
            EXPECT_EQ(TextOf(kParams[i].custom(custom)), country == 1 ? expected : "") << i;
        }
    }
}

TEST_F(OperatorParamDlg, FullWidthFieldsAreShownCutAndCancelKeepsOnlyTheCut) {
    for (const Param& p : kParams) Put(p.field(record), std::string(80, '7'));
    auto expected = Bytes();
    for (const Param& p : kParams) {
        const auto offset = p.field(record).data() - reinterpret_cast<char*>(&record);
        expected[static_cast<std::size_t>(offset) + p.field(record).size() - 1] = 0;
    }
    COperatorParamDlg dlg(record, custom);
    const int result = Run(dlg, [&](HeadlessDialog& w) {
        for (const Param& p : kParams) {
            EXPECT_EQ(w.Text(p.id).size(), p.field(record).size() - 1) << p.id;
            w.Backspace(p.id, 3);
        }
        w.Escape();
    });
    EXPECT_EQ(result, platform::kIdCancel);
    EXPECT_EQ(Bytes(), expected);
    EXPECT_EQ(TextOf(custom.netApn), "");
}

TEST_F(OperatorParamDlg, EachEditAcceptsItsFieldWidthMinusOne) {
    COperatorParamDlg dlg(record, custom);
    Run(dlg, [&](HeadlessDialog& w) {
        for (const Param& p : kParams) {
            w.Type(p.id, std::string(90, '3'));
            EXPECT_EQ(w.Text(p.id).size(), p.field(record).size() - 1) << p.id;
        }
        w.Retype(IDC_OP_MMS_PORT, "8a0-8x0");
        EXPECT_EQ(w.Text(IDC_OP_MMS_PORT), "8080") << "the port takes digits only";
        w.Click(IDCANCEL);
    });
}

}  // namespace
}  // namespace ostrova::ui::test
