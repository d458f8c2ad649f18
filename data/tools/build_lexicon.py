#!/usr/bin/env python3
"""Builds data/finalList.txt, the noun lexicon, from its sources.

Sources: the FreeDict noun list kept in the repository
(data/sources/nouns-freedict.cp1253.txt); the noun headwords of the sixteen
FreeDict Modern Greek dictionaries of Debian (packages dict-freedict-ell-*, read
from /usr/share/dictd); the Greek translations of the noun headwords of the seven
FreeDict dictionaries into Modern Greek that tag their headwords (packages
dict-freedict-{deu,fin,fra,ita,nld,pol,swe}-ell), when lexicon_rules.translated_noun
takes them for nouns; the nouns of data/nouns-added.txt; and the words of the
hunspell-el word list (Debian package hunspell-el, /usr/share/hunspell/el_GR.dic)
whose declension only nouns have (lexicon_rules.NOUN_CLASSES), that it lists in
the singular of a class only nouns have (-ση with -σης, -ότητα with -ότητας), or
that are a prefix on a noun of the lexicon (υποκατάλογος); and, in lower case,
the acronyms of hunspell-el that data/lexicon-acronyms.tsv classifies as common
nouns (every acronym of the word list must be classified). The build stops
and names the packages to install when one is missing. A headword counts as a
noun when its part-of-speech tag is <n> (proper nouns, <pn>, are left out).
Every noun is lower-cased with Greek rules (accents and diaeresis kept, the micro
sign read as mu) and kept only when it is a single word of Greek letters that
code page 1253 can hold.

Then the rules of lexicon_rules.py take out adjective forms (hunspell-el lists
the entry's adjective paradigm, or a dictionary tags it <adj>), nouns that an
adverb (a dictionary's <adv> headword) is or reaches through the inflection
table, and accent variants; the entries of data/lexicon-kept.tsv, reviewed nouns
that are both, stay. The entries of data/lexicon-removed.tsv, reviewed by hand,
are taken out too. Every decision of a rule is written with its evidence to
data/lexicon-rules.tsv. The lexicon is written in code page 1253, sorted by byte
value, without duplicates, LF line ends; the build log with the package versions
goes to data/lexicon-build.txt and the dictionaries' own licence notices to
data/lexicon-notices.txt.

  build_lexicon.py                     rebuild finalList.txt, lexicon-rules.tsv and the log
  build_lexicon.py --check             exit 1 when finalList.txt or lexicon-rules.tsv
                                       differs from a rebuild (needs the packages)
  build_lexicon.py --check-lists       exit 1 when finalList.txt contradicts the lists
                                       of the data folder: needs only the repository
  build_lexicon.py --verify-model TAVRO_EVAL
                                       exit 1 unless table_model.py credits every word of
                                       the prose and the dev pairs as the engine does
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

import lexicon_rules
import table_model

DATA_DIR = Path(__file__).resolve().parent.parent
REPO_DIR = DATA_DIR.parent
DICT_DIR = Path("/usr/share/dictd")
SOURCE_LIST = DATA_DIR / "sources" / "nouns-freedict.cp1253.txt"
# Every dictionary of the build: a build from fewer would give another lexicon.
DICT_NAMES = [f"freedict-ell-{lang}" for lang in (
    "bul", "eng", "fin", "fra", "ind", "ita", "jpn", "lat", "lit", "nld", "nor", "pol", "por",
    "rus", "spa", "swe")]
# Dictionaries into Greek, read for the translations of their noun headwords.
# freedict-eng-ell is not one of them: it tags no part of speech.
TRANSLATION_DICT_NAMES = [f"freedict-{lang}-ell" for lang in (
    "deu", "fin", "fra", "ita", "nld", "pol", "swe")]
ALL_DICT_NAMES = DICT_NAMES + TRANSLATION_DICT_NAMES
HUNSPELL_DIC = Path("/usr/share/hunspell/el_GR.dic")
PROSE_DIR = REPO_DIR / "data" / "sources" / "prose"
DEV_PAIRS = REPO_DIR / "evaluation" / "pairs" / "paradigms-dev.tsv"
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


def dictionary_entries(dict_name):
    """(headword, [tags], [lines after the first]) of every entry of an installed FreeDict
    dictionary."""
    data = gzip.open(DICT_DIR / f"{dict_name}.dict.dz").read()
    for line in (DICT_DIR / f"{dict_name}.index").read_text(encoding="utf-8").splitlines():
        headword, offset, length = line.split("\t")
        if headword.startswith("00database"):
            continue
        start = decode_b64(offset)
        lines = data[start:start + decode_b64(length)].decode("utf-8").split("\n")
        match = HEADER.match(lines[0])
        if match:
            tags = [tag.strip("<>") for tag in match.group("tags").split()]
            yield match.group("word"), tags, lines[1:]


def dictionary_headwords(dict_name):
    """{tag: [headwords]} of one installed FreeDict dictionary, for the tags n, adj and adv."""
    found = {"n": [], "adj": [], "adv": []}
    for headword, tags, _ in dictionary_entries(dict_name):
        for tag in tags:
            if tag in found:
                found[tag].append(headword)
    return found


def noun_translations(dict_name):
    """{Greek word: [headwords]} of the one-word translations of the noun headwords of a
    FreeDict dictionary into Greek. Its tags read "<n, masc>", its translations
    "1. κεφάλι, κεφαλή", one sense a line, before the definitions in the other language."""
    found = {}
    for headword, tags, lines in dictionary_entries(dict_name):
        if "n" not in {tag.strip(",") for tag in tags}:
            continue
        for line in lines:
            for item in re.sub(r"^\s*\d+\.\s*", "", line).split(","):
                word = normalise(item)
                if word:
                    found.setdefault(word, []).append(headword)
    return found


def hunspell_capitalised():
    """The capitalised words of hunspell-el (names, months)."""
    words = HUNSPELL_DIC.read_bytes().decode("iso-8859-7").split("\n")[1:]
    return {word for word in words if word and word[:1].isupper()}


def hunspell_forms():
    """The lower-case words of hunspell-el's el_GR.dic (ISO 8859-7, a count line first)."""
    words = HUNSPELL_DIC.read_bytes().decode("iso-8859-7").split("\n")[1:]
    return {word.replace("\u00b5", "μ") for word in words if word and word == word.lower()}


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
    missing = [f"dict-{name}" for name in ALL_DICT_NAMES
               if not (DICT_DIR / f"{name}.index").exists() or not (DICT_DIR / f"{name}.dict.dz").exists()]
    if not HUNSPELL_DIC.exists():
        missing.append("hunspell-el")
    if missing:
        raise SystemExit("build_lexicon: missing Debian package(s) " + " ".join(missing)
                         + "; install them with: apt-get install " + " ".join(missing))


