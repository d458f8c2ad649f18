#!/usr/bin/env python3
"""Times tavro-cli against cat, wc -w and a tr | sort | uniq -c pipeline.

Builds (once, cached in --work-dir) the inputs of make_corpora.py, runs every
command --runs times on the same files with warm page cache, and prints per
input the median wall time, MB/s (10^6 bytes per second), the peak resident
memory (the largest process, as GNU time's %M reports it) and how many times
faster tavro-cli is than each of the other tools. Figures are printed, never
checked: the run ends with status 0 unless a command fails.
"""

import argparse
import hashlib
import json
import os
import platform
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


@dataclass
class Command:
    label: str
    threads: str  # "1", "all" or "-" for tools that have no such choice
    argv: list
    tool: str  # "cat", "wc", "pipeline" or "tavro"
    must_write: bool = False
    times: list = field(default_factory=list)
    peaks_kib: list = field(default_factory=list)
    output_lines: int = 0
    output_digest: str = ""

    def median(self):
        return statistics.median(self.times)


@dataclass
class Case:
    name: str
    title: str
    files: list
    light: bool = False  # fewer commands: the same text was timed in full elsewhere

    def size(self):
        return sum(os.path.getsize(f) for f in self.files)


def sh(argv):
    return subprocess.run(argv, capture_output=True, text=True, check=False).stdout.strip()


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
        f"tools         {sh(['wc', '--version']).splitlines()[0]}; "
        f"{sh(['sort', '--version']).splitlines()[0]}",
    ]


