#!/usr/bin/env python3
"""tavro-cli as a process: what only a real process, real files and real signals show.

Usage: process_test.py TAVRO_CLI REPOSITORY WORK_DIR [--big]

Without --big: -o (written, replaced, left alone on failure, no temporary left
behind), "-" for standard input, a directory as input, a failed write to
standard output, --version, the progress bar on a pseudo-terminal and none on a
pipe, an unreadable lexicon (as a user that is not root), -o onto a symbolic link
and onto a FIFO, SIGINT during a run with -o, running out of memory and threads
that cannot start.
With --big: a lexicon and an inflection table of 5 million lines each.
"""
import os
import pty
import resource
import select
import shutil
import signal
import stat
import subprocess
import sys
import threading
import time
import unittest
from pathlib import Path

CLI = REPOSITORY = WORK = None
BIG_LINES = 5_000_000


def greek(text):
    return text.encode("cp1253")


class ProcessCase(unittest.TestCase):
    def setUp(self):
        self.dir = WORK / self.id().rsplit(".", 1)[-1]
        shutil.rmtree(self.dir, ignore_errors=True)
        self.dir.mkdir(parents=True)
        self.dir.chmod(0o755)
        self.write("finalList.txt", greek("λόγος\nδρόμος\nθάλασσα\n"))
        self.write("conjugation.txt", greek("ου ος\nοι ος\nων ος\nας α\nες α\n"))
        self.write("a.txt", greek("Ο λόγος του δρόμου. Οι δρόμοι της θάλασσας.\n"))
        self.write("b.txt", greek("λόγων λόγων δρόμος θάλασσες\n"))
        self.report = greek("δρόμος 3\nθάλασσα 2\nλόγος 3\n")

    def write(self, name, data):
        path = self.dir / name
        path.write_bytes(data)
        return path

    def run_cli(self, *args, stdin=None, stdout=subprocess.PIPE, **kwargs):
        return subprocess.run([CLI, *map(str, args)], cwd=self.dir, input=stdin, stdout=stdout,
                              stderr=subprocess.PIPE, timeout=120, **kwargs)

    def not_root(self):
        """What runs tavro-cli as nobody when the tests run as root; skips the
        test when nobody cannot reach the program or the test's folder."""
        if os.geteuid() != 0:
            return {}
        as_nobody = {"user": 65534, "group": 65534, "extra_groups": []}
        try:
            probe = self.run_cli("--version", **as_nobody)
        except OSError as error:
            self.skipTest(f"nobody cannot run {CLI}: {error}")
        if probe.returncode != 0:
            self.skipTest(f"nobody cannot run {CLI}: {probe.stderr!r}")
        return as_nobody

    def names(self):
        return sorted(p.name for p in self.dir.iterdir())


class OutputFile(ProcessCase):
    def test_written_replaced_and_nothing_left_beside_it(self):
        self.write("out.txt", b"an older report, longer than the new one\n" * 10)
        before = self.names()
        done = self.run_cli("-o", "out.txt", "a.txt", "b.txt")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout, b"")
        self.assertEqual((self.dir / "out.txt").read_bytes(), self.report)
        self.assertEqual(self.names(), before)

    def test_left_alone_when_the_run_fails(self):
        old = self.write("out.txt", b"kept\n")
        before = self.names()
        done = self.run_cli("-o", "out.txt", "a.txt", "missing.txt")
        self.assertEqual(done.returncode, 255)
        self.assertIn(b"missing.txt", done.stderr)
        self.assertEqual(old.read_bytes(), b"kept\n")
        self.assertEqual(self.names(), before)

    def test_a_symbolic_link_is_followed_to_its_target(self):
        target = self.write("target.txt", b"old\n")
        (self.dir / "link.txt").symlink_to("target.txt")
        done = self.run_cli("-o", "link.txt", "a.txt", "b.txt")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertTrue((self.dir / "link.txt").is_symlink())
        self.assertEqual(target.read_bytes(), self.report)

    def test_a_fifo_is_written_and_stays_a_fifo(self):
        fifo = self.dir / "report.fifo"
        os.mkfifo(fifo)
        received = []
        reader = threading.Thread(target=lambda: received.append(fifo.read_bytes()))
        reader.start()
        done = self.run_cli("-o", fifo, "a.txt", "b.txt")
        reader.join(timeout=60)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(received, [self.report])
        self.assertTrue(stat.S_ISFIFO(fifo.lstat().st_mode))

    def test_a_directory_is_refused(self):
        (self.dir / "folder").mkdir()
        done = self.run_cli("-o", "folder", "a.txt")
        self.assertEqual(done.returncode, 1)
        self.assertIn(b"folder", done.stderr)
        self.assertTrue((self.dir / "folder").is_dir())


