// Dialog templates as constant data: one source of truth for every backend.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace ostrova::platform {

// Identifier of a control without its own id (labels, group boxes, the icon).
inline constexpr int kNoId = -1;

enum class ControlKind : std::uint8_t {
    PushButton,
    RadioButton,
    CheckBox,
    GroupBox,
    Label,
    Icon,  // static picture showing an icon resource (text holds the resource id)
    Edit,
    ComboDropDown,  // combo box with an edit field
    ComboDropList,  // combo box without an edit field
};

// Style flags; a control carries the ones that apply to its kind.
enum ControlStyle : std::uint32_t {
    kStyleNone = 0,
    kStyleDefault = 1u << 0,  // push button: the dialog's default button
    kStyleGroup = 1u << 1,    // starts a new group (radio groups run to the next one)
    kStyleTabStop = 1u << 2,
    kStyleAuto = 1u << 3,         // check box / radio toggles itself when clicked
    kStylePassword = 1u << 5,     // edit: shows its text hidden
    kStyleReadOnly = 1u << 6,     // edit: the user cannot change the text
    kStyleMultiLine = 1u << 7,    // edit: carries the multi-line style
    kStyleAutoHScroll = 1u << 8,  // edit: scrolls horizontally as the user types
    kStyleVScroll = 1u << 9,      // edit or combo: vertical scroll bar
    kStyleBorder = 1u << 10,
    kStyleNoPrefix = 1u << 11,  // label: '&' is shown, not a mnemonic
    kStyleCenterV = 1u << 12,   // label: text vertically centred
    kStyleDisabled = 1u << 13,  // created disabled
};

// How an edit takes the user's changes. The framework applies it before any handler hears of
// a change; a refused change leaves text, caret, selection and undo history as they were.
struct EditRule {
    int maxBytes = 0;         // the longest text the user may make; 0: no limit
    bool keepsLast = false;   // past maxBytes the whole change is refused, not cut to fit
    bool digitsOnly = false;  // only the digits 0 to 9 go in
};

// A rectangle in dialog units.
struct DluRect {
    int x = 0;
    int y = 0;
    int w = 0;
    int h = 0;
};

struct ControlTemplate {
    constexpr ControlTemplate() = default;
    // Rows are written positionally; the name is the one field most rows leave out.
    constexpr ControlTemplate(int id, ControlKind kind, std::string_view text, DluRect rect,
                              std::uint32_t style = kStyleNone,
                              std::string_view accessibleName = {})
        : id(id),
          kind(kind),
          text(text),
          rect(rect),
          style(style),
          accessibleName(accessibleName) {}

    int id = kNoId;
    ControlKind kind = ControlKind::Label;
    std::string_view text;  // caption in Windows-1252 (ASCII in every template)
    DluRect rect;
    std::uint32_t style = kStyleNone;
    // What a screen reader calls a control that no label beside it names; empty otherwise.
    std::string_view accessibleName;
    EditRule edit;  // an edit's rule; a combo's edit field has none

    constexpr ControlTemplate Taking(EditRule rule) const {
        ControlTemplate with = *this;
        with.edit = rule;
        return with;
    }
};

struct DialogTemplate {
    int id = 0;
    std::string_view title;
    int width = 0;   // dialog units
    int height = 0;  // dialog units
    std::string_view fontFace;
    int fontPoints = 0;
    bool vscroll = false;                       // the window has its own vertical scroll bar
    bool appWindow = false;                     // shown in the task bar as an application window
    std::span<const ControlTemplate> controls;  // template (tab) order
};

}  // namespace ostrova::platform
