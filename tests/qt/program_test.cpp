// The real program's main window and the desktop services on Qt, as the user meets them.
// The ScaledScreen runs repeat the scrolling test at QT_SCALE_FACTOR 1.25, 1.5 and 2: the frame
// counts in device pixels, Qt places widgets in logical ones.
#include <QFileDialog>
#include <QFontMetrics>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QTemporaryDir>
#include <cmath>
#include <functional>
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

// The main window on a short screen of the current scale, in a folder of its own made the
// current directory. The start-up load looks beside the program, where no settings are.
struct Program : QtFixture {
    Program() {
        backend_->OverrideScreen(720, dpi);
        fs::create_directory(dir_ / "sub");
        fs::current_path(dir_);
    }
    ~Program() override { fs::current_path(previous_); }
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

TEST_F(ScaledScreen, EveryScrollMovesTheFormToThePositionAndTheClockHasA20PixelCell) {
    RunDialog(dlg, [&](DialogWindow& window) {
        const ui::FrameMetrics m = ui::ComputeFrameMetrics(720, dpi);
        auto logical = [&](int v) { return static_cast<int>(std::lround(v / ratio)); };
        EXPECT_EQ(window.frameGeometry(), QRect(0, 0, logical(m.width), logical(m.height)));
        QScrollBar* bar = window.scrollBar();
        ASSERT_TRUE(bar->isVisible());
        EXPECT_EQ(bar->geometry().right(), window.width() - 1);
        EXPECT_EQ(bar->maximum(), m.scrollMax - m.scrollPage + 1);  // where Windows' thumb stops
        // Every control lies left of the scroll bar, inside the window.
        for (int i = 0; window.control(i) != nullptr; ++i)
            EXPECT_LT(window.control(i)->geometry().right(), bar->geometry().left()) << i;

        // The clock's font as the screen draws it: its logical size times the ratio, in pixels.
        QFont clock = window.control(dlg.IndexOf(IDC_LABEL_DATETIME))->font();
        EXPECT_TRUE(clock.bold() && clock.italic());
        const double size = clock.pixelSize() > 0 ? clock.pixelSize()
                                                  : clock.pointSizeF() * window.logicalDpiY() / 72;
        clock.setPixelSize(static_cast<int>(std::lround(size * ratio)));
        EXPECT_EQ(QFontMetrics(clock).ascent() + QFontMetrics(clock).descent(), 20);

        // Every request as the user makes it moves the form to the new position, converted
        // once rather than summed from rounded steps.
        QWidget* save = window.control(dlg.IndexOf(IDC_BTN_SAVE));
        const int bottom = save->geometry().bottom();
        int last = 0;
        using A = QAbstractSlider;
        auto request = [&](const char* what, const std::function<void()>& make) {
            make();
            const int pos = dlg.GetScrollInfo().pos;
            EXPECT_NE(pos, std::exchange(last, pos)) << what;
            EXPECT_EQ(bar->value(), pos) << what;
            EXPECT_EQ(save->geometry().bottom(), bottom - std::lround(pos / ratio)) << what;
        };
        QWidget* label = window.control(dlg.IndexOf(IDC_LABEL_FILETYPE));
        for (int i = 0; i < 3; ++i)
            request("line down", [&] { bar->triggerAction(A::SliderSingleStepAdd); });
        request("wheel down", [&] { Turn(label, QPoint(0, -120)); });
        request("thumb", [&] { bar->setSliderPosition(bar->value() + 7); });
        const QPoint low(bar->width() / 2, bar->height() * 3 / 4);  // where Scroll here goes
        request("scroll here", [&] { PickFirstFromContextMenu(bar, low); });
        request("line up", [&] { bar->triggerAction(A::SliderSingleStepSub); });
        request("wheel up", [&] { Turn(label, QPoint(0, 120)); });
        request("page up", [&] { bar->triggerAction(A::SliderPageStepSub); });
        request("page down", [&] { bar->triggerAction(A::SliderPageStepAdd); });
        request("bottom", [&] { bar->triggerAction(A::SliderToMaximum); });
        request("top", [&] { bar->triggerAction(A::SliderToMinimum); });
    });
}

TEST_F(Program, FoldersOpenWithoutAFileManagerAndOnlyAPickInAFileDialogMovesTheCurrentDirectory) {
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/ostrova-test-bus");
    std::vector<QUrl> opened;
    backend_->SetFolderOpener([&](const QUrl& url) { opened.push_back(url); });
    backend_->ShowInFileManager(dir_ / "wireless.cfg");
    EXPECT_EQ(opened,
              std::vector<QUrl>{QUrl::fromLocalFile(QString::fromStdString(dir_.string()))});

    // Classic filter pairs become Qt's, and only a pick moves the current directory.
    EXPECT_EQ(NameFilters("*.CFG|*.cfg|*.BIN|*.bin|"),
              QStringList({"*.CFG (*.cfg)", "*.BIN (*.bin)"}));
    EXPECT_EQ(NameFilters("Logs|*.txt;*.log|odd"), QStringList{"Logs (*.txt *.log)"});
    auto open = WhenOpen<QFileDialog>([](QFileDialog& d) { d.reject(); });
    EXPECT_EQ(backend_->OpenFileDialog({"CFG", "", "*.CFG|*.cfg|"}), std::nullopt);
    EXPECT_EQ(fs::current_path(), dir_);

    auto save = WhenOpen<QFileDialog>([&](QFileDialog& d) {
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
    EXPECT_EQ(fs::current_path(), dir_ / "sub");
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
