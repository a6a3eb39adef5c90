// The dialog manager's keys, as every backend hands them to the framework.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "platform/framework.h"
#include "platform/headless/headless.h"

namespace ostrova::platform {
namespace {

// clang-format off
enum : int { kLabel = 200, kName, kRadioA, kRadioB, kRadioC, kCheck, kHidden, kCombo, kButton };
// clang-format on

constexpr std::uint32_t kTab = kStyleTabStop, kGroup = kStyleGroup, kAuto = kStyleAuto;
constexpr ControlTemplate kControls[] = {
    {kLabel, ControlKind::Label, "Name:", {}, kGroup},
    {kName, ControlKind::Edit, "", {}, kTab},
    // B is a tab stop too: Shift+Tab meets it before A.
    {kRadioA, ControlKind::RadioButton, "A", {}, kAuto | kGroup | kTab},
    {kRadioB, ControlKind::RadioButton, "B", {}, kAuto | kTab},
    {kRadioC, ControlKind::RadioButton, "C", {}, kAuto},
    {kCheck, ControlKind::CheckBox, "Check", {}, kAuto | kGroup | kTab},
    {kHidden, ControlKind::Edit, "", {}, kGroup | kTab},
    {kCombo, ControlKind::ComboDropList, "", {}, kGroup | kTab},
    {kButton, ControlKind::PushButton, "Do", {}, kTab},
    {kIdOk, ControlKind::PushButton, "OK", {}, kStyleDefault | kTab},
    {kIdCancel, ControlKind::PushButton, "Cancel", {}, kTab},
};
constexpr DialogTemplate kTemplate{902, "Keys", 100,   100,      "Times New Roman",
                                   10,  false,  false, kControls};
// The same without the label: the first control is the first tab stop.
constexpr DialogTemplate kFromName{
    903, "Keys", 100, 100, "Times New Roman", 10, false, false, std::span(kControls).subspan(1)};

class KeysDlg : public CDialog {
public:
    KeysDlg() : CDialog(kTemplate) {
        for (const ControlTemplate& c : kControls) {
            On(c.id, Notify::SetFocus, [this, id = c.id] { log.push_back("focus " + Name(id)); });
            if (c.id != kIdOk && c.id != kIdCancel)
                On(c.id, Notify::Clicked,
                   [this, id = c.id] { log.push_back("click " + Name(id)); });
        }
    }
    static std::string Name(int id) {
        for (const ControlTemplate& c : kControls)
            if (c.id == id) return std::string(c.text.empty() ? "field" : c.text);
        return "?";
    }
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

// An open dialog, its edit kHidden hidden.
struct Open {
    explicit Open(headless::HeadlessBackend& backend) : w(dlg, backend) {
        dlg.Create(w);
        dlg.Item(kHidden).visible = false;
    }
    KeysDlg dlg;
    headless::HeadlessDialog w;
};

struct DialogManager : ::testing::Test {
    headless::HeadlessBackend backend;
    Open open{backend};
    KeysDlg& dlg = open.dlg;
    headless::HeadlessDialog& w = open.w;
};

TEST_F(DialogManager, TabWalksTheTabStopsAndEntersARadioGroupAtItsCheckedButton) {
    // A radio group is entered at the checked button of the whole group, wherever its tab stop
    // stands; a hidden or disabled control is passed over; the walk wraps around.
    using Row = std::tuple<int, int, int, DialogKey, int>;  // checked, disabled, from, key, to
    for (const auto& [checked, disabled, from, key, to] : {
             Row{kRadioA, 0, kName, DialogKey::Tab, kRadioA},
             Row{kRadioC, 0, kName, DialogKey::Tab, kRadioC},
             Row{kRadioA, 0, kCheck, DialogKey::BackTab, kRadioA},
             Row{kRadioC, kRadioC, kName, DialogKey::Tab, kRadioA},
             Row{kRadioC, 0, kRadioC, DialogKey::Tab, kCheck},
             Row{kRadioA, kCombo, kCheck, DialogKey::Tab, kButton},
             Row{kRadioA, 0, kIdCancel, DialogKey::Tab, kName},
             Row{kRadioA, 0, kName, DialogKey::BackTab, kIdCancel},
         }) {
        Open o(backend);
        auto& [d, v] = o;
        d.CheckItem(checked, true);
        if (disabled != 0) d.EnableItem(disabled, false);
        v.Focus(from);
        v.Key(key);
        EXPECT_EQ(v.Focused(), to) << KeysDlg::Name(from) << " to " << KeysDlg::Name(to);
    }
}

TEST_F(DialogManager, ArrowsWalkTheGroupOfAButtonAndClickAnAutomaticRadioTheyReach) {
    using Row = std::tuple<int, DialogKey, int, Log>;  // from, key, disabled, what follows
    for (const auto& [from, key, disabled, log] : {
             Row{kRadioA, DialogKey::Next, 0, {"focus B", "click B"}},
             Row{kRadioA, DialogKey::Previous, 0, {"focus C", "click C"}},
             Row{kRadioA, DialogKey::Next, kRadioB, {"focus C", "click C"}},
             Row{kRadioC, DialogKey::Next, 0, {"focus A"}},          // already checked: no click
             Row{kButton, DialogKey::Previous, 0, {"focus field"}},  // the list before it
             Row{kButton, DialogKey::Next, 0, {"focus OK"}},
             Row{kCheck, DialogKey::Next, 0, {}},  // alone in its group
             Row{kName, DialogKey::Next, 0, {}},   // an edit keeps its arrows
         }) {
        Open o(backend);
        auto& [d, v] = o;
        d.CheckItem(kRadioA, true);
        if (disabled != 0) d.EnableItem(disabled, false);
        v.Focus(from);
        d.log.clear();
        v.Key(key);
        EXPECT_EQ(d.log, log) << KeysDlg::Name(from);
    }
    EXPECT_FALSE(dlg.UserKey(DialogKey::Next, dlg.IndexOf(kName), false));
}

TEST_F(DialogManager, EnterAndEscapeLeaveAnOpenListItsKeys) {
    w.Focus(kCombo);
    for (DialogKey key : {DialogKey::Enter, DialogKey::Escape}) w.Key(key, true);
    EXPECT_FALSE(w.ended);
    EXPECT_FALSE(dlg.UserKey(DialogKey::Escape, dlg.IndexOf(kCombo), true)) << "the list's key";
    w.Key(DialogKey::Escape);
    EXPECT_EQ(w.result, kIdCancel);
}

// A dialog's first control starts its first group, with the group style or without it.
TEST(FirstGroup, StartsAtTheFirstControl) {
    static constexpr ControlTemplate kRadios[] = {
        {1, ControlKind::RadioButton, "X", {}, kAuto | kTab},
        {2, ControlKind::RadioButton, "Y", {}, kAuto},
    };
    static constexpr DialogTemplate kPair{904, "Pair", 100,   100,    "Times New Roman",
                                          10,  false,  false, kRadios};
    headless::HeadlessBackend backend;
    CDialog dlg(kPair);
    headless::HeadlessDialog w(dlg, backend);
    dlg.Create(w);
    w.Click(1);
    w.Focus(1);
    w.Key(DialogKey::Next);
    EXPECT_EQ(std::tuple(w.Focused(), w.Checked(1), w.Checked(2)), std::tuple(2, false, true));
}

TEST_F(DialogManager, ADialogStartsAtItsFirstTabStopWithAnEditsTextSelected) {
    dlg.SetItemText(kName, "abc");
    dlg.PlaceDefaultFocus();
    EXPECT_EQ(std::tuple(w.Focused(), w.EditSelection(kName), dlg.log),
              std::tuple(kName, std::pair(0, 3), Log{"focus field"}));

    Open o(backend);  // the first tab stop a radio button: its checked button
    auto& [d, v] = o;
    d.EnableItem(kName, false);
    d.CheckItem(kRadioB, true);
    d.PlaceDefaultFocus();
    EXPECT_EQ(std::tuple(v.Focused(), d.log), std::tuple(kRadioB, Log{"focus B"}));

    CDialog first(kFromName);
    headless::HeadlessDialog view(first, backend);
    first.Create(view);
    first.PlaceDefaultFocus();
    EXPECT_EQ(view.Focused(), kName);
}

}  // namespace
}  // namespace ostrova::platform
