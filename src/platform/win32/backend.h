// The Windows program's backend: dialogs on the plain Win32 API, built at run time from the
// templates, and the desktop services through the Windows API.
#pragma once

#include "platform/win32/windows_api.h"

#include <ctime>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/framework.h"
#include "platform/services.h"
#include "platform/win32/accessibility.h"
#include "platform/win32/dpi.h"

namespace ostrova::platform::win32 {

class DialogWindow;

// "desc|pattern|desc|pattern|" to the file dialogs' "desc\0pattern\0...\0\0".
std::wstring NativeFilter(std::string_view filter);

class Win32Backend : public Backend, public Services {
public:
    explicit Win32Backend(HINSTANCE instance);
    ~Win32Backend() override;
    Win32Backend(const Win32Backend&) = delete;
    Win32Backend& operator=(const Win32Backend&) = delete;

    HINSTANCE instance() const { return instance_; }
    HICON icon(bool big) const { return big ? bigIcon_ : smallIcon_; }
    // The dialogs running modally now, innermost last.
    const std::vector<DialogWindow*>& openDialogs() const { return open_; }

    // Test seam: what showing a saved file does with Explorer's program and command line.
    using Launcher =
        std::function<void(const std::wstring& program, const std::wstring& commandLine)>;
    void SetFileManagerLauncher(Launcher launch) { launch_ = std::move(launch); }
    // Test seams: where screen-reader names go, and the per-monitor DPI functions of user32.
    void SetAccessibleNameService(std::unique_ptr<AccessibleNameService> service) {
        names_ = std::move(service);
    }
    void SetDpiFunctions(const DpiFunctions& dpi) { dpi_ = dpi; }
    AccessibleNameService& accessibleNames() { return *names_; }
    const DpiFunctions& dpi() const { return dpi_; }
    // Called once a dialog window is up and shown (tests and the start-up measurement).
    void SetShownHook(std::function<void(DialogWindow&)> hook) { shown_ = std::move(hook); }

    void DialogShown(DialogWindow& window) {
        if (shown_) shown_(window);
    }

    // Backend
    int RunModal(CDialog& dlg) override;  // message_loop.cpp
    Services& services() override { return *this; }
    UndoStyle undoStyle() const override { return UndoStyle::Windows; }

    // Services
    std::string AppName() override;
    void MessageBox(std::string_view text) override;
    std::optional<std::filesystem::path> OpenFileDialog(const FileDialogRequest& req) override;
    std::optional<std::filesystem::path> SaveFileDialog(const FileDialogRequest& req) override;
    void ShowInFileManager(const std::filesystem::path& file) override;
    int PrimaryScreenHeight() override;
    // The DPI the innermost open window is laid out at (the system's when none is open).
    int LogicalDpiX() override;
    std::filesystem::path ProgramPath() override;

private:
    std::optional<std::filesystem::path> FileDialog(bool save, const FileDialogRequest& req);
    HWND ActiveWindow() const;

    HINSTANCE instance_;
    HICON bigIcon_ = nullptr;
    HICON smallIcon_ = nullptr;
    std::vector<DialogWindow*> open_;
    Launcher launch_;
    std::function<void(DialogWindow&)> shown_;
    std::unique_ptr<AccessibleNameService> names_ = MakeAnnotationService();
    DpiFunctions dpi_ = DpiFunctions::FromUser32();
};

}  // namespace ostrova::platform::win32