def read_tsv(name, columns):
    """The rows (lists of `columns` fields) of a hand-made list of the data folder."""
    rows = []
    path = DATA_DIR / name
    for number, line in enumerate(path.read_text(encoding="utf-8").splitlines(), start=1):
        if not line.strip() or line.startswith("#"):
            continue
        fields = line.split("\t")
        if len(fields) != columns or not all(field.strip() for field in fields):
            raise SystemExit(f"{name}:{number}: expected {columns} fields separated by tabs")
        rows.append(fields)
    return rows


def read_removed():
    return {noun: reason for noun, reason in read_tsv("lexicon-removed.tsv", 2)}


def read_kept():
    """{noun: (the word whose reading it shares, reason)} of lexicon-kept.tsv."""
    return {noun: (word, reason) for noun, word, reason in read_tsv("lexicon-kept.tsv", 3)}


def read_acronyms():
    """{acronym: (what it stands for, "noun", "name" or "unclear")} of lexicon-acronyms.tsv."""
    rows = read_tsv("lexicon-acronyms.tsv", 3)
    kinds = {kind for _, _, kind in rows} - {"noun", "name", "unclear"}
    if kinds:
        raise SystemExit(f"lexicon-acronyms.tsv: unknown kind {' '.join(sorted(kinds))}")
    return {acronym: (meaning, kind) for acronym, meaning, kind in rows}


