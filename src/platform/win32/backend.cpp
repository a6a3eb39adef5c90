#include "platform/win32/backend.h"

#include <commdlg.h>

#include <system_error>

#include "platform/win32/dialog_window.h"
#include "platform/win32/wide_text.h"

namespace ostrova::platform::win32 {
namespace {

constexpr int kIconResource = 128;
// Room for a long path (\\?\ and 32767 characters), not MAX_PATH.
constexpr std::size_t kPathRoom = 32768;

}  // namespace

std::wstring NativeFilter(std::string_view filter) {
    std::wstring native;
    std::size_t parts = 0;
    while (!filter.empty()) {
        const std::size_t bar = filter.find('|');
        native += WideFromUtf8(filter.substr(0, bar));
        native += L'\0';
        ++parts;
        if (bar == std::string_view::npos) break;
        filter.remove_prefix(bar + 1);
    }
    if (parts % 2 != 0) native += L'\0';  // a description without its pattern
    native += L'\0';
    return native;
}

Win32Backend::Win32Backend(HINSTANCE instance) : instance_(instance) {
    bigIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXICON),
                                             GetSystemMetrics(SM_CYICON), LR_DEFAULTCOLOR));
    smallIcon_ = static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(kIconResource),
                                               IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                               GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}

Win32Backend::~Win32Backend() {
    if (bigIcon_ != nullptr) DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr) DestroyIcon(smallIcon_);
}

HWND Win32Backend::ActiveWindow() const {
    return open_.empty() ? nullptr : open_.back()->hwnd();
}

std::string Win32Backend::AppName() {
    return Utf8FromWide(ProgramPath().stem().native());
}

void Win32Backend::MessageBox(std::string_view text) {
    ::MessageBoxW(ActiveWindow(), WideFromMessage(text).c_str(), WideFromUtf8(AppName()).c_str(),
                  MB_OK | MB_ICONEXCLAMATION);
}

std::optional<std::filesystem::path> Win32Backend::OpenFileDialog(const FileDialogRequest& req) {
    return FileDialog(false, req);
}

std::optional<std::filesystem::path> Win32Backend::SaveFileDialog(const FileDialogRequest& req) {
    return FileDialog(true, req);
}

std::optional<std::filesystem::path> Win32Backend::FileDialog(bool save,
                                                              const FileDialogRequest& req) {
    std::wstring file = WideFromUtf8(req.initialName);
    file.resize(kPathRoom, L'\0');
    const std::wstring filter = NativeFilter(req.filter);
    const std::wstring extension = WideFromUtf8(req.defaultExtension);
    std::error_code error;
    const std::wstring folder = std::filesystem::current_path(error).wstring();

    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof ofn;
    ofn.hwndOwner = ActiveWindow();
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
    // An open dialog's default extension follows our own rule, applied below.
    ofn.lpstrDefExt = !save || extension.empty() ? nullptr : extension.c_str();
    // No overwrite prompt and any name for opening: the commands report failures themselves.
    ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_LONGNAMES;
    const BOOL picked = save ? GetSaveFileNameW(&ofn) : GetOpenFileNameW(&ofn);
    if (!picked) return std::nullopt;

    std::filesystem::path path(file.c_str());
    if (!save) path = OpenedFileName(path, req.defaultExtension);
    // The classic dialogs leave the current directory at the picked file's folder.
    std::filesystem::current_path(path.parent_path(), error);
    return path;
}

void Win32Backend::ShowInFileManager(const std::filesystem::path& file) {
    // Explorer by its full path: a search would look in the program's folder and the current
    // folder first, where anyone who may write there could put an explorer.exe. The system's
    // Windows folder: under Terminal Services GetWindowsDirectoryW may give a per-user one.
    std::wstring windows(MAX_PATH, L'\0');
    UINT length = GetSystemWindowsDirectoryW(windows.data(), static_cast<UINT>(windows.size()));
    if (length >= windows.size()) {
        windows.resize(length);
        length = GetSystemWindowsDirectoryW(windows.data(), static_cast<UINT>(windows.size()));
    }
    if (length == 0 || length >= windows.size()) return;  // nowhere to find it: not shown
    windows.resize(length);
    if (windows.back() != L'\\') windows += L'\\';
    const std::wstring explorer = windows + L"explorer.exe";
    std::wstring command = L"\"" + explorer + L"\" /e,/select,\"" + file.wstring() + L"\"";
    if (launch_) return launch_(explorer, command);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    // Started, not waited for; a failure is not reported.
    if (CreateProcessW(explorer.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       nullptr, &startup, &process)) {
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
}

int Win32Backend::PrimaryScreenHeight() {
    return GetSystemMetrics(SM_CYSCREEN);
}

int Win32Backend::LogicalDpiX() {
    return LayoutDpi(dpi_, ActiveWindow());
}

std::filesystem::path Win32Backend::ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return {};
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: try again with more room
    }
}

}  // namespace ostrova::platform::win32
