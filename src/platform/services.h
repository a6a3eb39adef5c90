// What the form needs from the desktop besides its windows.
#pragma once

#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace ostrova::platform {

// A file dialog request. The filter is in the "desc|pattern|desc|pattern|" form.
struct FileDialogRequest {
    std::string_view defaultExtension;  // without the dot, e.g. "CFG"
    std::string_view initialName;       // may be empty
    std::string_view filter;
};

// The name an open dialog hands back for what the user typed: a name without extension gets
// the default extension only where no file of that name exists, so such a file can be loaded.
std::filesystem::path OpenedFileName(const std::filesystem::path& typed,
                                     std::string_view defaultExtension);

class Services {
public:
    virtual ~Services() = default;
    // The application's name: the executable's file name without its extension.
    virtual std::string AppName() = 0;
    // Modal message box with one OK button, titled with AppName().
    virtual void MessageBox(std::string_view text) = 0;
    // Common open and save dialogs; nullopt when the user cancels. The returned path is
    // absolute. The current directory becomes the picked file's folder, as the classic
    // dialogs leave it.
    virtual std::optional<std::filesystem::path> OpenFileDialog(const FileDialogRequest& req) = 0;
    virtual std::optional<std::filesystem::path> SaveFileDialog(const FileDialogRequest& req) = 0;
    // Shows the file selected in the desktop's file manager; failures are ignored.
    virtual void ShowInFileManager(const std::filesystem::path& file) = 0;
    // The local time now; a test's backend may fix it.
    virtual std::tm LocalTime();
    // Primary screen height in device pixels, and the horizontal logical DPI the open window is
    // laid out at: its display's.
    virtual int PrimaryScreenHeight() = 0;
    virtual int LogicalDpiX() = 0;
    // Full path of the program's own executable, symlinks resolved.
    virtual std::filesystem::path ProgramPath() = 0;
};

}  // namespace ostrova::platform
