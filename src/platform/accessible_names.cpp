#include "platform/accessible_names.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace ostrova::platform {
namespace {

bool Names(const ControlTemplate& c) {
    if (c.kind == ControlKind::CheckBox) return true;
    if (c.kind != ControlKind::Label) return false;
    // A separator such as ":" names nothing.
    return std::any_of(c.text.begin(), c.text.end(),
                       [](char ch) { return std::isalpha(static_cast<unsigned char>(ch)) != 0; });
}

bool Named(const ControlTemplate& c) {
    return c.kind == ControlKind::Edit || c.kind == ControlKind::ComboDropDown ||
           c.kind == ControlKind::ComboDropList;
}

// The middle of the control's first line: a combo's template height includes its list.
int MiddleY(const ControlTemplate& c) {
    const bool combo = c.kind == ControlKind::ComboDropDown || c.kind == ControlKind::ComboDropList;
    return c.rect.y + (combo ? std::min(c.rect.h, 12) : c.rect.h) / 2;
}

bool Contains(const DluRect& outer, const DluRect& inner) {
    return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
           inner.y <= outer.y + outer.h;
}

}  // namespace

std::string StripMnemonic(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size())
            ++i;
        else if (text[i] == '&')
            continue;
        out += text[i];
    }
    return out;
}

std::vector<AccessibleLink> AccessibleLinks(const DialogTemplate& tpl) {
    std::vector<AccessibleLink> links;
    const auto& controls = tpl.controls;
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlTemplate& c = controls[i];
        if (!Named(c)) continue;
        AccessibleLink link;
        link.control = static_cast<int>(i);

        if (!c.accessibleName.empty()) {
            link.name = c.accessibleName;
            links.push_back(link);
            continue;
        }

        // The nearest label or check box to the left whose height spans this control's middle.
        const int middle = MiddleY(c);
        int best = -1;
        for (std::size_t j = 0; j < controls.size(); ++j) {
            const ControlTemplate& n = controls[j];
            if (!Names(n)) continue;
            const int right = n.rect.x + n.rect.w;
            if (right > c.rect.x + 2 || middle < n.rect.y || middle > n.rect.y + n.rect.h) continue;
            if (best < 0 || right > controls[static_cast<std::size_t>(best)].rect.x +
                                        controls[static_cast<std::size_t>(best)].rect.w) {
                best = static_cast<int>(j);
            }
        }
        if (best >= 0) {
            const ControlTemplate& n = controls[static_cast<std::size_t>(best)];
            if (n.kind == ControlKind::Label)
                link.label = best;
            else
                link.name = StripMnemonic(n.text);
        } else {
            // Nothing beside it: the smallest frame around it says what it is.
            const ControlTemplate* frame = nullptr;
            for (const ControlTemplate& g : controls) {
                if (g.kind != ControlKind::GroupBox || !Contains(g.rect, c.rect)) continue;
                if (frame == nullptr || g.rect.w * g.rect.h < frame->rect.w * frame->rect.h)
                    frame = &g;
            }
            if (frame == nullptr) continue;
            link.description = StripMnemonic(frame->text);
        }
        links.push_back(link);
    }
    return links;
}

}  // namespace ostrova::platform
