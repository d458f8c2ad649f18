#!/usr/bin/env python3
"""Builds data/finalList.txt, the noun lexicon, from its sources.

Sources: the FreeDict noun list kept in the repository
(data/sources/nouns-freedict.cp1253.txt), the noun headwords of the sixteen
FreeDict Modern Greek dictionaries of Debian (packages dict-freedict-ell-*, read
from /usr/share/dictd; the build stops and names the packages to install when
one is missing) and the nouns of data/nouns-added.txt. A headword counts as a noun when its part-of-speech tag is
<n> (proper nouns, <pn>, are left out). Every noun is lower-cased with Greek
rules (accents and diaeresis kept, the micro sign read as mu) and kept only when
it is a single word of Greek letters that code page 1253 can hold. The entries
of data/lexicon-removed.tsv are then taken out. The result is written in code
page 1253, sorted by byte value, without duplicates, LF line ends; the build log
with the package versions goes to data/lexicon-build.txt and the dictionaries'
own licence notices to data/lexicon-notices.txt.

  build_lexicon.py                     rebuild finalList.txt and the log
  build_lexicon.py --check             exit 1 when finalList.txt differs from a rebuild
  build_lexicon.py --review TAVRO_EVAL list the nouns that the function words of
                                       data/function-words.txt credit (with the table
                                       data/conjugation.txt) and that neither
                                       lexicon-removed.tsv nor lexicon-kept.tsv
                                       holds yet, as lines for the removal list
"""
import argparse
import gzip
import re
import subprocess
import sys
import tempfile
from pathlib import Path

DATA_DIR = Path(__file__).resolve().parent.parent
REPO_DIR = DATA_DIR.parent
DICT_DIR = Path("/usr/share/dictd")
SOURCE_LIST = DATA_DIR / "sources" / "nouns-freedict.cp1253.txt"
# Every dictionary of the build: a build from fewer would give another lexicon.
DICT_NAMES = [f"freedict-ell-{lang}" for lang in (
    "bul", "eng", "fin", "fra", "ind", "ita", "jpn", "lat", "lit", "nld", "nor", "pol", "por",
    "rus", "spa", "swe")]
B64 = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/"
GREEK_LETTERS = set("αβγδεζηθικλμνξοπρσςτυφχψωάέήίόύώϊϋΐΰ")
# The first line of an entry: headword, optional /pronunciations/, then <tags>.
HEADER = re.compile(r"^(?P<word>[^/<]*?)\s*(?:/[^/]*/[\s,ή]*)*(?P<tags>(?:<[^>]+>\s*)*)$")


def decode_b64(text):
    value = 0
    for char in text:
        value = value * 64 + B64.index(char)
    return value


def normalise(word):
    """The lexicon form of a headword, or None when it is not one Greek word."""
    word = word.strip().replace("\u00b5", "μ").lower()
    if not word or any(char not in GREEK_LETTERS for char in word):
        return None
    # A sigma at the end of the word is the final form, whatever the source wrote.
    if word.endswith("σ"):
        word = word[:-1] + "ς"
    return word


def dictionary_nouns(dict_name):
    """(noun headwords, entries tagged <n>) of one installed FreeDict dictionary."""
    data = gzip.open(DICT_DIR / f"{dict_name}.dict.dz").read()
    nouns = []
    for line in (DICT_DIR / f"{dict_name}.index").read_text(encoding="utf-8").splitlines():
        headword, offset, length = line.split("\t")
        if headword.startswith("00database"):
            continue
        start = decode_b64(offset)
        entry = data[start:start + decode_b64(length)].decode("utf-8")
        match = HEADER.match(entry.split("\n", 1)[0])
        if match and "<n>" in match.group("tags").split():
            nouns.append(match.group("word"))
    return nouns


def licence_notice(dict_name):
    """The dictionary's own statement of origin and licence, and Debian's."""
    data = gzip.open(DICT_DIR / f"{dict_name}.dict.dz").read()
    info = ""
    for line in (DICT_DIR / f"{dict_name}.index").read_text(encoding="utf-8").splitlines():
        headword, offset, length = line.split("\t")
        if headword == "00databaseinfo":
            start = decode_b64(offset)
            info = data[start:start + decode_b64(length)].decode("utf-8")
    # The header up to the project's general blurb: title, edition, maintainer,
    # publisher, availability (the licence) and sources.
    info = info.split("The Project:", 1)[0].strip()
    lines = [f"== {dict_name} ==", info]
    copyright_file = Path("/usr/share/doc") / f"dict-{dict_name}" / "copyright"
    if copyright_file.exists():
        stanza = re.search(r"^Files: " + re.escape(dict_name[len("freedict-"):]) + r"/\*\n(?:\S.*\n)*",
                           copyright_file.read_text(encoding="utf-8"), re.MULTILINE)
        if stanza:
            lines.append(f"Debian copyright file of dict-{dict_name}:\n" + stanza.group(0).strip())
    return "\n\n".join(lines) + "\n"


def package_version(package):
    result = subprocess.run(["dpkg-query", "-W", "-f", "${Version}", package],
                            capture_output=True, text=True)
    return result.stdout.strip() if result.returncode == 0 else "not installed"


