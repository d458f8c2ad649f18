#!/usr/bin/env python3
"""tavro-cli's results on the bundled corpus, end to end.

- The noun counts of every new output (text with forms, tsv, csv, json) equal
  the plain report's, and json is valid JSON whose statistics agree with --stats.
- Counts saved from A and from B and added back give the same outputs, byte for
  byte, as A and B read directly (the STTR, which count files cannot carry,
  aside).

Usage: results_test.py TAVRO_CLI REPOSITORY WORK_DIR
"""
import csv
import io
import json
import shutil
import subprocess
import sys
from pathlib import Path

cli, repository, work = sys.argv[1], Path(sys.argv[2]).resolve(), Path(sys.argv[3]).resolve()
data = repository / "data"
corpus = sorted(str(p) for p in (data / "corpus").glob("*.txt"))
assert len(corpus) >= 3, corpus
shutil.rmtree(work, ignore_errors=True)
work.mkdir(parents=True)
failures = []


def run(*args, expect=0):
    done = subprocess.run([cli, *args], cwd=data, capture_output=True)
    if done.returncode != expect:
        failures.append(f"{args}: exit {done.returncode}, {done.stderr.decode(errors='replace')}")
    return done


def check(condition, what):
    if not condition:
        failures.append(what)


report = run("--output-encoding", "utf-8", *corpus).stdout.decode()
nouns = {line.rsplit(" ", 1)[0]: int(line.rsplit(" ", 1)[1]) for line in report.splitlines()}
check(len(nouns) > 100, "the report holds the nouns")

with_forms = run("--forms", "--output-encoding", "utf-8", *corpus).stdout.decode()
heads = [line for line in with_forms.splitlines() if not line.startswith("  ")]
check("\n".join(heads) + "\n" == report, "text with forms: the noun lines are the report's")

tsv = run("--format", "tsv", "--forms", *corpus).stdout.decode()
rows = [line.split("\t") for line in tsv.splitlines()]
check(rows[0] == ["rank", "noun", "count", "sure count", "per million", "files", "forms"],
      f"tsv header {rows[0]}")
check({r[1]: int(r[2]) for r in rows[1:]} == nouns, "tsv noun counts equal the report's")
check(all(int(r[3]) <= int(r[2]) for r in rows[1:]), "sure counts never exceed counts")

csv_bytes = run("--format", "csv", "--order", "greek", *corpus).stdout
check(csv_bytes.startswith(b"\xef\xbb\xbf"), "csv starts with a byte-order mark")
table = list(csv.reader(io.StringIO(csv_bytes[3:].decode(), newline="")))
check({r[1]: int(r[2]) for r in table[1:]} == nouns, "csv noun counts equal the report's")

json_run = run("--format", "json", "--stats", *corpus)
document = json.loads(json_run.stdout.decode())
check({r["noun"]: r["count"] for r in document["rows"]} == nouns,
      "json noun counts equal the report's")
stats = document["statistics"]
check(f"tokens                      {stats['tokens']}\n" in json_run.stderr.decode(),
      "json statistics agree with --stats")
check(stats["noun_tokens"] <= stats["tokens"] and stats["sttr"] is not None, f"stats {stats}")

# Count files: A, then B, saved and added back.
a, b = corpus[:1], corpus[1:]
run("--save-counts", str(work / "a.counts"), *a)
run("--save-counts", str(work / "b.counts"), "--all-words", *b)
added = ["--add-counts", str(work / "a.counts"), "--add-counts", str(work / "b.counts")]
for options in ([], ["--all-words"], ["--by-frequency"], ["--format", "tsv", "--forms"],
                ["--format", "csv", "--all-words", "--order", "greek"], ["--ambiguous"],
                ["--forms", "--min-count", "3", "--top", "50"]):
    direct = run(*options, *corpus).stdout
    again = run(*options, *added).stdout
    check(direct == again, f"added counts differ from the text read directly with {options}")
direct = json.loads(run("--format", "json", *corpus).stdout)
again = json.loads(run("--format", "json", *added).stdout)
check(again["statistics"]["sttr"] is None, "count files carry no STTR")
for figures in (direct, again):
    del figures["statistics"]["sttr"], figures["statistics"]["sttr_windows"]
check(direct == again, "json of added counts equals the direct one but for the STTR")
# Text and count files mixed: the same again.
check(run(*b, "--add-counts", str(work / "a.counts")).stdout == run(*corpus).stdout,
      "a text file with a count file added")

broken = work / "broken.counts"
broken.write_bytes((work / "a.counts").read_bytes()[:-30])
refused = run("--add-counts", str(broken), expect=255)
check(b"Truncated count file (line " in refused.stderr and str(broken).encode() in refused.stderr,
      f"a truncated count file is refused: {refused.stderr!r}")
check(refused.stdout == b"", "nothing is written for a refused count file")

for failure in failures:
    print("FAIL:", failure)
print("results_test:", "failed" if failures else "passed")
sys.exit(1 if failures else 0)
