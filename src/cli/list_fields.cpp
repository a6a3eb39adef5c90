// ostrova-cfg fields: the fields set and new take, or the values a choice field takes.
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "cli/edit.h"
#include "cli/fields.h"

namespace ostrova::cli {

int ListFields(const std::string& name) {
    if (name.empty()) {
        for (const Field& f : Fields())
            if (f.role == FieldRole::Editable) std::cout << f.name << '\n';
    } else {
        const Field* f = FindField(name);
        if (!f || f->role != FieldRole::Editable) {
            Error(name, "no field that set takes (see ostrova-cfg fields)");
            return kUsage;
        }
        for (const std::string& value : ChoicesOf(name)) std::cout << value << '\n';
    }
    WriteFailed();
    return kOk;
}

}  // namespace ostrova::cli
