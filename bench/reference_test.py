#!/usr/bin/env python3
"""The reference counter must print exactly what tavro-cli --all-words prints.

Runs both on the sample corpus and on small made-up inputs that hold what a word
counter gets wrong: NUL and 1A bytes, CR LF, capitals, every byte value, words
across read blocks and longer than a block, words that share their first eight
bytes, and enough distinct words to grow the table. The reference counter also
runs with small read blocks, so that every word boundary falls on a block edge in
some run. Times nothing.

Usage: reference_test.py TAVRO_CLI REFERENCE_COUNTER REPO_DIR WORK_DIR
"""

import random
import subprocess
import sys
from pathlib import Path

# Read sizes of the reference counter (None: its default); blocks of one byte only
# for inputs small enough to read a byte at a time quickly.
BLOCKS = [None, 7, 64]
SMALL = 100_000
NEWLINE = b"\n"


def capitals_and_folding():
    return [
        # Λογος λογος ΛΟΓΟΣ Λόγος λόγος ΆΈΉΊΌΎΏΪΫ άέήίόύώϊϋ, ASCII The the ABC abc
        b"\xcb\xef\xe3\xef\xf2 \xeb\xef\xe3\xef\xf2 \xcb\xcf\xc3\xcf\xd3 \xcb\xfc\xe3\xef\xf2 "
        b"\xeb\xfc\xe3\xef\xf2 \xa2\xb8\xb9\xba\xbc\xbe\xbf\xda\xdb "
        b"\xdc\xdd\xde\xdf\xfc\xfd\xfe\xfa\xfb The the ABC abc\n"
        # D2 folds to final sigma; C0 and E0 (the dialytika-tonos letters) stay
        b"\xd2\xd2 \xf2\xf2 \xc0\xe0 a_b abc123 \xc11 2003 \xf3'\xe1\xe3\xe1\xf0\xfe "
        b"\xe1-\xe2 \xe1\xab\xe2\xbb\xe3\n"
    ]


def every_byte_value():
    # Each byte alone, then inside a word: a word byte joins x and y, any other
    # byte splits them; a NUL drops the rest of its line. 1A comes last: it ends
    # the file, so the words after it must not count.
    lines = []
    for b in range(256):
        if b not in (0x0A, 0x1A):
            lines.append(bytes([b]) + b" x" + bytes([b]) + b"y z\n")
    return [b"".join(lines) + b"before\x1aafter\n"]


def nul_and_end_of_text():
    return [
        b"abc\x00def ghi\nxyz\x00\r\nnext\n\x00\nlast\x00",
        b"one two\x1athree\nfour\n",  # the next file is read in full
        b"a\x00b\x1ac\n",             # 1A ends the file even on a dropped line
        b"\x1a",
        b"after\n",
    ]


def line_ends():
    return [b"alpha\r\nbeta\rgamma\r\n\r\n\r\rdelta\n\r", b"", b" ,.;\r\n", b"no final line end"]


def shared_prefixes_and_long_words():
    head = b"\xe1\xe2\xe3\xe4\xe5\xe6\xe7\xe8"  # eight bytes every word below starts with
    words = [head, head + b"a", head + b"b", head + b"ab", head + b"\xe1", head + b"a" * 9,
             head + b"a" * 8 + b"b", head[:7], head[:7] + b"z", b"abcdefg", b"abcdefgh"]
    long_word = bytes(random.Random(1).choices(b"abc\xe1\xe2", k=1_200_000))
    return [b" ".join(words * 3) + b"\n", long_word + b" " + long_word + b"\n" + long_word,
            b"tail " + long_word[:1 << 20]]


