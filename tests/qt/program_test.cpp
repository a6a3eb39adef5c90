// The real program's main window and the desktop services on Qt, as the user meets them.
// The ScaledScreen runs repeat the scrolling test at QT_SCALE_FACTOR 1.25, 1.5 and 2: the frame
// counts in device pixels, Qt places widgets in logical ones.
#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cmath>
#include <utility>

#include "config/record.h"
#include "qt_support.h"
#include "res/resource_ids.h"
#include "ui/main/frame_metrics.h"
#include "ui/main/settings_dlg.h"

namespace ostrova::platform::qt::testing {
namespace {

using namespace ostrova::res;
namespace fs = std::filesystem;

TEST(NameFilters, ClassicPairsBecomeQtFilters) {
    const std::vector<std::pair<std::string_view, QStringList>> cases = {
        {"*.CFG|*.cfg|*.BIN|*.bin|", {"*.CFG (*.cfg)", "*.BIN (*.bin)"}},
        {"*.cfg|*.CFG", {"*.cfg (*.CFG)"}},
        {"Logs|*.txt;*.log|", {"Logs (*.txt *.log)"}},
        {"odd|", {}}};
    for (const auto& [classic, qt] : cases) EXPECT_EQ(NameFilters(classic), qt) << classic;
}

// The main window on a short screen of the current scale, in a folder of its own made the
// current directory. The start-up load looks beside the program, where no settings are.
class Program : public QtFixture {
protected:
    Program() {
        backend_->OverrideScreen(720, dpi);
        fs::create_directory(dir_ / "sub");
        fs::current_path(dir_);
    }
    ~Program() override { fs::current_path(previous_); }
    QWidget* Control(DialogWindow& window, int id) { return window.control(dlg.IndexOf(id)); }
    const double ratio = QGuiApplication::primaryScreen()->devicePixelRatio();
    const int dpi = static_cast<int>(std::lround(96 * ratio));
    const fs::path previous_ = fs::current_path();
    const QTemporaryDir temp_;
    const fs::path dir_ = fs::canonical(temp_.path().toStdString());
    ConfigRecord record{};
    CustomPreset custom{};
    ui::CSettingsDlg dlg{record, custom};
};
using ScaledScreen = Program;
using Services = Program;

TEST_F(ScaledScreen, EveryScrollMovesTheFormToThePositionAndTheClockHasA20PixelCell) {
    RunDialog(dlg, [&](DialogWindow& window) {
        const ui::FrameMetrics m = ui::ComputeFrameMetrics(720, dpi);
        auto logical = [&](int v) { return static_cast<int>(std::lround(v / ratio)); };
        EXPECT_EQ(window.frameGeometry(), QRect(0, 0, logical(m.width), logical(m.height)));
        QScrollBar* bar = window.scrollBar();
        ASSERT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->geometry().right(), window.width() - 1);
        EXPECT_EQ(bar->maximum(), m.scrollMax - m.scrollPage + 1);  // where Windows' thumb stops

        // The clock's font as the screen draws it: its logical size times the ratio, in pixels.
        QFont clock = Control(window, IDC_LABEL_DATETIME)->font();
        EXPECT_TRUE(clock.bold() && clock.italic());
        const double size = clock.pixelSize() > 0 ? clock.pixelSize()
                                                  : clock.pointSizeF() * window.logicalDpiY() / 72;
        clock.setPixelSize(static_cast<int>(std::lround(size * ratio)));
        EXPECT_EQ(QFontMetrics(clock).ascent() + QFontMetrics(clock).descent(), 20);

        // Every request as the user makes it moves the form to the new position, converted
        // once rather than summed from rounded steps.
        QWidget* save = Control(window, IDC_BTN_SAVE);
        const int bottom = save->geometry().bottom();
        int last = 0;
        auto expectMoved = [&](const char* request) {
            const int pos = dlg.GetScrollInfo().pos;
            EXPECT_NE(pos, std::exchange(last, pos)) << request;
            EXPECT_EQ(bar->value(), pos) << request;
            EXPECT_EQ(save->geometry().bottom(), bottom - std::lround(pos / ratio))
                << request << pos;
        };
        using A = QAbstractSlider;
        auto step = [&](A::SliderAction action, const char* request) {
            bar->triggerAction(action);
            expectMoved(request);
        };
        for (int i = 0; i < 3; ++i) step(A::SliderSingleStepAdd, "line down");
        Turn(Control(window, IDC_LABEL_FILETYPE), {0, -120});
        expectMoved("wheel down");
        bar->setSliderPosition(bar->value() + 7);
        expectMoved("thumb");
        PickFirstFromContextMenu(bar, {bar->width() / 2, bar->height() * 3 / 4});  // Scroll here
        expectMoved("scroll here");
        step(A::SliderSingleStepSub, "line up");
        Turn(Control(window, IDC_LABEL_FILETYPE), {0, 120});
        expectMoved("wheel up");
        step(A::SliderPageStepSub, "page up");
        step(A::SliderPageStepAdd, "page down");
        step(A::SliderToMaximum, "bottom");
        step(A::SliderToMinimum, "top");
    });
}

TEST_F(Services, WithoutAFileManagerOnTheBusTheFolderOpens) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/ostrova-test-bus");
    std::vector<QUrl> opened;
    backend_->SetFolderOpener([&](const QUrl& url) { opened.push_back(url); });
    backend_->ShowInFileManager(dir_ / "wireless.cfg");
    EXPECT_EQ(opened,
              std::vector<QUrl>{QUrl::fromLocalFile(QString::fromStdString(dir_.string()))});
}

TEST_F(Services, APickInAFileDialogMovesTheCurrentDirectoryAndACancelDoesNot) {
    auto open = WhenOpen<QFileDialog>([](QFileDialog& d) { d.reject(); });
    EXPECT_EQ(backend_->OpenFileDialog({"CFG", "", "*.CFG|*.cfg|"}), std::nullopt);
    EXPECT_TRUE(open->fired());
    EXPECT_EQ(fs::current_path(), dir_);

    auto save = WhenOpen<QFileDialog>([&](QFileDialog& d) {
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(d.testOption(QFileDialog::DontConfirmOverwrite));
        // Qt's own dialog matches patterns without regard to case; a native one would not.
        EXPECT_TRUE(d.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(d.selectedFiles().value(0),
                  QString::fromStdString((dir_ / "wireless.cfg").string()));
        d.findChild<QLineEdit*>("fileNameEdit")->setText("sub/mine");  // typed, no extension
        static_cast<QDialog&>(d).accept();
    });
    EXPECT_EQ(backend_->SaveFileDialog({"CFG", "wireless.cfg", "*.cfg|*.CFG"}),
              dir_ / "sub" / "mine.CFG");  // the default extension appended
    EXPECT_TRUE(save->fired());
    EXPECT_EQ(fs::current_path(), dir_ / "sub");
}

TEST_F(Services, SaveOnTheMainWindowWritesTheFileAndSaysSo) {
    RunDialog(dlg, [&](DialogWindow& window) {
        auto box = WhenOpen<QMessageBox>([&](QMessageBox& b) {
            EXPECT_EQ(b.text(), "Save wireless.cfg OK!");
            QTest::keyClick(&b, Qt::Key_Return);
        });
        QTest::mouseClick(window.control(dlg.IndexOf(IDC_BTN_SAVE)), Qt::LeftButton);
        EXPECT_TRUE(box->fired());
    });
    EXPECT_EQ(fs::file_size(dir_ / "wireless.cfg"), 2048u);
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
