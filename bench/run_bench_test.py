#!/usr/bin/env python3
"""Tests of the benchmark harness: what it reads from a program's --help (which
decides whether a case runs), its input cache, and its thread counts.

Usage: run_bench_test.py [TAVRO_CLI]   (the real --help is read when given)
"""

import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path
from unittest import mock

sys.dont_write_bytecode = True  # no __pycache__ in the source tree
sys.path.insert(0, str(Path(__file__).resolve().parent))
import run_bench  # noqa: E402

CLI = sys.argv.pop(1) if len(sys.argv) > 1 else None

LATER_HELP = """\
Usage: tavro-cli [OPTIONS] FILE...
  -o, --output OUT     write the report to OUT
  --encoding ENC       the input's encoding: cp1253 (default), utf-8,
                       or auto (UTF-8 when every file is valid UTF-8)
  --format FMT         text or csv
  --stats              totals after the report
Exit status: 0 on success; see --format tsv in the manual.
"""


class HelpTest(unittest.TestCase):
    @unittest.skipUnless(CLI, "no tavro-cli given")
    def test_the_real_help(self):
        text = subprocess.run([CLI, "--help"], capture_output=True, text=True,
                              check=True).stdout
        help_text = run_bench.Help(text)
        for option in ("--threads", "--all-words", "--by-frequency", "--output", "--lexicon"):
            self.assertTrue(help_text.has(option), option)
        self.assertFalse(help_text.has("--thread"))
        threads = help_text.entry("--threads")
        self.assertIn("256", threads)
        self.assertIn("the report is the same", threads)  # its second line
        self.assertNotIn("--base-form", threads)
        self.assertIn("OUT", help_text.entry("--output"))  # listed as "-o, --output OUT"

    def test_an_option_is_found_only_in_its_own_entry(self):
        help_text = run_bench.Help(LATER_HELP)
        cases = [
            ("--encoding", "auto", True),   # on the entry's second line
            ("--format", "tsv", False),     # only further down the help
            ("--stats", "tsv", False),
            ("--forms", "", False),         # not an option of this help
        ]
        for option, word, expected in cases:
            with self.subTest(option=option):
                entry = help_text.entry(option)
                self.assertEqual(bool(entry) and word in entry, expected)
        self.assertFalse(help_text.has("--forms"))
        self.assertTrue(help_text.has("--encoding"))


class CacheTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.TemporaryDirectory()
        self.target = Path(self.dir.name) / "input"
        self.builds = 0

    def tearDown(self):
        self.dir.cleanup()

    def build(self, reason=None):
        def make(directory):
            self.builds += 1
            (directory / "a.txt").write_text("x")
            return reason
        return make

    def test_files_are_made_once_per_set_of_parameters(self):
        with mock.patch("builtins.print"):
            first = run_bench.cached(self.target, {"size": 1}, self.build())
            again = run_bench.cached(self.target, {"size": 1}, self.build())
            other = run_bench.cached(self.target, {"size": 2}, self.build())
        self.assertEqual(first, [str(self.target / "a.txt")])
        self.assertEqual(again, first)
        self.assertEqual(other, first)
        self.assertEqual(self.builds, 2)

    def test_an_input_that_does_not_fit_is_not_tried_again(self):
        with mock.patch("builtins.print"):
            first = run_bench.cached(self.target, {"size": 1}, self.build("too small"))
            again = run_bench.cached(self.target, {"size": 1}, self.build())
        self.assertEqual((first, again, self.builds), ("too small", "too small", 1))


class ThreadCountsTest(unittest.TestCase):
    def test_powers_of_two_up_to_the_cores_and_at_least_eight(self):
        cases = [(1, [1, 2, 4, 8]), (2, [1, 2, 4, 8]), (12, [1, 2, 4, 8, 12]),
                 (16, [1, 2, 4, 8, 16]), (300, [1, 2, 4, 8, 16, 32, 64, 128, 256])]
        for cores, expected in cases:
            with self.subTest(cores=cores), mock.patch.object(os, "cpu_count", return_value=cores):
                self.assertEqual(run_bench.thread_counts(), expected)


if __name__ == "__main__":
    unittest.main()
