#!/usr/bin/env python3
# The manual pages against the program: every command, option and field that ostrova-cfg
# offers is in ostrova-cfg(1), and the pages carry the program's version.
# Usage: man_page_test.py PROGRAM CFG_PAGE SETTINGS_PAGE [unittest args]
import os, re, subprocess, sys, tempfile, unittest

PROGRAM, CFG_PAGE, SETTINGS_PAGE = (os.path.abspath(a) for a in sys.argv[1:4])
ENV = {**os.environ, "LC_ALL": "C.UTF-8", "MANWIDTH": "1000", "MANPAGER": "cat", "PAGER": "cat"}


def run(*args):
    return subprocess.run(args, capture_output=True, encoding="utf-8", env=ENV, timeout=60)


def sections(page):  # the page as man shows it: heading -> its lines
    out, name = {}, None
    for line in run("man", "-E", "ascii", "-l", page).stdout.splitlines():
        if re.match(r"[A-Z][A-Z ]+$", line):
            name = line
        elif name:
            out.setdefault(name, []).append(line.strip())
    return out


def help_of(*command):  # (subcommands, options): options as lists of their names
    text = run(PROGRAM, *command, "--help").stdout
    part, commands, options = None, [], []
    for line in text.splitlines():
        if re.match(r"\S.*:$", line):
            part = line
        elif part == "Subcommands:" and re.match(r"  [a-z]", line):
            commands.append(line.split()[0])
        elif part == "Options:" and re.match(r"  -", line):
            options.append(line.split()[0].split(","))
    return commands, [o for o in options if "--help" not in o]


class ManPages(unittest.TestCase):
    # man --warnings and lexgrog read the packaged pages in the package check.
    def test_the_pages_carry_the_programs_version(self):
        printed = run(PROGRAM, "--version")
        version = re.fullmatch(r"ostrova-cfg (\d+\.\d+\.\d+)\n", printed.stdout).group(1)
        for page in (CFG_PAGE, SETTINGS_PAGE):
            footer = run("man", "-E", "UTF-8", "-l", page).stdout.rstrip().splitlines()[-1]
            self.assertTrue(footer.startswith(f"Ostrova+ Settings {version} "), footer)

    def test_every_command_option_and_field_of_the_program_is_in_the_page(self):
        page = sections(CFG_PAGE)
        synopsis, commands = page["SYNOPSIS"], " ".join(page["COMMANDS"])
        options, fields = " ".join(page["OPTIONS"]), " ".join(page["FIELDS"])
        subcommands, top = help_of()
        self.assertTrue(subcommands)
        for sub in subcommands:
            self.assertTrue(any(line.startswith(f"ostrova-cfg {sub} ") for line in synopsis), sub)
            self.assertRegex(commands, rf"(^| ){sub} ", f"{sub} is not under COMMANDS")
        for names in [*top, *(names for sub in subcommands for names in help_of(sub)[1])]:
            for n in names:
                self.assertRegex(options, rf"(^|[ (,]){n}\b", f"{n} is not under OPTIONS")
        # Every field that show prints (an array's members by the array's name).
        with tempfile.TemporaryDirectory() as folder:
            run(PROGRAM, "new", f"{folder}/a.cfg")
            shown = run(PROGRAM, "show", f"{folder}/a.cfg").stdout.splitlines()[1:]
        self.assertGreater(len(shown), 40)
        for name in {re.sub(r"\[\d\]$", "", line.split()[0]) for line in shown}:
            self.assertRegex(fields, rf"(^|[ ,]){re.escape(name)}\b", f"{name} is undocumented")


if __name__ == "__main__":
    unittest.main(argv=[sys.argv[0], *sys.argv[4:]])
