// The desktop services on Qt: names, file dialogs, the file manager, the screen.
#include <QFileDialog>
#include <QLineEdit>
#include <QListView>
#include <QTest>
#include <fstream>

#include "qt_support.h"

namespace ostrova::platform::qt::testing {
namespace {

namespace fs = std::filesystem;

TEST(NameFilters, ClassicPairsBecomeQtFilters) {
    const std::vector<std::pair<std::string_view, QStringList>> cases = {
        {"*.CFG|*.cfg|*.BIN|*.bin|", {"*.CFG (*.cfg)", "*.BIN (*.bin)"}},
        {"*.cfg|*.CFG", {"*.cfg (*.CFG)"}},
        {"Logs|*.txt;*.log|", {"Logs (*.txt *.log)"}},
        {"", {}},
        {"odd|", {}},
    };
    for (const auto& [classic, qt] : cases) EXPECT_EQ(NameFilters(classic), qt) << classic;
}

class Services : public QtFixture {
protected:
    void SetUp() override {
        previous_ = fs::current_path();
        dir_ = fs::temp_directory_path() /
               ("ostrova-qt-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_ / "sub");
        fs::current_path(dir_);
    }
    void TearDown() override {
        fs::current_path(previous_);
        fs::remove_all(dir_);
    }
    fs::path previous_;
    fs::path dir_;
};

TEST_F(Services, TheApplicationsNameIsTheExecutablesNameWithoutExtension) {
    EXPECT_EQ(backend().AppName(), "qt_tests");
    const fs::path self = backend().ProgramPath();
    EXPECT_EQ(self.filename(), "qt_tests");
    EXPECT_EQ(self, fs::canonical("/proc/self/exe"));
}

TEST_F(Services, WithoutAFileManagerOnTheBusTheFolderOpens) {
    // No session bus at all: the fallback, and never an error shown.
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/ostrova-test-bus");
    std::vector<QUrl> opened;
    backend().SetFolderOpener([&](const QUrl& url) { opened.push_back(url); });
    backend().ShowInFileManager(dir_ / "wireless.cfg");
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(dir_.string())));
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST_F(Services, SaveDialogTakesTheRequestAndMovesTheCurrentDirectory) {
    auto watcher = WhenOpen<QFileDialog>([&](QFileDialog& d) {
        EXPECT_EQ(d.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_TRUE(d.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_TRUE(d.testOption(QFileDialog::DontConfirmOverwrite));
        EXPECT_EQ(d.nameFilters(), QStringList{"*.cfg (*.CFG)"});
        EXPECT_EQ(d.defaultSuffix(), "CFG");
        EXPECT_EQ(d.selectedFiles().value(0),
                  QString::fromStdString((dir_ / "wireless.cfg").string()));
        // Typed as the user would, once the folder has loaded.
        Pump(100);
        auto* name = d.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->clear();
        QTest::keyClicks(name, "sub/mine");
        static_cast<QDialog&>(d).accept();
    });
    const auto picked = backend().SaveFileDialog({"CFG", "wireless.cfg", "*.cfg|*.CFG"});
    EXPECT_TRUE(watcher->fired());
    ASSERT_TRUE(picked.has_value());
    EXPECT_EQ(*picked, dir_ / "sub" / "mine.CFG");  // the default extension appended
    EXPECT_EQ(fs::current_path(), dir_ / "sub");
}

TEST_F(Services, OpenDialogMatchesPatternsWithoutRegardToCase) {
    for (const char* name : {"UPPER.CFG", "lower.cfg", "other.txt"}) std::ofstream(dir_ / name) << "x";
    QStringList listed;
    auto watcher = WhenOpen<QFileDialog>([&](QFileDialog& d) {
        auto* view = d.findChild<QListView*>("listView");
        ASSERT_NE(view, nullptr);
        QElapsedTimer clock;
        clock.start();
        // The folder loads in the background: wait for it, boundedly.
        while (clock.elapsed() < 3000 && listed.size() < 3) {
            QTest::qWait(20);
            listed.clear();
            for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
                listed << view->model()->index(r, 0, view->rootIndex()).data().toString();
        }
        static_cast<QDialog&>(d).reject();
    });
    EXPECT_FALSE(backend().OpenFileDialog({"CFG", "", "*.CFG|*.cfg|*.BIN|*.bin|"}).has_value());
    EXPECT_TRUE(watcher->fired());
    listed.sort();
    EXPECT_EQ(listed, (QStringList{"UPPER.CFG", "lower.cfg", "sub"}));
    EXPECT_EQ(fs::current_path(), dir_);  // a cancelled dialog moves nothing
}

}  // namespace
}  // namespace ostrova::platform::qt::testing
