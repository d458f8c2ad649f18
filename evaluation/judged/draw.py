#!/usr/bin/env python3
"""Draws the judged sample of noun credits from the Greek prose, or re-credits it.

The prose (data/sources/prose/*.txt, code page 1253) is cut into words as the
program cuts it (maximal runs of Greek letters, ASCII letters, digits and "_",
folded to Greek lower case). Only tokens with a Greek letter take part. Each
such token either credits at least one noun with the given data (stratum
"credited") or none ("uncredited"). With a fixed seed, CREDITED tokens are drawn
from the first stratum and UNCREDITED tokens from the second, uniformly and
without replacement, so each token stands for the same number of corpus tokens
of its stratum (the weight column). A credited token gives one row per credit
(repeats kept, as the program counts them); an uncredited token gives one row
with an empty noun. The context is the token's own paragraph cut to a few words
either side, the token marked [[so]], in its original case.

  draw.py draw --eval TAVRO_EVAL --lexicon L --conjugation C -o SAMPLE.tsv
      draw a new sample; verdict, lemma and reason are left empty for the judge;
      --seed, --credited and --uncredited draw another sample than the first one
      (seed 1253, 330 and 400 tokens), and check --as-drawn takes the same options
  draw.py recredit --eval TAVRO_EVAL --lexicon L --conjugation C SAMPLE.tsv -o NEW.tsv
      the same items with the credits of other data: a credit that the old file
      has keeps its verdict; a new one follows from the token's judgement (right
      when it is the token's lemma, context when the token was, wrong otherwise);
      each item keeps its stratum, weight, lemma and context, so the figures of
      both files are estimates for the same draw. --derive-nouns and
      --capitals-accents (here and for check) credit as tavro-cli's options do
  draw.py check --eval TAVRO_EVAL --lexicon L --conjugation C SAMPLE.tsv [--as-drawn]
      exit 1 unless every row is judged and each item holds the credits that this
      data gives; with --as-drawn, also unless the items are those a new draw with
      this data gives (the columns the judge fills are not compared); with
      --recredited, the file as recredit would write it is checked
"""
import argparse
import random
import subprocess
import sys
import tempfile
from pathlib import Path

REPO_DIR = Path(__file__).resolve().parent.parent.parent
PROSE_DIR = REPO_DIR / "data" / "sources" / "prose"
SEED = 1253
CREDITED = 330
UNCREDITED = 400
CONTEXT_WORDS = 8
COLUMNS = ["item", "stratum", "weight", "word", "noun", "verdict", "lemma", "reason", "source",
           "context"]
CREDIT_VERDICTS = {"right", "wrong", "context"}
TOKEN_VERDICTS = {"noun", "not-noun", "context"}


def fold_table():
    """Per byte: its folded byte when it belongs to a word, else None (as the program's tables)."""
    lower = list(range(256))
    for b in range(0xC1, 0xDA):
        lower[b] = b + 0x20
    for upper, low in ((0xA2, 0xDC), (0xB8, 0xDD), (0xB9, 0xDE), (0xBA, 0xDF), (0xBC, 0xFC),
                       (0xBE, 0xFD), (0xBF, 0xFE), (0xDA, 0xFA), (0xDB, 0xFB)):
        lower[upper] = low
    greek = set(range(0xE1, 0xFA)) | {0xDC, 0xDD, 0xDE, 0xDF, 0xFC, 0xFD, 0xFE, 0xFA, 0xFB, 0xE0,
                                     0xC0}
    table = [None] * 256
    for b in range(256):
        folded = lower[b]
        ascii_word = chr(folded).isascii() and (chr(folded).isalnum() or folded == ord("_"))
        if ascii_word or folded in greek:
            table[b] = folded
    return table, greek


FOLD, GREEK = fold_table()


def tokens_of(data):
    """(start, end, folded word) of every word of one file's bytes."""
    start = None
    for index, byte in enumerate(data):
        if FOLD[byte] is not None:
            if start is None:
                start = index
        elif start is not None:
            yield start, index, bytes(FOLD[b] for b in data[start:index])
            start = None
    if start is not None:
        yield start, len(data), bytes(FOLD[b] for b in data[start:])


def corpus_tokens():
    """[(file name, start, end, folded word)] of every Greek token of the prose, in file order."""
    found = []
    for path in sorted(PROSE_DIR.glob("*.txt")):
        data = path.read_bytes()
        for start, end, word in tokens_of(data):
            if any(b in GREEK for b in word):
                found.append((path.name, start, end, word))
    return found


