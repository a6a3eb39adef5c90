#include "platform/dialog_manager.h"

namespace ostrova::platform {

bool TakesFocus(ControlKind kind) {
    return kind != ControlKind::Label && kind != ControlKind::GroupBox && kind != ControlKind::Icon;
}

bool CanFocus(const ControlState& s) {
    return s.visible && s.enabled && TakesFocus(s.kind);
}

std::pair<int, int> GroupOf(std::span<const ControlState> controls, int index) {
    int first = index;
    while (first > 0 && (controls[static_cast<std::size_t>(first)].style & kStyleGroup) == 0)
        --first;
    int last = index + 1;
    while (last < static_cast<int>(controls.size()) &&
           (controls[static_cast<std::size_t>(last)].style & kStyleGroup) == 0)
        ++last;
    return {first, last};
}

int NextTabStop(std::span<const ControlState> controls, int from, bool forward) {
    const int n = static_cast<int>(controls.size());
    for (int step = 1; step <= n; ++step) {
        const int i = from < 0 ? (forward ? step - 1 : n - step)
                               : ((from + (forward ? step : -step)) % n + n) % n;
        const ControlState& s = controls[static_cast<std::size_t>(i)];
        if (!CanFocus(s) || (s.style & kStyleTabStop) == 0) continue;
        if (s.kind != ControlKind::RadioButton || s.checked) return i;
        // The checked button of the whole group, wherever the tab stop stands in it.
        const auto [first, last] = GroupOf(controls, i);
        for (int r = first; r < last; ++r) {
            const ControlState& other = controls[static_cast<std::size_t>(r)];
            if (other.kind == ControlKind::RadioButton && other.checked && CanFocus(other))
                return r;
        }
        return i;
    }
    return -1;
}

int NextInGroup(std::span<const ControlState> controls, int from, bool forward) {
    const auto [first, last] = GroupOf(controls, from);
    const int size = last - first;
    for (int step = 1; step < size; ++step) {
        const int i = first + ((from - first + (forward ? step : -step)) % size + size) % size;
        if (CanFocus(controls[static_cast<std::size_t>(i)])) return i;
    }
    return -1;
}

}  // namespace ostrova::platform
