// The real program's backend: dialogs as Qt widgets, desktop services through Qt and D-Bus.
#pragma once

#include <QIcon>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>
#include <vector>

#include "platform/framework.h"
#include "platform/services.h"

namespace ostrova::platform::qt {

class DialogWindow;

// Icon 128, the application's icon, from the resources compiled into the program.
QIcon ApplicationIcon();

// "desc|pattern|desc|pattern|" to Qt's name filters: "desc (pattern)", patterns that the
// classic form separates by ';' separated by blanks.
QStringList NameFilters(std::string_view filter);

class QtBackend : public Backend, public Services {
public:
    QtBackend();  // needs a QApplication
    ~QtBackend() override;
    QtBackend(const QtBackend&) = delete;
    QtBackend& operator=(const QtBackend&) = delete;

    // The dialogs running modally now, innermost last.
    const std::vector<DialogWindow*>& openDialogs() const { return open_; }

    // Test seams: a screen of another size, and what happens when no file manager answers.
    void OverrideScreen(std::optional<int> height, std::optional<int> dpi);
    void SetFolderOpener(std::function<void(const QUrl&)> opener);

    // Backend
    int RunModal(CDialog& dlg) override;  // message_loop.cpp
    Services& services() override { return *this; }

    // Services
    std::string AppName() override;
    void MessageBox(std::string_view text) override;
    std::optional<std::filesystem::path> OpenFileDialog(const FileDialogRequest& req) override;
    std::optional<std::filesystem::path> SaveFileDialog(const FileDialogRequest& req) override;
    void ShowInFileManager(const std::filesystem::path& file) override;
    int PrimaryScreenHeight() override;
    int LogicalDpiX() override;
    std::filesystem::path ProgramPath() override;

private:
    std::optional<std::filesystem::path> FileDialog(bool save, const FileDialogRequest& req);
    QWidget* ActiveWindow() const;

    std::vector<DialogWindow*> open_;
    std::optional<int> screenHeight_;
    std::optional<int> dpi_;
    std::function<void(const QUrl&)> openFolder_;
};

}  // namespace ostrova::platform::qt