def read_words(name):
    """The words of a list of the data folder ("#" comments, any spacing)."""
    words = []
    for line in (DATA_DIR / name).read_text(encoding="utf-8").splitlines():
        words += line.split("#", 1)[0].split()
    return words


def read_table():
    return table_model.read_table((DATA_DIR / "conjugation.txt").read_bytes().decode("cp1253"))


class Sources:
    """Everything the build reads outside the lists of the data folder."""

    def __init__(self, log):
        require_packages()
        listed = SOURCE_LIST.read_bytes().decode("cp1253").splitlines()
        log.append(f"- {SOURCE_LIST.name}: {len(listed)} nouns")
        self.nouns = set(listed)
        self.adjectives = {}  # word: names of the dictionaries that tag it <adj>
        self.adverbs = set()
        for name in DICT_NAMES:
            headwords = dictionary_headwords(name)
            raw = headwords["n"]
            kept = {word for word in map(normalise, raw) if word}
            log.append(f"- {name}: {len(raw)} entries tagged <n>, {len(kept)} distinct single "
                       f"Greek words, {len(kept - self.nouns)} new")
            self.nouns |= kept
            for word in filter(None, map(normalise, headwords["adj"])):
                self.adjectives.setdefault(word, set()).add(name[len("freedict-"):])
            self.adverbs |= {word for word in map(normalise, headwords["adv"]) if word}
        self.translations = {}  # word: ["deu-ell Kopf", ...]
        for name in TRANSLATION_DICT_NAMES:
            found = noun_translations(name)
            log.append(f"- {name}: {len(found)} distinct one-word Greek translations of "
                       "headwords tagged <n>")
            for word, headwords in found.items():
                self.translations.setdefault(word, []).extend(
                    f"{name[len('freedict-'):]} {headword}" for headword in headwords)
        added = {word for word in map(normalise, read_words("nouns-added.txt")) if word}
        log.append(f"- nouns-added.txt: {len(added)} nouns, {len(added - self.nouns)} new")
        self.nouns |= added
        self.forms = hunspell_forms()
        capitalised = hunspell_capitalised()
        self.capitalised = capitalised
        unlisted = sorted(word for word in added
                          if word not in self.forms and word.capitalize() not in capitalised)
        log.append(f"- nouns-added.txt nouns that hunspell-el does not list: {' '.join(unlisted)}")
        log.append(f"- hunspell-el el_GR.dic: {len(self.forms)} lower-case word forms; "
                   f"{len(self.adjectives)} words tagged <adj> and {len(self.adverbs)} <adv> "
                   "in the dictionaries")
        self.packages = ", ".join(f"dict-{name} {package_version('dict-' + name)}"
                                  for name in ALL_DICT_NAMES) + \
            f", hunspell-el {package_version('hunspell-el')}"
        self.notices = "".join(licence_notice(name) + "\n" for name in ALL_DICT_NAMES)


def translated_nouns(sources, nouns, table, function_words, decisions, log):
    """The translations of sources.translations that lexicon_rules takes for nouns new to
    `nouns`; each is written to `decisions` with its headwords."""
    translated = {}
    refused = 0
    forms = sources.forms
    pool = nouns | sources.translations.keys()
    offered = sources.translations.keys() - nouns - function_words
    shadowed = lexicon_rules.nouns_reached_from(nouns, table, offered)
    shadowed.update(lexicon_rules.ending_variants(offered, nouns))
    kept, removed = read_kept(), read_removed()
    # What the adjective, adverb and hand-made removals would take out is not added.
    adverbial = {noun for adverb in sources.adverbs
                 for noun in table_model.credits(adverb, table, offered)}
    for word in sorted(offered):
        unwanted = word not in kept and (
            word in adverbial or word in removed
            or lexicon_rules.adjective_evidence(word, forms, sources.adjectives))
        if (word in shadowed or unwanted
                or lexicon_rules.translated_noun(word, forms, pool, table)):
            refused += 1
        else:
            translated[word] = sources.translations[word]
    for word, headwords in translated.items():
        decisions.append((word, "added", "translation", "a translation of "
                          + "; ".join(sorted(set(headwords))[:4]) + "; hunspell-el lists it"))
    log.append(f"- noun translations: {len(translated)} nouns added, {refused} translations "
               "refused (not listed by hunspell-el in lower case, letters, verbs, plurals in "
               "-οι, adjective forms, adverbs, inflected forms, words reached from a noun's "
               "base form, another accent or ending of a noun's lemma)")
    return translated.keys()


