// The program as started from a shell: its arguments change nothing. It loads its settings
// from its own folder, whatever the command line names, and Qt reads none of its own options
// (-reverse, -style) from it.
#include <QStyle>
#include <filesystem>
#include <optional>

#include "app/program.h"
#include "config/codec.h"
#include "config/record.h"
#include "config/save.h"
#include "qt_support.h"
#include "res/resource_ids.h"

namespace ostrova::platform::qt::testing {
namespace {

namespace fs = std::filesystem;

// Once the program's QApplication exists: what its main window shows, then the window closed.
std::optional<WhenOpen<DialogWindow>> started;
void LookOnceShown() {
    started.emplace([](DialogWindow& window) {
        EXPECT_EQ(window.layoutDirection(), Qt::LeftToRight);
        EXPECT_NE(window.style()->name().toLower().toStdString(), "windows");
        EXPECT_EQ(window.dialog().ItemText(res::IDC_EDIT_PHONE1), "5550100");
        window.close();
    });
}

TEST(ProgramArguments, ChangeNeitherTheWindowNorTheFileLoaded) {
    const fs::path own = fs::read_symlink("/proc/self/exe").parent_path() / "wireless.cfg";
    ConfigRecord record{};
    SetConfigDefaults(record);
    CopyText(record.phone[0], "5550100");
    ASSERT_TRUE(WriteFileAtomically(own, EncodeCfgForm(record)));
    qAddPreRoutine(LookOnceShown);
    static char args[][20] = {"ostrova-settings", "-reverse", "-style", "windows", "foo.cfg"};
    char* argv[] = {args[0], args[1], args[2], args[3], args[4], nullptr};
    app::RunProgram(5, argv);
    started.reset();
    fs::remove(own);
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