def require_packages():
    """Stops the build, naming the Debian packages to install, when a dictionary is missing."""
    missing = [f"dict-{name}" for name in DICT_NAMES
               if not (DICT_DIR / f"{name}.index").exists() or not (DICT_DIR / f"{name}.dict.dz").exists()]
    if missing:
        raise SystemExit("build_lexicon: missing Debian package(s) " + " ".join(missing)
                         + "; install them with: apt-get install " + " ".join(missing))


def read_removed():
    removed = {}
    path = DATA_DIR / "lexicon-removed.tsv"
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), start=1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != 2 or not fields[1].strip():
            raise SystemExit(f"lexicon-removed.tsv:{number}: expected noun<TAB>reason")
        removed[fields[0]] = fields[1]
    return removed


def read_kept():
    """(noun, function word) pairs deliberately left in the lexicon."""
    kept = set()
    path = DATA_DIR / "lexicon-kept.tsv"
    for line in path.read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            noun, word, _ = line.split("\t")
            kept.add((noun, word))
    return kept


def merged_nouns(log):
    listed = SOURCE_LIST.read_bytes().decode("cp1253").splitlines()
    log.append(f"- {SOURCE_LIST.name}: {len(listed)} nouns")
    nouns = set(listed)
    require_packages()
    dict_names = DICT_NAMES
    for name in dict_names:
        raw = dictionary_nouns(name)
        kept = {word for word in map(normalise, raw) if word}
        log.append(f"- {name}: {len(raw)} entries tagged <n>, {len(kept)} distinct single Greek "
                   f"words, {len(kept - nouns)} new")
        nouns |= kept
    added = set()
    for line in (DATA_DIR / "nouns-added.txt").read_text(encoding="utf-8").splitlines():
        added |= {word for word in map(normalise, line.split("#", 1)[0].split()) if word}
    log.append(f"- nouns-added.txt: {len(added)} nouns, {len(added - nouns)} new")
    nouns |= added
    log.append(f"- merged: {len(nouns)} distinct nouns")
    packages = ", ".join(f"dict-{name} {package_version('dict-' + name)}" for name in dict_names)
    notices = "".join(licence_notice(name) + "\n" for name in dict_names)
    return nouns, packages, notices


def build(log):
    nouns, packages, notices = merged_nouns(log)
    removed = read_removed()
    present = nouns & removed.keys()
    nouns -= removed.keys()
    log.append(f"- removed by lexicon-removed.tsv: {len(present)} "
               f"(of {len(removed)} listed); {len(nouns)} nouns written")
    log.append(f"- packages: {packages}")
    words = sorted(word.encode("cp1253") for word in nouns)
    return b"".join(word + b"\n" for word in words), notices


def review(tavro_eval):
    """Lines noun<TAB>reason for nouns that function words credit, not yet removed."""
    nouns, _, _ = merged_nouns([])
    removed = read_removed()
    kept = read_kept()
    function_words = []
    for line in (DATA_DIR / "function-words.txt").read_text(encoding="utf-8").splitlines():
        function_words += line.split("#", 1)[0].split()
    with tempfile.TemporaryDirectory() as tmp:
        lexicon = Path(tmp) / "lexicon.txt"
        words = Path(tmp) / "words.txt"
        lexicon.write_bytes(b"".join(w.encode("cp1253") + b"\n" for w in sorted(nouns)))
        words.write_bytes(b"".join(w.encode("cp1253") + b"\n" for w in function_words))
        output = subprocess.run(
            [tavro_eval, "--lexicon", str(lexicon), "--conjugation", str(DATA_DIR / "conjugation.txt"),
             "--credits", str(words)], capture_output=True, text=True, check=True).stdout
    proposals = {}
    for line in output.splitlines():
        word, credits = line.split("\t")
        for noun in credits.split():
            if noun in removed or noun in proposals or (noun, word) in kept:
                continue
            proposals[noun] = (f"homograph of the function word {word}" if noun == word
                               else f"reached from the function word {word}")
    return "".join(f"{noun}\t{reason}\n" for noun, reason in proposals.items())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--review", metavar="TAVRO_EVAL")
    args = parser.parse_args()
    if args.review:
        sys.stdout.write(review(args.review))
        return 0
    log = []
    wanted, notices = build(log)
    output = DATA_DIR / "finalList.txt"
    if args.check:
        if output.read_bytes() != wanted:
            print(f"build_lexicon: {output} is not what the sources give", file=sys.stderr)
            return 1
        return 0
    output.write_bytes(wanted)
    (DATA_DIR / "lexicon-notices.txt").write_text(
        "Licence notices of the FreeDict dictionaries that finalList.txt is made from,\n"
        "as each dictionary and its Debian package state them (written by\n"
        "data/tools/build_lexicon.py).\n\n" + notices, encoding="utf-8")
    (DATA_DIR / "lexicon-build.txt").write_text(
        "Build log of finalList.txt (data/tools/build_lexicon.py)\n" + "\n".join(log) + "\n",
        encoding="utf-8")
    print("\n".join(log))
    return 0


if __name__ == "__main__":
    sys.exit(main())