def apply_rules(sources, log):
    """(the nouns of the lexicon, [(noun, decision, rule, evidence)]) from the sources."""
    nouns = set(sources.nouns)
    decisions = []
    forms = sources.forms
    function_words = set(read_words("function-words.txt"))  # ενάμιση, a numeral, declines so
    table = read_table()
    # Nouns of the word list whose declension only nouns have, and nouns it lists in the
    # singular only (some only in the genitive: στοίβαξης).
    added = {}
    genitive_bases = {word[:-1] for word in forms if word.endswith(("σης", "ξης", "ψης"))}
    for word in sorted((forms | genitive_bases) - nouns - function_words):
        found = lexicon_rules.noun_class(word, forms, nouns) if word in forms else None
        found = found or lexicon_rules.singular_noun_class(word, forms, nouns)
        if found:
            added[word] = found
    for word, (name, proof) in added.items():
        decisions.append((word, "added", "noun class", f"{name}: hunspell-el lists {word}, "
                          + ", ".join(proof)))
    nouns |= added.keys()
    singular = sum(1 for name, _ in added.values() if name.endswith("singular"))
    log.append(f"- noun classes of hunspell-el: {len(added)} nouns added "
               f"({singular} known in the singular only)")
    # After the noun classes, whose nouns tell a translation in -ίας (εκτομίας) for the
    # genitive of a noun in -ία.
    nouns |= translated_nouns(sources, nouns, table, function_words, decisions, log)
    # A prefixed word that the lexicon holds with another accent (πολύγραφος beside
    # πολυγράφος) or that the table reaches from one of its nouns is no new noun.
    prefixed = {}
    spelled = {lexicon_rules.unaccented(noun) for noun in nouns}
    for word in sorted(forms - nouns - function_words):
        found = lexicon_rules.prefixed_noun(word, nouns, forms)
        if (found and lexicon_rules.unaccented(word) not in spelled
                and not lexicon_rules.adjective_evidence(word, forms, sources.adjectives)
                and not table_model.credits(word, table, nouns)):
            prefixed[word] = found
    for word, (prefix, head) in prefixed.items():
        decisions.append((word, "added", "prefixed noun",
                          f"{prefix}- + {head}: hunspell-el lists {word}"))
    nouns |= prefixed.keys()
    log.append(f"- prefixed nouns of hunspell-el: {len(prefixed)} added")
    acronyms, problems = lexicon_rules.acronym_nouns(sources.capitalised, read_acronyms(), forms)
    if problems:
        raise SystemExit("build_lexicon: " + "; ".join(problems))
    for word, evidence in sorted(acronyms.items()):
        decisions.append((word, "added", "acronym", evidence + " (lexicon-acronyms.tsv)"))
    nouns |= acronyms.keys()
    log.append(f"- acronyms of hunspell-el: {len(acronyms)} common nouns added")
    kept = read_kept()
    removed = set()
    for noun in sorted(nouns):
        evidence = lexicon_rules.adjective_evidence(noun, forms, sources.adjectives)
        if evidence:
            decisions.append((noun, "kept" if noun in kept else "removed", "adjective", evidence))
            removed |= set() if noun in kept else {noun}
    log.append(f"- adjective forms: {len(removed)} removed, "
               f"{sum(1 for d in decisions if d[1:3] == ('kept', 'adjective'))} kept by lexicon-kept.tsv")
    variants = lexicon_rules.accent_variants(nouns - removed, forms)
    for noun, other in sorted(variants.items()):
        decisions.append((noun, "removed", "accent variant",
                          f"the accent variant of {other}: hunspell-el lists {other}, not {noun}"))
    removed |= variants.keys()
    log.append(f"- accent variants: {len(variants)} removed")
    hand = read_removed()
    present = (nouns - removed) & hand.keys()
    removed |= hand.keys()
    log.append(f"- lexicon-removed.tsv: {len(present)} removed (of {len(hand)} listed)")
    # Adverbs last: what they reach depends on the nouns that are left.
    left = nouns - removed
    reached = {}
    for adverb in sorted(sources.adverbs):
        for noun in table_model.credits(adverb, table, left):
            reached.setdefault(noun, adverb)
    adverb_removed = 0
    for noun, adverb in sorted(reached.items()):
        how = "is the adverb" if noun == adverb else f"is reached from the adverb {adverb}"
        decisions.append((noun, "kept" if noun in kept else "removed", "adverb",
                          f"{how} (a dictionary tags {adverb} <adv>)"))
        if noun not in kept:
            removed.add(noun)
            adverb_removed += 1
    log.append(f"- adverbs: {adverb_removed} removed")
    stale = [noun for noun, (word, _) in kept.items()
             if noun not in {d[0] for d in decisions if d[1] == "kept"}
             and word not in read_words("function-words.txt")]
    if stale:
        raise SystemExit("lexicon-kept.tsv: no rule removes " + " ".join(sorted(stale))
                         + "; take them out of the list")
    nouns -= removed
    log.append(f"- {len(nouns)} nouns written")
    return nouns, decisions


