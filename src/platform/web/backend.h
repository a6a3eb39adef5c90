// The browser edition's backend: dialogs as in-page modal layers of HTML controls, desktop
// services as a browser offers them. One loop on one stack takes the page's events from a
// queue (Asyncify keeps the modal runs' blocking shape).
#pragma once

#include <emscripten/val.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/framework.h"
#include "platform/services.h"

namespace ostrova::platform::web {

class WebDialog;

// Where the program "lives": the settings saved last are put beside it at start.
inline constexpr const char* kProgramFolder = "/ostrova";
inline constexpr const char* kProgramName = "ostrova-settings";

class WebBackend : public Backend, public Services {
public:
    WebBackend();
    ~WebBackend() override;
    WebBackend(const WebBackend&) = delete;
    WebBackend& operator=(const WebBackend&) = delete;

    // Before the first window: the clock the page's address fixes, and the settings this
    // browser saved last, beside the program, where the start-up load looks.
    void Start();
    // After the last window: the page says so.
    void Finish();

    // Backend
    int RunModal(CDialog& dlg) override;
    Services& services() override { return *this; }

    // Services
    std::string AppName() override { return kProgramName; }
    void MessageBox(std::string_view text) override;
    std::optional<std::filesystem::path> OpenFileDialog(const FileDialogRequest& req) override;
    std::optional<std::filesystem::path> SaveFileDialog(const FileDialogRequest& req) override;
    void ShowInFileManager(const std::filesystem::path& file) override;
    int PrimaryScreenHeight() override;
    int LogicalDpiX() override { return 96; }  // the page lays out in CSS pixels
    std::filesystem::path ProgramPath() override;

    // The page element the windows stand in.
    emscripten::val Desktop() const;
    int NewSerial() { return nextSerial_++; }

private:
    // Takes the page's events and hands each to its window until `done` says stop.
    void RunUntil(const std::function<bool()>& done);
    void Dispatch(const emscripten::val& event);
    WebDialog* ViewOf(int serial) const;
    bool Topmost(int serial) const;

    std::vector<WebDialog*> open_;  // innermost last
    std::vector<int> layers_;       // serials of the open windows and message boxes, top last
    int nextSerial_ = 1;
    int answered_ = 0;  // the message box whose OK was pressed last
};

}  // namespace ostrova::platform::web
