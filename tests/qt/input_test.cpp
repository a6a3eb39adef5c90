// Real key presses, clicks and wheel turns reach the framework as its notifications, and
// nothing that code does to a control raises one: the Qt traps, one test each.
#include <QAbstractButton>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>

#include "qt_support.h"
#include "res/resource_ids.h"
#include "res/templates.h"

namespace ostrova::platform::qt::testing {
namespace {

using namespace ostrova::res;

// The main form with handlers that only record what they were told.
class Probe : public CDialog {
public:
    Probe() : CDialog(MainTemplate()) {
        for (int id : {IDC_RADIO_INSTANT, IDC_RADIO_DAILY, IDC_RADIO_OFF, IDC_RADIO_MMS,
                       IDC_RADIO_INTERNET, IDC_BTN_DEFAULT, IDC_CHECK_PHONE1}) {
            On(id, Notify::Clicked, [this, id] { Log("click", id); });
        }
        for (int id : {IDC_COMBO_IMAGEQUALITY, IDC_COMBO_FILETYPE}) {
            On(id, Notify::SelChange, [this, id] { Log("pick", id); });
        }
        for (int id : {IDC_EDIT_MAXNUM, IDC_EDIT_IMAGEFROM, IDC_COMBO_IMAGEQUALITY}) {
            On(id, Notify::Changed, [this, id] { Log("change", id); });
        }
        for (int id : {IDC_EDIT_IMAGEFROM, IDC_BTN_DEFAULT}) {
            On(id, Notify::SetFocus, [this, id] { Log("focus", id); });
        }
    }

    std::vector<std::string> log;
    std::vector<std::pair<ScrollRequest, int>> scrolls;
    std::vector<int> wheels;
    std::vector<int> commands;
    int ticks = 0;
    CComboBox quality;
    CComboBox fileType;

    void Log(const char* what, int id) { log.push_back(std::string(what) + " " + std::to_string(id)); }

protected:
    bool OnInitDialog() override {
        CDialog::OnInitDialog();
        Bind(quality, IDC_COMBO_IMAGEQUALITY);
        Bind(fileType, IDC_COMBO_FILETYPE);
        return true;
    }
    void OnTimer(int) override { ++ticks; }
    void OnSysCommand(int id) override { commands.push_back(id); }
    void OnVScroll(ScrollRequest request, int thumb) override { scrolls.emplace_back(request, thumb); }
    void OnMouseWheel(int delta) override { wheels.push_back(delta); }
};

class Input : public QtFixture {
protected:
    // Runs `script` inside the probe's modal loop; the script ends the dialog.
    int Run(const std::function<void(DialogWindow&)>& script) {
        auto watcher = WhenOpen(probe, [&](DialogWindow& window) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
            script(window);
            if (!window.ended()) probe.EndDialog(kIdCancel);
        });
        const int result = probe.DoModal();
        EXPECT_TRUE(watcher->fired());
        return result;
    }
    template <class W = QWidget>
    W* Widget(DialogWindow& window, int id) {
        return qobject_cast<W*>(window.control(probe.IndexOf(id)));
    }
    void Click(DialogWindow& window, int id) {
        QWidget* w = Widget(window, id);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, w->geometry().center());
    }
    Probe probe;
};

using Log = std::vector<std::string>;

TEST_F(Input, ClickingOffClearsMmsButCheckingOffFromCodeDoesNot) {
    Run([&](DialogWindow& window) {
        // The five radios form one group; checks set by code never touch each other.
        probe.CheckItem(IDC_RADIO_MMS, true);
        probe.CheckItem(IDC_RADIO_OFF, true);
        EXPECT_TRUE(Widget<QAbstractButton>(window, IDC_RADIO_MMS)->isChecked());
        EXPECT_TRUE(Widget<QAbstractButton>(window, IDC_RADIO_OFF)->isChecked());
        EXPECT_EQ(probe.log, Log{});

        // A click on a checked radio leaves it checked and clears the rest of its group.
        Click(window, IDC_RADIO_OFF);
        EXPECT_EQ(probe.log, Log{"click 1002"});
        EXPECT_TRUE(probe.IsItemChecked(IDC_RADIO_OFF));
        EXPECT_FALSE(probe.IsItemChecked(IDC_RADIO_MMS));
        EXPECT_TRUE(Widget<QAbstractButton>(window, IDC_RADIO_OFF)->isChecked());
        EXPECT_FALSE(Widget<QAbstractButton>(window, IDC_RADIO_MMS)->isChecked());

        // A check box toggles through the framework, once per click.
        Click(window, IDC_CHECK_PHONE1);
        EXPECT_TRUE(probe.IsItemChecked(IDC_CHECK_PHONE1));
        EXPECT_TRUE(Widget<QAbstractButton>(window, IDC_CHECK_PHONE1)->isChecked());
    });
}