def credits_of(words, args):
    """{folded word (cp1253 bytes): [credited nouns, UTF-8]} from tavro-eval --credits."""
    words = sorted(set(words))
    with tempfile.TemporaryDirectory() as tmp:
        listing = Path(tmp) / "words.txt"
        listing.write_bytes(b"".join(w + b"\n" for w in words))
        derive = (["--derive-nouns"] if args.derive_nouns else []) + \
            (["--capitals-accents"] if args.capitals_accents else [])
        output = subprocess.run([args.eval, "--lexicon", str(args.lexicon), "--conjugation",
                                 str(args.conjugation), "--credits", str(listing)] + derive,
                                capture_output=True, check=True).stdout.decode("utf-8")
    lines = output.splitlines()
    if len(lines) != len(words):
        raise SystemExit(f"draw: tavro-eval gave {len(lines)} lines for {len(words)} words")
    credits = {}
    for word, line in zip(words, lines):
        printed, nouns = line.split("\t")
        if printed != word.decode("cp1253"):
            raise SystemExit(f"draw: tavro-eval answered {printed} for {word.decode('cp1253')}")
        credits[word] = nouns.split()
    return credits


def context_of(name, start, end):
    """The token's paragraph cut to CONTEXT_WORDS words either side, the token in [[ ]]."""
    data = (PROSE_DIR / name).read_bytes()
    line_start = data.rfind(b"\n", 0, start) + 1
    line_end = data.find(b"\n", end)
    line_end = len(data) if line_end < 0 else line_end
    before = data[line_start:start].decode("cp1253").split()
    after = data[end:line_end].decode("cp1253").split()
    token = data[start:end].decode("cp1253")
    # The bytes right beside the token (punctuation, an apostrophe) stay with it.
    head = before.pop() if before and not data[start - 1:start].isspace() else ""
    tail = after.pop(0) if after and not data[end:end + 1].isspace() else ""
    left = " ".join(before[-CONTEXT_WORDS:])
    right = " ".join(after[:CONTEXT_WORDS])
    text = f"{left} {head}[[{token}]]{tail} {right}".strip()
    return text.replace("\t", " ")


def line_number(name, start):
    return (PROSE_DIR / name).read_bytes().count(b"\n", 0, start) + 1


def rows_of(item, stratum, weight, word, nouns, source, context, judged):
    """The rows of one item; `judged` maps a noun ("" for none) to its (verdict, reason)."""
    lemma = judged.get("lemma", "")
    if not nouns:
        verdict, reason = judged.get("", ("", ""))
        return [[str(item), stratum, weight, word, "", verdict, lemma, reason, source, context]]
    rows = []
    seen = {}
    for noun in nouns:
        seen[noun] = seen.get(noun, 0) + 1
        key = noun if seen[noun] == 1 else f"{noun}#{seen[noun]}"
        verdict, reason = judged.get(key, ("", ""))
        if not verdict and seen[noun] > 1:
            # A repeat adds one more count to a noun this token has already credited.
            verdict, reason = "wrong", "repeat"
        rows.append([str(item), stratum, weight, word, noun, verdict, lemma, reason, source,
                     context])
    return rows


def read_sample(path):
    """The rows of a sample file, as dicts, and their items in file order."""
    lines = Path(path).read_text(encoding="utf-8").splitlines()
    if not lines or lines[0].split("\t") != COLUMNS:
        raise SystemExit(f"{path}: the header must be: " + "\t".join(COLUMNS))
    rows = []
    for number, line in enumerate(lines[1:], start=2):
        fields = line.split("\t")
        if len(fields) != len(COLUMNS):
            raise SystemExit(f"{path}:{number}: {len(fields)} fields, not {len(COLUMNS)}")
        rows.append(dict(zip(COLUMNS, fields)))
    return rows


def write_sample(path, rows):
    text = "\t".join(COLUMNS) + "\n" + "".join("\t".join(row) + "\n" for row in rows)
    Path(path).write_text(text, encoding="utf-8")


def draw(args):
    tokens = corpus_tokens()
    credits = credits_of((t[3] for t in tokens), args)
    credited = [t for t in tokens if credits[t[3]]]
    uncredited = [t for t in tokens if not credits[t[3]]]
    rng = random.Random(args.seed)
    picks = [("credited", t, len(credited) / args.credited)
             for t in rng.sample(credited, args.credited)]
    picks += [("uncredited", t, len(uncredited) / args.uncredited)
              for t in rng.sample(uncredited, args.uncredited)]
    rows = []
    for item, (stratum, (name, start, end, word), weight) in enumerate(picks, start=1):
        source = f"{name}:{line_number(name, start)}"
        rows += rows_of(item, stratum, f"{weight:.4f}", word.decode("cp1253"), credits[word],
                        source, context_of(name, start, end), {})
    return rows


