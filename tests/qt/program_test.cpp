// The real main window on Qt: its frame placed, scrolled and its About box opened through
// the Qt backend, as the user meets them.
#include <unistd.h>

#include <QFontMetrics>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <cmath>
#include <filesystem>

#include "config/record.h"
#include "qt_support.h"
#include "res/resource_ids.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::platform::qt::testing {
namespace {

using namespace ostrova::res;

class Program : public QtFixture {
protected:
    Program() {
        // The start-up load looks beside the program: this test's folder holds no settings.
        backend().OverrideScreen(720, 96);
    }
    ConfigRecord record{};
    CustomPreset custom{};
    ui::CSettingsDlg dlg{record, custom};
};

TEST_F(Program, OnAShortScreenTheFormScrollsByBarAndWheel) {
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        EXPECT_EQ(window.frameGeometry(), QRect(0, 0, 568, 660));
        QScrollBar* bar = window.scrollBar();
        ASSERT_TRUE(bar->isVisible());
        // The clock's font reaches its label: bold italic Arial with a 20-pixel cell.
        const QFont clock = window.control(dlg.IndexOf(IDC_LABEL_DATETIME))->font();
        EXPECT_EQ(QFontMetrics(clock).ascent() + QFontMetrics(clock).descent(), 20);
        EXPECT_TRUE(clock.bold() && clock.italic());

        QWidget* save = window.control(dlg.IndexOf(IDC_BTN_SAVE));
        const int y = save->y();

        for (int i = 0; i < 3; ++i) bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        EXPECT_EQ(bar->value(), 30);
        EXPECT_EQ(save->y(), y - 30);

        // Three wheel notches down from 30 stop at the end, 96.
        for (int i = 0; i < 3; ++i) Turn(window.control(dlg.IndexOf(IDC_LABEL_FILETYPE)), {0, -120});
        EXPECT_EQ(bar->value(), 96);
        EXPECT_EQ(save->y(), y - 96);

        bar->setSliderDown(true);
        bar->setSliderPosition(50);
        bar->setSliderDown(false);
        EXPECT_EQ(bar->value(), 50);
        EXPECT_EQ(save->y(), y - 50);
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    EXPECT_EQ(dlg.DoModal(), kIdCancel);
    EXPECT_TRUE(watcher->fired());
}

// A scaled screen (run with QT_SCALE_FACTOR 1.25, 1.5 and 2): the frame counts in device
// pixels, Qt places widgets in logical ones.
class ScaledScreen : public Program {
protected:
    ScaledScreen() {
        ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
        backend().OverrideScreen(720, static_cast<int>(std::lround(96 * ratio)));
    }
    double ratio = 1;
};

// Picks an entry of the scroll bar's own context menu, opened at `at`.
void PickFromScrollBarMenu(QScrollBar* bar, QPoint at, int entry) {
    QTimer::singleShot(50, [entry] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) return;
        QList<QAction*> actions = menu->actions();
        actions.removeIf([](QAction* a) { return a->isSeparator(); });
        menu->setActiveAction(actions.value(entry));
        QTest::keyClick(menu, Qt::Key_Return);
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, bar->mapToGlobal(at));
    QApplication::sendEvent(bar, &event);
}

