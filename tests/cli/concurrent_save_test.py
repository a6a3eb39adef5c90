#!/usr/bin/env python3
# Saves of ostrova-cfg run at the same time: edits of one file lose nothing, and of two "new"
# for one name exactly one succeeds. Usage: concurrent_save_test.py PROGRAM [unittest args].
import json, os, subprocess, sys, tempfile, unittest

PROGRAM = os.path.abspath(sys.argv[1])
ENV = {**os.environ, "SOURCE_DATE_EPOCH": "1796637600"}
ROUNDS = 50


def start(*args):
    return subprocess.Popen([PROGRAM, *args], env=ENV, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, encoding="utf-8")


def finish(*procs):
    errors = [p.communicate(timeout=30)[1] for p in procs]
    return [(p.returncode, e) for p, e in zip(procs, errors)]


def field(name, path):
    out = subprocess.run([PROGRAM, "show", "--json", path], env=ENV, capture_output=True,
                         encoding="utf-8", timeout=30).stdout
    return json.loads(out)[name]


class Concurrent(unittest.TestCase):
    def setUp(self):
        self.addCleanup(os.chdir, os.getcwd())
        os.chdir(self.enterContext(tempfile.TemporaryDirectory()))

    def test_edits_of_one_file_lose_nothing(self):
        lost = 0
        for n in range(ROUNDS):
            finish(start("new", "o.cfg", "--force"))
            hour, minute = n % 24, n % 60
            results = finish(start("set", "o.cfg", f"reportHour={hour}"),
                             start("set", "o.cfg", f"reportMinute={minute}"))
            self.assertEqual([r[0] for r in results], [0, 0], results)
            lost += (field("reportHour", "o.cfg"), field("reportMinute", "o.cfg")) != (hour, minute)
        self.assertEqual(lost, 0)

    def test_of_two_new_files_of_one_name_one_is_written(self):
        for n in range(ROUNDS):
            name = f"n{n}.cfg"
            results = finish(start("new", name, "reportHour=1"), start("new", name, "reportHour=2"))
            self.assertEqual(sorted(r[0] for r in results), [0, 1], results)
            self.assertIn("exists already", "".join(r[1] for r in results))
        p = subprocess.run([PROGRAM, "convert", "n0.cfg", "n1.cfg"], env=ENV, capture_output=True,
                           encoding="utf-8", timeout=30)
        self.assertEqual(p.returncode, 1, p.stderr)
        self.assertIn("exists already", p.stderr)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[2:])
