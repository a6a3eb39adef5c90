#!/usr/bin/env python3
# Saves of ostrova-cfg stopped part-way: killed at random moments, or past the file-size limit.
# Every file must be the old one or the new one, whole, and no temporary file may outlive the
# next save. Usage: interrupted_save_test.py PROGRAM [unittest arguments]; OSTROVA_KILL_SEED
# repeats a run's random moments.
import os, random, resource, statistics, subprocess, sys, tempfile, time, unittest
from pathlib import Path

PROGRAM = os.path.abspath(sys.argv[1])
ENV = {**os.environ, "SOURCE_DATE_EPOCH": "1796637600"}
KILLS = 100
SEED = int(os.environ.get("OSTROVA_KILL_SEED", time.time_ns() % 1_000_000))


NOBODY = 65534


def run(*args, limit=None, user=None):
    def child():  # the file-size limit of `ulimit -f`, and another user
        if limit:
            resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
        if user is not None:
            os.setgroups([])
            os.setgid(user)
            os.setuid(user)
    return subprocess.run([PROGRAM, *args], env=ENV, capture_output=True, encoding="utf-8",
                          timeout=30, preexec_fn=child if limit or user is not None else None)


def leftovers():
    return [n for n in os.listdir() if n.startswith(".ostrova-tmp-") or ".tmp-" in n]


class Interrupted(unittest.TestCase):
    def setUp(self):
        self.addCleanup(os.chdir, os.getcwd())
        os.chdir(self.enterContext(tempfile.TemporaryDirectory()))
        self.random = random.Random(SEED)

    def assertValid(self, *names):
        p = run("check", *names)
        self.assertEqual(p.returncode, 0, p.stdout + p.stderr)

    def kill_saves(self, name, linked):
        """Kills KILLS saves of name at random moments of their run; returns how many were cut
        short, how many left the old and how many the new file, and the most temporary files
        seen beside it."""
        run("new", name, "--force")
        if linked:
            os.link(name, "link.cfg")
        start = time.monotonic()
        for hour in range(5):
            run("set", name, f"reportHour={hour}")
        duration = (time.monotonic() - start) / 5
        killed, outcomes, most = 0, {"old": 0, "new": 0}, 0
        for step in range(KILLS):
            old, hour = Path(name).read_bytes(), 1 + step % 23
            Path("copy.cfg").write_bytes(old)
            self.assertEqual(run("set", "copy.cfg", f"reportHour={hour}").returncode, 0)
            new = Path("copy.cfg").read_bytes()
            os.remove("copy.cfg")
            p = subprocess.Popen([PROGRAM, "set", name, f"reportHour={hour}"], env=ENV,
                                 stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            time.sleep(self.random.uniform(0, duration))
            p.kill()
            killed += p.wait() != 0
            now = Path(name).read_bytes()
            self.assertTrue(now in (old, new), f"step {step}, seed {SEED}: {len(now)} bytes")
            outcomes["new" if now == new else "old"] += 1
            if linked:
                self.assertEqual(Path("link.cfg").read_bytes(), now)
            self.assertValid(name)
            most = max(most, len(leftovers()))
        return killed, outcomes, most

    def test_a_killed_save_of_a_hard_linked_file_leaves_the_old_or_the_new_file(self):
        killed, outcomes, _ = self.kill_saves("k.cfg", linked=True)
        print(f"hard link: {KILLS} saves, {killed} killed, files left {outcomes}, seed {SEED}")

    def test_killed_saves_leave_no_temporary_file_past_the_next_save(self):
        killed, outcomes, most = self.kill_saves("wireless.cfg", linked=False)
        print(f"one name: {KILLS} saves, {killed} killed, files left {outcomes}, "
              f"at most {most} temporary files beside it, seed {SEED}")
        self.assertEqual(run("set", "wireless.cfg", "reportHour=5").returncode, 0)
        self.assertEqual(leftovers(), [])

    def test_a_save_past_the_file_size_limit_fails_and_keeps_the_file(self):
        for case in ("one name", "hard link", "read-only folder"):
            with self.subTest(case):
                # Root writes into any folder: there the save runs as nobody, where it can.
                user = None
                if case == "read-only folder" and os.geteuid() == 0:
                    os.chmod(".", 0o755)
                    if run("--version", user=NOBODY).returncode != 0:
                        self.skipTest("nobody cannot run the program from here")
                    user = NOBODY
                os.makedirs(case)
                name = os.path.join(case, "k.cfg")
                run("new", name)
                if case == "hard link":
                    os.link(name, os.path.join(case, "k2.cfg"))
                if case == "read-only folder":
                    if user is not None:
                        os.chown(case, user, user)
                        os.chown(name, user, user)
                    os.chmod(case, 0o555)
                    self.addCleanup(os.chmod, case, 0o755)
                old = Path(name).read_bytes()
                p = run("set", name, "reportHour=5", limit=1024, user=user)
                self.assertEqual((p.returncode, p.stderr),
                                 (1, f"ostrova-cfg: {name}: Create File Fail! (File too large)\n"))
                self.assertEqual(Path(name).read_bytes(), old)
                self.assertValid(name)
                self.assertEqual([n for n in os.listdir(case) if ".tmp-" in n], [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1] + sys.argv[2:], verbosity=2)
