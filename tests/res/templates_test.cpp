#include "res/templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "res/resource_ids.h"

namespace ostrova::res {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;

// What a keyboard user meets in every template: OK as the only default button (the main
// window, the one scrolled application window, has none), tab stops on inputs only, one per
// radio group.
TEST(Templates, DefaultButtonAndTabStops) {
    for (const int id : {IDD_ABOUTBOX, IDD_MAIN, IDD_EMAIL_SETTING, IDD_OPERATOR_PARAM,
                         IDD_FTP_SETTING, IDD_HTTP_SETTING}) {
        const platform::DialogTemplate* d = FindTemplate(id);
        ASSERT_NE(d, nullptr) << id;
        EXPECT_EQ(d->id, id);
        EXPECT_EQ(d->vscroll && d->appWindow, id == IDD_MAIN) << id;
        int defaults = 0;
        for (const ControlTemplate& c : d->controls) {
            SCOPED_TRACE(::testing::Message() << "template " << id << " control " << c.id);
            if ((c.style & platform::kStyleDefault) != 0) {
                ++defaults;
                EXPECT_EQ(c.id, IDOK);
            }
            const bool tabStop = (c.style & platform::kStyleTabStop) != 0;
            if (c.kind == ControlKind::Label || c.kind == ControlKind::GroupBox ||
                c.kind == ControlKind::Icon)
                EXPECT_FALSE(tabStop);
            else if (c.kind == ControlKind::RadioButton)
                EXPECT_EQ(tabStop, (c.style & platform::kStyleGroup) != 0);
            else
                EXPECT_TRUE(tabStop);
        }
        EXPECT_EQ(defaults, id == IDD_MAIN ? 0 : 1) << id;
    }
}

// Send Mode and Send Via are one radio group that ends after Internet: the form relies on
// that and re-checks both.
TEST(Templates, MainWindowsOneRadioGroup) {
    const auto controls = MainTemplate().controls;
    auto it = std::ranges::find(controls, IDC_RADIO_INSTANT, &ControlTemplate::id);
    ASSERT_NE(it->style & platform::kStyleGroup, 0u);
    std::vector<int> radios;
    do {
        if (it->kind == ControlKind::RadioButton) radios.push_back(it->id);
    } while (++it != controls.end() && (it->style & platform::kStyleGroup) == 0);
    EXPECT_EQ(radios, (std::vector{IDC_RADIO_INSTANT, IDC_RADIO_DAILY, IDC_RADIO_OFF, IDC_RADIO_MMS,
                                   IDC_RADIO_INTERNET}));
}

}  // namespace
}  // namespace ostrova::res
