#include "platform/dialog_manager.h"

#include <algorithm>

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

// --- The keys and the first focus, as a dialog applies them ------------------------------------

bool CDialog::UserKey(DialogKey key, int focused, bool listOpen) {
    if (focused < 0) focused = IndexOf(focus_);
    const ControlState* s = focused >= 0 ? &controls_[static_cast<std::size_t>(focused)] : nullptr;
    switch (key) {
        case DialogKey::Tab:
        case DialogKey::BackTab: {
            const bool forward = key == DialogKey::Tab;
            const int target = NextTabStop(controls_, focused, forward);
            if (target < 0) return false;
            if (view_ != nullptr)
                view_->MoveFocus(target, forward ? FocusMove::Forward : FocusMove::Backward);
            return true;
        }
        case DialogKey::Next:
        case DialogKey::Previous: {
            // Buttons walk their group; edits and lists keep their arrows.
            if (s == nullptr ||
                (s->kind != ControlKind::PushButton && s->kind != ControlKind::CheckBox &&
                 s->kind != ControlKind::RadioButton))
                return false;
            const bool forward = key == DialogKey::Next;
            const int target = NextInGroup(controls_, focused, forward);
            if (target < 0 || view_ == nullptr) return true;
            view_->MoveFocus(target, forward ? FocusMove::Forward : FocusMove::Backward);
            // An automatic radio button the keyboard reaches is clicked.
            const ControlState& t = controls_[static_cast<std::size_t>(target)];
            if (!ended_ && t.kind == ControlKind::RadioButton && (t.style & kStyleAuto) != 0 &&
                !t.checked)
                UserClick(t.id);
            return true;
        }
        case DialogKey::Enter: {
            if (listOpen) return false;
            // A focused push button is clicked; elsewhere the default button, if enabled, or
            // without one the dialog's own OK.
            if (s != nullptr && s->kind == ControlKind::PushButton) {
                UserClick(s->id);
                return true;
            }
            const auto button = std::find_if(controls_.begin(), controls_.end(), [](const auto& c) {
                return c.kind == ControlKind::PushButton && (c.style & kStyleDefault) != 0;
            });
            if (button != controls_.end()) {
                if (button->enabled) UserClick(button->id);
            } else if (exchangeDepth_ == 0) {
                OnOK();
            }
            return true;
        }
        case DialogKey::Escape:
            if (listOpen) return false;
            UserCancel();
            return true;
    }
    return false;
}

void CDialog::PlaceDefaultFocus() {
    const int index = NextTabStop(controls_, -1, true);
    if (index < 0 || view_ == nullptr) return;
    const ControlState& s = controls_[static_cast<std::size_t>(index)];
    view_->MoveFocus(index, FocusMove::Start);
    UserFocus(s.id);
    if (s.kind == ControlKind::Edit || s.kind == ControlKind::ComboDropDown) {
        // The dialog manager selects the whole text of an edit it gives the focus to.
        UserSetEditSelection(s.id, 0, static_cast<int>(s.text.size()));
        TouchIndex(index, kChangedEditSel);
    }
}

}  // namespace ostrova::platform
