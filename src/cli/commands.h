// The ostrova-cfg commands, one file each; every one returns the program's exit code.
#pragma once

#include <string>
#include <vector>

#include "cli/command_support.h"

namespace ostrova::cli {

int Show(const std::vector<std::string>& files, const std::string& form, bool json);
int Check(const std::vector<std::string>& files, const std::string& form, bool verbose);
// 0 when A and B hold the same, 1 when they differ, 2 when either cannot be read.
int Diff(const std::string& a, const std::string& b, const std::string& formA,
         const std::string& formB);
int New(const std::string& out, const std::vector<std::string>& args, const WriteOptions& options);
int Set(const std::string& path, const std::vector<std::string>& args, const WriteOptions& options);
int Convert(const std::string& in, const std::string& out, const std::string& inForm,
            const WriteOptions& options);
int Presets(const std::string& country, bool values);
int ListFields(const std::string& name);

}  // namespace ostrova::cli
