#!/usr/bin/env python3
"""Times tavro-cli against cat, wc -w, a tr | sort | uniq -c pipeline and the
reference counter, and runs the benchmark's special cases.

Builds (once, cached in --work-dir) the inputs of make_corpora.py, runs every
command --runs times on the same files with warm page cache, and prints per
input the median wall time, MB/s (10^6 bytes per second), the peak resident
memory (the largest process, as GNU time's %M reports it), how many times
faster tavro-cli is than each of the other tools, and its time per distinct
word. Figures are printed, never checked: the run ends with status 0 unless a
command fails (a command with an option found in tavro-cli --help, or of
tavro-mpi, is reported as failed and left out instead).

Cases, each selectable with --only NAME (all of them by default):
  real real-single vocab vocab-1m vocab-5m sorted hunspell
                 one table each: cat, wc -w, the pipeline, the reference counter
                 and tavro-cli's report modes
  utf8           the real text converted to UTF-8, with --encoding utf-8 and auto,
                 beside the cp1253 original (when tavro-cli has --encoding)
  options        the noun report with every analysis option tavro-cli has
                 (--forms --ambiguous --stats --format tsv) beside the plain one
  mpi            mpirun -n 4 tavro-mpi beside tavro-cli on real and real-x10
                 (when both exist), with tavro-mpi's phases
  threads-curve  tavro-cli --threads 1, 2, 4, ... and the speed-up over 1 thread
  vocab-sweep    the same size with 10k to 5M distinct words: time per distinct word
  reader         the block reader alone on the real text, beside read() and memcpy
                 of the same bytes (tavro_reader_bench, beside --cli)
--threads-curve and --vocab-sweep are short for --only threads-curve, vocab-sweep.
"""

import argparse
import hashlib
import json
import os
import platform
import re
import shlex
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass, field
from pathlib import Path

HERE = Path(__file__).resolve().parent
MB = 1_000_000
MIB = 1024 * 1024
GNU_TIME = "/usr/bin/time"

# The program's word bytes as a tr set: 30-39 41-5A 5F 61-7A A2 B8-BA BC BE-FE.
WORD_SET = r"\060-\071\101-\132\137\141-\172\242\270-\272\274\276-\376"

REPORT_MODES = [
    ("nouns", []),
    ("nouns by frequency", ["--by-frequency"]),
    ("all words", ["--all-words"]),
    ("all words by frequency", ["--all-words", "--by-frequency"]),
]
NOUNS, ALL_WORDS = REPORT_MODES[0], REPORT_MODES[2]

MAIN_CASES = ["real", "real-single", "vocab", "vocab-1m", "vocab-5m", "sorted", "hunspell"]
SPECIAL_CASES = ["utf8", "options", "mpi", "threads-curve", "vocab-sweep", "reader"]
DISTINCT_CASES = {"vocab-1m": 1_000_000, "vocab-5m": 5_000_000}
ANALYSIS_OPTIONS = ["--forms", "--ambiguous", "--stats"]
OMPI_ROOT = {"OMPI_ALLOW_RUN_AS_ROOT": "1", "OMPI_ALLOW_RUN_AS_ROOT_CONFIRM": "1"}


@dataclass
class Command:
    label: str
    threads: str  # "1", "all", a number, or "-" for tools that have no such choice
    argv: list
    tool: str  # "cat", "wc", "pipeline", "reference", "mpi" or "tavro"
    must_write: bool = False
    optional: bool = False  # a failure is reported and the command left out
    env: dict = None
    cwd: str = None
    keep_output: bool = False  # keep the report's bytes in `output`
    times: list = field(default_factory=list)
    peaks_kib: list = field(default_factory=list)
    output_lines: int = 0
    output_digest: str = ""
    output: bytes = b""
    failure: str = ""

    def median(self):
        return statistics.median(self.times)

    def ok(self):
        return not self.failure and bool(self.times)


@dataclass
class Case:
    name: str
    title: str
    files: list
    light: bool = False  # fewer commands: the same text was timed in full elsewhere

    def size(self):
        return sum(os.path.getsize(f) for f in self.files)


class CommandFailed(Exception):
    pass


def sh(argv, **options):
    return subprocess.run(argv, capture_output=True, text=True, check=False,
                          **options).stdout.strip()


def short_count(n):
    """10000 -> 10k, 1000000 -> 1m (the names of the distinct-word inputs)."""
    for divisor, suffix in ((1_000_000, "m"), (1_000, "k")):
        if n % divisor == 0:
            return f"{n // divisor}{suffix}"
    return str(n)


def machine_lines(args):
    cpu = "unknown"
    mem_kib = 0
    with open("/proc/cpuinfo", encoding="utf-8") as info:
        for line in info:
            if line.startswith("model name"):
                cpu = line.split(":", 1)[1].strip()
                break
    with open("/proc/meminfo", encoding="utf-8") as info:
        for line in info:
            if line.startswith("MemTotal:"):
                mem_kib = int(line.split()[1])
    commit = sh(["git", "-C", str(args.repo), "describe", "--always", "--dirty"]) or "?"
    return [
        f"date          {time.strftime('%Y-%m-%d %H:%M:%S %Z')}",
        f"machine       {os.cpu_count()} cores (nproc {sh(['nproc'])}), {cpu}, "
        f"{mem_kib / MIB:.1f} GiB memory, {platform.system()} {platform.release()}",
        f"load average  {' '.join(f'{x:.2f}' for x in os.getloadavg())} (1, 5, 15 min) at start",
        f"tavro-cli     {args.cli} ({sh([str(args.cli), '--version'])}, source {commit})",
        f"reference     {args.reference or 'not found (build tavro_reference_counter or pass --reference)'}",
        f"tools         {sh(['wc', '--version']).splitlines()[0]}; "
        f"{sh(['sort', '--version']).splitlines()[0]}",
    ]


