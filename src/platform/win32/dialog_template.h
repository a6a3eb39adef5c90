// A dialog template as the Windows dialog manager reads it: an in-memory DLGTEMPLATEEX built
// from the same constant rows every backend uses.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/dialog_template.h"

namespace ostrova::platform::win32 {

// Window styles and the predefined class (its atom: 0x80 button .. 0x85 combo box) of a row.
struct NativeControlStyle {
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    std::uint16_t classAtom = 0;
};
NativeControlStyle NativeStyleOf(const ControlTemplate& tpl);
std::uint32_t NativeDialogStyle(const DialogTemplate& tpl);
std::uint32_t NativeDialogExStyle(const DialogTemplate& tpl);

// A multi-line edit that does not scroll sideways is a text area (the release notes); the
// recipient edits carry the multi-line style with horizontal scrolling and stay single-line.
bool IsTextArea(const ControlTemplate& tpl);

// The icon resource a static icon control shows: a template row names it in its text.
std::uint16_t IconResourceOf(std::string_view text);

// The DLGTEMPLATEEX bytes, DWORD-aligned items, DS_SETFONT with the template's font; without
// the items where the controls are made apart.
std::vector<std::uint8_t> BuildDialogTemplate(const DialogTemplate& tpl, bool controls = true);

}  // namespace ostrova::platform::win32
