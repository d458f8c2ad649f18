"""The program's base-form analysis, for the data tools: which nouns a word credits.

A word gives, in this order, itself and then, for every line of the inflection
table whose ending closes it, the stem followed by each replacement of the line
with its accent shift applied; every candidate that the lexicon holds is
credited, repeats included. An accent step moves the first accent of the word to
the previous vowel (to the one before it when the accent closes one of the
diphthongs αι, οι, ει, αυ, ου, ευ); an accent on the first letter stays, and an
accent with no vowel before it is lost. This mirrors the engine exactly
(build_lexicon.py --verify-model compares the two), so that the data build can
apply its rules without a compiled program. Text is lower-case Greek (str).
"""

ACCENTED = dict(zip("άέήίόύώΐΰ", "αεηιουωϊϋ"))
PLAIN = {plain: accented for accented, plain in ACCENTED.items()}
VOWELS = set("αεηιουω") | set(ACCENTED) | set("ϊϋ")


def read_table(text):
    """[(ending, [(replacement, shift)])] of conjugation.txt text (tokens as the engine reads them)."""
    table = []
    for line in text.splitlines():
        tokens = line.split()
        if len(tokens) < 2:
            continue
        replacements = []
        for token in tokens[1:]:
            shift = 0
            if len(token) >= 2 and token[-2] == "-" and token[-1].isdigit():
                shift, token = int(token[-1]), token[:-2]
            replacements.append((token, shift))
        table.append((tokens[0], replacements))
    return table


def _first_accent(word):
    return next((i for i, char in enumerate(word) if char in ACCENTED), -1)


def _shift_once(word):
    p = _first_accent(word)
    chars = list(word)
    chars[p] = ACCENTED[chars[p]]
    q = next((i for i in range(p - 1, -1, -1) if chars[i] in VOWELS), -1)
    if q >= 0 and chars[q] in PLAIN:
        chars[q] = PLAIN[chars[q]]
    return "".join(chars)


def _step(word):
    p = _first_accent(word)
    if p <= 0:
        return word
    diphthong = word[p - 1] in "αοε" and word[p] in "ιυίύ"
    word = _shift_once(word)
    return _shift_once(word) if diphthong else word


def shift_accent(word, steps):
    if steps in (1, 2):
        word = _step(word)
    if steps == 2:
        word = _step(word)
    return word


def candidates(word, table):
    """Every candidate base form of `word`, in the engine's order, repeats kept."""
    yield word
    for ending, replacements in table:
        if len(word) >= len(ending) and word.endswith(ending):
            stem = word[:len(word) - len(ending)]
            for replacement, shift in replacements:
                yield shift_accent(stem + replacement, shift)


def credits(word, table, nouns):
    """The nouns of `nouns` (a set) that `word` credits, in order, repeats kept."""
    return [candidate for candidate in candidates(word, table) if candidate in nouns]
