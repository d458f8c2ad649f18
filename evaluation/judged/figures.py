#!/usr/bin/env python3
"""Precision and token recall of noun credits from a judged sample file.

Each row of the file is one credit of a sampled token (or, for a token that
credits nothing, one row with an empty noun); the rows of one token share its
item number and its weight, the number of corpus tokens the token stands for.

  precision = sum of weights of right credits / sum of weights of right and wrong
              credits (rows judged "context" are left out)
  recall    = sum of weights of noun tokens with a right credit / sum of weights
              of noun tokens (tokens whose lemma is not empty; tokens that the
              context cannot decide are left out)

Each figure comes with a 95% Wilson interval whose sample size is the effective
size of the weighted rows, (sum w)^2 / sum w^2; with one weight for all rows it
is the plain Wilson interval.

  figures.py SAMPLE.tsv [SAMPLE.tsv ...]     print the figures of each file
  figures.py --pooled SAMPLE.tsv ...         and then those of the files together

Each file's weights estimate the token counts of the whole corpus, so the rows of
several independent draws, weights as they are, estimate the mean of their
estimates: pooling narrows the intervals. Pool only draws of distinct tokens (not
a file and its re-credited copy).
"""
import math
import sys
from pathlib import Path

Z = 1.959964


def wilson(share, n):
    if n <= 0:
        return 0.0, 0.0
    centre = (share + Z * Z / (2 * n)) / (1 + Z * Z / n)
    half = Z * math.sqrt(share * (1 - share) / n + Z * Z / (4 * n * n)) / (1 + Z * Z / n)
    return centre - half, centre + half


def weighted(pairs):
    """(share, effective n, count) of (weight, hit) pairs."""
    total = sum(w for w, _ in pairs)
    if total == 0:
        return 0.0, 0.0, 0
    share = sum(w for w, hit in pairs if hit) / total
    return share, total * total / sum(w * w for w, _ in pairs), len(pairs)


def read_rows(path):
    lines = Path(path).read_text(encoding="utf-8").splitlines()
    header = lines[0].split("\t")
    return [dict(zip(header, line.split("\t"))) for line in lines[1:] if line]


def figures(rows):
    credits = [(float(r["weight"]), r["verdict"] == "right") for r in rows
               if r["noun"] and r["verdict"] in ("right", "wrong")]
    tokens = {}
    for r in rows:
        token = tokens.setdefault(r["item"], {"weight": float(r["weight"]), "lemma": r["lemma"],
                                               "right": False, "undecided": False})
        token["right"] |= r["verdict"] == "right"
        token["undecided"] |= r["verdict"] == "context" and not r["lemma"]
    nouns = [(t["weight"], t["right"]) for t in tokens.values() if t["lemma"] and not t["undecided"]]
    wrong_reasons = {}
    for r in rows:
        if r["verdict"] == "wrong":
            kind = r["reason"].split(":")[0].split(" (")[0]
            wrong_reasons[kind] = wrong_reasons.get(kind, 0) + 1
    missed = sum(1 for t in tokens.values() if t["lemma"] and not t["right"])
    return weighted(credits), weighted(nouns), wrong_reasons, missed, len(tokens)


def pooled_rows(paths):
    """The rows of every file, their item numbers made distinct across files."""
    rows = []
    for number, path in enumerate(paths):
        rows += [dict(row, item=f"{number}:{row['item']}") for row in read_rows(path)]
    return rows


def main(args):
    if args[0] in ("-h", "--help"):
        print(__doc__)
        return 0
    pooled = args[0] == "--pooled"
    paths = args[1:] if pooled else args
    if not paths:
        sys.exit(__doc__)
    samples = [(path, read_rows(path)) for path in paths]
    if pooled:
        samples.append((f"pooled ({len(paths)} files)", pooled_rows(paths)))
    for path, rows in samples:
        (precision, p_n, p_count), (recall, r_n, r_count), reasons, missed, items = \
            figures(rows)
        low, high = wilson(precision, p_n)
        r_low, r_high = wilson(recall, r_n)
        print(f"{path}: {items} tokens")
        print(f"  precision {precision:7.2%}  95% Wilson {low:.2%} to {high:.2%}"
              f"  ({p_count} judged credits, effective n {p_n:.0f})")
        print(f"  recall    {recall:7.2%}  95% Wilson {r_low:.2%} to {r_high:.2%}"
              f"  ({r_count} noun tokens, {missed} without a right credit, effective n {r_n:.0f})")
        print("  wrong credits by reason: "
              + ", ".join(f"{kind} {count}" for kind, count in sorted(reasons.items(),
                                                                      key=lambda kv: -kv[1])))
    return 0


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    sys.exit(main(sys.argv[1:]))
