#include "res/templates.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "res/resource_ids.h"
#include "res/strings.h"

namespace ostrova::res {
namespace {

using platform::ControlKind;
using platform::ControlTemplate;
using platform::DialogTemplate;

bool IsCombo(const ControlTemplate& c) {
    return c.kind == ControlKind::ComboDropDown || c.kind == ControlKind::ComboDropList;
}

struct Expected {
    int id;
    std::string_view title;
    int width;
    int height;
    int defaultButtons;
    bool mainWindow;  // own scroll bar and task-bar entry
};

void PrintTo(const Expected& e, std::ostream* os) {
    *os << "template " << e.id;
}

// The main window has no OK button: Enter reaches the standard OK without one.
constexpr Expected kExpected[] = {
    {IDD_ABOUTBOX, "About Ostrova+", 235, 132, 1, false},
    {IDD_MAIN, "Ostrova+  v0.8", 323, 358, 0, true},
    {IDD_EMAIL_SETTING, "Email Setting", 215, 144, 1, false},
    {IDD_OPERATOR_PARAM, "Operator Parameter", 187, 234, 1, false},
    {IDD_FTP_SETTING, "FTP Setting", 215, 112, 1, false},
    {IDD_HTTP_SETTING, "HTTP Setting", 215, 55, 1, false},
};

class EveryTemplate : public testing::TestWithParam<Expected> {
protected:
    const DialogTemplate& Dialog() const {
        const DialogTemplate* dialog = FindTemplate(GetParam().id);
        if (dialog == nullptr) throw std::logic_error("template missing");
        return *dialog;
    }
};

TEST_P(EveryTemplate, FrameAndFontMatchTheResource) {
    const Expected& e = GetParam();
    const DialogTemplate& d = Dialog();
    EXPECT_EQ(d.id, e.id);
    EXPECT_EQ(d.title, e.title);
    EXPECT_EQ(d.width, e.width);
    EXPECT_EQ(d.height, e.height);
    EXPECT_EQ(d.fontFace, "Times New Roman");
    EXPECT_EQ(d.fontPoints, 10);
    EXPECT_EQ(d.vscroll, e.mainWindow);
    EXPECT_EQ(d.appWindow, e.mainWindow);
}

TEST_P(EveryTemplate, ControlsLieInsideTheClientArea) {
    const DialogTemplate& d = Dialog();
    for (const ControlTemplate& c : d.controls) {
        // A combo's height includes its list, which may drop past the dialog's edge.
        const int height = IsCombo(c) ? std::min(c.rect.h, 14) : c.rect.h;
        EXPECT_TRUE(c.rect.x >= 0 && c.rect.y >= 0 && c.rect.w > 0 && height > 0 &&
                    c.rect.x + c.rect.w <= d.width && c.rect.y + height <= d.height)
            << "control " << c.id << " \"" << c.text << "\"";
    }
}

TEST_P(EveryTemplate, OnlyOkIsTheDefaultButton) {
    int defaults = 0;
    for (const ControlTemplate& c : Dialog().controls) {
        if ((c.style & platform::kStyleDefault) == 0) continue;
        ++defaults;
        EXPECT_EQ(c.id, IDOK);
        EXPECT_EQ(c.kind, ControlKind::PushButton);
    }
    EXPECT_EQ(defaults, GetParam().defaultButtons);
}

TEST_P(EveryTemplate, TabStopsAreOnInputsOnly) {
    for (const ControlTemplate& c : Dialog().controls) {
        const bool tabStop = (c.style & platform::kStyleTabStop) != 0;
        switch (c.kind) {
            case ControlKind::Label:
            case ControlKind::GroupBox:
            case ControlKind::Icon:
                EXPECT_FALSE(tabStop) << "control " << c.id << " \"" << c.text << "\"";
                break;
            case ControlKind::RadioButton:  // a radio group is one tab stop, at its first radio
                EXPECT_EQ(tabStop, (c.style & platform::kStyleGroup) != 0) << "radio " << c.id;
                break;
            default:
                EXPECT_TRUE(tabStop) << "control " << c.id;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Res, EveryTemplate, testing::ValuesIn(kExpected), [](const auto& info) {
    return "Template" + std::to_string(info.param.id);
});

TEST(MainTemplate, ControlsAreInTabOrder) {
    const std::vector<int> expected = {
        1000, 1004, 1001, 1007, 1006, 1002, 1009, 1010, 1019, 1021, 1056, 1032, 1058, 1036,
        1063, 1061, 1066, 1065, 1067, 1068, 1069, 1070, 1071, 1072, 1073, 1074, 1079, 1049,
        1016, 1076, 1077, 1054, 1017, 1005, 1008, 1011, 1012, 1015, 1020, 1022, 1023, 1024,
        1030, 1039, 1040, 1041, 1018, 1075, 1003, 1026, 1027, 1025, 1078, 1080};
    std::vector<int> actual;
    for (const ControlTemplate& c : MainTemplate().controls) actual.push_back(c.id);
    EXPECT_EQ(actual, expected);
}

// Send Mode and Send Via share one radio group; the form relies on that and re-checks both.
TEST(MainTemplate, FiveRadiosFormOneGroup) {
    const auto controls = MainTemplate().controls;
    const auto first = std::ranges::find(controls, IDC_RADIO_INSTANT, &ControlTemplate::id);
    const auto last = std::ranges::find(controls, IDC_RADIO_INTERNET, &ControlTemplate::id);
    ASSERT_TRUE(first < last && last + 1 < controls.end());
    EXPECT_NE(first->style & platform::kStyleGroup, 0u);
    std::vector<int> radios;
    for (auto it = first; it <= last; ++it) {
        if (it != first) {
            EXPECT_EQ(it->style & platform::kStyleGroup, 0u) << it->id;
        }
        if (it->kind == ControlKind::RadioButton) radios.push_back(it->id);
    }
    EXPECT_EQ(radios, (std::vector{1000, 1001, 1002, 1009, 1010}));
    EXPECT_NE((last + 1)->style & platform::kStyleGroup, 0u) << "the group must end after 1010";
    EXPECT_EQ(std::ranges::count(controls, ControlKind::RadioButton, &ControlTemplate::kind), 5);
}

}  // namespace
}  // namespace ostrova::res
