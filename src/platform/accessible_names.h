// Which label or check box names each edit and combo box, for screen readers: one rule for
// every backend.
#pragma once

#include <string>
#include <vector>

#include "platform/dialog_template.h"

namespace ostrova::platform {

struct AccessibleLink {
    int control = -1;         // template index of the edit or combo box
    int label = -1;           // template index of the label that names it (its buddy), or -1
    std::string name;         // a name of its own (from a check box or the template), or empty
    std::string description;  // the frame's caption for a control nothing else names
};

// The labels of a template, paired with the edits and combo boxes they stand beside on the
// same row, to their left. A name the template gives a control comes first.
std::vector<AccessibleLink> AccessibleLinks(const DialogTemplate& tpl);

// Caption text without mnemonic markers: "&&" becomes "&", a single "&" goes.
std::string StripMnemonic(std::string_view text);

}  // namespace ostrova::platform
