// Roles and accessible names: what the Linux program tells a screen reader, from the same rule
// (platform/accessible_names).
#include "platform/accessible_names.h"
#include "platform/web/dialog_window.h"

using emscripten::val;

namespace ostrova::platform::web {
namespace {

void Attr(val& e, const char* name, const std::string& value) {
    e.call<void>("setAttribute", std::string(name), value);
}

}  // namespace

void WebDialog::ApplyRole(int index, val& element) const {
    // Buttons and edits are the page's own; combo boxes get theirs as they are made.
    switch (dlg_.dialogTemplate().controls[static_cast<std::size_t>(index)].kind) {
        case ControlKind::CheckBox:
            Attr(element, "role", "checkbox");
            Attr(element, "aria-checked", "false");
            break;
        case ControlKind::RadioButton:
            Attr(element, "role", "radio");
            Attr(element, "aria-checked", "false");
            break;
        case ControlKind::GroupBox:
            Attr(element, "role", "group");
            Attr(element, "aria-labelledby", ElementId(index) + "-legend");
            break;
        default:
            break;
    }
}

void WebDialog::LinkNames() {
    for (const AccessibleLink& link : AccessibleLinks(dlg_.dialogTemplate())) {
        val target = Focusable(link.control);
        if (target.isNull()) continue;
        // A label names its control by reference, so a label that changes keeps naming it.
        if (link.label >= 0) Attr(target, "aria-labelledby", ElementId(link.label));
        if (!link.name.empty()) Attr(target, "aria-label", ForPage(link.name));
        if (!link.description.empty()) Attr(target, "aria-description", ForPage(link.description));
    }
}

}  // namespace ostrova::platform::web