class Inputs(ProcessCase):
    def test_dash_reads_standard_input(self):
        both = (self.dir / "a.txt").read_bytes() + (self.dir / "b.txt").read_bytes()
        done = self.run_cli("-", stdin=both)
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout, self.report)

    def test_a_directory_as_input_is_an_input_error(self):
        (self.dir / "folder").mkdir()
        done = self.run_cli("a.txt", "folder")
        self.assertEqual(done.returncode, 255)
        self.assertIn(b"folder", done.stderr)
        self.assertEqual(done.stdout, b"")

    def test_an_unreadable_lexicon_ends_the_run(self):
        lexicon = self.dir / "finalList.txt"
        lexicon.chmod(0)
        done = self.run_cli("a.txt", **self.not_root())  # root reads anything
        self.assertEqual(done.returncode, 255, done.stderr)
        self.assertEqual(done.stderr,
                         b"Error: File could not be opened\nFailed to create empty document.\n")
        self.assertEqual(done.stdout, b"")


class StandardStreams(ProcessCase):
    def test_a_failed_write_to_standard_output_is_an_error(self):
        with open("/dev/full", "wb") as full:
            done = self.run_cli("a.txt", stdout=full)
        self.assertEqual(done.returncode, 1)
        self.assertIn(b"standard output", done.stderr)

    def test_version(self):
        done = self.run_cli("--version")
        self.assertEqual(done.returncode, 0)
        self.assertRegex(done.stdout.decode(), r"^tavro-cli \d+\.\d+\.\d+\n$")

    def test_progress_bar_on_a_terminal_only(self):
        piped = self.run_cli("a.txt", "b.txt")
        self.assertNotIn(b"[", piped.stderr)

        leader, follower = pty.openpty()
        process = subprocess.Popen([CLI, "a.txt", "b.txt"], cwd=self.dir, stdout=subprocess.PIPE,
                                   stderr=follower)
        os.close(follower)
        drawn = b""
        while True:
            ready, _, _ = select.select([leader], [], [], 30)
            if not ready:
                break
            try:
                chunk = os.read(leader, 4096)
            except OSError:  # the terminal closed with the process
                break
            if not chunk:
                break
            drawn += chunk
        report, _ = process.communicate(timeout=60)
        os.close(leader)
        self.assertEqual(process.returncode, 0)
        self.assertEqual(report, self.report)
        self.assertIn(b"] 2/2 b.txt", drawn)
        self.assertTrue(drawn.endswith(b"\r\x1b[K"), drawn[-40:])


class Interrupt(ProcessCase):
    def test_sigint_leaves_the_old_report_and_no_temporary(self):
        old = self.write("out.txt", b"kept\n")
        fifo = self.dir / "input.fifo"
        os.mkfifo(fifo)
        before = self.names()
        # As from a terminal: a background job (CI) would start it ignoring SIGINT.
        process = subprocess.Popen([CLI, "-o", "out.txt", "a.txt", fifo.name], cwd=self.dir,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   preexec_fn=lambda: signal.signal(signal.SIGINT, signal.SIG_DFL))
        with open(fifo, "wb") as writer:  # the run is reading the FIFO now
            writer.write(greek("λόγος " * 10000))
            writer.flush()
            time.sleep(0.3)
            process.send_signal(signal.SIGINT)
            process.wait(timeout=60)
        self.assertEqual(process.returncode, -signal.SIGINT)
        self.assertEqual(old.read_bytes(), b"kept\n")
        self.assertEqual(self.names(), before)

    def test_sigint_ignored_from_the_start_stays_ignored(self):
        fifo = self.dir / "input.fifo"
        os.mkfifo(fifo)
        process = subprocess.Popen([CLI, "-o", "out.txt", "a.txt", fifo.name], cwd=self.dir,
                                   stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                   preexec_fn=lambda: signal.signal(signal.SIGINT, signal.SIG_IGN))
        with open(fifo, "wb") as writer:
            writer.write((self.dir / "b.txt").read_bytes())
            writer.flush()
            time.sleep(0.3)
            process.send_signal(signal.SIGINT)
        process.wait(timeout=60)
        self.assertEqual(process.returncode, 0)
        self.assertEqual((self.dir / "out.txt").read_bytes(), self.report)