def supports_threads(cli):
    return "--threads" in sh([str(cli), "--help"])


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
    returns the list of files (in name order)."""
    stamp = directory / "stamp.json"
    wanted = generator_stamp(params)
    if stamp.is_file() and stamp.read_text(encoding="utf-8") == wanted:
        return sorted(str(p) for p in directory.glob("*.txt"))
    shutil.rmtree(directory, ignore_errors=True)
    directory.mkdir(parents=True)
    print(f"  making {directory.name} ...", flush=True)
    started = time.monotonic()
    build(directory)
    stamp.write_text(wanted, encoding="utf-8")
    print(f"  made {directory.name} in {time.monotonic() - started:.0f} s", flush=True)
    return sorted(str(p) for p in directory.glob("*.txt"))


def generate(shape, directory, *options):
    subprocess.run([sys.executable, str(HERE / "make_corpora.py"), shape, "--out",
                    str(directory), *map(str, options)], check=True, stdout=subprocess.DEVNULL)


def concatenate(sources, target, times=1):
    with open(target, "wb") as out:
        for _ in range(times):
            for source in sources:
                with open(source, "rb") as data:
                    shutil.copyfileobj(data, out, 16 * MIB)


def prepare_inputs(args, work):
    """The inputs to time (only those --only names) and the files of the tenfold
    prose (None when skipped); makes whatever is missing or out of date."""
    def wanted(name):
        return args.only is None or name in args.only

    common = {"size_mb": args.size_mb, "files": args.files, "source": str(args.source)}
    cases = []
    real = []
    if wanted("real") or wanted("real-single"):
        real = cached(work / "real", {"shape": "real", **common},
                      lambda d: generate("real", d, "--source", args.source, "--size-mb",
                                         args.size_mb, "--files", args.files))
    if wanted("real"):
        cases.append(Case("real", f"Greek prose, resampled, {len(real)} files", real))
    if wanted("real-single"):
        single = cached(work / "real-single", {"shape": "real-single", **common},
                        lambda d: concatenate(real, d / "real-all.txt"))
        cases.append(Case("real-single", "the same Greek prose as one file", single,
                          light=True))
    if wanted("vocab"):
        vocab = cached(work / "vocab", {"shape": "vocab", "vocabulary": args.vocabulary,
                                        **common},
                       lambda d: generate("vocab", d, "--source", args.source, "--size-mb",
                                          args.size_mb, "--files", args.files, "--vocabulary",
                                          args.vocabulary))
        cases.append(Case("vocab", f"large vocabulary ({args.vocabulary:,} words, Zipf), "
                          f"CR LF, {len(vocab)} files", vocab))
    if wanted("sorted"):
        words = cached(work / "sorted", {"shape": "sorted", "words": args.sorted_words},
                       lambda d: generate("sorted", d, "--words", args.sorted_words))
        cases.append(Case("sorted", f"{args.sorted_words:,} distinct words in sorted order, "
                          f"one a line", words))
    if wanted("hunspell") and Path(args.dic).is_file():
        forms = cached(work / "hunspell", {"shape": "hunspell", "dic": str(args.dic),
                                           "dic_size": os.path.getsize(args.dic)},
                       lambda d: generate("hunspell", d, "--dic", args.dic))
        cases.append(Case("hunspell", "Greek spell-checker word list (hunspell-el), cp1253",
                          forms))
    elif wanted("hunspell"):
        print(f"  {args.dic} not found: apt-get install hunspell-el to time it")
    big = None
    if wanted("real") and not args.skip_2gb:
        big = cached(work / "real-x10", {"shape": "real-x10", **common},
                     lambda d: [concatenate([f], d / Path(f).name, times=10) for f in real])
    return cases, big


def tavro_argv(args, lexicon, conjugation, options, threads):
    argv = [str(args.cli), "--lexicon", str(lexicon), "--conjugation", str(conjugation), *options]
    if threads == "1":
        argv += ["--threads", "1"]
    return argv


def commands_for(case, args, lexicon, conjugation, threads_ok):
    files = case.files
    quoted = " ".join(shlex.quote(f) for f in files)
    commands = [
        Command("cat", "-", ["cat", *files], "cat"),
        Command("LC_ALL=C wc -w", "-", ["env", "LC_ALL=C", "wc", "-w", *files], "wc"),
    ]
    if not case.light:
        pipeline = (f"set -o pipefail; cat {quoted} | LC_ALL=C tr -cs '{WORD_SET}' '\\n' | LC_ALL=C sort "
                    f"| LC_ALL=C uniq -c")
        commands.append(Command("tr | sort | uniq -c", "-", ["bash", "-c", pipeline],
                                "pipeline"))
    modes = REPORT_MODES[::2] if case.light else REPORT_MODES
    for label, options in modes:
        for threads in (["1", "all"] if threads_ok else ["all"]):
            argv = tavro_argv(args, lexicon, conjugation, options, threads) + files
            commands.append(Command(f"tavro-cli {label}", threads, argv, "tavro",
                                    must_write="--all-words" in options))
    return commands


def run_once(argv, output_path):
    """Runs argv with standard output into output_path (or /dev/null); returns the
    wall time in seconds and the peak resident memory in KiB of its largest process.

    The peak comes from GNU time: a child forked from this Python process would
    report Python's own resident size as its floor."""
    with tempfile.NamedTemporaryFile("r", suffix=".peak") as peak_file, \
            open(output_path or os.devnull, "wb") as out:
        timed = [GNU_TIME, "-f", "%M", "-o", peak_file.name, "--", *argv]
        started = time.perf_counter()
        finished = subprocess.run(timed, stdout=out, stderr=subprocess.PIPE, check=False)
        elapsed = time.perf_counter() - started
        peak_text = peak_file.read().split()
    if finished.returncode != 0:
        error = finished.stderr.decode("utf-8", "replace").strip()
        sys.exit(f"run_bench: {shlex.join(argv)[:300]} failed with status "
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
        keep = command.tool in ("tavro", "pipeline")
        for _ in range(runs):
            elapsed, peak = run_once(command.argv, output if keep else None)
            command.times.append(elapsed)
            command.peaks_kib.append(peak)
        if keep:
            command.output_lines = count_lines(output)
            command.output_digest = hashlib.sha256(output.read_bytes()).hexdigest()
            if command.must_write and command.output_lines == 0:
                sys.exit(f"run_bench: {command.label} wrote an empty report")
        print(f"    {command.label:<34} {command.threads:>3}  {command.median():8.3f} s",
              flush=True)


def thread_mismatches(commands):
    """The report modes whose report with one thread differs from the one with all cores."""
    by_mode = {}
    for c in commands:
        if c.tool == "tavro":
            by_mode.setdefault(c.label, set()).add(c.output_digest)
    return [label for label, digests in by_mode.items() if len(digests) > 1]


def ratio(tavro, other):
    return f"{other.median() / tavro.median():6.2f}x" if other else "     -"


def print_table(case, commands, runs):
    size = case.size()
    by_tool = {c.tool: c for c in commands if c.tool != "tavro"}
    print(f"\n== {case.name}: {case.title}; {size / MB:.1f} MB, median of {runs} ==")
    distinct = [c.output_lines for c in commands if c.tool == "tavro" and c.must_write]
    if distinct:
        print(f"distinct words (lines of the all-words report): {distinct[0]:,}")
    print(f"{'command':<34} {'thr':>3} {'median s':>9} {'min-max s':>15} {'MB/s':>8} "
          f"{'peak MiB':>9} {'vs cat':>7} {'vs wc':>7} {'vs pipe':>7} {'lines':>9}")
    for c in commands:
        spread = f"{min(c.times):.3f}-{max(c.times):.3f}"
        peak = max(c.peaks_kib) / 1024
        row = (f"{c.label:<34} {c.threads:>3} {c.median():9.3f} {spread:>15} "
               f"{size / MB / c.median():8.1f} {peak:9.1f}")
        if c.tool == "tavro":
            row += (f" {ratio(c, by_tool.get('cat')):>7} {ratio(c, by_tool.get('wc')):>7} "
                    f"{ratio(c, by_tool.get('pipeline')):>7} {c.output_lines:9,}")
        print(row, flush=True)
    if any(c.threads == "1" for c in commands):
        differing = thread_mismatches(commands)
        print("reports with one thread and all cores: " +
              (f"DIFFER for {', '.join(differing)}" if differing else "byte-identical"))


def find(results, case, label, threads):
    for c in results.get(case, []):
        if c.label == label and c.threads == threads:
            return c
    return None


def print_targets(results, memory, sorted_words):
    print("\n== targets (printed, not checked) ==")

    def versus(case, threads, tool, target):
        tavro = find(results, case, "tavro-cli nouns", threads)
        other = next((c for c in results.get(case, []) if c.tool == tool), None)
        if not tavro or not other:
            return "n/a (not measured)"
        x = other.median() / tavro.median()
        return f"{x:.2f}x (target >= {target}x) {'met' if x >= target else 'NOT met'}"

    print(f"real, noun report, all cores vs wc -w:     {versus('real', 'all', 'wc', 2.5)}")
    print(f"real, noun report, one thread vs wc -w:    {versus('real', '1', 'wc', 1.3)}")
    print(f"real, noun report, all cores vs pipeline:  {versus('real', 'all', 'pipeline', 20)}")
    print(f"vocab, noun report, all cores vs wc -w:    {versus('vocab', 'all', 'wc', 2)}")
    for label, _ in REPORT_MODES:
        c = find(results, "sorted", f"tavro-cli {label}", "all")
        if c:
            verdict = ("met" if c.median() < 3 else "NOT met") if sorted_words == 1_000_000 \
                else "(the target is for 1,000,000 words)"
            print(f"sorted words, {label + ', all cores:':<35} {c.median():.2f} s "
                  f"(target < 3 s) {verdict}")
    for label, small, big, small_mb, big_mb in memory:
        print(f"peak memory, {label + ', all cores:':<29} {small / 1024:.1f} MiB for "
              f"{small_mb:.0f} MB, {big / 1024:.1f} MiB for {big_mb:.0f} MB of the same text "
              f"({big / small:.2f}x)")


def measure_memory(args, lexicon, conjugation, real_case, big_files, results, work):
    """Peak memory of the same text at 1x and 10x; one run of the large one."""
    rows = []
    small_mb = real_case.size() / MB
    big_mb = sum(os.path.getsize(f) for f in big_files) / MB
    print(f"\n== memory: the real text at {small_mb:.0f} MB and {big_mb:.0f} MB "
          f"(one run of the larger) ==", flush=True)
    for label, options in (REPORT_MODES[0], REPORT_MODES[2]):
        small = find(results, "real", f"tavro-cli {label}", "all")
        warm(big_files)
        elapsed, peak = run_once(tavro_argv(args, lexicon, conjugation, options, "all")
                                 + big_files, work / "output.txt")
        print(f"    tavro-cli {label:<24} 10x text: {elapsed:8.2f} s, {peak / 1024:.1f} MiB",
              flush=True)
        rows.append((label, max(small.peaks_kib), peak, small_mb, big_mb))
    return rows


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--cli", type=Path, required=True, help="the tavro-cli to time")
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
    parser.add_argument("--runs", type=int, default=3)
    parser.add_argument("--skip-2gb", action="store_true",
                        help="do not make and count the 10x corpus (slow)")
    parser.add_argument("--only", nargs="*", default=None,
                        help="time only these inputs: real real-single vocab sorted hunspell")
    args = parser.parse_args()
    args.cli = args.cli.resolve()
    if not os.access(GNU_TIME, os.X_OK):
        sys.exit(f"run_bench: {GNU_TIME} (GNU time) is needed for peak memory: "
                 f"apt-get install time")
    work = args.work_dir.resolve()
    work.mkdir(parents=True, exist_ok=True)

    print("\n".join(machine_lines(args)))
    threads_ok = supports_threads(args.cli)
    if not threads_ok:
        print("note          tavro-cli --help names no --threads: timing its default only")
    lexicon, conjugation = data_files(args)
    print(f"data          --lexicon {lexicon} --conjugation {conjugation}")
    print("inputs (made once, kept in the work directory):", flush=True)
    cases, big_files = prepare_inputs(args, work)

    results = {}
    for case in cases:
        print(f"\n-- timing {case.name} ({case.size() / MB:.1f} MB) --", flush=True)
        warm(case.files)
        commands = commands_for(case, args, lexicon, conjugation, threads_ok)
        time_commands(commands, args.runs, work)
        results[case.name] = commands
        print_table(case, commands, args.runs)

    memory = []
    if big_files and "real" in results:
        real_case = next(c for c in cases if c.name == "real")
        memory = measure_memory(args, lexicon, conjugation, real_case, big_files, results, work)
    print_targets(results, memory, args.sorted_words)
    print(f"\nload average  {' '.join(f'{x:.2f}' for x in os.getloadavg())} at the end")


if __name__ == "__main__":
    main()