TEST_F(Input, AClickInsideAGroupBoxReachesTheRadioUnderIt) {
    Run([&](DialogWindow& window) {
        QWidget* radio = Widget(window, IDC_RADIO_DAILY);
        QWidget* frame = Widget(window, IDC_GROUP_SENDMODE);
        const QPoint point = radio->geometry().center();
        ASSERT_TRUE(frame->geometry().contains(point));
        EXPECT_EQ(window.childAt(point), radio);
        QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, point);
        EXPECT_EQ(probe.log, Log{"click 1001"});
        EXPECT_TRUE(probe.IsItemChecked(IDC_RADIO_DAILY));
    });
}

TEST_F(Input, SelectingAComboEntryFromCodeRaisesNothingAndAUserPickRaisesOnce) {
    Run([&](DialogWindow& window) {
        auto* combo = Widget<QComboBox>(window, IDC_COMBO_FILETYPE);
        probe.fileType.AddString("MMSCFG.BIN");
        EXPECT_EQ(combo->currentIndex(), -1);  // Qt would select the first entry by itself
        probe.fileType.AddString("wireless.cfg");
        probe.fileType.SetCurSel(1);
        EXPECT_EQ(combo->currentIndex(), 1);
        probe.fileType.SetCurSel(-1);
        EXPECT_EQ(combo->currentIndex(), -1);
        EXPECT_EQ(probe.log, Log{});

        probe.fileType.SetCurSel(0);
        combo->setFocus(Qt::TabFocusReason);
        QTest::keyClick(combo, Qt::Key_Down);
        EXPECT_EQ(probe.fileType.GetCurSel(), 1);
        EXPECT_EQ(probe.log, Log{"pick 1027"});
    });
}

TEST_F(Input, TypedTextMatchingAnEntryIsNoPick) {
    Run([&](DialogWindow& window) {
        auto* combo = Widget<QComboBox>(window, IDC_COMBO_IMAGEQUALITY);
        for (const char* item : {"Normal", "High", "Original"}) probe.quality.AddString(item);
        probe.quality.SetCurSel(0);
        EXPECT_EQ(combo->lineEdit()->text(), "Normal");

        Click(window, IDC_COMBO_IMAGEQUALITY);
        combo->lineEdit()->selectAll();
        QTest::keyClicks(combo->lineEdit(), "High");
        EXPECT_EQ(probe.ItemText(IDC_COMBO_IMAGEQUALITY), "High");
        // Leaving the edit makes Qt select "High" and report it as activated: not a pick.
        Click(window, IDC_EDIT_IMAGEFROM);
        EXPECT_EQ(probe.quality.GetCurSel(), 0);
        EXPECT_EQ(combo->currentIndex(), 0);
        EXPECT_EQ(combo->lineEdit()->text(), "High");
        EXPECT_EQ(std::count(probe.log.begin(), probe.log.end(), "pick 1079"), 0);
        EXPECT_EQ(std::count(probe.log.begin(), probe.log.end(), "change 1079"), 4);
    });
}

TEST_F(Input, AComboIgnoresTheWheelUnlessFocused) {
    Run([&](DialogWindow& window) {
        auto* combo = Widget<QComboBox>(window, IDC_COMBO_FILETYPE);
        probe.fileType.AddString("MMSCFG.BIN");
        probe.fileType.AddString("wireless.cfg");
        probe.fileType.SetCurSel(0);
        Turn(combo, {0, -120});
        EXPECT_EQ(probe.fileType.GetCurSel(), 0);
        EXPECT_EQ(probe.wheels, std::vector<int>{-120});  // the dialog's wheel instead
    });
}

TEST_F(Input, CaretAndSelectionSurviveAPushOfEqualText) {
    Run([&](DialogWindow& window) {
        auto* edit = Widget<QLineEdit>(window, IDC_EDIT_IMAGEFROM);
        Click(window, IDC_EDIT_IMAGEFROM);
        QTest::keyClicks(edit, "hello");
        QTest::keyClick(edit, Qt::Key_Home);
        QTest::keyClick(edit, Qt::Key_Right);
        for (int i = 0; i < 3; ++i) QTest::keyClick(edit, Qt::Key_Right, Qt::ShiftModifier);
        EXPECT_EQ(probe.Item(IDC_EDIT_IMAGEFROM).selStart, 1);
        EXPECT_EQ(probe.Item(IDC_EDIT_IMAGEFROM).selEnd, 4);

        probe.SetItemText(IDC_EDIT_IMAGEFROM, "hello");
        EXPECT_EQ(edit->selectionStart(), 1);
        EXPECT_EQ(edit->selectedText(), "ell");
        EXPECT_TRUE(edit->isUndoAvailable());

        probe.SetItemText(IDC_EDIT_IMAGEFROM, "bye");
        EXPECT_EQ(edit->text(), "bye");
        EXPECT_EQ(std::count(probe.log.begin(), probe.log.end(), "change 1049"), 5);
    });
}

