#!/usr/bin/env python3
"""tavro-mpi under mpirun against tavro-cli, on generated corpora.

Usage: mpirun_test.py TAVRO_CLI TAVRO_MPI DATA_DIR WORK_DIR (--ranks K | --errors)

--ranks K: with K ranks (oversubscribed), in every report mode (and with --capitals-accents), the report of
  several files (CR LF, capitals, NULs, a 1A byte, an empty file, a file named
  twice), of one big file that every rank reads a piece of (a 1A byte in it,
  lines longer than a rank's piece) and of the same in UTF-8 (malformed bytes
  in it, its encoding shown only after the first rank's piece) must be
  tavro-cli's, byte for byte, and so must the warnings;
  so must it with tiny messages and when written with -o.
--errors: on 3 ranks, an input file that cannot be opened, a missing lexicon
  and a usage error give every rank tavro-cli's exit status and rank 0 alone
  its message; so do a file and a lexicon that only some ranks' machines lack
  (ranks started in different folders), without a hang; "-" reads rank 0's
  standard input.

Each rank's standard output, standard error and exit status are caught apart
(mpirun adds notes of its own to its standard error). Exits with 77, which
CTest takes for a skip, when mpirun is not installed.
"""
import os
import random
import shutil
import subprocess
import sys
from pathlib import Path

SKIP = 77
MODES = [[], ["--by-frequency"], ["--all-words"], ["--all-words", "--by-frequency"],
         ["--capitals-accents"]]
TIMEOUT = 120  # seconds for one job: far more than it needs, less than a hang

# Runs the command after the folder, catching its output and status by rank.
CATCH = """#!/bin/sh
dir=$1; shift
rank=${OMPI_COMM_WORLD_RANK:-${PMI_RANK:-${SLURM_PROCID:-0}}}
"$@" >"$dir/out.$rank" 2>"$dir/err.$rank"
status=$?
echo $status >"$dir/status.$rank"
exit $status
"""


class Job:
    def __init__(self, work, cli, mpi, env):
        self.work, self.cli, self.mpi, self.env = work, cli, mpi, env
        self.catch = work / "catch.sh"
        self.catch.write_text(CATCH)
        self.catch.chmod(0o755)
        self.runs = 0
        self.failures = []

    def tavro_cli(self, args, cwd, stdin=None):
        done = subprocess.run([str(self.cli), *args], cwd=cwd, capture_output=True, check=False,
                              timeout=TIMEOUT, stdin=stdin)
        return done.returncode, done.stdout, done.stderr

    def mpirun(self, apps, stdin=None):
        """Runs `apps`, a list of (ranks, folder, tavro-mpi arguments); the
        (status, out, err) of every rank in rank order."""
        self.runs += 1
        caught = self.work / f"run{self.runs}"
        caught.mkdir()
        # Once a rank has ended with a status other than 0, mpirun would kill
        # the others, which may not have noted theirs yet.
        argv = ["mpirun", "--oversubscribe", "--mca", "orte_abort_on_non_zero_status", "0"]
        for i, (ranks, cwd, args) in enumerate(apps):
            argv += [":"] if i else []
            argv += ["-n", str(ranks), "-wdir", str(cwd), str(self.catch), str(caught),
                     str(self.mpi), *args]
        try:
            subprocess.run(argv, stdin=stdin or subprocess.DEVNULL, capture_output=True,
                           env=self.env, check=False, timeout=TIMEOUT)
        except subprocess.TimeoutExpired:
            return None
        ranks = sum(app[0] for app in apps)
        results = []
        for rank in range(ranks):
            status = caught / f"status.{rank}"
            results.append((int(status.read_text()) if status.exists() else None,
                            (caught / f"out.{rank}").read_bytes(),
                            (caught / f"err.{rank}").read_bytes()))
        return results

    def expect(self, what, results, status, out, err):
        """Every rank ended with `status`; rank 0 wrote `out` and `err`, the others nothing."""
        if results is None:
            self.failures.append(f"{what}: no end within {TIMEOUT} s")
            return
        for rank, (got_status, got_out, got_err) in enumerate(results):
            wanted = (status, out, err) if rank == 0 else (status, b"", b"")
            if (got_status, got_out, got_err) != wanted:
                self.failures.append(
                    f"{what}: rank {rank} ended with {got_status}, wrote {len(got_out)} bytes "
                    f"(wanted {len(wanted[1])}), said {got_err[:300]!r} (wanted {wanted[2]!r})")


