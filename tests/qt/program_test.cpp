// The real main window on Qt: its frame placed, scrolled and its About box opened through
// the Qt backend, as the user meets them.
#include <unistd.h>

#include <QFontMetrics>
#include <QMenu>
#include <QMessageBox>
#include <filesystem>
#include <QScrollBar>
#include <QTest>

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
