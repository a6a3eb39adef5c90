// The program as started from a shell: its arguments change nothing. Each start runs in a
// child process of its own, since a process holds one QApplication.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QStyle>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/program.h"
#include "config/codec.h"
#include "config/record.h"
#include "platform/qt/dialog_window.h"
#include "res/resource_ids.h"

namespace ostrova {
namespace {

namespace fs = std::filesystem;
using platform::qt::DialogWindow;

int g_report = -1;  // the child's end of the pipe

// Runs once the program's QApplication exists: waits for the main window, writes what it
// shows to the pipe and closes it.
void WatchMainWindow() {
    auto* timer = new QTimer(QCoreApplication::instance());
    QObject::connect(timer, &QTimer::timeout, [timer] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* window = dynamic_cast<DialogWindow*>(w);
            if (window == nullptr || !window->isVisible() ||
                window->dialog().dialogTemplate().id != res::IDD_MAIN)
                continue;
            timer->stop();
            const QRect frame = window->frameGeometry();
            const std::string seen = std::to_string(window->layoutDirection()) + " " +
                                     window->style()->name().toStdString() + " " +
                                     window->dialog().ItemText(res::IDC_EDIT_PHONE1) + " " +
                                     std::to_string(frame.width()) + "x" +
                                     std::to_string(frame.height());
            if (::write(g_report, seen.data(), seen.size()) < 0) std::_Exit(3);
            window->dialog().EndDialog(platform::kIdCancel);
            return;
        }
    });
    timer->start(20);
    QTimer::singleShot(20000, [] { std::_Exit(2); });  // no main window: fail, do not hang
}

// Starts the program with `args` in `folder` and returns what its main window showed.
std::string Start(const std::vector<std::string>& args, const fs::path& folder) {
    int fds[2];
    if (::pipe(fds) != 0) return "no pipe";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        g_report = fds[1];
        fs::current_path(folder);
        std::vector<std::string> strings = {"ostrova-settings"};
        strings.insert(strings.end(), args.begin(), args.end());
        std::vector<char*> argv;
        for (std::string& s : strings) argv.push_back(s.data());
        argv.push_back(nullptr);
        qAddPreRoutine(WatchMainWindow);
        app::RunProgram(static_cast<int>(strings.size()), argv.data());
        std::_Exit(0);
    }
    ::close(fds[1]);
    std::string seen;
    char buffer[256];
    for (ssize_t n; (n = ::read(fds[0], buffer, sizeof buffer)) > 0;)
        seen.append(buffer, static_cast<std::size_t>(n));
    ::close(fds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    return seen;
}

void WriteSettings(const fs::path& file, std::string_view phone) {
    ConfigRecord record{};
    SetConfigDefaults(record);
    CopyText(record.phone[0], phone);
    const auto bytes = EncodeCfgForm(record);
    std::ofstream(file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

TEST(ProgramArguments, ChangeNeitherTheWindowNorTheFileLoaded) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The program loads from its own folder; a file named on the command line is no file to
    // load.
    const fs::path own = fs::read_symlink("/proc/self/exe").parent_path() / "wireless.cfg";
    const fs::path work =
        fs::temp_directory_path() / ("ostrova-args-" + std::to_string(::getpid()));
    fs::create_directories(work);
    WriteSettings(own, "5550100");
    WriteSettings(work / "foo.cfg", "5550199");

    const std::string plain = Start({}, work);
    const std::string withArgs = Start({"-reverse", "-style", "windows", "foo.cfg"}, work);
    EXPECT_NE(plain.find(" 5550100 "), std::string::npos) << plain;
    EXPECT_EQ(withArgs, plain);

    fs::remove(own);
    fs::remove_all(work);
}

}  // namespace
}  // namespace ostrova