def random_bytes():
    # Mostly Greek and ASCII letters, capitals among them, with every kind of separator,
    # NUL, 1A (rare: it ends a file) and CR LF.
    rng = random.Random(5)
    letters = bytes(range(0xC1, 0xFF)) + b"abcXYZ019_" + b"\xa2\xb8\xb9\xba\xbc\xbe\xbf"
    separators = b" \t,.;'-\r\xa0\xab\xbb\xff\x7f"
    files = []
    for _ in range(3):
        out = bytearray()
        while len(out) < 200_000:
            r = rng.random()
            if r < 0.80:
                out.append(rng.choice(letters[:12]) if rng.random() < 0.5 else rng.choice(letters))
            elif r < 0.96:
                out.append(rng.choice(separators))
            elif r < 0.98:
                out += b"\r\n"
            elif r < 0.99995:
                out += b"\n" if rng.random() < 0.5 else b"\x00"
            else:
                out += b"\x1a"
        files.append(bytes(out))
    return files


def many_words():
    # 60,000 distinct words in random order: the table grows many times.
    rng = random.Random(7)
    words = [f"w{i:x}".encode() + bytes([0xE1 + i % 24]) * (i % 11) for i in range(60_000)]
    tokens = words + rng.choices(words, k=100_000)
    rng.shuffle(tokens)
    return [b"\r\n".join(b" ".join(tokens[i:i + 9]) for i in range(0, len(tokens), 9))]


CASES = [
    ("capitals fold, ASCII and accents do not", capitals_and_folding),
    ("every byte value, alone and inside a word", every_byte_value),
    ("NUL ends its line, 1A ends its file", nul_and_end_of_text),
    ("CR LF, lone CR, empty and unterminated files", line_ends),
    ("words sharing eight bytes; words longer than a block", shared_prefixes_and_long_words),
    ("random bytes with NUL, 1A, CR LF and capitals", random_bytes),
    ("60,000 distinct words", many_words),
]


def run(argv):
    return subprocess.run(argv, capture_output=True, check=False)


def first_difference(expected, actual):
    a, b = expected.split(b"\n"), actual.split(b"\n")
    for i, (x, y) in enumerate(zip(a, b)):
        if x != y:
            return f"line {i + 1}: tavro-cli {x[:60]!r}, reference {y[:60]!r}"
    return f"tavro-cli {len(a) - 1} lines, reference {len(b) - 1} lines"


def main():
    cli, reference, repo, work = sys.argv[1], sys.argv[2], Path(sys.argv[3]), Path(sys.argv[4])
    work.mkdir(parents=True, exist_ok=True)
    tavro = [cli, "--lexicon", str(repo / "data" / "finalList.txt"),
             "--conjugation", str(repo / "data" / "conjugation.txt"), "--all-words"]
    inputs = [("the sample corpus", sorted(str(p) for p in (repo / "data" / "corpus").glob("*.txt")))]
    for number, (name, make) in enumerate(CASES, start=1):
        paths = []
        for index, data in enumerate(make(), start=1):
            path = work / f"case{number}-{index}.txt"
            path.write_bytes(data)
            paths.append(str(path))
        inputs.append((name, paths))

    failures = 0
    for name, paths in inputs:
        expected = run(tavro + paths)
        if expected.returncode != 0 or not expected.stdout:
            print(f"FAILED: {name}: tavro-cli status {expected.returncode}, "
                  f"{len(expected.stdout)} bytes: {expected.stderr.decode(errors='replace')}")
            failures += 1
            continue
        wrong = 0
        small = sum(Path(p).stat().st_size for p in paths) < SMALL
        for block in BLOCKS + [1] * small:
            options = [] if block is None else ["--block-bytes", str(block)]
            actual = run([reference, *options, *paths])
            if actual.returncode != 0 or actual.stdout != expected.stdout:
                print(f"FAILED: {name} (blocks of {block or 'the default size'}): status "
                      f"{actual.returncode}; {first_difference(expected.stdout, actual.stdout)}")
                wrong += 1
        if not wrong:
            print(f"ok: {name} ({expected.stdout.count(NEWLINE):,} distinct words)")
        failures += wrong

    missing = run([reference, str(work / "case1-1.txt"), str(work / "no-such-file.txt")])
    if missing.returncode == 0 or missing.stdout:
        print(f"FAILED: a missing file: status {missing.returncode}, "
              f"{len(missing.stdout)} bytes written")
        failures += 1
    else:
        print("ok: a missing file writes nothing and fails")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
