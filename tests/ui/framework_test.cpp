// The framework's rules, each with a test that fails if the rule breaks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/framework.h"
#include "platform/headless/headless.h"

namespace ostrova::platform {
namespace {

enum : int {
    kRadioA = 100, kRadioB, kRadioC, kCheck, kNumber, kName, kCombo, kButton, kRadioD, kRadioE,
    kSecond, kEditCombo,
};

constexpr ControlTemplate kControls[] = {
    {kRadioA, ControlKind::RadioButton, "A", {}, kStyleAuto | kStyleGroup},
    {kRadioB, ControlKind::RadioButton, "B", {}, kStyleAuto},
    {kRadioC, ControlKind::RadioButton, "C", {}, kStyleAuto},
    {kCheck, ControlKind::CheckBox, "Check", {}, kStyleAuto | kStyleGroup},
    {kNumber, ControlKind::Edit, "", {}, kStyleDigits},
    {kName, ControlKind::Edit, "", {}, kStyleNone},
    {kSecond, ControlKind::Edit, "", {}, kStyleDigits},
    {kCombo, ControlKind::ComboDropList, "", {}, kStyleNone},
    {kEditCombo, ControlKind::ComboDropDown, "", {}, kStyleNone},
    {kButton, ControlKind::PushButton, "Do", {}, kStyleNone},
    {kIdOk, ControlKind::PushButton, "OK", {}, kStyleDefault},
    {kIdCancel, ControlKind::PushButton, "Cancel", {}, kStyleNone},
    {kRadioD, ControlKind::RadioButton, "D", {}, kStyleAuto | kStyleGroup},
    {kRadioE, ControlKind::RadioButton, "E", {}, kStyleAuto},
};
constexpr DialogTemplate kTemplate{900, "Test", 100, 100, "Times New Roman", 10, false, false,
                                   kControls};
constexpr ControlTemplate kNoDefaultControls[] = {
    {kNumber, ControlKind::Edit, "", {}, kStyleDigits},
    {kButton, ControlKind::PushButton, "Do", {}, kStyleNone},
};
constexpr DialogTemplate kNoDefaultTemplate{901, "Form", 100, 100, "Times New Roman", 10, false,
                                            false, kNoDefaultControls};

// A dialog that records every notification it gets.
class TestDlg : public CDialog {
public:
    explicit TestDlg(const DialogTemplate& t = kTemplate) : CDialog(t) {
        for (int id : {kRadioA, kRadioB, kRadioC, kCheck, kButton, kRadioD, kRadioE})
            On(id, Notify::Clicked, [this, id] { log.push_back("click " + std::to_string(id)); });
        for (int id : {kNumber, kName, kSecond})
            On(id, Notify::Changed, [this, id] { log.push_back("change " + std::to_string(id)); });
        On(kCombo, Notify::SelChange, [this] { log.push_back("pick"); });
        On(kName, Notify::SetFocus, [this] { log.push_back("setfocus name"); });
        On(kName, Notify::KillFocus, [this] { log.push_back("killfocus name"); });
    }
    void DoDataExchange(CDataExchange& dx) override {
        if (dialogTemplate().id == kNoDefaultTemplate.id) {
            DDX_Text(dx, kNumber, number);
            return;
        }
        DDX_Control(dx, kCombo, combo);
        DDX_Control(dx, kNumber, numberEdit);
        DDX_Text(dx, kNumber, number);
        DDX_Text(dx, kName, name);
        DDV_MaxChars(dx, name, 5);
        DDX_Text(dx, kSecond, second);
    }
    CComboBox combo;
    CEdit numberEdit;
    int number = 0;
    int second = 0;
    std::string name;
    std::vector<std::string> log;
};

struct Fixture : ::testing::Test {
    headless::HeadlessBackend backend;
    TestDlg dlg;
    headless::HeadlessDialog& w = backend.Show(dlg);
};

using Framework = Fixture;

TEST_F(Framework, CodeChangesRaiseNothing) {
    dlg.combo.AddString("one");
    dlg.combo.AddString("two");
    dlg.combo.SetCurSel(1);
    dlg.CheckItem(kRadioB, true);
    dlg.CheckItem(kCheck, true);
    dlg.SetItemText(kName, "text");
    dlg.name = "pushed";
    dlg.UpdateData(false);
    dlg.GotoDlgCtrl(kName);
    EXPECT_TRUE(dlg.log.empty());
    EXPECT_FALSE(dlg.IsItemChecked(kRadioA)) << "a check set by code touches no other radio";
    dlg.CheckItem(kRadioA, true);
    EXPECT_TRUE(dlg.IsItemChecked(kRadioB));
}

TEST_F(Framework, PushKeepsCaretAndSelectionWhereTheTextIsEqual) {
    w.Type(kName, "abcd");
    w.SetCaret(kName, 2);
    dlg.UpdateData(true);
    const int rendersBefore = w.renders;
    dlg.UpdateData(false);
    EXPECT_EQ(w.renders, rendersBefore) << "an equal push must not touch the control";
    EXPECT_EQ(w.EditSelection(kName), (std::pair{2, 2}));
    dlg.name = "xy";
    dlg.UpdateData(false);
    EXPECT_EQ(w.Text(kName), "xy");
}

TEST_F(Framework, PullStopsAtAFieldThatDoesNotParse) {
    dlg.number = 7;
    dlg.name = "keep";
    dlg.second = 9;
    dlg.UpdateData(false);
    for (const char* bad : {"", "2147483648", "99999999999999999999"}) {
        w.Retype(kNumber, bad);
        w.Retype(kName, "new");
        w.Retype(kSecond, "3");
        dlg.log.clear();
        backend.messages.clear();
        EXPECT_FALSE(dlg.UpdateData(true)) << bad;
        EXPECT_EQ(dlg.number, 7) << bad;
        EXPECT_EQ(dlg.name, "keep") << "members after the bad one keep their values";
        EXPECT_EQ(dlg.second, 9);
        ASSERT_EQ(backend.messages.size(), 1u);
        EXPECT_EQ(backend.messages[0], kNotANumberMessage);
        EXPECT_EQ(dlg.focusedId(), kNumber);
        EXPECT_EQ(w.EditSelection(kNumber), (std::pair{0, static_cast<int>(std::string(bad).size())}));
        EXPECT_TRUE(dlg.log.empty());
    }
    w.Retype(kNumber, "2147483647");
    EXPECT_TRUE(dlg.UpdateData(true));
    EXPECT_EQ(dlg.number, 2147483647);
    EXPECT_EQ(dlg.name, "new");
    EXPECT_EQ(dlg.second, 3);
}

TEST_F(Framework, MaxCharsLimitsOnPushAndFailsThePullOfALongerText) {
    w.Type(kName, "abcdefg");  // the push at initialisation set the limit: 5
    EXPECT_EQ(w.Text(kName), "abcde");
    dlg.SetItemText(kName, "far too long");  // only code (a file) can put it there
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(backend.messages.back(), "Please enter no more than 5 characters.");
    EXPECT_EQ(dlg.focusedId(), kName);
}

TEST_F(Framework, RadioGroupRunsToTheNextGroupStart) {
    w.Click(kRadioB);
    EXPECT_TRUE(w.Checked(kRadioB));
    w.Click(kRadioD);
    EXPECT_TRUE(w.Checked(kRadioB)) << "D starts another group";
    w.Click(kRadioA);
    EXPECT_TRUE(w.Checked(kRadioA));
    EXPECT_FALSE(w.Checked(kRadioB));
    EXPECT_FALSE(w.Checked(kRadioC));
    w.Click(kRadioA);
    EXPECT_TRUE(w.Checked(kRadioA)) << "a click on a checked radio leaves it checked";
    w.Click(kCheck);
    w.Click(kCheck);
    w.Click(kCheck);
    EXPECT_TRUE(w.Checked(kCheck));
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"click 101", "click 108", "click 100",
                                                 "click 100", "click 103", "click 103",
                                                 "click 103"}));
    dlg.EnableItem(kRadioC, false);
    w.Click(kRadioC);
    EXPECT_FALSE(w.Checked(kRadioC)) << "a disabled control takes no click";
}

