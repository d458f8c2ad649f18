#!/usr/bin/env python3
"""Builds data/conjugation.txt (code page 1253) from data/conjugation.source.txt.

The source is UTF-8 with "#" comments; each remaining line becomes one line of
the table, its tokens joined by single spaces, LF line ends. Every token must be
lower-case Greek letters with at most one accent marker "-1" or "-2" at its end,
and every line needs an ending and at least one replacement, so that no line of
the generated table is silently dead.

  build_conjugation.py            write data/conjugation.txt
  build_conjugation.py --check    exit 1 when data/conjugation.txt differs from
                                  what the source gives (run by the tests)
"""
import argparse
import re
import sys
from pathlib import Path

DATA_DIR = Path(__file__).resolve().parent.parent
MAX_LINES = 150
GREEK_LOWER = "αβγδεζηθικλμνξοπρσςτυφχψωάέήίόύώϊϋΐΰ"
TOKEN = re.compile("^([" + GREEK_LOWER + "]*)(?:-([12]))?$")


class SourceError(Exception):
    pass


def table_lines(source_text):
    """The table's lines (str, tokens joined by one space) from the source text."""
    lines = []
    endings = {}
    for number, raw in enumerate(source_text.splitlines(), start=1):
        tokens = raw.split("#", 1)[0].split()
        if not tokens:
            continue
        where = f"conjugation.source.txt:{number}"
        if len(tokens) < 2:
            raise SourceError(f"{where}: an ending needs at least one replacement")
        for index, token in enumerate(tokens):
            match = TOKEN.match(token)
            if not match:
                raise SourceError(f"{where}: '{token}' is not lower-case Greek with an optional -1/-2")
            if index == 0 and (match.group(2) or not match.group(1)):
                raise SourceError(f"{where}: the inflected ending '{token}' takes no marker and is not empty")
        if len(set(tokens[1:])) != len(tokens) - 1:
            raise SourceError(f"{where}: a replacement is listed twice")
        if tokens[0] in endings:
            raise SourceError(f"{where}: ending '{tokens[0]}' already has line {endings[tokens[0]]}")
        endings[tokens[0]] = number
        lines.append(" ".join(tokens))
    if len(lines) > MAX_LINES:
        raise SourceError(f"{len(lines)} lines; the table is kept to {MAX_LINES}")
    return lines


def table_bytes(source_text):
    return "".join(line + "\n" for line in table_lines(source_text)).encode("cp1253")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true",
                        help="compare instead of writing; exit 1 on a difference")
    parser.add_argument("--source", type=Path, default=DATA_DIR / "conjugation.source.txt")
    parser.add_argument("--output", type=Path, default=DATA_DIR / "conjugation.txt")
    args = parser.parse_args()
    try:
        wanted = table_bytes(args.source.read_text(encoding="utf-8"))
    except (SourceError, UnicodeError) as error:
        print(f"build_conjugation: {error}", file=sys.stderr)
        return 1
    if args.check:
        present = args.output.read_bytes() if args.output.exists() else None
        if present != wanted:
            print(f"build_conjugation: {args.output} is not what {args.source.name} gives; "
                  "run data/tools/build_conjugation.py", file=sys.stderr)
            return 1
        return 0
    args.output.write_bytes(wanted)
    line_count = wanted.count(b"\n")
    print(f"build_conjugation: {line_count} lines written to {args.output}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