class Help:
    """What a program's --help says: its option names and each option's entry."""

    def __init__(self, text):
        self.text = text
        self.options = set(re.findall(r"(?<![\w-])(--[a-z][a-z0-9-]*)", text))

    def has(self, option):
        return option in self.options

    def entry(self, option):
        """The lines of the help that describe `option`: its own line and the more
        deeply indented lines after it."""
        lines = self.text.splitlines()
        for i, line in enumerate(lines):
            if re.match(rf"\s*(-\w, )?{re.escape(option)}\b", line):
                indent = len(line) - len(line.lstrip())
                entry = [line]
                for more in lines[i + 1:]:
                    if not more.strip() or len(more) - len(more.lstrip()) <= indent:
                        break
                    entry.append(more)
                return "\n".join(entry)
        return ""


def data_files(args):
    """The lexicon and inflection table, as absolute paths (tavro-cli runs anywhere)."""
    for path in (args.lexicon, args.conjugation):
        if not Path(path).is_file():
            sys.exit(f"run_bench: {path} not found (see --lexicon and --conjugation)")
    return Path(args.lexicon).resolve(), Path(args.conjugation).resolve()


def generator_stamp(params):
    digest = hashlib.sha256((HERE / "make_corpora.py").read_bytes()).hexdigest()[:16]
    return json.dumps({"generator": digest, **params}, sort_keys=True)


def cached(directory, params, build):
    """Runs build(directory) unless directory holds files made with the same params;
    returns the list of files (in name order), or the reason build gave for making
    none (kept too, so the next run does not try again)."""
    stamp = directory / "stamp.json"
    unfit = directory / "unfit.txt"
    wanted = generator_stamp(params)
    if stamp.is_file() and stamp.read_text(encoding="utf-8") == wanted:
        if unfit.is_file():
            return unfit.read_text(encoding="utf-8")
        return sorted(str(p) for p in directory.glob("*.txt"))
    shutil.rmtree(directory, ignore_errors=True)
    directory.mkdir(parents=True)
    print(f"  making {directory.name} ...", flush=True)
    started = time.monotonic()
    reason = build(directory)
    if reason:
        unfit.write_text(reason, encoding="utf-8")
        print(f"  not made {directory.name}: {reason}", flush=True)
    else:
        print(f"  made {directory.name} in {time.monotonic() - started:.0f} s", flush=True)
    stamp.write_text(wanted, encoding="utf-8")
    return reason or sorted(str(p) for p in directory.glob("*.txt"))


def generate(shape, directory, *options):
    """Runs make_corpora.py; returns its message when it says the input cannot be
    made at this size (status 3), None when it made it."""
    done = subprocess.run([sys.executable, str(HERE / "make_corpora.py"), shape, "--out",
                           str(directory), *map(str, options)], stdout=subprocess.DEVNULL,
                          stderr=subprocess.PIPE, text=True, check=False)
    if done.returncode == 3:
        return done.stderr.strip().removeprefix("make_corpora: ")
    if done.returncode != 0:
        sys.exit(f"run_bench: make_corpora.py {shape} failed: {done.stderr.strip()}")
    return None


def concatenate(sources, target, times=1):
    with open(target, "wb") as out:
        for _ in range(times):
            for source in sources:
                with open(source, "rb") as data:
                    shutil.copyfileobj(data, out, 16 * MIB)


class Inputs:
    """The benchmark's inputs, each made on first use (or found in the cache)."""

    def __init__(self, args, work):
        self.args = args
        self.work = work
        self.common = {"size_mb": args.size_mb, "files": args.files, "source": str(args.source)}
        self.made = {}

    def once(self, key, make):
        if key not in self.made:
            self.made[key] = make()
        return self.made[key]

    def real(self):
        a = self.args
        return self.once("real", lambda: cached(
            self.work / "real", {"shape": "real", **self.common},
            lambda d: generate("real", d, "--source", a.source, "--size-mb", a.size_mb,
                               "--files", a.files)))

    def real_single(self):
        return self.once("real-single", lambda: cached(
            self.work / "real-single", {"shape": "real-single", **self.common},
            lambda d: concatenate(self.real(), d / "real-all.txt")))

    def real_x10(self):
        def build(directory):
            for f in self.real():
                concatenate([f], directory / Path(f).name, times=10)

        return self.once("real-x10", lambda: cached(
            self.work / "real-x10", {"shape": "real-x10", **self.common}, build))

    def utf8(self):
        def build(directory):
            self.real()  # made first: it is what is converted
            return generate("utf8", directory, "--from", self.work / "real")

        return self.once("real-utf8", lambda: cached(
            self.work / "real-utf8", {"shape": "real-utf8", **self.common}, build))

    def vocab(self):
        a = self.args
        return self.once("vocab", lambda: cached(
            self.work / "vocab", {"shape": "vocab", "vocabulary": a.vocabulary, **self.common},
            lambda d: generate("vocab", d, "--source", a.source, "--size-mb", a.size_mb,
                               "--files", a.files, "--vocabulary", a.vocabulary)))

    def distinct(self, words):
        """Files with exactly `words` distinct words, or why they cannot be made."""
        a = self.args
        name = f"distinct-{short_count(words)}"
        return self.once(name, lambda: cached(
            self.work / name, {"shape": "distinct", "vocabulary": words, **self.common},
            lambda d: generate("distinct", d, "--source", a.source, "--size-mb", a.size_mb,
                               "--files", a.files, "--vocabulary", words)))

    def sorted_words(self):
        a = self.args
        return self.once("sorted", lambda: cached(
            self.work / "sorted", {"shape": "sorted", "words": a.sorted_words},
            lambda d: generate("sorted", d, "--words", a.sorted_words)))

    def hunspell(self):
        a = self.args
        if not Path(a.dic).is_file():
            return f"{a.dic} not found: apt-get install hunspell-el to time it"
        return self.once("hunspell", lambda: cached(
            self.work / "hunspell", {"shape": "hunspell", "dic": str(a.dic),
                                     "dic_size": os.path.getsize(a.dic)},
            lambda d: generate("hunspell", d, "--dic", a.dic)))