TEST_F(Framework, InputRulesForTypingAndPasting) {
    w.Retype(kNumber, "1a2-3");
    EXPECT_EQ(w.Text(kNumber), "123") << "a digits-only edit refuses other characters";
    w.Paste(kNumber, "x45y");
    EXPECT_EQ(w.Text(kNumber), "12345") << "pasting is filtered the same way";
    dlg.log.clear();
    w.Paste(kNumber, "zz");
    EXPECT_TRUE(dlg.log.empty()) << "a refused change raises nothing";

    w.Type(kName, "ab\xE2\x82\xAC");  // the euro sign exists in Windows-1252
    EXPECT_EQ(dlg.ItemText(kName), "ab\x80");
    w.Type(kName, "\xCE\xA9" "c");  // Omega does not: refused, the rest goes in
    EXPECT_EQ(w.Text(kName), "ab\xE2\x82\xAC" "c");
    w.Paste(kName, "xyz");  // one byte of room under the limit of 5
    EXPECT_EQ(w.Text(kName), "ab\xE2\x82\xAC" "cx");
    dlg.SetItemText(kName, "1234567");  // over the limit from code
    w.SetCaret(kName, 7);
    w.Type(kName, "8");
    EXPECT_EQ(w.Text(kName), "1234567") << "no growth past the limit";
    w.Backspace(kName);
    EXPECT_EQ(w.Text(kName), "123456") << "shortening is always allowed";
}

