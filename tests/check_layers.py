#!/usr/bin/env python3
"""Fails when the engine's layering is broken.

The engine is free of Qt and of MPI, and its subsystems include each other only downwards:
platform, then corpus, then lexicon, then report, then document. A subsystem's
Qt dialogs (corpus/qt, lexicon/qt) may include Qt and their subsystem and what
lies below it. Tests beside the code may also include the shared test helpers
(tests/). The front ends (cli, app, mpi, evaluation, bench) stand on top.

Usage: check_layers.py REPOSITORY
"""
import re
import sys
from pathlib import Path

LAYERS = ["platform", "corpus", "lexicon", "report", "document"]
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]', re.MULTILINE)
QT_HEADER = re.compile(r"^Q[A-Z]|^Qt[A-Za-z]*/")
MPI_HEADER = re.compile(r"^mpi(\.h|cxx\.h|\.hpp)$|^openmpi/")


def layer_of(relative):
    return relative.parts[0] if relative.parts and relative.parts[0] in LAYERS else None


def problems_in(path, relative):
    layer = layer_of(relative)
    is_qt = len(relative.parts) > 2 and relative.parts[1] == "qt"
    is_test = path.stem.endswith("_test")
    rank = LAYERS.index(layer)
    for bracket, header in INCLUDE.findall(path.read_text(encoding="utf-8", errors="replace")):
        if bracket == "<":
            if QT_HEADER.match(header) and not is_qt:
                yield f"{relative}: includes the Qt header <{header}>"
            if MPI_HEADER.match(header):
                yield f"{relative}: includes the MPI header <{header}>"
            continue
        first = header.split("/")[0]
        if first == "tests" and is_test:
            continue
        if first in LAYERS:
            if LAYERS.index(first) > rank:
                yield f"{relative}: {layer} includes {header}, which lies above it"
            elif "/qt/" in header and not is_qt:
                yield f"{relative}: includes the Qt dialog {header}"
        else:
            yield f"{relative}: includes {header}, which is not part of the engine"


def main():
    root = Path(sys.argv[1]).resolve()
    problems = []
    checked = 0
    for layer in LAYERS:
        for path in sorted((root / layer).rglob("*")):
            if path.suffix in (".h", ".cpp"):
                checked += 1
                problems.extend(problems_in(path, path.relative_to(root)))
    for problem in problems:
        print(problem)
    print(f"{checked} engine files checked, {len(problems)} problems")
    return 1 if problems or checked == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