def main_case(name, inputs, args):
    """The Case of one main input, or the reason it cannot be timed."""
    if name == "real":
        files = inputs.real()
        title = f"Greek prose, resampled, {len(files)} files"
    elif name == "real-single":
        return Case(name, "the same Greek prose as one file", inputs.real_single(), light=True)
    elif name == "vocab":
        files = inputs.vocab()
        title = (f"large vocabulary ({args.vocabulary:,} words, Zipf), CR LF, "
                 f"{len(files)} files")
    elif name in DISTINCT_CASES:
        words = DISTINCT_CASES[name]
        files = inputs.distinct(words)
        if isinstance(files, str):
            return files
        title = (f"exactly {words:,} distinct words (Zipf, each at least once), CR LF, "
                 f"{len(files)} files")
    elif name == "sorted":
        files = inputs.sorted_words()
        title = f"{args.sorted_words:,} distinct words in sorted order, one a line"
    else:
        files = inputs.hunspell()
        if isinstance(files, str):
            return files
        title = "Greek spell-checker word list (hunspell-el), cp1253"
    return Case(name, title, files)


def tavro_argv(bench, options, threads="all"):
    argv = [str(bench.args.cli), "--lexicon", str(bench.lexicon), "--conjugation",
            str(bench.conjugation), *options]
    if threads != "all":
        argv += ["--threads", str(threads)]
    return argv


def reference_command(bench, files):
    return Command("reference counter", "-", [str(bench.args.reference), *files], "reference")


def commands_for(case, bench):
    files = case.files
    quoted = " ".join(shlex.quote(f) for f in files)
    commands = [
        Command("cat", "-", ["cat", *files], "cat"),
        Command("LC_ALL=C wc -w", "-", ["env", "LC_ALL=C", "wc", "-w", *files], "wc"),
    ]
    if not case.light:
        pipeline = (f"set -o pipefail; cat {quoted} | LC_ALL=C tr -cs '{WORD_SET}' '\\n' "
                    f"| LC_ALL=C sort | LC_ALL=C uniq -c")
        commands.append(Command("tr | sort | uniq -c", "-", ["bash", "-c", pipeline],
                                "pipeline"))
    if bench.args.reference:
        commands.append(reference_command(bench, files))
    modes = REPORT_MODES[::2] if case.light else REPORT_MODES
    for label, options in modes:
        for threads in (["1", "all"] if bench.threads_ok else ["all"]):
            commands.append(Command(f"tavro-cli {label}", threads,
                                    tavro_argv(bench, options, threads) + files, "tavro",
                                    must_write="--all-words" in options))
    return commands


def run_once(command, output_path):
    """Runs the command with standard output into output_path (or /dev/null);
    returns the wall time in seconds and the peak resident memory in KiB of its
    largest process. Raises CommandFailed when it fails.

    The peak comes from GNU time: a child forked from this Python process would
    report Python's own resident size as its floor."""
    env = {**os.environ, **command.env} if command.env else None
    with tempfile.NamedTemporaryFile("r", suffix=".peak") as peak_file, \
            open(output_path or os.devnull, "wb") as out:
        timed = [GNU_TIME, "-f", "%M", "-o", peak_file.name, "--", *command.argv]
        started = time.perf_counter()
        finished = subprocess.run(timed, stdout=out, stderr=subprocess.PIPE, env=env,
                                  cwd=command.cwd, check=False)
        elapsed = time.perf_counter() - started
        peak_text = peak_file.read().split()
    if finished.returncode != 0:
        error = finished.stderr.decode("utf-8", "replace").strip()
        raise CommandFailed(f"{shlex.join(command.argv)[:300]} failed with status "
                            f"{finished.returncode}: {error[:500]}")
    return elapsed, int(peak_text[-1])


def warm(files):
    for f in files:
        with open(f, "rb") as data:
            while data.read(16 * MIB):
                pass


def count_lines(path):
    with open(path, "rb") as data:
        return sum(chunk.count(b"\n") for chunk in iter(lambda: data.read(16 * MIB), b""))


