// Real key presses, clicks and wheel turns reach the framework as its notifications, and
// nothing that code does to a control raises one: the Qt traps, by kind of control. And the
// desktop's services as the user meets them.
#include <QAbstractButton>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QSpontaneKeyEvent>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QWindow>
#include <filesystem>
#include <map>

#include "qt_support.h"
#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::platform::qt::testing {
namespace {

using namespace ostrova::res;
namespace fs = std::filesystem;
using Ids = std::vector<int>;

// A wheel turn over `target` as the window system delivers it: spontaneous, so Qt passes it
// on to the parents when the target ignores it.
void Turn(QWidget* target, QPoint angleDelta, Qt::ScrollPhase phase = Qt::NoScrollPhase) {
    const QPointF at(2, 2);
    QWheelEvent wheel(at, target->mapToGlobal(at), {}, angleDelta, Qt::NoButton, {}, phase, false);
    QSpontaneKeyEvent::setSpontaneous(&wheel);
    QApplication::instance()->notify(target, &wheel);  // sendEvent would drop spontaneity
}

// Opens the context menu of `target` at `at` and picks its first entry from the keyboard, as
// the user would.
void PickFirstFromContextMenu(QWidget* target, QPoint at) {
    QTimer::singleShot(50, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QTimer::singleShot(2000, menu, &QMenu::close);  // a failed pick must not hang the test
        menu->setActiveAction(nullptr);                 // not the entry under the pointer
        for (Qt::Key key : {Qt::Key_Down, Qt::Key_Return}) QTest::keyClick(menu, key);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, target->mapToGlobal(at));
    QApplication::sendEvent(target, &event);
}

// The main form with handlers that only record what they were told.
class Probe : public CDialog {
public:
    Probe() : CDialog(MainTemplate()) {
        for (const ControlTemplate& c : MainTemplate().controls)
            for (Notify n : {Notify::Clicked, Notify::SelChange, Notify::SetFocus})
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
        return ControlOf<W>(*window_, id);
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
        Turn(list, {0, -120});  // without the focus, the wheel is the dialog's, not the list's
        EXPECT_EQ(list->currentIndex(), 0);

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
        EXPECT_TRUE(probe.raised[Notify::SelChange].empty());

        // The dialog takes vertical turns only: no tilt, no touchpad's phase edge.
        Turn(Widget(IDC_LABEL_FILETYPE), {120, 0});
        for (Qt::ScrollPhase edge : {Qt::ScrollBegin, Qt::ScrollEnd})
            Turn(Widget(IDC_LABEL_FILETYPE), {0, 0}, edge);
        EXPECT_EQ(probe.wheels, Ids{-120});

        // The framework hears of the selection, as anchor and caret. (That a push of equal
        // text leaves the control and so its selection alone, the headless tests hold.)
        auto* from = Widget<QLineEdit>(IDC_EDIT_IMAGEFROM);  // focused by the click above
        QTest::keyClicks(from, "hello");
        from->setSelection(1, 3);  // "ell", the caret after it
        const ControlState& state = probe.Item(IDC_EDIT_IMAGEFROM);
        EXPECT_EQ(std::pair(state.anchor, state.caret), std::pair(1, 4));

        // A change the framework refuses (a letter in a digits-only edit) leaves text and
        // caret as they were, though Qt showed it first.
        auto* number = Widget<QLineEdit>(IDC_EDIT_MAXNUM);
        Click(IDC_EDIT_MAXNUM);
        QTest::keyClicks(number, "42");
        for (Qt::Key key : {Qt::Key_Left, Qt::Key_A}) QTest::keyClick(number, key);
        EXPECT_EQ(std::pair(number->text(), number->cursorPosition()), std::pair(QString("42"), 1));
    });
}

TEST_F(Input, KeysAndTheWindowMenuActAsTheUserExpectsAndOnlyTheFrameworkCloses) {
    const int enter = Run([&] {
        // Tab reaches the dialog manager, whose walk the headless tests hold: into a radio
        // group onto its checked radio.
        probe.CheckItem(IDC_RADIO_OFF, true);
        Widget(IDC_BTN_SAVEAS)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(probe.raised[Notify::SetFocus], (Ids{IDC_BTN_SAVEAS, IDC_RADIO_OFF}));

        // Enter, the keypad's too, is the framework's: here OK.
        Widget(IDC_EDIT_HOUR)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(Widget(IDC_EDIT_HOUR), Qt::Key_Enter, Qt::KeypadModifier);
    });
    const int escape = Run([&] {
        // The window manager owns the title bar's menu: the window's own entries live in the
        // context menu of its background.
        probe.AppendSystemMenuCommand(IDM_ABOUTBOX, "About Ostrova+ (&A)...");
        PickFirstFromContextMenu(window_, {window_->width() - 20, window_->height() - 5});
        EXPECT_EQ(probe.commands, Ids{IDM_ABOUTBOX});

        // The clock keeps ticking behind a message box.
        auto box = WhenOpen<QMessageBox>([&](QMessageBox& b) {
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

// The desktop's services: file dialogs and the current directory they move.
using Services = QtFixture;

TEST_F(Services, OnlyAPickInAFileDialogMovesTheCurrentDirectory) {
    const QTemporaryDir temp;
    const fs::path dir_ = fs::canonical(temp.path().toStdString()), previous = fs::current_path();
    fs::create_directory(dir_ / "sub");
    fs::current_path(dir_);
    // Classic filter pairs become Qt's, and only a pick moves the current directory.
    EXPECT_EQ(NameFilters("*.CFG|*.cfg|Logs|*.txt;*.log|odd"),
              QStringList({"*.CFG (*.cfg)", "Logs (*.txt *.log)"}));
    auto open = WhenOpen<QFileDialog>([](QFileDialog& d) { d.reject(); });
    EXPECT_EQ(backend_->OpenFileDialog({"CFG", "", "*.CFG|*.cfg|"}), std::nullopt);
    EXPECT_EQ(fs::current_path(), dir_);

    auto save = WhenOpen<QFileDialog>([&](QFileDialog& d) {
        d.findChild<QLineEdit*>("fileNameEdit")->setText("sub/mine");  // typed, no extension
        static_cast<QDialog&>(d).accept();
    });
    EXPECT_EQ(backend_->SaveFileDialog({"CFG", "wireless.cfg", "*.cfg|*.CFG"}),
              dir_ / "sub" / "mine.CFG");  // the default extension appended
    EXPECT_EQ(fs::current_path(), dir_ / "sub");
    fs::current_path(previous);
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
