// ostrova-cfg: shows, checks, compares, converts and edits the camera's settings files
// without the window, with the same reading rules, field rules and save steps.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "ostrova/version.h"
#ifdef _WIN32
#include "text/utf16.h"
#endif

namespace ostrova::cli {
namespace {

int Run(int argc, char** argv) {
    CLI::App app{
        "Shows, checks, compares, converts and edits the settings files of the Ostrova+ "
        "camera: wireless.cfg (ciphered, with a checksum) and MMSCFG.BIN (plain), and lists "
        "the built-in carrier presets. A file's form follows its extension as in the "
        "settings window: one beginning with B is MMSCFG.BIN, any other wireless.cfg.",
        "ostrova-cfg"};
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("ostrova-cfg ") + OSTROVA_VERSION);
    const auto formOption = [](CLI::App* sub, std::string& into, const std::string& name,
                               const std::string& what) {
        sub->add_option(name, into,
                        what +
                            ": cfg (wireless.cfg) or bin (MMSCFG.BIN), "
                            "whatever the extension")
            ->check(CLI::IsMember({"cfg", "bin"}));
    };
    const std::string timeHelp =
        "save time stamped into wireless.cfg, local, e.g. 2026-12-07T10:00:00 (default: "
        "SOURCE_DATE_EPOCH in UTC when set, else now); an empty one is refused";

    std::vector<std::string> files;
    std::string form, formB, inForm;
    bool json = false, verbose = false;

    CLI::App* show = app.add_subcommand("show", "Print every field of each settings file");
    show->add_option("FILE", files, "settings files")->required();
    show->add_flag("--json", json,
                   "the fields as one JSON object, texts in UTF-8; for several files an array "
                   "of objects with file, form, valid, error and fields");
    formOption(show, form, "--form", "read the files as");

    CLI::App* check = app.add_subcommand(
        "check",
        "Exit 0 when every file is a valid settings file, 1 when any is not (named on "
        "standard error with the reason)");
    check->add_option("FILE", files, "settings files")->required();
    check->add_flag("-v,--verbose", verbose, "say for each file whether it is valid and why");
    formOption(check, form, "--form", "read the files as");

    std::string a, b;
    CLI::App* diff =
        app.add_subcommand("diff", "Print the fields that differ, exit 1 when any does");
    diff->add_option("A", a, "first settings file")->required();
    diff->add_option("B", b, "second settings file")->required();
    formOption(diff, form, "--form-a", "read A as");
    formOption(diff, formB, "--form-b", "read B as");

    WriteOptions options;
    std::string timeText;
    std::vector<CLI::Option*> timeOptions;
    std::vector<std::string> assignments;
    const auto writeOptions = [&](CLI::App* sub, bool assigns) {
        if (assigns) {
            sub->add_option("ASSIGNMENT", assignments,
                            "field=value, by the names show prints; numbers or captions for "
                            "choices (sendMode=Instant, countryId=Sweden, operatorId=Telia)");
            sub->add_option(
                "--from-json", options.json,
                "apply the fields of a JSON object as show --json prints it, up to 1 MiB ('-' "
                "reads standard input); field=value arguments take precedence; a field named twice "
                "is an error");
        }
        timeOptions.push_back(sub->add_option("--time", timeText, timeHelp));
    };

    std::string path, out;
    CLI::App* newCmd = app.add_subcommand("new", "Write a new settings file from the defaults");
    newCmd->add_option("OUT", out, "file to write")->required();
    writeOptions(newCmd, true);
    formOption(newCmd, options.form, "--form", "write");
    newCmd->add_flag("--force", options.force, "replace OUT when it exists");

    CLI::App* set = app.add_subcommand(
        "set", "Change fields of a settings file by the settings window's rules and save it");
    set->add_option("FILE", path, "settings file")->required();
    writeOptions(set, true);
    formOption(set, options.form, "--form", "read and write");

    std::string in;
    CLI::App* convert = app.add_subcommand("convert", "Write a settings file in the other form");
    convert->add_option("IN", in, "settings file to read")->required();
    convert->add_option("OUT", out, "file to write")->required();
    formOption(convert, inForm, "--in-form", "read IN as");
    formOption(convert, options.form, "--form", "write OUT as");
    convert->add_flag("--force", options.force,
                      "replace OUT when it exists, and write MMSCFG.BIN even when the FTP and "
                      "HTTP settings are lost");
    writeOptions(convert, false);