def rules_text(decisions):
    order = {"translation": 0, "noun class": 1, "prefixed noun": 2, "acronym": 3, "adjective": 4,
             "adverb": 5, "accent variant": 6}
    rows = sorted(decisions, key=lambda d: (order[d[2]], d[1], d[0].encode("cp1253")))
    return ("# Decisions of the rules of data/tools/lexicon_rules.py (written by build_lexicon.py).\n"
            "# noun<TAB>decision<TAB>rule<TAB>evidence; \"kept\" is a noun of lexicon-kept.tsv.\n"
            + "".join("\t".join(row) + "\n" for row in rows))


def build(log):
    sources = Sources(log)
    nouns, decisions = apply_rules(sources, log)
    log.append(f"- packages: {sources.packages}")
    words = sorted(word.encode("cp1253") for word in nouns)
    return b"".join(word + b"\n" for word in words), rules_text(decisions), sources.notices


def run_credits(tavro_eval, lexicon_path, conjugation_path, words):
    """{word: [credited nouns]} from the engine (tavro-eval --credits)."""
    with tempfile.TemporaryDirectory() as tmp:
        listing = Path(tmp) / "words.txt"
        listing.write_bytes(b"".join(w.encode("cp1253") + b"\n" for w in words))
        output = subprocess.run(
            [tavro_eval, "--lexicon", str(lexicon_path), "--conjugation", str(conjugation_path),
             "--credits", str(listing)], capture_output=True, text=True, check=True).stdout
    found = {}
    for line in output.splitlines():
        word, credits = line.split("\t")
        found[word] = credits.split()
    return found


def review(tavro_eval):
    """Lines noun<TAB>reason for nouns that function words credit, not yet removed."""
    nouns, _ = apply_rules(Sources([]), [])
    kept = read_kept()
    with tempfile.TemporaryDirectory() as tmp:
        lexicon = Path(tmp) / "lexicon.txt"
        lexicon.write_bytes(b"".join(w.encode("cp1253") + b"\n" for w in sorted(nouns)))
        credited = run_credits(tavro_eval, lexicon, DATA_DIR / "conjugation.txt",
                               read_words("function-words.txt"))
    proposals = {}
    for word, credits in credited.items():
        for noun in credits:
            if noun in proposals or kept.get(noun, ("",))[0] == word:
                continue
            proposals[noun] = (f"homograph of the function word {word}" if noun == word
                               else f"reached from the function word {word}")
    return "".join(f"{noun}\t{reason}\n" for noun, reason in proposals.items())