def time_commands(commands, runs, work):
    output = work / "output.txt"
    for command in commands:
        keep = command.tool in ("tavro", "pipeline", "reference", "mpi")
        try:
            for _ in range(runs):
                elapsed, peak = run_once(command, output if keep else None)
                command.times.append(elapsed)
                command.peaks_kib.append(peak)
        except CommandFailed as failed:
            if not command.optional:
                sys.exit(f"run_bench: {failed}")
            command.failure = str(failed)
            print(f"    {command.label:<46} {command.threads:>3}  failed: {failed}", flush=True)
            continue
        if keep:
            command.output_lines = count_lines(output)
            command.output_digest = hashlib.sha256(output.read_bytes()).hexdigest()
            if command.keep_output:
                command.output = output.read_bytes()
            if command.must_write and command.output_lines == 0:
                sys.exit(f"run_bench: {command.label} wrote an empty report")
        print(f"    {command.label:<46} {command.threads:>3}  {command.median():8.3f} s",
              flush=True)


def thread_mismatches(commands):
    """The report modes whose report with one thread differs from the one with all cores."""
    by_mode = {}
    for c in commands:
        if c.tool == "tavro" and c.ok():
            by_mode.setdefault(c.label, set()).add(c.output_digest)
    return [label for label, digests in by_mode.items() if len(digests) > 1]


def ratio(tavro, other):
    return f"{other.median() / tavro.median():6.2f}x" if other and other.ok() else "     -"


def distinct_words(commands):
    """The number of distinct words of an input: the lines of its all-words report."""
    for c in commands:
        if c.ok() and (c.tool == "reference" or (c.tool == "tavro" and c.must_write)):
            return c.output_lines
    return 0


def ns_per_word(command, distinct):
    return f"{command.median() * 1e9 / distinct:8.0f}" if distinct else "       -"


def print_table(case, commands, runs):
    size = case.size()
    by_tool = {c.tool: c for c in commands if c.tool != "tavro"}
    distinct = distinct_words(commands)
    print(f"\n== {case.name}: {case.title}; {size / MB:.1f} MB, median of {runs} ==")
    if distinct:
        print(f"distinct words (lines of the all-words report): {distinct:,}")
    print(f"{'command':<34} {'thr':>3} {'median s':>9} {'min-max s':>15} {'MB/s':>8} "
          f"{'peak MiB':>9} {'vs cat':>7} {'vs wc':>7} {'vs pipe':>7} {'vs ref':>7} "
          f"{'ns/word':>8} {'lines':>9}")
    for c in commands:
        if not c.ok():
            continue
        spread = f"{min(c.times):.3f}-{max(c.times):.3f}"
        peak = max(c.peaks_kib) / 1024
        row = (f"{c.label:<34} {c.threads:>3} {c.median():9.3f} {spread:>15} "
               f"{size / MB / c.median():8.1f} {peak:9.1f}")
        if c.tool == "tavro":
            row += (f" {ratio(c, by_tool.get('cat')):>7} {ratio(c, by_tool.get('wc')):>7} "
                    f"{ratio(c, by_tool.get('pipeline')):>7} "
                    f"{ratio(c, by_tool.get('reference')):>7} {ns_per_word(c, distinct)} "
                    f"{c.output_lines:9,}")
        elif c.tool == "reference":
            row += f" {'':>7} {'':>7} {'':>7} {'':>7} {ns_per_word(c, distinct)} {c.output_lines:9,}"
        print(row, flush=True)
    if any(c.threads == "1" for c in commands):
        differing = thread_mismatches(commands)
        print("reports with one thread and all cores: " +
              (f"DIFFER for {', '.join(differing)}" if differing else "byte-identical"))
    reference = by_tool.get("reference")
    all_words = [c for c in commands if c.tool == "tavro" and c.label == "tavro-cli all words"
                 and c.ok()]
    if reference and reference.ok() and all_words:
        same = all(c.output_digest == reference.output_digest for c in all_words)
        print("reference counter and tavro-cli --all-words: " +
              ("byte-identical" if same else "reports DIFFER"))


def find(results, case, label, threads):
    for c in results.get(case, []):
        if c.label == label and c.threads == threads and c.ok():
            return c
    return None


def measure_memory(bench, real_case, big_files):
    """Peak memory of the same text at 1x and 10x; one run of the large one."""
    rows = []
    small_mb = real_case.size() / MB
    big_mb = sum(os.path.getsize(f) for f in big_files) / MB
    print(f"\n== memory: the real text at {small_mb:.0f} MB and {big_mb:.0f} MB "
          f"(one run of the larger) ==", flush=True)
    for label, options in (NOUNS, ALL_WORDS):
        small = find(bench.results, "real", f"tavro-cli {label}", "all")
        warm(big_files)
        command = Command(f"tavro-cli {label}", "all", tavro_argv(bench, options) + big_files,
                          "tavro")
        try:
            elapsed, peak = run_once(command, bench.work / "output.txt")
        except CommandFailed as failed:
            sys.exit(f"run_bench: {failed}")
        print(f"    tavro-cli {label:<24} 10x text: {elapsed:8.2f} s, {peak / 1024:.1f} MiB",
              flush=True)
        rows.append((label, max(small.peaks_kib), peak, small_mb, big_mb))
    return rows


def print_small_table(title, rows, columns):
    """rows: lists of cells, already formatted; columns: (heading, width) pairs, the
    first left-aligned."""
    print(f"\n== {title} ==")
    print(" ".join(f"{h:<{w}}" if i == 0 else f"{h:>{w}}" for i, (h, w) in enumerate(columns)))
    for row in rows:
        print(" ".join(f"{cell:<{w}}" if i == 0 else f"{cell:>{w}}"
                       for i, (cell, (_, w)) in enumerate(zip(row, columns))), flush=True)


