// The dialog manager's decisions, written once for every backend: where Tab and the arrow keys
// move the focus, the control a dialog starts with. CDialog::UserKey applies them; a backend
// reports the key and moves the native focus where it is told.
#pragma once

#include <span>
#include <utility>

#include "platform/framework.h"

namespace ostrova::platform {

// Labels, group boxes and icons never take the focus.
bool TakesFocus(ControlKind kind);
// Visible, enabled and of a kind that takes the focus.
bool CanFocus(const ControlState& s);
// The group around control `index`: [first, last). A group runs from a control with the group
// style to the next control with it.
std::pair<int, int> GroupOf(std::span<const ControlState> controls, int index);
// The next (or previous) tab stop after `from` (-1: the first, or the last), wrapping around;
// a radio button is entered at the checked button of its group. -1 when there is none.
int NextTabStop(std::span<const ControlState> controls, int from, bool forward);
// Where an arrow key moves from control `from`: the next (or previous) control of its group
// that can take the focus, wrapping around. -1 when there is none.
int NextInGroup(std::span<const ControlState> controls, int from, bool forward);

}  // namespace ostrova::platform