def verify_model(tavro_eval):
    """Problems (texts) where table_model.py and the engine credit a word differently."""
    words = set()
    for path in sorted(PROSE_DIR.glob("*.txt")):
        text = path.read_bytes().decode("cp1253").lower()
        words |= set(re.findall("[" + "".join(sorted(GREEK_LETTERS)) + "]+", text))
    words |= {line.split("\t")[0] for line in
              DEV_PAIRS.read_bytes().decode("cp1253").lower().splitlines() if line}
    words = sorted(words)
    lexicon_path, conjugation_path = DATA_DIR / "finalList.txt", DATA_DIR / "conjugation.txt"
    nouns = set(lexicon_path.read_bytes().decode("cp1253").split())
    table = read_table()
    engine = run_credits(tavro_eval, lexicon_path, conjugation_path, words)
    return [f"{word}: the engine credits {' '.join(engine.get(word, [])) or 'nothing'}, "
            f"the model {' '.join(table_model.credits(word, table, nouns)) or 'nothing'}"
            for word in words if engine.get(word) != table_model.credits(word, table, nouns)]


def check_lists():
    """Problems (texts) where finalList.txt contradicts the lists of the data folder."""
    problems = []
    raw = (DATA_DIR / "finalList.txt").read_bytes()
    lines = raw.split(b"\n")
    if raw and not raw.endswith(b"\n"):
        problems.append("finalList.txt does not end with a line end")
    lines = lines[:-1] if raw.endswith(b"\n") else lines
    if lines != sorted(set(lines)):
        problems.append("finalList.txt is not sorted by byte value without duplicates")
    nouns = set()
    for line in lines:
        word = line.decode("cp1253", errors="replace")
        if not word or any(char not in GREEK_LETTERS for char in word):
            problems.append(f"finalList.txt: '{word}' is not one word of lower-case Greek letters")
        nouns.add(word)
    for noun, reason in read_removed().items():
        if noun in nouns:
            problems.append(f"{noun} is in finalList.txt but lexicon-removed.tsv removes it ({reason})")
    for noun, (word, _) in read_kept().items():
        if noun not in nouns:
            problems.append(f"{noun} is kept by lexicon-kept.tsv but not in finalList.txt")
    for noun, decision, rule, _ in read_tsv("lexicon-rules.tsv", 4):
        if (noun in nouns) != (decision in ("added", "kept")):
            problems.append(f"lexicon-rules.tsv has {noun} {decision} by the {rule} rule, "
                            f"finalList.txt {'has' if noun in nouns else 'lacks'} it")
    for word in read_words("nouns-added.txt"):
        if normalise(word) not in nouns and normalise(word) not in read_removed():
            problems.append(f"{word} of nouns-added.txt is not in finalList.txt")
    return problems


NOTICES_HEAD = ("Licence notices of the FreeDict dictionaries that finalList.txt is made from,\n"
                "as each dictionary and its Debian package state them (written by\n"
                "data/tools/build_lexicon.py).\n\n")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true")
    parser.add_argument("--check-lists", action="store_true")
    parser.add_argument("--verify-model", metavar="TAVRO_EVAL")
    parser.add_argument("--review", metavar="TAVRO_EVAL")
    args = parser.parse_args()
    if args.review:
        sys.stdout.write(review(args.review))
        return 0
    if args.check_lists or args.verify_model:
        problems = check_lists() if args.check_lists else verify_model(args.verify_model)
        for problem in problems[:50]:
            print(f"build_lexicon: {problem}", file=sys.stderr)
        return 1 if problems else 0
    log = []
    wanted, rules, notices = build(log)
    output = DATA_DIR / "finalList.txt"
    rules_file = DATA_DIR / "lexicon-rules.tsv"
    if args.check:
        for path, content in ((output, wanted), (rules_file, rules.encode("utf-8"))):
            if not path.exists() or path.read_bytes() != content:
                print(f"build_lexicon: {path} is not what the sources give; "
                      "run data/tools/build_lexicon.py", file=sys.stderr)
                return 1
        return 0
    output.write_bytes(wanted)
    rules_file.write_text(rules, encoding="utf-8")
    (DATA_DIR / "lexicon-notices.txt").write_text(NOTICES_HEAD + notices, encoding="utf-8")
    (DATA_DIR / "lexicon-build.txt").write_text(
        "Build log of finalList.txt (data/tools/build_lexicon.py)\n" + "\n".join(log) + "\n",
        encoding="utf-8")
    print("\n".join(log))
    return 0


if __name__ == "__main__":
    sys.exit(main())