TEST_F(Framework, FocusNotificationsComeFromTheUserOnly) {
    w.Focus(kName);
    w.Focus(kNumber);
    dlg.GotoDlgCtrl(kName);
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"setfocus name", "killfocus name"}));
}

TEST_F(Framework, ComboPicksAndTypedTextInAComboEditField) {
    dlg.combo.AddString("one");
    dlg.combo.AddString("two");
    w.Pick(kCombo, 1);
    EXPECT_EQ(dlg.combo.GetCurSel(), 1);
    w.Pick(kCombo, 5);
    EXPECT_EQ(dlg.combo.GetCurSel(), 1) << "no such entry";
    w.Pick(kCombo, 1);  // the entry already selected: nothing to tell
    EXPECT_EQ(dlg.log, (std::vector<std::string>{"pick"}));
    dlg.combo.InsertString(0, "zero");
    EXPECT_EQ(dlg.combo.GetCurSel(), 2) << "the selected entry moves with an insertion";
    dlg.combo.SetCurSel(7);
    EXPECT_EQ(dlg.combo.GetCurSel(), -1);
}

TEST_F(Framework, NothingIsDispatchedWhilePullOrPushRuns) {
    w.Retype(kNumber, "");
    dlg.log.clear();
    bool accepted = true;
    backend.duringMessageBox = [&](std::string_view) {
        accepted = dlg.UserEdit(kName, "typed during the pull");
        dlg.UserClick(kButton);
    };
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(dlg.log.empty());
}

TEST_F(Framework, EnterClicksAFocusedButtonElseTheDefaultButton) {
    w.Focus(kButton);
    w.Enter();
    EXPECT_EQ(dlg.log.back(), "click 107");
    EXPECT_FALSE(w.ended);
    w.Retype(kNumber, "");
    w.Enter();  // OK pulls first: the bad number keeps the dialog open
    EXPECT_FALSE(w.ended);
    w.Retype(kNumber, "5");
    w.Enter();
    EXPECT_TRUE(w.ended);
    EXPECT_EQ(w.result, kIdOk);
    EXPECT_EQ(dlg.number, 5);
}

TEST(FrameworkForm, EnterWithoutDefaultButtonIsOkAndEscapeIsCancel) {
    headless::HeadlessBackend backend;
    TestDlg form(kNoDefaultTemplate);
    auto& w = backend.Show(form);
    w.Retype(kNumber, "");
    w.Enter();
    EXPECT_FALSE(w.ended);
    w.Type(kNumber, "42");
    w.Enter();
    EXPECT_EQ(w.result, kIdOk);

    TestDlg other(kNoDefaultTemplate);
    auto& w2 = backend.Show(other);
    w2.Retype(kNumber, "");
    w2.Escape();
    EXPECT_EQ(w2.result, kIdCancel) << "Escape closes without a pull";
    EXPECT_TRUE(backend.messages.size() == 1u);
}

TEST(FrameworkModal, ScriptedRunsAndMessageBoxes) {
    headless::HeadlessBackend backend;
    TestDlg dlg;
    backend.WhenOpened(900, [](headless::HeadlessDialog& w) {
        w.Retype(kNumber, "12");
        w.Click(kIdOk);
    });
    EXPECT_EQ(dlg.DoModal(), kIdOk);
    EXPECT_EQ(dlg.number, 12);
    EXPECT_EQ(dlg.DoModal(), kIdCancel) << "a run nobody scripted is cancelled";
    EXPECT_EQ(backend.problems.size(), 1u);
    AfxMessageBox("Hello");
    EXPECT_EQ(backend.messages.back(), "Hello");
}

}  // namespace
}  // namespace ostrova::platform
