// What the ostrova-cfg commands share: exit codes, error messages, the write-error watch,
// and reading and saving a settings file by the settings window's rules.
#pragma once

#include <ctime>
#include <optional>
#include <string>

#include "config/codec.h"
#include "config/record.h"
#include "config/save.h"

namespace ostrova::cli {

inline constexpr int kOk = 0;
inline constexpr int kFailed = 1;
inline constexpr int kUsage = 2;

// Whether writing to standard output has failed; called right after writing, while errno still
// says why. Output lost to a full disk is a failure, as for the standard tools.
bool WriteFailed();
// errno at the first failed write to standard output; 0 when it said nothing.
int WriteErrno();

// "ostrova-cfg: where: what" on standard error, both escaped for a terminal.
void Error(const std::string& where, const std::string& what);

// The form by the --form option when given, else by the extension, as the Load command does.
FileForm FormOf(const std::string& path, const std::string& option);

// A settings file read by the Load command's rules over the defaults.
struct Loaded {
    bool ok = false;
    std::string summary;  // "valid (...)" or the Load command's message with the cause
    ConfigRecord record{};
    FileForm form = FileForm::Cfg;
};

Loaded Load(const std::string& path, FileForm form);

// The options of the commands that write a file.
struct WriteOptions {
    std::string form;
    std::optional<std::string> time;  // given, even empty, it is the only source
    std::string json;
    bool force = false;
};

// --time (local, "2026-12-07T10:00:00"), else SOURCE_DATE_EPOCH (in UTC, so the same
// sources give the same file anywhere), else the current local time.
std::optional<std::tm> SaveTime(const std::optional<std::string>& option, std::string& why);

// The save as the window makes it: preparation, its checks, the time stamp for
// wireless.cfg, the preset copy, then an atomic replacement of the file.
int Save(ConfigRecord record, const std::string& path, FileForm form, const std::tm& time,
         IfExists ifExists = IfExists::Replace);

}  // namespace ostrova::cli
