// ostrova-cfg convert: a settings file written again in the form the output asks for.
#include <optional>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "cli/edit.h"

namespace ostrova::cli {

int Convert(const std::string& in, const std::string& out, const std::string& inForm,
            const WriteOptions& options) {
    std::string why;
    const std::optional<std::tm> time = SaveTime(options.time, why);
    if (!time) {
        Error(out, why);
        return kUsage;
    }
    const Loaded file = Load(in, FormOf(in, inForm));
    if (!file.ok) {
        Error(in, file.summary);
        return kFailed;
    }
    const FileForm form = FormOf(out, options.form);
    if (form == FileForm::Bin && !options.force) {
        const std::vector<std::string> lost = BinLosses(file.record);
        if (!lost.empty()) {
            std::string names;
            for (std::size_t i = 0; i < lost.size(); ++i)
                names += (i == 0 ? "" : i + 1 == lost.size() ? " and " : ", ") + lost[i];
            Error(out,
                  "the MMSCFG.BIN form cannot carry " + names + "; --force writes it without them");
            return kFailed;
        }
    }
    return Save(file.record, out, form, *time,
                options.force ? IfExists::Replace : IfExists::Refuse);
}

}  // namespace ostrova::cli