def timed_row(label, command, size):
    if not command.ok():
        return [label, "failed", "", "", ""]
    return [label, f"{command.median():.3f}", f"{min(command.times):.3f}-{max(command.times):.3f}",
            f"{size / MB / command.median():.1f}", f"{max(command.peaks_kib) / 1024:.1f}"]


TIMED_COLUMNS = [("command", 52), ("median s", 9), ("min-max s", 15), ("MB/s", 8),
                 ("peak MiB", 9)]


def run_utf8(bench):
    """The real text in UTF-8 with --encoding utf-8 (and auto) beside the cp1253 original."""
    print("\n-- utf8: the real text in UTF-8 beside cp1253 --", flush=True)
    if not bench.help.has("--encoding"):
        print("skipped: tavro-cli has no --encoding")
        return
    real, utf8 = bench.inputs.real(), bench.inputs.utf8()
    auto = "auto" in bench.help.entry("--encoding")
    cp1253 = Command("tavro-cli nouns, cp1253 text", "all", tavro_argv(bench, []) + real,
                     "tavro", keep_output=True)
    runs = [(cp1253, real),
            (Command("tavro-cli nouns --encoding utf-8, UTF-8 text", "all",
                     tavro_argv(bench, ["--encoding", "utf-8"]) + utf8, "tavro", optional=True),
             utf8)]
    if auto:
        runs += [(Command("tavro-cli nouns --encoding auto, UTF-8 text", "all",
                          tavro_argv(bench, ["--encoding", "auto"]) + utf8, "tavro",
                          optional=True), utf8),
                 (Command("tavro-cli nouns --encoding auto, cp1253 text", "all",
                          tavro_argv(bench, ["--encoding", "auto"]) + real, "tavro",
                          optional=True), real)]
    for _, files in runs:
        warm(files)
    time_commands([c for c, _ in runs], bench.args.runs, bench.work)
    cp_size = sum(os.path.getsize(f) for f in real)
    converted = hashlib.sha256(
        cp1253.output.decode("cp1253", "replace").encode("utf-8")).hexdigest()
    rows = []
    for command, files in runs:
        size = sum(os.path.getsize(f) for f in files)
        row = timed_row(command.label, command, size)
        if command.ok() and command is not cp1253:
            same_text = cp1253.median() / command.median()
            same_bytes = (size / command.median()) / (cp_size / cp1253.median())
            report = ("same" if command.output_digest == cp1253.output_digest else
                      "same in UTF-8" if command.output_digest == converted else "DIFFERS")
            row += [f"{same_text:.2f}", f"{same_bytes:.2f}", report]
        rows.append(row)
    if not auto:
        print("note: tavro-cli --help does not mention --encoding auto; timed utf-8 only")
    print_small_table(f"utf8: the real text, {cp_size / MB:.1f} MB in cp1253, "
                      f"{sum(os.path.getsize(f) for f in utf8) / MB:.1f} MB in UTF-8; "
                      f"median of {bench.args.runs}; all cores",
                      rows, TIMED_COLUMNS + [("text/s", 7), ("bytes/s", 8), ("report", 14)])
    print("text/s: the cp1253 run's time over this run's (the same text per second); "
          "bytes/s: input bytes per second over the cp1253 run's; report: against the "
          "cp1253 run's")
    bench.results["utf8"] = [c for c, _ in runs]


def run_options(bench):
    """The noun report with every analysis option beside the plain noun report."""
    print("\n-- options: the noun report with the analysis options --", flush=True)
    present = [o for o in ANALYSIS_OPTIONS if bench.help.has(o)]
    tsv = bench.help.has("--format") and "tsv" in bench.help.entry("--format")
    if not present and not tsv:
        print("skipped: tavro-cli has no --forms, --ambiguous, --stats or --format tsv")
        return
    missing = [o for o in ANALYSIS_OPTIONS if o not in present] + ([] if tsv else ["--format tsv"])
    if missing:
        print(f"note: tavro-cli --help names no {', '.join(missing)}: left out")
    each = [[o] for o in present] + ([["--format", "tsv"]] if tsv else [])
    # --ambiguous lists other rows than the nouns, so it runs alone; the analysis
    # it shows is made by the others too.
    everything = [word for option in each if option != ["--ambiguous"] for word in option]
    for name in ("real", "vocab-1m"):
        case = main_case(name, bench.inputs, bench.args)
        if isinstance(case, str):
            print(f"{name}: skipped: {case}")
            continue
        plain = Command("tavro-cli nouns", "all", tavro_argv(bench, []) + case.files, "tavro")
        combined = Command(f"tavro-cli nouns {' '.join(everything)}", "all",
                           tavro_argv(bench, everything) + case.files, "tavro", optional=True)
        alone = [Command(f"tavro-cli nouns {' '.join(o)}", "all",
                         tavro_argv(bench, o) + case.files, "tavro", optional=True)
                 for o in each] if len(each) > 1 else []
        commands = [plain, combined, *alone]
        warm(case.files)
        time_commands(commands, bench.args.runs, bench.work)
        size = case.size()
        rows = []
        for c in commands:
            row = timed_row(c.label, c, size)
            if c.ok() and c is not plain:
                row.append(f"{c.median() / plain.median():.2f}x")
            rows.append(row)
        print_small_table(f"options: {name}, {size / MB:.1f} MB; median of {bench.args.runs}; "
                          f"all cores", rows, TIMED_COLUMNS + [("vs plain", 9)])
        bench.results[f"options:{name}"] = commands
    print("vs plain: this run's time over the plain noun report's (above 1 means slower)")