TEST_F(Input, APastedLetterNeverReachesADigitsOnlyEdit) {
    Run([&](DialogWindow& window) {
        auto* edit = Widget<QLineEdit>(window, IDC_EDIT_MAXNUM);
        Click(window, IDC_EDIT_MAXNUM);
        QGuiApplication::clipboard()->setText("4x2");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        EXPECT_EQ(probe.ItemText(IDC_EDIT_MAXNUM), "42");
        EXPECT_EQ(edit->text(), "42");

        // A refused change restores the text and puts the caret back where it was.
        QTest::keyClick(edit, Qt::Key_Left);
        QGuiApplication::clipboard()->setText("x");
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_A);
        EXPECT_EQ(edit->text(), "42");
        EXPECT_EQ(edit->cursorPosition(), 1);
        EXPECT_EQ(std::count(probe.log.begin(), probe.log.end(), "change 1004"), 1);
    });
}

TEST_F(Input, EscapeAndTheCloseBoxCancelAndOnlyTheFrameworkCloses) {
    EXPECT_EQ(Run([&](DialogWindow& window) {
                  window.accept();  // Qt's own attempts change nothing
                  window.done(kIdOk);
                  EXPECT_TRUE(window.isVisible());
                  QTest::keyClick(&window, Qt::Key_Escape);
                  EXPECT_TRUE(window.ended());
              }),
              kIdCancel);
    EXPECT_EQ(Run([&](DialogWindow& window) {
                  window.close();
                  EXPECT_TRUE(window.ended());
              }),
              kIdCancel);
}

TEST_F(Input, EnterClicksAFocusedPushButtonAndIsOkElsewhere) {
    EXPECT_EQ(Run([&](DialogWindow& window) {
                  auto* button = Widget(window, IDC_BTN_DEFAULT);
                  button->setFocus(Qt::TabFocusReason);
                  QTest::keyClick(button, Qt::Key_Return);
                  QTest::keyClick(button, Qt::Key_F1);  // no help
                  EXPECT_EQ(probe.log, (Log{"focus 1017", "click 1017"}));
                  EXPECT_FALSE(window.ended());

                  Click(window, IDC_EDIT_IMAGEFROM);
                  QTest::keyClick(Widget(window, IDC_EDIT_IMAGEFROM), Qt::Key_Enter,
                                  Qt::KeypadModifier);
                  EXPECT_TRUE(window.ended());
              }),
              kIdOk);
}

TEST_F(Input, FocusFromTheUserIsReportedAndFromCodeIsNot) {
    Run([&](DialogWindow& window) {
        probe.GotoDlgCtrl(IDC_EDIT_IMAGEFROM);
        EXPECT_TRUE(Widget(window, IDC_EDIT_IMAGEFROM)->hasFocus());
        EXPECT_EQ(probe.log, Log{});

        // Tab walks the tab stops in template order; into a radio group it lands on the
        // group's checked radio, and an arrow key clicks the radio it reaches.
        probe.CheckItem(IDC_RADIO_OFF, true);
        Widget(window, IDC_BTN_SAVEAS)->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(probe.focusedId(), IDC_RADIO_OFF);
        EXPECT_TRUE(Widget(window, IDC_RADIO_OFF)->hasFocus());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(probe.focusedId(), IDC_COMBO_COUNTRY);
        const std::vector<int> back = {IDC_EDIT_MINUTE, IDC_EDIT_HOUR, IDC_EDIT_MAXNUM, IDC_RADIO_OFF};
        for (int id : back) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab, Qt::ShiftModifier);
            EXPECT_EQ(probe.focusedId(), id);
        }
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        EXPECT_EQ(probe.focusedId(), IDC_RADIO_MMS);
        EXPECT_TRUE(probe.IsItemChecked(IDC_RADIO_MMS));
        EXPECT_EQ(probe.log, Log{"click 1009"});
    });
}

TEST_F(Input, ClockTicksKeepComingWhileAMessageBoxIsOpen) {
    Run([&](DialogWindow&) {
        probe.SetTimer(1, 20);
        auto box = WhenOpen<QMessageBox>([&](QMessageBox& b) {
            const int before = probe.ticks;
            Pump(200);
            EXPECT_GE(probe.ticks - before, 3);
            b.button(QMessageBox::Ok)->click();
        });
        AfxMessageBox("wait");
        EXPECT_TRUE(box->fired());
    });
}

