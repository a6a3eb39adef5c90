#include "platform/web/backend.h"

#include <emscripten.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <system_error>

#include "platform/cp1252.h"
#include "platform/web/dialog_window.h"

using emscripten::val;

// The template fonts are web fonts of the page: measured only once they are in.
EM_ASYNC_JS(void, ostrova_fonts_ready, (), { await ostrovaFiles.fontsReady(); });
// The files this browser keeps from earlier saves go back beside the program.
EM_ASYNC_JS(void, ostrova_recall_saved, (const char* folder), {
    await ostrovaFiles.recallInto(FS, UTF8ToString(folder));
});
// "Load ...": the picked file into /loaded (ostrovaFiles.picked); 0 when the user cancelled.
EM_ASYNC_JS(int, ostrova_pick_file, (), { return await ostrovaFiles.pickInto(FS); });
// "Save as...": the name the user granted a file for (1), a cancel (0), or no picker (-1).
EM_ASYNC_JS(int, ostrova_save_picker, (const char* suggested, const char* ext), {
    return await ostrovaFiles.askSaveName(UTF8ToString(suggested), UTF8ToString(ext));
});
// A saved file: kept for the next start when it lies beside the program, and handed over.
EM_ASYNC_JS(int, ostrova_deliver, (const char* path, int keep), {
    return await ostrovaFiles.deliverFrom(FS, UTF8ToString(path), keep);
});

namespace ostrova::platform::web {

WebBackend::WebBackend() = default;
WebBackend::~WebBackend() = default;

val WebBackend::Desktop() const {
    return val::global("document").call<val>("getElementById", std::string("desktop"));
}

void WebBackend::Start() {
    // ?clock=YYYY-MM-DD HH:MM:SS fixes the local time, as OSTROVA_CLOCK does on the desktop.
    const val params = val::global("URLSearchParams").new_(val::global("location")["search"]);
    const val clock = params.call<val>("get", std::string("clock"));
    if (clock.isString()) ::setenv("OSTROVA_CLOCK", clock.as<std::string>().c_str(), 1);
    std::error_code error;
    std::filesystem::create_directories(kProgramFolder, error);
    std::filesystem::current_path(kProgramFolder, error);
    ostrova_recall_saved(kProgramFolder);
    ostrova_fonts_ready();
}

void WebBackend::Finish() {
    Desktop()["classList"].call<void>("add", std::string("closed"));
}

int WebBackend::RunModal(CDialog& dlg) {
    // A dialog belongs to its parent's window, or else to the innermost open one.
    WebDialog* owner = open_.empty() ? nullptr : open_.back();
    for (WebDialog* view : open_) {
        if (&view->dialog() == dlg.parent()) owner = view;
    }
    WebDialog window(dlg, *this, owner);
    open_.push_back(&window);
    layers_.push_back(window.serial());
    const bool defaultFocus = dlg.Create(window);
    window.Show();
    if (defaultFocus && !dlg.ended() && dlg.focusedId() == kNoId) dlg.PlaceDefaultFocus();
    if (!dlg.ended()) RunUntil([&window] { return window.ended(); });
    open_.pop_back();
    std::erase(layers_, window.serial());
    dlg.Destroyed();
    return dlg.result();
}

void WebBackend::MessageBox(std::string_view text) {
    const int serial = NewSerial();
    const val document = val::global("document");
    auto element = [&document](const char* tag, const char* cls) {
        val e = document.call<val>("createElement", std::string(tag));
        e.set("className", std::string(cls));
        return e;
    };
    const std::string title = "m" + std::to_string(serial) + "-title";
    const std::string body = "m" + std::to_string(serial) + "-text";
    val layer = element("div", "layer modal shown");
    val box = element("div", "window msgbox");
    box.call<void>("setAttribute", std::string("role"), std::string("alertdialog"));
    box.call<void>("setAttribute", std::string("aria-modal"), std::string("true"));
    box.call<void>("setAttribute", std::string("aria-labelledby"), title);
    box.call<void>("setAttribute", std::string("aria-describedby"), body);
    val bar = element("div", "titlebar");
    val caption = element("span", "caption");
    caption.set("id", title);
    caption.set("textContent", AppName());
    val close = element("button", "close-box");
    close.call<void>("setAttribute", std::string("aria-label"), std::string("Close"));
    close.set("tabIndex", -1);
    bar.call<void>("append", caption, close);
    val content = element("div", "msgbody");
    val icon = element("span", "msgicon");
    icon.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));
    val message = element("p", "msgtext");
    message.set("id", body);
    // Messages come as UTF-8, or as the record's Windows-1252 where they quote it.
    const std::vector<char32_t> decoded = DecodeUtf8(text);
    const bool utf8 = std::find(decoded.begin(), decoded.end(), U'\uFFFD') == decoded.end();
    message.set("textContent", utf8 ? std::string(text) : ForPage(text));
    content.call<void>("append", icon, message);
    val buttons = element("div", "msgbuttons");
    val ok = element("button", "push");
    ok.set("type", std::string("button"));
    ok.set("textContent", std::string("OK"));
    buttons.call<void>("append", ok);
    box.call<void>("append", bar, content, buttons);
    layer.call<void>("append", box);
    layer["dataset"].set("view", serial);
    Desktop().call<void>("append", layer);
    layers_.push_back(serial);
    val::global("ostrovaPage").call<void>("messageBox", box, serial);
    RunUntil([this, serial] { return answered_ == serial; });
    std::erase(layers_, serial);
    layer.call<void>("remove");
    if (!open_.empty() && !open_.back()->ended()) {
        CDialog& top = open_.back()->dialog();
        open_.back()->FocusControl(top.IndexOf(top.focusedId()));
    }
}

std::optional<std::filesystem::path> WebBackend::OpenFileDialog(const FileDialogRequest& req) {
    if (ostrova_pick_file() == 0) return std::nullopt;
    const std::filesystem::path picked(val::global("ostrovaFiles")["picked"].as<std::string>());
    return OpenedFileName(picked, req.defaultExtension);
}

std::optional<std::filesystem::path> WebBackend::SaveFileDialog(const FileDialogRequest& req) {
    const std::string suggested(req.initialName);
    const std::string extension(req.defaultExtension);
    const int answer = ostrova_save_picker(suggested.c_str(), extension.c_str());
    if (answer == 0) return std::nullopt;
    // Without a picker the browser's download asks where, under the name the form suggests.
    const std::string name =
        answer < 0 ? suggested : val::global("ostrovaFiles")["picked"].as<std::string>();
    return std::filesystem::path(kProgramFolder) / name;
}

void WebBackend::ShowInFileManager(const std::filesystem::path& file) {
    // A browser has no file manager to show the file in: the saved file is handed to the user
    // (into the file granted for it, or as a download) and kept for the next start.
    const bool beside = file.parent_path() == std::filesystem::path(kProgramFolder);
    if (ostrova_deliver(file.c_str(), beside ? 1 : 0) == 0) MessageBox("Create File Fail!");
}

int WebBackend::PrimaryScreenHeight() {
    return val::global("window")["innerHeight"].as<int>();
}

std::filesystem::path WebBackend::ProgramPath() {
    return std::filesystem::path(kProgramFolder) / kProgramName;
}

}  // namespace ostrova::platform::web
