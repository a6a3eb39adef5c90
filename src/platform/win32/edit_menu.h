// An edit's context menu: the items a plain edit offers, in its order and with the system's
// captions, enabled as the framework's state of the edit says.
#pragma once

#include "platform/win32/windows_api.h"

namespace ostrova::platform::win32 {

struct EditMenuState {
    bool editable = false;   // enabled and not read-only
    bool canUndo = false;    // Ctrl+Z would change the text
    bool selection = false;  // some text is selected
    bool wholeText = false;  // the selection covers the whole text already
    bool password = false;   // its text never goes to the clipboard
};

// Shows the menu at `at` (screen pixels; -1, -1 for the keyboard's menu key, which places it at
// the edit) and returns the message the chosen item stands for: EM_UNDO, WM_CUT, WM_COPY,
// WM_PASTE, WM_CLEAR or EM_SETSEL (select all); 0 when nothing was chosen.
UINT TrackEditMenu(HWND edit, const EditMenuState& state, POINT at);

}  // namespace ostrova::platform::win32