def prose_lines(data):
    """The lines of the bundled sample corpus (cp1253)."""
    lines = []
    for path in sorted((data / "corpus").glob("*.txt")):
        lines += path.read_bytes().split(b"\n")
    return [line.rstrip(b"\r") for line in lines if line.strip()]


def make_text(rng, lines, count, long_every=0):
    """`count` lines of prose: CR LF or LF ends, some upper-cased, some with a NUL
    (the rest of such a line counts nowhere), and, every `long_every` lines, a
    line of 30 others joined without a line end."""
    out = []
    for i in range(count):
        line = rng.choice(lines)
        if long_every and i % long_every == long_every - 1:
            line = b" ".join(rng.choice(lines) for _ in range(30))
        if rng.random() < 0.1:
            line = line.decode("cp1253").upper().encode("cp1253", "replace")
        if rng.random() < 0.05:
            cut = rng.randrange(len(line) + 1)
            line = line[:cut] + b"\0" + line[cut:]
        out.append(line + (b"\r\n" if rng.random() < 0.3 else b"\n"))
    return b"".join(out)


def make_corpora(work, data):
    rng = random.Random(1253)
    lines = prose_lines(data)
    corpus = work / "corpus"
    corpus.mkdir()
    names = []
    for i, count in enumerate([300, 0, 40, 900, 3]):
        names.append(f"part{i}.txt")
        (corpus / names[-1]).write_bytes(make_text(rng, lines, count))
    ended = make_text(rng, lines, 200)
    (corpus / "ended.txt").write_bytes(ended[:len(ended) // 3] + b"\x1a" + ended[len(ended) // 3:])
    several = names[:3] + ["ended.txt"] + names[3:] + [names[0]]
    big = make_text(rng, lines, 4000, long_every=500)
    cut = len(big) * 2 // 5
    (corpus / "big.txt").write_bytes(big[:cut] + b"\x1a" + big[cut:])
    # The same in UTF-8, with a malformed byte now and then, behind 60 kB of ASCII
    # lines: its first rank's piece shows no encoding of its own.
    utf8 = b"ascii only\n" * 6000 + big.decode("cp1253", "replace").encode("utf-8")
    utf8 = b"\xc3 ".join(utf8[i:i + 50000] for i in range(0, len(utf8), 50000))
    (corpus / "big-utf8.txt").write_bytes(utf8)
    return corpus, {"several files": several, "one big file": ["big.txt"],
                    "one big UTF-8 file": ["big-utf8.txt"]}


def check_ranks(job, corpus, corpora, data_args, ranks):
    for name, files in corpora.items():
        for mode in MODES:
            args = [*data_args, *mode, *files]
            status, expected, warnings = job.tavro_cli(args, corpus)
            if status != 0:
                sys.exit(f"tavro-cli {args} failed with {status}")
            what = f"{name}, {' '.join(mode) or 'nouns'}, {ranks} ranks"
            warnings = warnings.replace(b"tavro-cli:", b"tavro-mpi:")
            job.expect(what, job.mpirun([(ranks, corpus, args)]), 0, expected, warnings)
            if mode == ["--all-words"]:
                job.expect(what + ", --round-bytes 64",
                           job.mpirun([(ranks, corpus, ["--round-bytes", "64", *args])]),
                           0, expected, warnings)
    out = job.work / "out.txt"
    _, expected, _ = job.tavro_cli([*data_args, *corpora["one big file"]], corpus)
    job.expect(f"-o, {ranks} ranks",
               job.mpirun([(ranks, corpus, [*data_args, "-o", str(out), "big.txt"])]), 0, b"", b"")
    if out.read_bytes() != expected:
        job.failures.append(f"-o, {ranks} ranks: the report written is not tavro-cli's")


def check_errors(job, corpus, data, data_args):
    for args in ([*data_args, "part0.txt", "missing.txt", "gone.txt"],
                 [*data_args, "part0.txt", str(corpus)],
                 ["--lexicon", "none.txt", "--conjugation", str(data / "conjugation.txt"),
                  "part0.txt"],
                 [*data_args, "--threads", "0", "part0.txt"],
                 [*data_args]):
        status, _, err = job.tavro_cli(args, corpus)
        err = err.replace(b"tavro-cli", b"tavro-mpi")
        job.expect(f"tavro-mpi {' '.join(args[4:])}", job.mpirun([(3, corpus, args)]), status,
                   b"", err)

    # mpirun itself ends with the ranks' status.
    args = [*data_args, "missing.txt"]
    done = subprocess.run(["mpirun", "--oversubscribe", "-n", "2", str(job.mpi), *args], cwd=corpus,
                          env=job.env, capture_output=True, check=False, timeout=TIMEOUT)
    if done.returncode != 255:
        job.failures.append(f"mpirun tavro-mpi missing.txt ended with {done.returncode}")

    # Two machines: rank 0's has every file; the other ranks' lack big.txt, or the lexicon.
    for lacking in ("big.txt", "finalList.txt"):
        first, other = job.work / f"first-{lacking}", job.work / f"other-{lacking}"
        for folder in (first, other):
            folder.mkdir()
            for name in ("finalList.txt", "conjugation.txt"):
                shutil.copy(data / name, folder)
            for name in ("part0.txt", "big.txt"):
                shutil.copy(corpus / name, folder)
        (other / lacking).unlink()
        args = ["part0.txt", "big.txt"]
        status, _, err = job.tavro_cli(args, other)
        job.expect(f"ranks 1 and 2 lack {lacking}",
                   job.mpirun([(1, first, args), (2, other, args)]), status, b"", err)

    _, expected, _ = job.tavro_cli([*data_args, "--all-words", "part3.txt", "part0.txt"], corpus)
    with open(corpus / "part3.txt", "rb") as stdin:
        job.expect("standard input", job.mpirun(
            [(3, corpus, [*data_args, "--all-words", "-", "part0.txt"])], stdin=stdin),
                   0, expected, b"")


def main():
    cli, mpi, data, work = (Path(a).resolve() for a in sys.argv[1:5])
    if not shutil.which("mpirun"):
        print("skipped: mpirun is not installed (apt-get install openmpi-bin)")
        return SKIP
    env = dict(os.environ)
    if os.geteuid() == 0:  # Open MPI refuses to run as root unless told twice
        env.update(OMPI_ALLOW_RUN_AS_ROOT="1", OMPI_ALLOW_RUN_AS_ROOT_CONFIRM="1")
    shutil.rmtree(work, ignore_errors=True)
    work.mkdir(parents=True)
    job = Job(work, cli, mpi, env)
    corpus, corpora = make_corpora(work, data)
    data_args = ["--lexicon", str(data / "finalList.txt"),
                 "--conjugation", str(data / "conjugation.txt")]
    if sys.argv[5] == "--ranks":
        check_ranks(job, corpus, corpora, data_args, int(sys.argv[6]))
    else:
        check_errors(job, corpus, data, data_args)
    for failure in job.failures:
        print(failure)
    print(f"{job.runs} jobs, {len(job.failures)} failures")
    return 1 if job.failures else 0


if __name__ == "__main__":
    sys.exit(main())
