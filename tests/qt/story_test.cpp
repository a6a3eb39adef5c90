// The Linux program told the story the Windows program's driver tells too, with the clock
// fixed: the file it saves is the one the Windows program must save byte for byte. The test
// keeps it beside itself (story/wireless.cfg) for that comparison.
#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include "app/program.h"
#include "qt_support.h"
#include "support/story.h"

namespace ostrova::platform::qt::testing {
namespace {

namespace fs = std::filesystem;

QString Shown(QWidget* control) {
    if (auto* box = qobject_cast<QComboBox*>(control)) return box->currentText();
    return qobject_cast<QLineEdit*>(control)->text();
}

// Each step as the user takes it: a click at the box, the field or the list, then keys into
// the focused widget: the edit's text selected and typed over, or the list stepped through.
void Tell(DialogWindow& window, const story::Step& step) {
    QWidget* control = ControlOf(window, step.id);
    ASSERT_TRUE(control->isEnabled()) << step.id;
    const QString text = QString::fromUtf8(step.text);
    auto* button = qobject_cast<QAbstractButton*>(control);
    const bool was = button != nullptr && button->isChecked();
    QTest::mouseClick(control, Qt::LeftButton, {}, QPoint(6, control->height() / 2));
    if (step.act == story::Act::Type) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
        for (const QChar c : text) {  // a keyboard's key and text, the euro sign included
            const auto key = static_cast<Qt::Key>(c.toUpper().unicode());
            QTest::sendKeyEvent(QTest::Click, QApplication::focusWidget(), key, c, {});
        }
    }
    for (int steps = 0; step.act == story::Act::Pick && Shown(control) != text; ++steps) {
        const QString before = Shown(control);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
        ASSERT_TRUE(steps < 200 && Shown(control) != before)
            << "stopped at " << before.toStdString();
    }
    if (button != nullptr)
        ASSERT_NE(button->isChecked(), was) << step.id;
    else
        ASSERT_EQ(Shown(control), text);
}

// What the Save's message said. (A window that never opened, or a step that failed, fails the
// test from inside the program's loop.)
QString said;
std::optional<WhenOpen<DialogWindow>> teller;

// From the program's own loop, once its window is up: the story, Save, its message answered,
// and the window closed.
void TellOnceShown() {
    teller.emplace([](DialogWindow& window) {
        for (const story::Step& step : story::kSteps) {
            Tell(window, step);
            if (::testing::Test::HasFatalFailure()) return static_cast<void>(window.close());
        }
        WhenOpen<QMessageBox> answer([](QMessageBox& box) {
            said = box.text();
            box.accept();
        });
        QTest::mouseClick(ControlOf(window, res::IDC_BTN_SAVE), Qt::LeftButton);
        window.close();
    });
    QTimer::singleShot(60000, [] {  // a story stuck behind a window it did not expect: fail
        if (QWidget* window = QApplication::activeModalWidget()) window->close();
    });
}

TEST(Story, TheLinuxProgramSavesTheChoices) {
    const fs::path own = fs::read_symlink("/proc/self/exe").parent_path();
    for (const char* name : {"wireless.cfg", "MMSCFG.BIN"}) fs::remove(own / name);
    fs::current_path(own);  // started in its own folder, as the Windows program is
    ::setenv("OSTROVA_CLOCK", story::kClock, 1);
    qAddPreRoutine(TellOnceShown);
    char name[] = "ostrova-settings";
    char* argv[] = {name, nullptr};
    app::RunProgram(1, argv);
    teller.reset();
    EXPECT_TRUE(said.startsWith("Save ") && said.endsWith(" OK!")) << said.toStdString();
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
