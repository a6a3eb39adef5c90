// The framework's rules, each with a test that fails if the rule breaks.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/framework.h"
#include "platform/headless/headless.h"
#include "platform/services.h"

namespace ostrova::platform {
namespace {

// clang-format off
enum : int {
    kValue = 100, kRadioA, kRadioB, kRadioC, kCheck, kName, kNumber, kCombo, kEditCombo, kButton,
    kBare, kRadioD
};
// clang-format on
// The dialog manager's own controls, which its keys walk: the controls above take no Tab.
namespace keys {
enum : int { kLabel = 200, kName, kRadioA, kRadioB, kRadioC, kCheck, kHidden, kCombo, kButton };
}  // namespace keys

constexpr std::uint32_t kTab = kStyleTabStop, kGroup = kStyleGroup, kAuto = kStyleAuto;

// kValue comes first: a change to the first control must reach the window too.
constexpr ControlTemplate kControls[] = {
    {kValue, ControlKind::Edit, "", {}, kStyleNone},
    {kRadioA, ControlKind::RadioButton, "A", {}, kAuto | kGroup},
    {kRadioB, ControlKind::RadioButton, "B", {}, kAuto},
    {kRadioC, ControlKind::RadioButton, "C", {}, kStyleNone},  // checked by its handler alone
    // The next group starts right after the last radio button of this one.
    {kRadioD, ControlKind::RadioButton, "D", {}, kAuto | kGroup},
    {kCheck, ControlKind::CheckBox, "Check", {}, kAuto | kGroup},
    ControlTemplate{kName, ControlKind::Edit, "", {}, kStyleNone}.Taking({5}),
    ControlTemplate{kNumber, ControlKind::Edit, "", {}, kStyleNone}.Taking({.digitsOnly = true}),
    {kCombo, ControlKind::ComboDropList, "", {}, kStyleNone},
    {kEditCombo, ControlKind::ComboDropDown, "", {}, kStyleNone},
    {kButton, ControlKind::PushButton, "Do", {}, kStyleNone},
    {kBare, ControlKind::PushButton, "Bare", {}, kStyleNone},  // no handler
    {keys::kLabel, ControlKind::Label, "Name:", {}, kGroup},
    {keys::kName, ControlKind::Edit, "", {}, kTab},
    // B is a tab stop too: Shift+Tab meets it before A.
    {keys::kRadioA, ControlKind::RadioButton, "A", {}, kAuto | kGroup | kTab},
    {keys::kRadioB, ControlKind::RadioButton, "B", {}, kAuto | kTab},
    {keys::kRadioC, ControlKind::RadioButton, "C", {}, kAuto},
    {keys::kCheck, ControlKind::CheckBox, "Check", {}, kAuto | kGroup | kTab},
    {keys::kHidden, ControlKind::Edit, "", {}, kGroup | kTab},  // hidden once open
    {keys::kCombo, ControlKind::ComboDropList, "", {}, kGroup | kTab},
    {keys::kButton, ControlKind::PushButton, "Do", {}, kTab},
    {kIdOk, ControlKind::PushButton, "OK", {}, kStyleDefault | kTab},
    {kIdCancel, ControlKind::PushButton, "Cancel", {}, kTab},
};
// The dialog manager's controls, from keys::kLabel on.
constexpr std::span<const ControlTemplate> kKeyControls = std::span(kControls).subspan(12);
constexpr DialogTemplate kTemplate{900, "Test", 100,   100,      "Times New Roman",
                                   10,  false,  false, kControls};
constexpr DialogTemplate kNoDefault{
    901, "Form", 100, 100, "Times New Roman", 10, false, false, std::span(kControls, 1)};
// From the dialog manager's edit on: the first control is the first tab stop.
constexpr DialogTemplate kFromName{
    903, "Keys", 100, 100, "Times New Roman", 10, false, false, kKeyControls.subspan(1)};

// A dialog that records every notification it gets.
class TestDlg : public CDialog {
public:
    explicit TestDlg(const DialogTemplate& t = kTemplate) : CDialog(t) {
        for (int id : {kRadioA, kRadioB, kRadioC, kCheck, kButton, kRadioD})
            On(id, Notify::Clicked, [this, id] { log.push_back("click " + std::to_string(id)); });
        for (int id : {kValue, kName, kNumber})
            On(id, Notify::Changed, [this, id] { log.push_back("change " + std::to_string(id)); });
        On(kCombo, Notify::SelChange, [this] { log.push_back("pick"); });
        On(kName, Notify::SetFocus, [this] { log.push_back("setfocus name"); });
        On(kName, Notify::KillFocus, [this] { log.push_back("killfocus name"); });
        // The dialog manager's controls, by name; on OK no click handler: it still ends the
        // dialog.
        for (const ControlTemplate& c : kKeyControls) {
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
    void DoDataExchange(CDataExchange& dx) override {
        DDX_Text(dx, kValue, value);
        if (&dialogTemplate() == &kNoDefault) return;
        DDX_Control(dx, kCombo, combo);
        DDX_Control(dx, kEditCombo, editCombo);
        DDX_Text(dx, kName, name);
        DDV_Limit(dx, name);
        DDX_Text(dx, kNumber, number);
    }
    CComboBox combo, editCombo;
    int value = 0, number = 0;
    std::string name;
    std::vector<std::string> log;
};

// The window as a backend sees it: every change the framework asks it to render.
struct View : headless::HeadlessDialog {
    using HeadlessDialog::HeadlessDialog;
    void ControlChanged(int index, std::uint32_t flags) override {
        HeadlessDialog::ControlChanged(index, flags);
        changes.emplace_back(index, flags);
    }
    std::vector<std::pair<int, std::uint32_t>> changes;
};

using Log = std::vector<std::string>;

// An open dialog, its edit keys::kHidden hidden.
struct Open {
    explicit Open(headless::HeadlessBackend& backend) : w(dlg, backend) {
        dlg.Create(w);
        dlg.Item(keys::kHidden).visible = false;
    }
    TestDlg dlg;
    View w;
};

struct Framework : ::testing::Test {
    headless::HeadlessBackend backend;
    Open open{backend};
    TestDlg& dlg = open.dlg;
    View& w = open.w;
};

TEST_F(Framework, CodeChangesRaiseNothingAndPushesTouchOnlyWhatDiffers) {
    w.Focus(kName);
    w.Focus(kNumber);
    dlg.GotoDlgCtrl(kName);
    EXPECT_EQ(dlg.log, (Log{"setfocus name", "killfocus name"}))
        << "focus moves from code raise nothing";
    EXPECT_EQ(w.Text(kRadioA), "A") << "radios carry their caption";
    dlg.CheckItem(kRadioB, true);
    dlg.CheckItem(kRadioA, true);
    EXPECT_TRUE(dlg.IsItemChecked(kRadioB)) << "a check from code touches no other radio";
    w.Type(kName, "abcd");
    w.SetCaret(kName, 2);
    dlg.log.clear();
    dlg.UpdateData(true);
    const int renders = w.renders;
    dlg.UpdateData(false);
    EXPECT_EQ(w.renders, renders) << "an equal push must not touch the control";
    EXPECT_EQ(w.EditSelection(kName), (std::pair{2, 2}));
    dlg.name = "xy";
    dlg.UpdateData(false);
    EXPECT_EQ(w.Text(kName), "xy");
    EXPECT_TRUE(dlg.log.empty());
    w.SetCaret(kName, 0);
    EXPECT_EQ(w.EditSelection(kName), (std::pair{0, 0}));
    CEdit edit;  // a selection set from code reaches the window
    dlg.Bind(edit, kName);
    edit.SetSel(0, -1);
    EXPECT_EQ(w.changes.back(), std::pair(dlg.IndexOf(kName), std::uint32_t{kChangedEditSel}));
    edit.SetSel(9, -1);
    EXPECT_EQ(w.EditSelection(kName), (std::pair{2, 2})) << "a selection stays within the text";
    dlg.SetItemText(kName, "");
    EXPECT_EQ(w.EditSelection(kName), (std::pair{0, 0})) << "and within a shorter new one";
}

// clang-format off
const std::tuple<const char*, bool, int> kPullRows[] = {  // text, parses, value pulled
    {"2147483647", true, INT_MAX}, {"-2147483648", true, INT_MIN}, {" +7 ", true, 7},
    {"-12", true, -12}, {"", false, 0}, {"-", false, 0}, {"2147483648", false, 0},
    {"99999999999999999999", false, 0}, {"1x", false, 0}};
// clang-format on

TEST_F(Framework, PullParsesWholeNumbersAndStopsAtTheFirstThatDoesNot) {
    bool accepted = false;
    backend.duringMessageBox = [&](std::string_view) {  // nothing is dispatched during a pull
        accepted = dlg.UserReplace(kName, 0, 0, "typed during the pull", EditKind::Paste);
        dlg.UserClick(kButton);
        dlg.UserFocus(kName);
    };
    for (const auto& [text, parses, value] : kPullRows) {
        dlg.value = 5;
        dlg.name = "keep";
        dlg.UpdateData(false);
        w.Retype(kValue, text);
        w.Retype(kName, "new");
        w.Focus(kNumber);
        dlg.log.clear();
        w.changes.clear();
        backend.messages.clear();
        EXPECT_EQ(dlg.UpdateData(true), parses) << text;
        EXPECT_EQ(dlg.value, parses ? value : 5) << text;
        EXPECT_EQ(dlg.name, parses ? "new" : "keep") << "nothing after the bad field is read";
        if (parses) continue;
        EXPECT_EQ(backend.messages, Log{std::string(kNotANumberMessage)});
        EXPECT_EQ(dlg.focusedId(), kValue);
        EXPECT_EQ(w.EditSelection(kValue), (std::pair{0, int(std::string(text).size())}));
        EXPECT_NE(std::ranges::find(w.changes, std::pair{0, std::uint32_t{kChangedEditSel}}),
                  w.changes.end())
            << "the selection reaches the window";
        EXPECT_FALSE(accepted);
        EXPECT_TRUE(dlg.log.empty());
    }
}

TEST_F(Framework, RadioGroupRunsToTheNextGroupStart) {
    dlg.CheckItem(kRadioC, true);
    for (int id : {kRadioB, kRadioD, kRadioA, kRadioA, kCheck, kCheck, kCheck}) w.Click(id);
    // A stays checked when clicked again; D starts another group; the box toggled three times;
    // C, a radio that is not automatic, is its handler's to check.
    for (int id : {kRadioA, kRadioD, kCheck, kRadioC}) EXPECT_TRUE(w.Checked(id)) << id;
    EXPECT_FALSE(w.Checked(kRadioB));
    EXPECT_EQ(dlg.log, (Log{"click 102", "click 111", "click 101", "click 101", "click 104",
                            "click 104", "click 104"}));
    dlg.EnableItem(kRadioB, false);
    w.Click(kRadioB);
    EXPECT_FALSE(w.Checked(kRadioB)) << "a disabled control takes no click";
}

TEST_F(Framework, InputRulesForTypingAndPasting) {
    w.Retype(kNumber, "1a2-3");
    dlg.log.clear();
    w.Paste(kNumber, "4x5");
    EXPECT_TRUE(dlg.log.empty()) << "a refused change raises nothing";
    w.Paste(kNumber, "45");
    EXPECT_EQ(w.Text(kNumber), "12345") << "a digits-only edit takes a paste whole or not at all";

    w.Type(kName, "a \tb\x01\u20AC");  // control characters are refused; the euro sign is 0x80
    EXPECT_FALSE(dlg.UserReplace(kName, 0, 0, "", EditKind::Backspace)) << "nothing to remove";
    w.Type(kName, "\u03A9");  // Omega is not in Windows-1252: refused
    w.Paste(kName, "xyz");    // one byte of room under the limit of 5
    EXPECT_EQ(dlg.ItemText(kName), std::string("a b\x80") + "x");
    dlg.SetItemText(kName, "1234567");  // over the limit from code (a file)
    w.SetCaret(kName, 7);
    w.Type(kName, "8");
    EXPECT_EQ(w.Text(kName), "1234567") << "no growth past the limit";
    w.Backspace(kName);
    EXPECT_EQ(w.Text(kName), "123456") << "shortening is always allowed";
    EXPECT_FALSE(dlg.UpdateData(true));
    EXPECT_EQ(backend.messages.back(), "Please enter no more than 5 characters.");
    EXPECT_EQ(dlg.focusedId(), kName);
    w.Undo(kName);  // leaves a step to redo
    dlg.EnableItem(kName, false);
    EXPECT_EQ(w.changes.back(), std::pair(dlg.IndexOf(kName), std::uint32_t{kChangedEnabled}));
    EXPECT_FALSE(dlg.UserRedo(kName) || dlg.UserUndo(kName)) << "nor undo and redo";
    EXPECT_FALSE(dlg.UserReplace(kName, 0, 0, "12345", EditKind::Paste))
        << "a disabled edit takes no typing";
    EXPECT_EQ(w.Text(kName), "1234567");
}

// A toolkit that reports only the text after an edit: the change is read against the
// selection before it, and the rules judge what it inserted, never the whole text.
TEST_F(Framework, AnEditKnownByItsResultIsTheReplacementItMade) {
    struct Row {
        const char* what;
        int anchor, caret;        // before, in "1234"
        const char* after;        // the toolkit's text
        int caretAfter;           // and caret
        const char* shows;        // the field then
        std::pair<int, int> sel;  // and its selection
    };
    for (const Row& r : {
             Row{"typed over a selection", 1, 3, "194", 2, "194", {2, 2}},
             Row{"inserted at the caret", 2, 2, "12534", 3, "12534", {3, 3}},
             Row{"removed before the caret", 3, 3, "124", 2, "124", {2, 2}},
             Row{"removed after the caret", 1, 1, "134", 1, "134", {1, 1}},
             Row{"changed apart from the selection", 2, 4, "9", 1, "9", {1, 1}},
             Row{"changed in the middle", 4, 4, "1994", 3, "1994", {3, 3}},
             Row{"a letter in the middle", 4, 4, "1a94", 3, "1234", {4, 4}},
         }) {
        SCOPED_TRACE(r.what);
        w.Retype(kNumber, "1234");
        w.Select(kNumber, r.anchor, r.caret);
        dlg.UserEdit(kNumber, r.after, r.caretAfter, std::nullopt);
        EXPECT_EQ(std::pair(w.Text(kNumber), w.EditSelection(kNumber)),
                  std::pair(std::string(r.shows), r.sel));
    }
    w.Retype(kNumber, "1234");
    w.Select(kNumber, 1, 3);
    dlg.UserEdit(kNumber, "1564", 3, std::nullopt);  // "56" dropped over "23"
    w.Type(kNumber, "7");
    w.Undo(kNumber);
    EXPECT_EQ(w.Text(kNumber), "1564") << "a drop is a paste: what is typed next is a step apart";
}

TEST_F(Framework, ComboPicksAndTheEditFieldOfAnEditableCombo) {
    for (auto* c : {&dlg.combo, &dlg.editCombo}) c->AddString("one"), c->AddString("two");
    // 5: no such entry; 1 again: the entry already selected, nothing to tell.
    for (int entry : {1, 5, 1, 0}) w.Pick(kCombo, entry);
    EXPECT_EQ(dlg.log, (Log{"pick", "pick"}));
    dlg.combo.InsertString(0, "zero");
    EXPECT_EQ(dlg.combo.GetCurSel(), 1) << "the selected entry moves with an insertion";
    dlg.combo.SetCurSel(7);
    EXPECT_EQ(dlg.combo.GetCurSel(), -1);

    w.Type(kEditCombo, "typed");
    w.Pick(kEditCombo, 1);
    EXPECT_EQ(w.Text(kEditCombo), "two");
    EXPECT_EQ(w.EditSelection(kEditCombo), (std::pair{0, 3})) << "a pick selects the new text";
    dlg.editCombo.SetCurSel(0);
    EXPECT_EQ(w.Text(kEditCombo), "one");
    dlg.editCombo.ResetContent();
    EXPECT_EQ(w.Text(kEditCombo), "");
    EXPECT_EQ(w.EditSelection(kEditCombo), (std::pair{0, 0}));
}

TEST_F(Framework, OnlyOkAndCancelEndTheDialog) {
    w.Focus(kButton);
    w.Enter();
    EXPECT_EQ(dlg.log, Log{"click 109"}) << "Enter clicks a focused push button";
    w.Click(kBare);
    w.Enter();
    EXPECT_FALSE(w.ended) << "a button without a handler ends nothing";
    w.Retype(kValue, "");
    w.Click(kIdOk);  // OK pulls first: the bad number keeps the dialog open
    EXPECT_FALSE(w.ended);
    w.Retype(kValue, "5");
    dlg.EnableItem(kIdOk, false);
    w.Enter();
    EXPECT_FALSE(w.ended) << "a disabled default button is not pressed";
    dlg.EnableItem(kIdOk, true);
    w.Enter();
    EXPECT_EQ(w.result, kIdOk) << "Enter elsewhere is the default button";
    EXPECT_EQ(dlg.value, 5);

    TestDlg form(kNoDefault);  // without a default button, Enter is the dialog's OK
    auto& f = backend.Show(form);
    f.Retype(kValue, "12");
    f.Enter();
    EXPECT_EQ(std::pair(f.result, form.value), std::pair(kIdOk, 12)) << "which pulls first";
}

// Under the Windows backend an edit has one undo level, which a second undo takes back.
TEST(EditHistoryStyle, FollowsTheBackendsPlainField) {
    headless::HeadlessBackend backend;
    backend.undo = UndoStyle::Windows;
    TestDlg dlg;
    auto& w = backend.Show(dlg);
    w.Type(kName, "ab");
    w.Undo(kName);
    w.Undo(kName);
    EXPECT_EQ(w.Text(kName), "ab");
    EXPECT_TRUE(dlg.UserReplace(kName, 2, 2, "c", EditKind::Typing)) << "an accepted change";
    EXPECT_FALSE(dlg.UserEdit(999, "x", 1, std::nullopt)) << "no such control";
    backend.Dismiss(dlg);
}

// A typed name gets the open dialog's default extension only where no file of that name exists.
TEST(OpenedFileName, AddsTheDefaultExtensionOnlyToAMissingNameWithoutOne) {
    const auto dir = std::filesystem::temp_directory_path() / "ostrova-opened-name.d";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "settings") << "x";
    // clang-format off
    const std::tuple<const char*, std::string_view, const char*> rows[] = {
        {"settings", "CFG", "settings"}, {"missing", "CFG", "missing.CFG"},
        {"a.bin", "CFG", "a.bin"},       {"trailing.", "CFG", "trailing."},
        {"missing", "", "missing"}};
    // clang-format on
    for (const auto& [typed, extension, opened] : rows) {
        EXPECT_EQ(OpenedFileName(dir / typed, extension), dir / opened) << typed;
    }
    std::filesystem::remove_all(dir);
}

// --- The dialog manager's keys, as every backend hands them to the framework

namespace keys {

using DialogManager = Framework;

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
        EXPECT_EQ(v.Focused(), to) << TestDlg::Name(from) << " to " << TestDlg::Name(to);
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
        EXPECT_EQ(d.log, log) << TestDlg::Name(from);
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
    // From B on: B, without the group style, is the first control.
    static constexpr DialogTemplate kFromB{
        904, "Keys", 100, 100, "Times New Roman", 10, false, false, kKeyControls.subspan(3)};
    headless::HeadlessBackend backend;
    CDialog dlg(kFromB);
    headless::HeadlessDialog w(dlg, backend);
    dlg.Create(w);
    w.Click(kRadioB);
    w.Focus(kRadioB);
    w.Key(DialogKey::Next);
    EXPECT_EQ(std::tuple(w.Focused(), w.Checked(kRadioB), w.Checked(kRadioC)),
              std::tuple(kRadioC, false, true));
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

}  // namespace keys

}  // namespace
}  // namespace ostrova::platform
