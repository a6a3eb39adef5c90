// ostrova-cfg diff: the fields and reserved bytes in which two settings files differ.
#include <algorithm>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "cli/fields.h"

namespace ostrova::cli {

int Diff(const std::string& a, const std::string& b, const std::string& formA,
         const std::string& formB) {
    const Loaded left = Load(a, FormOf(a, formA));
    const Loaded right = Load(b, FormOf(b, formB));
    if (!left.ok || !right.ok) {
        if (!left.ok) Error(a, left.summary);
        if (!right.ok) Error(b, right.summary);
        return kUsage;  // as diff(1): trouble
    }
    bool differ = false;
    for (const Field& f : Fields()) {
        const bool same = f.kind == FieldKind::Text
                              ? TextBytes(left.record, f) == TextBytes(right.record, f)
                              : NumberOf(left.record, f) == NumberOf(right.record, f);
        if (same) continue;
        differ = true;
        std::cout << f.name << ": " << Display(left.record, f) << " -> " << Display(right.record, f)
                  << '\n';
    }
    for (const ByteRange& range : ReservedRanges()) {
        const auto l = left.record.bytes().subspan(range.offset, range.size);
        const auto r = right.record.bytes().subspan(range.offset, range.size);
        if (std::equal(l.begin(), l.end(), r.begin())) continue;
        differ = true;
        std::cout << "reserved bytes " << range.offset << ".." << range.offset + range.size - 1
                  << " differ\n";
    }
    WriteFailed();
    return differ ? kFailed : kOk;
}

}  // namespace ostrova::cli
