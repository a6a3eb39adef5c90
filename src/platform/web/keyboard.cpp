// The dialog manager's keys: the page reports Tab, Shift+Tab, the arrows on buttons, Enter and
// Escape with the focused control and whether its list is open; the framework decides.
#include "platform/web/dialog_window.h"

using emscripten::val;

namespace ostrova::platform::web {
namespace {

DialogKey KeyOf(const std::string& name) {
    if (name == "Tab") return DialogKey::Tab;
    if (name == "BackTab") return DialogKey::BackTab;
    if (name == "Next") return DialogKey::Next;
    if (name == "Previous") return DialogKey::Previous;
    if (name == "Enter") return DialogKey::Enter;
    return DialogKey::Escape;
}

}  // namespace

void WebDialog::OnKey(const val& event) {
    const DialogKey key = KeyOf(event["key"].as<std::string>());
    const int index = event["index"].as<int>();
    const bool listOpen = event["listOpen"].as<bool>();
    if (dlg_.UserKey(key, index, listOpen) || ended_) return;
    // Not the dialog's key: an open list takes Enter to pick its entry and Escape to close.
    if (listOpen && index >= 0 && (key == DialogKey::Enter || key == DialogKey::Escape)) {
        const int entry = val::global("ostrovaPage").call<int>("closeList", Control(index));
        if (key == DialogKey::Enter && entry >= 0) dlg_.UserPick(Id(index), entry);
    }
}

}  // namespace ostrova::platform::web
