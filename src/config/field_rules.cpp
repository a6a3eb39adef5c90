#include "config/field_rules.h"

#include <algorithm>

namespace ostrova {

const NumericRule* FindNumericRule(std::string_view field) {
    const auto it = std::find_if(kNumericRules.begin(), kNumericRules.end(),
                                 [&](const NumericRule& r) { return r.field == field; });
    return it == kNumericRules.end() ? nullptr : &*it;
}

const TextRule* FindTextRule(std::string_view field) {
    // "phone[2]" -> "phone"; only a trailing "[digits]" is an index.
    if (const auto open = field.find('[');
        open != std::string_view::npos && field.size() > open + 2 && field.back() == ']') {
        const std::string_view index = field.substr(open + 1, field.size() - open - 2);
        if (std::all_of(index.begin(), index.end(), [](char c) { return c >= '0' && c <= '9'; }))
            field = field.substr(0, open);
    }
    const auto it = std::find_if(kTextRules.begin(), kTextRules.end(),
                                 [&](const TextRule& r) { return r.field == field; });
    return it == kTextRules.end() ? nullptr : &*it;
}

}  // namespace ostrova
