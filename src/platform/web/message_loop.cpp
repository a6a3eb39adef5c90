// The one loop: the page's handlers only append to a queue; this loop, on the program's one
// stack, takes each event and hands it to its window. A modal run is this loop nested inside a
// handler; Asyncify suspends the whole stack while the queue is empty.
#include <emscripten.h>

#include <algorithm>

#include "platform/web/backend.h"
#include "platform/web/dialog_window.h"

using emscripten::val;

// Resolves once the page has appended an event.
EM_ASYNC_JS(void, ostrova_wait_for_event, (), { await ostrovaPage.next(); });

namespace ostrova::platform::web {

void WebBackend::RunUntil(const std::function<bool()>& done) {
    const val page = val::global("ostrovaPage");
    while (!done()) {
        if (page.call<int>("pending") == 0) ostrova_wait_for_event();
        Dispatch(page.call<val>("take"));
    }
}

WebDialog* WebBackend::ViewOf(int serial) const {
    for (WebDialog* view : open_) {
        if (view->serial() == serial) return view;
    }
    return nullptr;
}

bool WebBackend::Topmost(int serial) const {
    return !layers_.empty() && layers_.back() == serial;
}

void WebBackend::Dispatch(const val& event) {
    if (event.isUndefined() || event.isNull()) return;
    const int serial = event["view"].as<int>();
    const std::string type = event["type"].as<std::string>();
    WebDialog* view = ViewOf(serial);
    if (view == nullptr) {
        // A message box has no window of the framework's: OK, Enter, Escape or its close box.
        const bool box = std::find(layers_.begin(), layers_.end(), serial) != layers_.end();
        if (box && (type == "msgok" || type == "close")) answered_ = serial;
        return;
    }
    if (view->ended()) return;
    // Timers tick on behind modal layers, as the desktop's do in nested loops.
    if (type == "timer") return view->OnTimer(event["id"].as<int>());
    // The user's input reaches the topmost layer only; the page's layers cover the others.
    if (!Topmost(serial)) return;
    view->Handle(event);
}

}  // namespace ostrova::platform::web
