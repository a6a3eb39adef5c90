// Real key presses, clicks and wheel turns reach the framework as its notifications, and
// nothing that code does to a control raises one: the Qt traps, by kind of control.
#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QWindow>
#include <map>

#include "qt_support.h"
#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::platform::qt::testing {
namespace {

using namespace ostrova::res;
using Ids = std::vector<int>;

// The main form with handlers that only record what they were told.
class Probe : public CDialog {
public:
    Probe() : CDialog(MainTemplate()) {
        for (const ControlTemplate& c : MainTemplate().controls)
            for (Notify n : {Notify::Clicked, Notify::Changed, Notify::SelChange, Notify::SetFocus})
                On(c.id, n, [this, n, id = c.id] { raised[n].push_back(id); });
    }
    std::map<Notify, Ids> raised;  // the controls that raised each notification, in order
    Ids wheels, commands;
    int ticks = 0;

    void OnTimer(int) override { ++ticks; }
    void OnSysCommand(int id) override { commands.push_back(id); }
    void OnMouseWheel(int delta) override { wheels.push_back(delta); }
};

struct Input : QtFixture {
    // Runs `script` on the probe's shown window, with nothing raised so far.
    int Run(const std::function<void()>& script) {
        return RunDialog(probe, [&](DialogWindow& window) {
            window_ = &window;
            probe.raised.clear();
            script();
        });
    }
    template <class W = QWidget>
    W* Widget(int id) {
        return qobject_cast<W*>(window_->control(probe.IndexOf(id)));
    }
    bool Checked(int id) { return Widget<QAbstractButton>(id)->isChecked(); }
    void Click(int id) {
        QTest::mouseClick(window_->windowHandle(), Qt::LeftButton, {},
                          Widget(id)->geometry().center());
    }
    Probe probe;
    DialogWindow* window_ = nullptr;
};

TEST_F(Input, ButtonsCombosAndEditsChangeOnlyOnTheUsersClickPickOrTyping) {
    Run([&] {
        // Checks from code touch no other radio; a click on a checked radio keeps it checked
        // and clears the rest of its group.
        for (int radio : {IDC_RADIO_MMS, IDC_RADIO_OFF}) probe.CheckItem(radio, true);
        EXPECT_TRUE(Checked(IDC_RADIO_MMS) && Checked(IDC_RADIO_OFF));
        // The Send Mode frame lets the click on its radio through.
        for (int id : {IDC_RADIO_OFF, IDC_CHECK_PHONE1}) Click(id);
        EXPECT_TRUE(Checked(IDC_RADIO_OFF) && Checked(IDC_CHECK_PHONE1) && !Checked(IDC_RADIO_MMS));
        EXPECT_EQ(probe.raised[Notify::Clicked], (Ids{IDC_RADIO_OFF, IDC_CHECK_PHONE1}));

        // A combo shows the framework's selection, "none" included, and raises nothing for it.
        CComboBox fileType;
        probe.Bind(fileType, IDC_COMBO_FILETYPE);
        auto* list = Widget<QComboBox>(IDC_COMBO_FILETYPE);
        for (const char* item : {"MMSCFG.BIN", "wireless.cfg"}) fileType.AddString(item);
        EXPECT_EQ(list->currentIndex(), -1);  // Qt would select the first entry by itself
        for (int selection : {1, -1}) fileType.SetCurSel(selection);
        EXPECT_EQ(list->currentIndex(), -1);
        fileType.SetCurSel(0);
        Turn(list, {0, -120});  // without the focus, the wheel is the dialog's
        list->setFocus(Qt::TabFocusReason);
        QTest::keyClick(list, Qt::Key_Down);
        EXPECT_EQ(fileType.GetCurSel(), 1);

        // Leaving an edit whose typed text matches an entry makes Qt select that entry and
        // report it as activated: no pick, and the framework's selection stays.
        CComboBox quality;
        probe.Bind(quality, IDC_COMBO_IMAGEQUALITY);
        auto* edit = Widget<QComboBox>(IDC_COMBO_IMAGEQUALITY)->lineEdit();
        for (const char* item : {"Normal", "High", "Original"}) quality.AddString(item);
        quality.SetCurSel(0);
        Click(IDC_COMBO_IMAGEQUALITY);
        edit->selectAll();
        QTest::keyClicks(edit, "High");
        Click(IDC_EDIT_IMAGEFROM);
        EXPECT_EQ(Widget<QComboBox>(IDC_COMBO_IMAGEQUALITY)->currentIndex(), 0);
        EXPECT_EQ(edit->text(), "High");
        EXPECT_EQ(probe.raised[Notify::SelChange], Ids{IDC_COMBO_FILETYPE});

        // The dialog takes vertical turns only: no tilt, no touchpad's phase edge.
        Turn(Widget(IDC_LABEL_FILETYPE), {120, 0});
        for (Qt::ScrollPhase edge : {Qt::ScrollBegin, Qt::ScrollEnd})
            Turn(Widget(IDC_LABEL_FILETYPE), {0, 0}, edge);
        EXPECT_EQ(probe.wheels, Ids{-120});

        // A push of equal text keeps the selection; the framework hears of the caret.
        auto* from = Widget<QLineEdit>(IDC_EDIT_IMAGEFROM);  // focused by the click above
        QTest::keyClicks(from, "hello");
        from->setSelection(1, 3);  // "ell", the caret after it
        EXPECT_EQ(probe.Item(IDC_EDIT_IMAGEFROM).anchor, 1);
        EXPECT_EQ(probe.Item(IDC_EDIT_IMAGEFROM).caret, 4);
        probe.SetItemText(IDC_EDIT_IMAGEFROM, "hello");
        EXPECT_EQ(from->selectedText(), "ell");

        // A digits-only edit takes a paste whole or not at all; a refused change leaves text
        // and caret.
        auto* number = Widget<QLineEdit>(IDC_EDIT_MAXNUM);
        Click(IDC_EDIT_MAXNUM);
        for (const char* clip : {"4x2", "42"}) {
            QGuiApplication::clipboard()->setText(clip);
            QTest::keyClick(number, Qt::Key_V, Qt::ControlModifier);
        }
        EXPECT_EQ(probe.ItemText(IDC_EDIT_MAXNUM), "42");
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_A}) QTest::keyClick(number, key);
        EXPECT_EQ(std::pair(number->text(), number->cursorPosition()), std::pair(QString("42"), 1));
    });
}