def run_reader(bench):
    """The block reader alone on the real text (tavro_reader_bench's own figures)."""
    print("\n-- reader: the block reader alone, on the calling thread --", flush=True)
    tool = bench.args.cli.parent / "tavro_reader_bench"
    case = main_case("real", bench.inputs, bench.args)
    if not tool.is_file():
        print(f"skipped: no {tool} (build tavro_reader_bench)")
        return
    if isinstance(case, str):
        print(f"skipped: {case}")
        return
    warm(case.files)
    print(sh([str(tool), "--runs", str(max(bench.args.runs, 3)), *map(str, case.files)]))


def mpi_phases(command, mpi):
    """Rank 0's phases in one more run of an mpirun command with --timings (when
    tavro-mpi has it): "timing PHASE SECONDS" lines, or a note why there are none."""
    at = command.argv.index(str(mpi)) + 1
    argv = command.argv[:at] + ["--timings"] + command.argv[at:]
    try:
        done = subprocess.run(argv, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True,
                              env={**os.environ, **(command.env or {})}, cwd=command.cwd,
                              check=False, timeout=3600)
    except subprocess.TimeoutExpired:
        return ["no phases: the run with --timings did not end"]
    lines = [line for line in done.stderr.splitlines() if line.startswith("timing ")]
    return lines or [f"no phases: the run with --timings ended with status {done.returncode}"]


def run_mpi(bench):
    """mpirun -n RANKS tavro-mpi beside tavro-cli on the real text, and on its tenfold
    copy (2 GB at the default size) unless --skip-2gb."""
    print("\n-- mpi: tavro-mpi under mpirun beside tavro-cli --", flush=True)
    mpi = Path(bench.args.mpi) if bench.args.mpi else bench.args.cli.parent / "tavro-mpi"
    if not mpi.is_file():
        print(f"skipped: no {mpi}")
        return
    if not shutil.which("mpirun"):
        print("skipped: mpirun is not installed (apt-get install openmpi-bin)")
        return
    env = dict(OMPI_ROOT) if os.geteuid() == 0 else {}
    ranks = str(bench.args.mpi_ranks)
    try:
        help_text = sh([str(mpi), "--help"], env={**os.environ, **env}, timeout=60)
    except subprocess.TimeoutExpired:
        help_text = ""
    data = []
    cwd = None
    if "--lexicon" in help_text:
        data = ["--lexicon", str(bench.lexicon), "--conjugation", str(bench.conjugation)]
    else:  # it reads the data files of the current directory, as tavro-cli does by default
        cwd = str(bench.lexicon.parent)
        print(f"note: tavro-mpi --help names no --lexicon: run in {cwd}")
    inputs = [("real", bench.inputs.real())]
    if not bench.args.skip_2gb:
        inputs.append(("real-x10", bench.inputs.real_x10()))
    for name, files in inputs:
        commands = [
            Command("tavro-cli nouns", "all", tavro_argv(bench, []) + files, "tavro"),
            Command(f"mpirun --oversubscribe -n {ranks} tavro-mpi", ranks,
                    ["mpirun", "--oversubscribe", "-n", ranks, str(mpi), *data, *files], "mpi",
                    optional=True, env=env, cwd=cwd),
        ]
        warm(files)
        time_commands(commands, bench.args.runs, bench.work)
        size = sum(os.path.getsize(f) for f in files)
        rows = [timed_row(c.label, c, size) for c in commands]
        cli, mpirun = commands
        if mpirun.ok():
            rows[1] += [f"{cli.median() / mpirun.median():.2f}x",
                        "same" if mpirun.output_digest == cli.output_digest else "DIFFERS"]
        print_small_table(f"mpi: {name}, {size / MB:.1f} MB; median of {bench.args.runs}", rows,
                          TIMED_COLUMNS + [("vs cli", 7), ("report", 8)])
        if mpirun.ok() and "--timings" in help_text:
            print("tavro-mpi rank 0, one run with --timings: " +
                  ", ".join(line.removeprefix("timing ") for line in mpi_phases(mpirun, mpi)))
        bench.results["mpi" if name == "real" else f"mpi {name}"] = commands
    print("vs cli: tavro-cli's time over this run's (above 1 means tavro-mpi is faster); "
          "report: against tavro-cli's; communication: rank 0's seconds in MPI calls, "
          "waiting for the other ranks included")


def thread_counts():
    """1, 2, 4, ... up to the number of cores and at least to 8, and that number."""
    cores = os.cpu_count() or 1
    counts = {1 << k for k in range(9) if 1 << k <= max(cores, 8)} | {min(cores, 256)}
    return sorted(counts)


def run_threads_curve(bench):
    print("\n-- threads-curve: tavro-cli --threads N --", flush=True)
    if not bench.threads_ok:
        print("skipped: tavro-cli has no --threads")
        return
    for name in ("real", "vocab-1m"):
        case = main_case(name, bench.inputs, bench.args)
        if isinstance(case, str):
            print(f"{name}: skipped: {case}")
            continue
        commands = [Command(f"tavro-cli nouns --threads {n}", str(n),
                            tavro_argv(bench, [], n) + case.files, "tavro")
                    for n in thread_counts()]
        warm(case.files)
        time_commands(commands, bench.args.runs, bench.work)
        size = case.size()
        one = commands[0].median()
        rows = [[c.threads, f"{c.median():.3f}", f"{min(c.times):.3f}-{max(c.times):.3f}",
                 f"{size / MB / c.median():.1f}", f"{max(c.peaks_kib) / 1024:.1f}",
                 f"{one / c.median():.2f}x"] for c in commands]
        print_small_table(f"threads-curve: {name}, noun report, {size / MB:.1f} MB; median of "
                          f"{bench.args.runs}; {os.cpu_count()} cores", rows,
                          [("threads", 8), ("median s", 9), ("min-max s", 15), ("MB/s", 8),
                           ("peak MiB", 9), ("speed-up", 9)])
        differing = [c.threads for c in commands if c.output_digest != commands[0].output_digest]
        print("reports for every thread count: " +
              (f"DIFFER from one thread's with {', '.join(differing)} threads" if differing
               else "byte-identical"))
        bench.results[f"threads-curve:{name}"] = commands