TEST_F(ScaledScreen, EveryScrollMovesTheContentToThePositionInDevicePixels) {
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        QScrollBar* bar = window.scrollBar();
        ASSERT_TRUE(bar->isVisible());
        QWidget* save = window.control(dlg.IndexOf(IDC_BTN_SAVE));
        const int bottom = save->geometry().bottom();
        auto expectAt = [&](const char* request) {
            const int pos = dlg.GetScrollInfo().pos;
            EXPECT_EQ(bar->value(), pos) << request;
            EXPECT_EQ(save->geometry().bottom(), bottom - std::lround(pos / ratio))
                << request << " at " << pos;
        };
        for (int i = 0; i < 3; ++i) {
            bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
            expectAt("line down");
        }
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        expectAt("page down");
        Turn(window.control(dlg.IndexOf(IDC_LABEL_FILETYPE)), {0, -120});
        expectAt("wheel down");
        bar->setSliderDown(true);
        bar->setSliderPosition(bar->value() + 7);
        bar->setSliderDown(false);
        expectAt("thumb");
        const int before = dlg.GetScrollInfo().pos;
        PickFromScrollBarMenu(bar, {bar->width() / 2, bar->height() / 4}, 0);  // Scroll here
        EXPECT_NE(dlg.GetScrollInfo().pos, before);
        expectAt("scroll here");
        bar->triggerAction(QAbstractSlider::SliderToMaximum);
        expectAt("bottom");
        EXPECT_GE(save->y(), 0);
        EXPECT_LT(save->geometry().bottom(), window.height());
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        expectAt("line up");
        Turn(window.control(dlg.IndexOf(IDC_LABEL_FILETYPE)), {0, 120});
        expectAt("wheel up");
        bar->triggerAction(QAbstractSlider::SliderPageStepSub);
        expectAt("page up");
        bar->triggerAction(QAbstractSlider::SliderToMinimum);
        expectAt("top");
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    dlg.DoModal();
    EXPECT_TRUE(watcher->fired());
}

TEST_F(ScaledScreen, TheClockFontHasACellOf20DevicePixels) {
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        QWidget* clock = window.control(dlg.IndexOf(IDC_LABEL_DATETIME));
        // The font as the screen draws it: its logical size times the ratio, in pixels.
        QFont font = clock->font();
        const double logical =
            font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * clock->logicalDpiY() / 72;
        font.setPixelSize(static_cast<int>(std::lround(logical * ratio)));
        const QFontMetrics fm(font);
        EXPECT_EQ(fm.ascent() + fm.descent(), 20) << "pixel size " << font.pixelSize();
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    dlg.DoModal();
    EXPECT_TRUE(watcher->fired());
}

TEST_F(Program, TheAboutBoxOpensFromTheWindowMenuOverTheMainWindow) {
    bool aboutSeen = false;
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        ASSERT_NE(window.systemMenu(), nullptr);
        auto about = std::make_unique<ModalWatcher>(
            [](QWidget* w) {
                auto* d = dynamic_cast<DialogWindow*>(w);
                return d != nullptr && d->dialog().dialogTemplate().id == IDD_ABOUTBOX;
            },
            [&](QWidget* w) {
                aboutSeen = true;
                EXPECT_EQ(w->parentWidget(), &window);
                EXPECT_EQ(w->windowTitle(), "About Ostrova+");
                QTest::keyClick(w, Qt::Key_Escape);
            });
        window.systemMenu()->actions().back()->trigger();
        EXPECT_TRUE(about->fired());
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    dlg.DoModal();
    EXPECT_TRUE(watcher->fired());
    EXPECT_TRUE(aboutSeen);
}

TEST_F(Program, SaveWritesTheFileAndSaysSo) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("ostrova-qt-save-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder);

    QString shown;
    QString title;
    auto watcher = WhenOpen(dlg, [&](DialogWindow& window) {
        auto box = WhenOpen<QMessageBox>([&](QMessageBox& b) {
            shown = b.text();
            title = b.windowTitle();
            QTest::keyClick(&b, Qt::Key_Return);
        });
        QTest::mouseClick(window.control(dlg.IndexOf(IDC_BTN_SAVE)), Qt::LeftButton);
        EXPECT_TRUE(box->fired());
        QTest::keyClick(&window, Qt::Key_Escape);
    });
    dlg.DoModal();
    EXPECT_TRUE(watcher->fired());
    EXPECT_EQ(shown, "Save wireless.cfg OK!");
    EXPECT_EQ(title, backend().AppName().c_str());
    EXPECT_EQ(std::filesystem::file_size(folder / "wireless.cfg"), 2048u);

    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