TEST_F(Input, KeysAndTheWindowMenuActAsTheUserExpectsAndOnlyTheFrameworkCloses) {
    const int enter = Run([&] {
        probe.GotoDlgCtrl(IDC_EDIT_IMAGEFROM);
        EXPECT_TRUE(Widget(IDC_EDIT_IMAGEFROM)->hasFocus());
        EXPECT_TRUE(probe.raised.empty());  // focus from code raises nothing

        // Tab walks the tab stops in template order, into a radio group onto its checked
        // radio; an arrow key clicks the radio it reaches.
        probe.CheckItem(IDC_RADIO_OFF, true);
        Widget(IDC_BTN_SAVEAS)->setFocus(Qt::TabFocusReason);
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Down, Qt::Key_Tab})
            QTest::keyClick(QApplication::focusWidget(), key);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
        EXPECT_EQ(probe.raised[Notify::SetFocus], (Ids{IDC_BTN_SAVEAS, IDC_RADIO_OFF, IDC_RADIO_MMS,
                                                       IDC_COMBO_COUNTRY, IDC_EDIT_MINUTE}));

        // Enter on a focused push button clicks it; anywhere else it is OK.
        Widget(IDC_BTN_DEFAULT)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Widget(IDC_BTN_DEFAULT), Qt::Key_Return);
        EXPECT_EQ(probe.raised[Notify::Clicked], (Ids{IDC_RADIO_MMS, IDC_BTN_DEFAULT}));
        EXPECT_FALSE(window_->ended());
        Widget(IDC_EDIT_HOUR)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Widget(IDC_EDIT_HOUR), Qt::Key_Enter, Qt::KeypadModifier);
    });
    const int escape = Run([&] {
        // The window manager owns the title bar's menu: the window's own entries live in the
        // context menu of its background.
        probe.AppendSystemMenuCommand(IDM_ABOUTBOX, "About Ostrova+ (&A)...");
        const QPoint background(window_->width() - 20, window_->height() - 5);
        PickFirstFromContextMenu(window_, background);
        EXPECT_EQ(probe.commands, Ids{IDM_ABOUTBOX});

        // A message box is titled with the program's name, shows plain text, and the clock
        // keeps ticking behind it.
        auto box = WhenOpen<QMessageBox>([&](QMessageBox& b) {
            EXPECT_EQ(b.windowTitle(), "qt_tests");
            EXPECT_EQ(b.textFormat(), Qt::PlainText);
            probe.SetTimer(1, 20);
            QTest::qWait(200);
            EXPECT_GE(probe.ticks, 3);
            QTest::keyClick(&b, Qt::Key_Return);
        });
        AfxMessageBox("Save wireless.cfg OK!  ");
        // No application display name: Qt would append it to every window title.
        EXPECT_EQ(window_->windowHandle()->title(), "Ostrova+  v0.8");

        window_->accept();  // Qt's own attempts change nothing
        window_->done(kIdOk);
        EXPECT_TRUE(window_->isVisible());
        QTest::keyClick(window_, Qt::Key_Escape);
        EXPECT_TRUE(window_->ended());
    });
    EXPECT_EQ((Ids{enter, escape}), (Ids{kIdOk, kIdCancel}));
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