def run_vocab_sweep(bench):
    """The same size with more and more distinct words: time per distinct word."""
    print("\n-- vocab-sweep: the same size, 10k to 5M distinct words --", flush=True)
    real = Case("real", "Greek prose", bench.inputs.real())
    cases = [real]
    for words in bench.args.sweep_words:
        files = bench.inputs.distinct(words)
        if isinstance(files, str):
            print(f"distinct-{short_count(words)}: skipped: {files}")
            continue
        cases.append(Case(f"distinct-{short_count(words)}", "", files))
    rows = []
    per_byte = {}  # label -> seconds per byte of the real text
    for case in cases:
        commands = [Command("tavro-cli nouns", "all", tavro_argv(bench, []) + case.files, "tavro"),
                    Command("tavro-cli all words", "all",
                            tavro_argv(bench, ALL_WORDS[1]) + case.files, "tavro",
                            must_write=True)]
        if bench.args.reference:
            commands.append(reference_command(bench, case.files))
        print(f"  {case.name}:", flush=True)
        warm(case.files)
        time_commands(commands, bench.args.runs, bench.work)
        size = case.size()
        distinct = distinct_words(commands)
        for c in commands:
            if case is real:
                per_byte[c.label] = c.median() / size
            above = (c.median() - per_byte[c.label] * size) * 1e9 / distinct
            rows.append([case.name, f"{distinct:,}", c.label, f"{c.median():.3f}",
                         f"{size / MB / c.median():.1f}", f"{max(c.peaks_kib) / 1024:.1f}",
                         f"{c.median() * 1e9 / distinct:.0f}", f"{round(above)}"])
        bench.results[f"vocab-sweep:{case.name}"] = commands
    print_small_table(f"vocab-sweep: {bench.args.size_mb:g} MB in {bench.args.files} files; "
                      f"median of {bench.args.runs}; all cores",
                      rows, [("input", 13), ("distinct", 10), ("command", 20), ("median s", 9),
                             ("MB/s", 8), ("peak MiB", 9), ("ns/word", 8), ("above real", 11)])
    print("ns/word: the run's wall time per distinct word; above real: the same after taking "
          "off what the size costs at the real text's time per byte (the same command)")


def print_targets(bench, memory):
    """One line per target whose figures this run measured."""
    results = bench.results
    lines = []

    def versus(title, case, threads, tool, target, label="tavro-cli nouns"):
        tavro = find(results, case, label, threads)
        other = next((c for c in results.get(case, []) if c.tool == tool and c.ok()), None)
        if tavro and other:
            x = other.median() / tavro.median()
            lines.append(f"{title:<44} {x:.2f}x (target >= {target}x) "
                         f"{'met' if x >= target else 'NOT met'}")

    versus("real, noun report, all cores vs wc -w:", "real", "all", "wc", 3)
    versus("real, noun report, one thread vs wc -w:", "real", "1", "wc", 1.3)
    versus("real, noun report, all cores vs pipeline:", "real", "all", "pipeline", 20)
    versus("vocab, noun report, all cores vs wc -w:", "vocab", "all", "wc", 2)
    for name in DISTINCT_CASES:
        versus(f"{name}, all words, all cores vs reference:", name, "all", "reference", 1.5,
               "tavro-cli all words")
    for label, _ in REPORT_MODES:
        c = find(results, "sorted", f"tavro-cli {label}", "all")
        if c:
            verdict = ("met" if c.median() < 3 else "NOT met") \
                if bench.args.sorted_words == 1_000_000 else "(the target is for 1,000,000 words)"
            lines.append(f"sorted words, {label + ', all cores:':<35} {c.median():.2f} s "
                         f"(target < 3 s) {verdict}")
    for label, small, big, small_mb, big_mb in memory:
        lines.append(f"peak memory, {label + ', all cores:':<29} {small / 1024:.1f} MiB for "
                     f"{small_mb:.0f} MB, {big / 1024:.1f} MiB for {big_mb:.0f} MB of the same "
                     f"text ({big / small:.2f}x)")
    utf8 = results.get("utf8", [])
    if len(utf8) > 1 and utf8[0].ok() and utf8[1].ok():
        x = utf8[0].median() / utf8[1].median()
        lines.append(f"utf8, --encoding utf-8 vs cp1253, the same text per second: {x:.2f} "
                     f"(target >= 0.8) {'met' if x >= 0.8 else 'NOT met'}")
    for key in ("options:real", "options:vocab-1m"):
        commands = results.get(key)
        if commands and commands[1].ok():
            x = commands[1].median() / commands[0].median()
            lines.append(f"{key}, every option vs the plain noun report: {x:.2f}x "
                         f"(target <= 1.3x) {'met' if x <= 1.3 else 'NOT met'}")
    for key in ("mpi", "mpi real-x10"):
        mpi = results.get(key)
        if mpi and mpi[1].ok():
            lines.append(f"{key}, tavro-cli time over mpirun tavro-mpi time: "
                         f"{mpi[0].median() / mpi[1].median():.2f}x (no target)")
    print("\n== targets (printed, not checked) ==")
    print("\n".join(lines) if lines else "no target's figures were measured in this run")