    std::string presetCountry;
    bool presetValues = false;
    CLI::App* presets = app.add_subcommand(
        "presets", "List the carrier presets, where their values come from and how sure they are");
    presets->footer(
        "Provenance: public = every value from the carrier's own entry in a public source; "
        "partly = some values borrowed from a brand on the same network, derived, recalled or "
        "placeholders; none = a stand-in holding another carrier's values.\n"
        "Sources: Debian = mobile-broadband-provider-info 20230416 (serviceproviders.xml), "
        "LineageOS = apns-conf.xml at commit 08343528. For each parameter: both sources give it, "
        "they differ (if only in letter case or a trailing slash; Debian's value is kept), only "
        "one has it, or neither (recalled from memory, or derived from another value or a "
        "placeholder the camera's table needs).");
    presets->add_option("COUNTRY", presetCountry, "only this country's rows, by name or id");
    presets->add_flag("-v,--values", presetValues, "print each row's parameters too");

    std::string fieldName;
    CLI::App* fields = app.add_subcommand(
        "fields",
        "List the fields that set and new take, one a line; with FIELD, the values it takes "
        "by name");
    fields->add_option("FIELD", fieldName, "a choice field: its values, one a line");

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForVersion& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        // A word CLI11 could not place explains a missing argument better than the lack does.
        std::string where, what = e.what();
        for (CLI::App* sub : app.get_subcommands({})) {
            if (!sub->parsed()) continue;
            where = sub->get_name();
            const std::vector<std::string> left = sub->remaining();
            if (!left.empty() && left[0].size() > 1 && left[0][0] == '-')
                what = left[0] + ": no such option (a file name beginning with - goes after --)";
        }
        const std::vector<std::string> left = app.remaining();
        if (where.empty() && !left.empty())
            what = left[0] + (left[0][0] == '-' ? ": no such option" : ": no such command") +
                   " (see ostrova-cfg --help)";
        Error(where, what);
        return kUsage;
    }

    for (const CLI::Option* option : timeOptions)
        if (option->count() > 0) options.time = timeText;
    if (show->parsed()) return Show(files, form, json);
    if (check->parsed()) return Check(files, form, verbose);
    if (diff->parsed()) return Diff(a, b, form, formB);
    if (newCmd->parsed()) return New(out, assignments, options);
    if (set->parsed()) return Set(path, assignments, options);
    if (convert->parsed()) return Convert(in, out, inForm, options);
    if (presets->parsed()) return Presets(presetCountry, presetValues);
    if (fields->parsed()) return ListFields(fieldName);
    return kUsage;
}

}  // namespace

// Run, with whatever escapes it (memory, a library's error) reported as a failure, not an abort.
int Main(int argc, char** argv) {
    try {
        const int status = Run(argc, argv);
        errno = 0;
        if (std::fflush(stdout) != 0) WriteFailed();
        if (!WriteFailed()) return status;
        const int why = WriteErrno();
        std::cerr << "ostrova-cfg: write error" << (why ? ": " : "")
                  << (why ? std::strerror(why) : "") << '\n';
        return status == kOk ? kFailed : status;
    } catch (const std::exception& e) {
        std::cerr << "ostrova-cfg: " << e.what() << '\n';
    } catch (...) {
        std::cerr << "ostrova-cfg: unexpected error\n";
    }
    return kFailed;
}

}  // namespace ostrova::cli

#ifdef _WIN32
// The command line is read as UTF-16 and turned into UTF-8 once, as the window program reads
// its paths: a file in a folder named in any script is found, whatever the code page.
int wmain(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 0; i < argc; ++i) args.push_back(ostrova::Utf8FromWide(argv[i]));
    std::vector<char*> pointers;
    for (std::string& arg : args) pointers.push_back(arg.data());
    pointers.push_back(nullptr);
    return ostrova::cli::Main(argc, pointers.data());
}
#else
int main(int argc, char** argv) {
    return ostrova::cli::Main(argc, argv);
}
#endif