def limited(limit, value):
    return lambda: resource.setrlimit(limit, (value, value))


SANITIZED = "ASAN_OPTIONS" in os.environ or "TSAN_OPTIONS" in os.environ


@unittest.skipIf(SANITIZED, "a sanitizer's shadow memory does not fit an address-space limit")
class OutOfResources(ProcessCase):
    def many_words(self):
        words = []
        for i in range(2_000_000):
            letters = []
            for _ in range(6):
                letters.append(BigDataFiles.LETTERS[i % 24])
                i //= 24
            words.append("".join(letters))
        self.write("many.txt", greek(" ".join(words) + "\n"))

    def test_out_of_memory_is_a_message_and_leaves_out_alone(self):
        self.many_words()
        old = self.write("out.txt", b"kept\n")
        done = self.run_cli("--all-words", "-o", "out.txt", "many.txt",
                            preexec_fn=limited(resource.RLIMIT_AS, 200 << 20))
        self.assertEqual(done.returncode, 255, done.stderr)
        self.assertTrue(done.stderr.startswith(b"Out of memory while "), done.stderr)
        self.assertEqual(old.read_bytes(), b"kept\n")

    def test_threads_that_cannot_start_leave_the_run_to_those_that_did(self):
        done = self.run_cli("--threads", "8", "a.txt", "b.txt",  # root has no process limit
                            preexec_fn=limited(resource.RLIMIT_NPROC, 1), **self.not_root())
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout, self.report)


class BigDataFiles(ProcessCase):
    """A lexicon and a table of 5 million lines load, and the words they name count."""

    LETTERS = "αβγδεζηθικλμνξοπρστυφχψω"

    def word(self, i):
        letters = []
        for _ in range(5):
            letters.append(self.LETTERS[i % 24])
            i //= 24
        return "".join(letters)

    def test_five_million_lines_each(self):
        with open(self.dir / "big-lexicon.txt", "wb") as lexicon:
            lexicon.write(greek("".join(f"κ{self.word(i)}ός\n" for i in range(BIG_LINES))))
        with open(self.dir / "big-table.txt", "wb") as table:
            table.write(greek("ού ός\nοί ός\n"))
            table.write(greek("".join(f"{self.word(i)} {self.word(i + 7)}\n"
                                      for i in range(BIG_LINES - 2))))
        last, first = self.word(BIG_LINES - 1), self.word(0)
        self.write("in.txt", greek(f"κ{last}ού κ{first}οί κ{first}ός λόγος\n"))
        done = self.run_cli("--lexicon", "big-lexicon.txt", "--conjugation", "big-table.txt",
                            "in.txt")
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(done.stdout, greek(f"κ{first}ός 2\nκ{last}ός 1\n"))


if __name__ == "__main__":
    CLI = str(Path(sys.argv[1]).resolve())
    REPOSITORY = Path(sys.argv[2]).resolve()
    WORK = Path(sys.argv[3]).resolve()
    big = "--big" in sys.argv[4:]
    WORK.mkdir(parents=True, exist_ok=True)
    WORK.chmod(0o755)
    suite = unittest.TestLoader().loadTestsFromTestCase(BigDataFiles) if big else \
        unittest.TestSuite(unittest.TestLoader().loadTestsFromTestCase(case) for case in
                           (OutputFile, Inputs, StandardStreams, Interrupt, OutOfResources))
    result = unittest.TextTestRunner(verbosity=2).run(suite)
    sys.exit(0 if result.wasSuccessful() else 1)