def recredit(args, rows):
    words = {row["word"].encode("cp1253") for row in rows}
    credits = credits_of(words, args)
    out = []
    for item_rows in group_items(rows):
        first = item_rows[0]
        judged = {"lemma": first["lemma"]}
        seen = {}
        for row in item_rows:
            noun = row["noun"]
            seen[noun] = seen.get(noun, 0) + 1
            key = noun if seen[noun] == 1 else f"{noun}#{seen[noun]}"
            judged[key] = (row["verdict"], row["reason"])
        token = token_judgement(item_rows)
        judged.setdefault("", (token, ""))
        # A credit the old file lacks follows from the token's judgement: its
        # lemma, if it has one, is the one right credit.
        for noun in credits[first["word"].encode("cp1253")]:
            if noun not in judged:
                judged[noun] = new_credit_verdict(noun, token, first["lemma"])
        out += rows_of(first["item"], first["stratum"], first["weight"], first["word"],
                       credits[first["word"].encode("cp1253")], first["source"],
                       first["context"], judged)
    return out


def token_judgement(item_rows):
    """noun, not-noun or context: what the judge said of the token of these rows."""
    if any(row["verdict"] == "context" for row in item_rows):
        return "context"
    return "noun" if item_rows[0]["lemma"] else "not-noun"


def new_credit_verdict(noun, token, lemma):
    """(verdict, reason) of a credit that the judged file does not have."""
    if token == "context":
        return "context", ""
    if noun == lemma:
        return "right", ""
    return "wrong", "not a noun" if token == "not-noun" else "wrong noun"


def group_items(rows):
    items = {}
    for row in rows:
        items.setdefault(row["item"], []).append(row)
    return list(items.values())


def nouns_by_item(rows):
    found = {}
    for row in rows:
        found.setdefault(row["item"], []).extend([row["noun"]] if row["noun"] else [])
    return found


def check(args, rows):
    problems = []
    fresh = [dict(zip(COLUMNS, row)) for row in recredit(args, rows)]
    if args.as_drawn:
        drawn = [dict(zip(COLUMNS, row)) for row in draw(args)]
        fixed = [c for c in COLUMNS if c not in ("verdict", "lemma", "reason")]
        if [[r[c] for c in fixed] for r in drawn] != [[r[c] for c in fixed] for r in rows]:
            problems.append("the items are not those that a new draw with this data gives")
    wanted, present = nouns_by_item(fresh), nouns_by_item(rows)
    for item in wanted:
        if wanted[item] != present.get(item):
            problems.append(f"item {item}: this data credits {' '.join(wanted[item]) or 'nothing'}, "
                            f"the file {' '.join(present.get(item, [])) or 'nothing'}")
    for row in rows:
        allowed = CREDIT_VERDICTS if row["noun"] else TOKEN_VERDICTS
        if row["verdict"] not in allowed:
            problems.append(f"item {row['item']}: verdict '{row['verdict']}' is not one of "
                            + "/".join(sorted(allowed)))
        if row["verdict"] == "wrong" and not row["reason"]:
            problems.append(f"item {row['item']}: a wrong credit needs a reason")
        if row["verdict"] == "right" and row["lemma"] != row["noun"]:
            problems.append(f"item {row['item']}: a right credit must be the token's lemma")
        if row["verdict"] == "noun" and not row["lemma"]:
            problems.append(f"item {row['item']}: a noun token needs its lemma")
    for line in problems:
        print(f"draw check: {line}", file=sys.stderr)
    return 1 if problems else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("mode", choices=["draw", "recredit", "check"])
    parser.add_argument("sample", nargs="?", help="the sample file (recredit, check)")
    parser.add_argument("--eval", required=True, help="the tavro-eval program")
    parser.add_argument("--lexicon", required=True)
    parser.add_argument("--conjugation", required=True)
    parser.add_argument("-o", "--output")
    parser.add_argument("--seed", type=int, default=SEED)
    parser.add_argument("--credited", type=int, default=CREDITED,
                        help="tokens drawn from the credited stratum")
    parser.add_argument("--uncredited", type=int, default=UNCREDITED,
                        help="tokens drawn from the uncredited stratum")
    parser.add_argument("--derive-nouns", action="store_true",
                        help="credit the nouns made from words as tavro-cli --derive-nouns does")
    parser.add_argument("--capitals-accents", action="store_true",
                        help="credit words as tavro-cli --capitals-accents does")
    parser.add_argument("--recredited", action="store_true",
                        help="check: the file as recredit with these options writes it")
    parser.add_argument("--as-drawn", action="store_true",
                        help="check: also require the items of a new draw with this data")
    args = parser.parse_intermixed_args()
    if args.mode == "draw":
        write_sample(args.output, draw(args))
        return 0
    if not args.sample:
        parser.error(f"{args.mode} needs the sample file")
    rows = read_sample(args.sample)
    if args.mode == "check":
        if args.recredited:
            rows = [dict(zip(COLUMNS, row)) for row in recredit(args, rows)]
        return check(args, rows)
    write_sample(args.output, recredit(args, rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())
