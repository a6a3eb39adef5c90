#include "res/templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "res/resource_ids.h"

namespace ostrova::res {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;

// Frame, font, and what a keyboard user meets in every template: OK as the only default
// button (the main window has none), tab stops on inputs only, one per radio group.
TEST(Templates, EveryDialogsFrameDefaultButtonAndTabStops) {
    const struct {
        int id;
        std::string_view title;
        int width, height, defaults;
    } expected[] = {
        {IDD_ABOUTBOX, "About Ostrova+", 235, 132, 1},
        {IDD_MAIN, "Ostrova+  v0.8", 323, 358, 0},
        {IDD_EMAIL_SETTING, "Email Setting", 215, 144, 1},
        {IDD_OPERATOR_PARAM, "Operator Parameter", 187, 234, 1},
        {IDD_FTP_SETTING, "FTP Setting", 215, 112, 1},
        {IDD_HTTP_SETTING, "HTTP Setting", 215, 55, 1},
    };
    for (const auto& e : expected) {
        const DialogTemplate* d = FindTemplate(e.id);
        ASSERT_NE(d, nullptr) << e.id;
        EXPECT_EQ(d->title, e.title);
        EXPECT_EQ(std::pair(d->width, d->height), std::pair(e.width, e.height)) << e.id;
        EXPECT_EQ(d->fontFace, "Times New Roman");
        EXPECT_EQ(d->fontPoints, 10);
        EXPECT_EQ(d->vscroll && d->appWindow, e.id == IDD_MAIN) << e.id;
        int defaults = 0;
        for (const ControlTemplate& c : d->controls) {
            SCOPED_TRACE(::testing::Message() << "template " << e.id << " control " << c.id);
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
        EXPECT_EQ(defaults, e.defaults) << e.id;
    }
}

// Tab order, and Send Mode and Send Via in one radio group that ends after 1010: the form
// relies on that and re-checks both.
TEST(Templates, MainWindowTabOrderAndItsOneRadioGroup) {
    const std::vector<int> order = {
        1000, 1004, 1001, 1007, 1006, 1002, 1009, 1010, 1019, 1021, 1056, 1032, 1058, 1036,
        1063, 1061, 1066, 1065, 1067, 1068, 1069, 1070, 1071, 1072, 1073, 1074, 1079, 1049,
        1016, 1076, 1077, 1054, 1017, 1005, 1008, 1011, 1012, 1015, 1020, 1022, 1023, 1024,
        1030, 1039, 1040, 1041, 1018, 1075, 1003, 1026, 1027, 1025, 1078, 1080};
    const auto controls = MainTemplate().controls;
    std::vector<int> ids, radios;
    for (const ControlTemplate& c : controls) ids.push_back(c.id);
    EXPECT_EQ(ids, order);
    // The group runs from the first radio to the next control that starts a group.
    auto it = std::ranges::find(controls, IDC_RADIO_INSTANT, &ControlTemplate::id);
    ASSERT_NE(it->style & platform::kStyleGroup, 0u);
    do {
        if (it->kind == ControlKind::RadioButton) radios.push_back(it->id);
    } while (++it != controls.end() && (it->style & platform::kStyleGroup) == 0);
    EXPECT_EQ(radios, (std::vector{1000, 1001, 1002, 1009, 1010}));
}

}  // namespace
}  // namespace ostrova::res