@dataclass
class Bench:
    args: argparse.Namespace
    work: Path
    lexicon: Path
    conjugation: Path
    help: Help
    threads_ok: bool
    inputs: Inputs
    results: dict = field(default_factory=dict)


def find_reference(args):
    if args.reference:
        return args.reference.resolve()
    beside = args.cli.parent / "tavro_reference_counter"
    return beside if beside.is_file() else None


def main():
    parser = argparse.ArgumentParser(description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--cli", type=Path, required=True, help="the tavro-cli to time")
    parser.add_argument("--reference", type=Path,
                        help="the reference counter (default: tavro_reference_counter beside "
                             "--cli)")
    parser.add_argument("--mpi", help="the tavro-mpi to time (default: beside --cli)")
    parser.add_argument("--mpi-ranks", type=int, default=4)
    parser.add_argument("--repo", type=Path, default=HERE.parent)
    parser.add_argument("--work-dir", type=Path, default=HERE.parent / "build-bench" / "bench-data")
    parser.add_argument("--lexicon", default=str(HERE.parent / "data" / "finalList.txt"))
    parser.add_argument("--conjugation", default=str(HERE.parent / "data" / "conjugation.txt"))
    parser.add_argument("--source", type=Path,
                        default=HERE.parent / "data" / "sources" / "prose",
                        help="the Greek prose the real corpus is made of (default: the "
                             "repository's data/sources/prose)")
    parser.add_argument("--dic", default="/usr/share/hunspell/el_GR.dic",
                        help="the word list of the Debian package hunspell-el")
    parser.add_argument("--size-mb", type=float, default=200)
    parser.add_argument("--files", type=int, default=8)
    parser.add_argument("--vocabulary", type=int, default=400_000)
    parser.add_argument("--sorted-words", type=int, default=1_000_000)
    parser.add_argument("--sweep-words", default="10000,100000,1000000,5000000",
                        help="distinct words of the vocab-sweep inputs, comma-separated")
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--skip-2gb", action="store_true",
                        help="do not make and count the 10x corpus (slow)")
    parser.add_argument("--only", nargs="*", default=None, metavar="NAME",
                        choices=MAIN_CASES + SPECIAL_CASES,
                        help="run only these cases: " + " ".join(MAIN_CASES + SPECIAL_CASES))
    parser.add_argument("--threads-curve", action="store_true",
                        help="run the threads-curve case (alone unless --only names more)")
    parser.add_argument("--vocab-sweep", action="store_true",
                        help="run the vocab-sweep case (alone unless --only names more)")
    args = parser.parse_args()
    args.cli = args.cli.resolve()
    args.reference = find_reference(args)
    args.sweep_words = [int(n) for n in args.sweep_words.split(",") if n]
    selected = set(args.only or [])
    selected |= {"threads-curve"} if args.threads_curve else set()
    selected |= {"vocab-sweep"} if args.vocab_sweep else set()
    if args.only is None and not selected:
        selected = set(MAIN_CASES + SPECIAL_CASES)
    if not os.access(GNU_TIME, os.X_OK):
        sys.exit(f"run_bench: {GNU_TIME} (GNU time) is needed for peak memory: "
                 f"apt-get install time")
    work = args.work_dir.resolve()
    work.mkdir(parents=True, exist_ok=True)

    print("\n".join(machine_lines(args)))
    help_text = Help(sh([str(args.cli), "--help"]))
    threads_ok = help_text.has("--threads")
    if not threads_ok:
        print("note          tavro-cli --help names no --threads: timing its default only")
    lexicon, conjugation = data_files(args)
    print(f"data          --lexicon {lexicon} --conjugation {conjugation}")
    print(f"cases         {' '.join(n for n in MAIN_CASES + SPECIAL_CASES if n in selected)}")
    print("inputs (made once, kept in the work directory):", flush=True)
    bench = Bench(args, work, lexicon, conjugation, help_text, threads_ok, Inputs(args, work))

    real_case = None
    for name in MAIN_CASES:
        if name not in selected:
            continue
        case = main_case(name, bench.inputs, args)
        if isinstance(case, str):
            print(f"\n-- {name}: skipped: {case}")
            continue
        real_case = case if name == "real" else real_case
        print(f"\n-- timing {case.name} ({case.size() / MB:.1f} MB) --", flush=True)
        warm(case.files)
        commands = commands_for(case, bench)
        time_commands(commands, args.runs, work)
        bench.results[case.name] = commands
        print_table(case, commands, args.runs)

    memory = []
    if real_case and not args.skip_2gb:
        memory = measure_memory(bench, real_case, bench.inputs.real_x10())
    for name, run in (("utf8", run_utf8), ("options", run_options), ("mpi", run_mpi),
                      ("threads-curve", run_threads_curve), ("vocab-sweep", run_vocab_sweep),
                      ("reader", run_reader)):
        if name in selected:
            run(bench)
    print_targets(bench, memory)
    print(f"\nload average  {' '.join(f'{x:.2f}' for x in os.getloadavg())} at the end")


if __name__ == "__main__":
    main()