TEST_F(Input, OnlyVerticalWheelTurnsReachTheDialog) {
    Run([&](DialogWindow& window) {
        QWidget* label = Widget(window, IDC_LABEL_FILETYPE);
        auto turn = [&](QPoint delta, Qt::ScrollPhase phase) { Turn(label, delta, phase); };
        turn({0, 120}, Qt::NoScrollPhase);
        turn({0, -240}, Qt::ScrollUpdate);
        turn({120, 0}, Qt::NoScrollPhase);  // a horizontal tilt
        turn({0, 0}, Qt::ScrollBegin);      // a touchpad's phase edges
        turn({0, 0}, Qt::ScrollEnd);
        turn({0, 0}, Qt::NoScrollPhase);    // a real zero turn counts, as downwards
        EXPECT_EQ(probe.wheels, (std::vector<int>{120, -240, 0}));
    });
}

TEST_F(Input, TheWindowsOwnScrollBarMapsScrollInfoAndReportsRequests) {
    Run([&](DialogWindow& window) {
        QScrollBar* bar = window.scrollBar();
        EXPECT_FALSE(bar->isVisible());
        probe.SetScrollInfo({0, 384, 288, 0, 0});
        EXPECT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->geometry().right(), window.width() - 1);
        // Windows' thumb spans `page` of max - min + 1 and stops at max - page + 1.
        EXPECT_EQ(bar->minimum(), 0);
        EXPECT_EQ(bar->maximum(), 97);
        EXPECT_EQ(bar->pageStep(), 288);

        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        bar->setSliderDown(true);
        bar->setSliderPosition(40);
        using R = ScrollRequest;
        const std::vector<std::pair<R, int>> expected = {
            {R::LineDown, 10}, {R::PageUp, 0}, {R::ThumbTrack, 40}};
        EXPECT_EQ(probe.scrolls, expected);
        EXPECT_EQ(bar->value(), 0);  // the probe stored no new position

        QWidget* radio = Widget(window, IDC_RADIO_INSTANT);
        const int y = radio->y();
        probe.ScrollWindow(-30);
        EXPECT_EQ(radio->y(), y - 30);
        EXPECT_EQ(bar->y(), 0);

        probe.SetScrollInfo({});
        EXPECT_FALSE(bar->isVisible());
    });
}

TEST_F(Input, TheSystemMenuEntryLivesInTheContextMenu) {
    Run([&](DialogWindow& window) {
        probe.AppendSystemMenuCommand(IDM_ABOUTBOX, "About Ostrova+ (&A)...");
        ASSERT_NE(window.systemMenu(), nullptr);
        QAction* entry = window.systemMenu()->actions().back();
        EXPECT_EQ(entry->text(), "About Ostrova+ (&A)...");

        // Right click on the background pops it up; picking the entry sends the command.
        QTimer pick;
        pick.setInterval(10);
        QObject::connect(&pick, &QTimer::timeout, [&] {
            if (QApplication::activePopupWidget() == window.systemMenu()) {
                pick.stop();
                window.systemMenu()->close();
                entry->trigger();
            }
        });
        pick.start();
        QTimer::singleShot(3000, &window, [&] { window.systemMenu()->close(); });
        const QPoint background(window.width() - 20, window.height() - 5);
        ASSERT_EQ(window.childAt(background), nullptr);
        QContextMenuEvent event(QContextMenuEvent::Mouse, background, window.mapToGlobal(background));
        QApplication::sendEvent(&window, &event);
        EXPECT_EQ(probe.commands, std::vector<int>{IDM_ABOUTBOX});
    });
}

TEST_F(Input, AMessageBoxIsTitledWithTheApplicationsName) {
    Run([&](DialogWindow& window) {
        auto box = WhenOpen<QMessageBox>([&](QMessageBox& b) {
            EXPECT_EQ(b.windowTitle(), "qt_tests");
            EXPECT_EQ(b.text(), "Save wireless.cfg OK!  ");
            EXPECT_EQ(b.textFormat(), Qt::PlainText);
            EXPECT_EQ(b.standardButtons(), QMessageBox::Ok);
            EXPECT_EQ(b.parentWidget(), &window);
            QTest::keyClick(&b, Qt::Key_Return);
        });
        AfxMessageBox("Save wireless.cfg OK!  ");
        EXPECT_TRUE(box->fired());
        // No application display name: Qt would append it to every window title.
        EXPECT_EQ(window.windowHandle()->title(), "Ostrova+  v0.8");
    });
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
