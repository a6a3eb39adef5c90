// The program as started from a shell: its arguments change nothing. The start runs in a
// child process, since a process holds one QApplication.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QStyle>
#include <QTimer>
#include <cstdlib>
#include <filesystem>

#include "app/program.h"
#include "config/codec.h"
#include "config/record.h"
#include "config/save.h"
#include "platform/qt/dialog_window.h"
#include "res/resource_ids.h"

namespace ostrova {
namespace {

namespace fs = std::filesystem;

TEST(ProgramArguments, ChangeNeitherTheWindowNorTheFileLoaded) {
    // The program loads its settings from its own folder, whatever the command line names.
    const fs::path own = fs::read_symlink("/proc/self/exe").parent_path() / "wireless.cfg";
    ConfigRecord record{};
    SetConfigDefaults(record);
    CopyText(record.phone[0], "5550100");
    ASSERT_TRUE(WriteFileAtomically(own, EncodeCfgForm(record)));
    const pid_t child = ::fork();
    if (child == 0) {
        static char args[][20] = {"ostrova-settings", "-reverse", "-style", "windows", "foo.cfg"};
        char* argv[] = {args[0], args[1], args[2], args[3], args[4], nullptr};
        // Once the program's QApplication exists: wait for the main window, and end the
        // process with a bit set for each thing the arguments changed.
        qAddPreRoutine([] {
            auto* timer = new QTimer(QCoreApplication::instance());
            QObject::connect(timer, &QTimer::timeout, [] {
                auto* window = dynamic_cast<platform::qt::DialogWindow*>(qApp->activeWindow());
                if (window == nullptr) return;
                std::_Exit((window->layoutDirection() == Qt::RightToLeft ? 1 : 0) |
                           (window->style()->name().toLower() == "windows" ? 2 : 0) |
                           (window->dialog().ItemText(res::IDC_EDIT_PHONE1) != "5550100" ? 4 : 0));
            });
            timer->start(20);
            QTimer::singleShot(20000, [] { std::_Exit(8); });  // no main window: fail, do not hang
        });
        app::RunProgram(5, argv);
        std::_Exit(16);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::remove(own);
    EXPECT_EQ(WIFEXITED(status) ? WEXITSTATUS(status) : -1, 0)
        << "1 reversed, 2 styled, 4 loaded no settings, 8 no window";
}

}  // namespace
}  // namespace ostrova
