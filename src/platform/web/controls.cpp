// The controls of a template as HTML elements, and the render hooks that show the framework's
// state on them.
#include <algorithm>

#include "platform/accessible_names.h"
#include "platform/dialog_manager.h"
#include "platform/web/dialog_window.h"

using emscripten::val;

namespace ostrova::platform::web {
namespace {

constexpr int kComboHeight = 21;  // a closed combo box: one line

val Element(const char* tag, const char* cls) {
    val e = val::global("document").call<val>("createElement", std::string(tag));
    e.set("className", std::string(cls));
    return e;
}

void Px(val& e, const char* property, int value) {
    e["style"].set(property, std::to_string(value) + "px");
}

bool IsCombo(ControlKind kind) {
    return kind == ControlKind::ComboDropDown || kind == ControlKind::ComboDropList;
}

// A multi-line edit that does not scroll sideways wraps its lines; the recipient edits carry
// the multi-line style with horizontal scrolling and stay single-line.
bool IsTextArea(const ControlTemplate& tpl) {
    return (tpl.style & kStyleMultiLine) != 0 && (tpl.style & kStyleAutoHScroll) == 0;
}

std::string Caption(const ControlState& s, std::string_view utf8) {
    return (s.style & kStyleNoPrefix) != 0 ? std::string(utf8) : StripMnemonic(utf8);
}

}  // namespace

void WebDialog::BuildControls() {
    const auto& templates = dlg_.dialogTemplate().controls;
    const val page = val::global("ostrovaPage");
    for (std::size_t i = 0; i < templates.size(); ++i) {
        const int index = static_cast<int>(i);
        val element = CreateControl(index, templates[i]);
        element.set("id", ElementId(index));
        val data = element["dataset"];
        data.set("view", serial_);
        data.set("index", index);
        data.set("controlId", templates[i].id);
        const PixelRect r = ToPixels(templates[i].rect, metrics_);
        Px(element, "left", r.x);
        Px(element, "top", r.y);
        Px(element, "width", r.w);
        Px(element, "height", IsCombo(templates[i].kind) ? kComboHeight : r.h);
        if (IsCombo(templates[i].kind)) {
            val list = element.call<val>("querySelector", std::string("[role=listbox]"));
            // The template's height holds the dropped-down list; a short list shrinks to its entries.
            Px(list, "maxHeight", std::max(r.h - kComboHeight, 2 * kComboHeight));
        }
        ApplyRole(index, element);
        content_.call<void>("append", element);
        controls_.push_back(element);
        val focusable = val::null();
        if (TakesFocus(templates[i].kind)) {
            focusable = IsCombo(templates[i].kind)
                            ? element.call<val>("querySelector", std::string("[role=combobox]"))
                            : element;
            // Tab is the framework's; a click focuses any control that takes the focus.
            focusable.set("tabIndex", (templates[i].style & kStyleTabStop) != 0 ? 0 : -1);
            page.call<void>("wireFocus", focusable);
        }
        focusables_.push_back(focusable);
    }
    // Frames stand beneath what they frame.
    for (std::size_t i = 0; i < templates.size(); ++i) {
        if (templates[i].kind == ControlKind::GroupBox) controls_[i]["style"].set("zIndex", 0);
    }
}

val WebDialog::CreateControl(int index, const ControlTemplate& tpl) {
    const val page = val::global("ostrovaPage");
    switch (tpl.kind) {
        case ControlKind::PushButton: {
            val button = Element("button", (tpl.style & kStyleDefault) != 0 ? "push default" : "push");
            button.set("type", std::string("button"));
            button["dataset"].set("arrows", std::string("group"));
            page.call<void>("wireButton", button);
            return button;
        }
        case ControlKind::CheckBox:
        case ControlKind::RadioButton: {
            val box = Element("div", tpl.kind == ControlKind::CheckBox ? "check" : "check radio");
            box.call<void>("append", Element("span", "mark"), Element("span", "text"));
            box["dataset"].set("arrows", std::string("group"));
            page.call<void>("wireButton", box);
            return box;
        }
        case ControlKind::GroupBox: {
            val group = Element("div", "group");
            val legend = Element("span", "legend");
            legend.set("id", ElementId(index) + "-legend");
            group.call<void>("append", legend);
            return group;
        }
        case ControlKind::Label:
            return Element("div", (tpl.style & kStyleCenterV) != 0 ? "label centerv" : "label");
        case ControlKind::Icon: {
            val icon = Element("img", "icon");
            icon.set("src", std::string("icons/ostrova-settings-32.png"));
            icon.set("alt", std::string(""));
            return icon;
        }
        case ControlKind::Edit: {
            const bool area = IsTextArea(tpl);
            val edit = Element(area ? "textarea" : "input", (tpl.style & kStyleBorder) != 0 ? "edit border" : "edit");
            if (!area) edit.set("type", std::string((tpl.style & kStylePassword) != 0 ? "password" : "text"));
            if (tpl.edit.digitsOnly) edit.set("inputMode", std::string("numeric"));
            edit.set("readOnly", (tpl.style & kStyleReadOnly) != 0);
            edit.set("spellcheck", false);
            edit.set("autocomplete", std::string("off"));
            if ((tpl.style & kStyleReadOnly) == 0) page.call<void>("wireEdit", edit);
            return edit;
        }
        case ControlKind::ComboDropDown:
        case ControlKind::ComboDropList: {
            const bool field = tpl.kind == ControlKind::ComboDropDown;
            val combo = Element("div", field ? "combo" : "combo droplist");
            val box = Element(field ? "input" : "div", "box");
            if (field) {
                box.set("type", std::string("text"));
                box.set("spellcheck", false);
                box.set("autocomplete", std::string("off"));
                box.call<void>("setAttribute", std::string("aria-autocomplete"), std::string("none"));
            }
            val drop = Element("span", "drop");
            drop.call<void>("setAttribute", std::string("aria-hidden"), std::string("true"));
            val list = Element("div", "list");
            list.set("id", ElementId(index) + "-list");
            box.call<void>("setAttribute", std::string("role"), std::string("combobox"));
            box.call<void>("setAttribute", std::string("aria-expanded"), std::string("false"));
            box.call<void>("setAttribute", std::string("aria-controls"), ElementId(index) + "-list");
            list.call<void>("setAttribute", std::string("role"), std::string("listbox"));
            combo.call<void>("append", box, drop, list);
            combo["dataset"].set("selection", -1);
            if (field) page.call<void>("wireEdit", box);
            page.call<void>("wireCombo", combo);
            return combo;
        }
    }
    return Element("div", "label");
}

// --- Render hooks ----------------------------------------------------------------------------

void WebDialog::RenderFont(int index) {
    const ControlState& s = State(index);
    Control(index)["style"].set("font", s.font ? CssFontForCellHeight(*s.font) : metrics_.font);
}

void WebDialog::RenderEnabled(int index) {
    const ControlState& s = State(index);
    val element = Control(index);
    element["classList"].call<void>("toggle", std::string("disabled"), !s.enabled);
    switch (s.kind) {
        case ControlKind::PushButton:
        case ControlKind::Edit:
            element.set("disabled", !s.enabled);
            break;
        case ControlKind::ComboDropDown:
            Focusable(index).set("disabled", !s.enabled);
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
        case ControlKind::ComboDropList: {
            val target = Focusable(index);
            target.call<void>("setAttribute", std::string("aria-disabled"),
                              std::string(s.enabled ? "false" : "true"));
            // A disabled control takes no focus.
            if (s.enabled)
                target.set("tabIndex", (s.style & kStyleTabStop) != 0 ? 0 : -1);
            else
                target.call<void>("removeAttribute", std::string("tabindex"));
            break;
        }
        default:
            break;
    }
}

void WebDialog::RenderVisible(int index) {
    Control(index).set("hidden", !State(index).visible);
}

void WebDialog::RenderItems(int index) {
    const ControlState& s = State(index);
    if (!IsCombo(s.kind)) return;
    val list = Control(index).call<val>("querySelector", std::string("[role=listbox]"));
    list.set("textContent", std::string());
    for (std::size_t i = 0; i < s.items.size(); ++i) {
        val item = Element("div", "option");
        item.set("id", ElementId(index) + "-o" + std::to_string(i));
        item.call<void>("setAttribute", std::string("role"), std::string("option"));
        item["dataset"].set("item", static_cast<int>(i));
        item.set("textContent", ForPage(s.items[i]));
        list.call<void>("append", item);
    }
}

void WebDialog::RenderSelection(int index) {
    const ControlState& s = State(index);
    if (!IsCombo(s.kind)) return;
    val combo = Control(index);
    const int selection = s.selection < static_cast<int>(s.items.size()) ? s.selection : -1;
    combo["dataset"].set("selection", selection);
    val options = combo.call<val>("querySelector", std::string("[role=listbox]"))["children"];
    const int count = options["length"].as<int>();
    for (int i = 0; i < count; ++i) {
        options[i].call<void>("setAttribute", std::string("aria-selected"),
                              std::string(i == selection ? "true" : "false"));
    }
    if (s.kind == ControlKind::ComboDropList) {
        Focusable(index).set("textContent",
                             selection >= 0 ? ForPage(s.items[static_cast<std::size_t>(selection)]) : "");
    }
}

void WebDialog::RenderText(int index) {
    const ControlState& s = State(index);
    val element = Control(index);
    const std::string text = dlg_.DisplayText(index);
    switch (s.kind) {
        case ControlKind::PushButton:
            element.set("textContent", StripMnemonic(text));
            break;
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            element.call<val>("querySelector", std::string(".text")).set("textContent", StripMnemonic(text));
            break;
        case ControlKind::GroupBox:
            element.call<val>("querySelector", std::string(".legend")).set("textContent", StripMnemonic(text));
            break;
        case ControlKind::Label:
            element.set("textContent", Caption(s, text));
            break;
        case ControlKind::Icon:
        case ControlKind::ComboDropList:
            break;
        case ControlKind::Edit:
        case ControlKind::ComboDropDown: {
            val field = Focusable(index);
            // Only where it differs: caret and selection survive the clock's push.
            if (field["value"].as<std::string>() != text) field.set("value", text);
            break;
        }
    }
}

void WebDialog::RenderCheck(int index) {
    const ControlState& s = State(index);
    if (s.kind != ControlKind::CheckBox && s.kind != ControlKind::RadioButton) return;
    Control(index).call<void>("setAttribute", std::string("aria-checked"),
                              std::string(s.checked ? "true" : "false"));
}

void WebDialog::RenderEditSelection(int index) {
    const ControlState& s = State(index);
    if (s.kind != ControlKind::Edit && s.kind != ControlKind::ComboDropDown) return;
    val field = Focusable(index);
    if (field.isNull() || field["tagName"].as<std::string>() == "TEXTAREA") return;
    const int length = field["value"]["length"].as<int>();
    const int anchor = std::clamp(s.anchor, 0, length);
    const int caret = std::clamp(s.caret, 0, length);
    const val now = val::global("ostrovaPage").call<val>("selectionOf", field);
    if (now[0].as<int>() == anchor && now[1].as<int>() == caret) return;
    field.call<void>("setSelectionRange", std::min(anchor, caret), std::max(anchor, caret),
                     std::string(caret < anchor ? "backward" : "forward"));
}

}  // namespace ostrova::platform::web
