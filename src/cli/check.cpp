// ostrova-cfg check: whether each file is a valid settings file, and why not.
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/fields.h"

namespace ostrova::cli {

int Check(const std::vector<std::string>& files, const std::string& form, bool verbose) {
    int status = kOk;
    for (const std::string& path : files) {
        const Loaded file = Load(path, FormOf(path, form));
        if (!file.ok) status = kFailed;
        if (!file.ok && !verbose) Error(path, file.summary);
        if (verbose)
            std::cout << Escaped(path, false) << ": " << (file.ok ? "" : "not valid: ")
                      << file.summary << '\n';
        if (WriteFailed()) break;
    }
    return status;
}

}  // namespace ostrova::cli
