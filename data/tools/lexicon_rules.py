"""The grammar rules by which the lexicon build adds and removes nouns.

Every rule looks only at the full-form word list of hunspell-el (`forms`, a set
of lower-case words), the part-of-speech tags and translations of the FreeDict
dictionaries and the inflection table; none looks at a corpus. Each returns, for
every word it concerns, the evidence as a short text, which the build writes
beside the decision (data/lexicon-rules.tsv).

Adjectives. A noun entry that is the masculine, feminine or neuter (or neuter
plural) of an adjective credits every use of that adjective: νέο is credited by
νέα, νέο, νέου, νέων. An entry is taken for an adjective form when hunspell-el
lists the forms that tell one adjective paradigm apart from a noun's
(ADJECTIVE_CLASSES: for -ος, -η, -ο the feminine -η, -ης, -ες and the neuter
plural -α beside -ος and -ο; a masculine noun in -ος has none of those), or when
a FreeDict dictionary tags the entry or its masculine <adj>.

Nouns. A word of hunspell-el whose declension belongs to a class that only
nouns have (NOUN_CLASSES: action nouns in -ση, -ξη, -ψη with -σεις, -σεων; neuters
in -μα with -ματος, -μάτων; agent nouns in -τής with -τές, -τών and without the
adjective's -τούς; -ισμός and the other -σμός; -ότητα, -ύτητα; -ία with -ιών;
the learned masculines in -έας with -είς, -έων; feminines in -ίδα, -άδα with
-ίδες, -ίδων; instruments in -τήρας with -τήρες, -τήρων) is a noun, when all the
forms that prove the class are listed. No adjective ends in -σμός, -έας, -ίδα,
-άδα or -τήρας, and none declines so: the noun is told from the adjective by
its ending and its plural.

Nouns known in the singular. hunspell-el lists many action nouns and nouns of
quality only in the singular (στοίβαξης, απάλυνση, αναγνωσιμότητας), too few forms
for NOUN_CLASSES. A word in -ση, -ξη or -ψη whose genitive -σης is listed is such a
noun when its accent is on the antepenult (on the first syllable of two), as an
action noun's always is (ρύθμιση, στοίβαξη, λέξη); the participles in -ούσα, -είσα
(παρούσης, δοθείσης) and επίσης carry it on the penult. It is not one when an
adjective in -σος stands beside it (μέση, άμεση, ίση, τόση are its feminine), when
-ης is the learned genitive of a feminine in -α (γλώσσης, δόξης, ούσης), when it is
a masculine in -ης (κοτζάμπασης, with -ηδες), or when hunspell-el lists its plural
-σεις only as the verb's subjunctive (περάσεις, without -σεων: the table would
credit that verb form to the noun). A word in -ότητα or -ύτητα listed with its
genitive is a noun: no adjective ends so.

Prefixed nouns. A prefix puts a word before a noun without changing how the
noun declines (υποκατάλογος, υπερσύνολο, προκάτοχος: κατάλογος, σύνολο, κάτοχος),
so a word of hunspell-el that is one of the productive prefixes of PREFIXES
followed by a noun of the lexicon, accent and all, is that kind of noun, unless
it is an adjective form by the adjective rule (πολυεπίπεδο, of πολυεπίπεδος), a
form of a verb with that prefix (prefixed_noun), or already credited as a form
of a noun of the lexicon (υποσημειώσεις, of υποσημείωση). A prefix ending in a
vowel doubles the ρ that opens the noun (προρρύθμιση).

Translated nouns. The dictionaries from other languages into Greek give, for a
noun headword, its Greek translations, which are nouns in their base form
(Kopf: κεφάλι, κεφαλή). A translation that is one Greek word, that hunspell-el
lists in lower case (not a name) and that is no function word is a noun, unless
it is a single letter (π for the number, β for the vitamin: a text writes such a
letter for a variable, a point, a list item), a verb (a first person in -ω, -ώ,
-μαι: a verbal noun may be given as the verb), a masculine plural in -οι
(αρχαίοι, σαρακατσάνοι: no noun has its base form so), or an inflected form of
another noun, which the inflection table reaches from it (σύνορα, of σύνορο;
πηγές, of πηγή): the lexicon lists base forms only. Nor is it one when the table
reaches it from the base form of a noun of the lexicon (τάξος, the yew, from
τάξη; λογότυπος from λογότυπο): every use of that noun would credit it too; nor
when a noun of the lexicon spells the same lemma with another accent (ίον beside
ιόν) or another ending of the same gender (εργαστήριο beside εργαστήρι,
αρχιμάγειρας beside αρχιμάγειρος): the two share their forms, which would be
counted twice. A translation that the adjective or the adverb rule would take
out (έγκυρος, άνεργος; μεθαύριο) is not added, unless lexicon-kept.tsv keeps it.

Acronyms. The all-capital words of hunspell-el are acronyms, each classified in
data/lexicon-acronyms.tsv by what it stands for: one that names a kind of thing
(ΦΠΑ, a tax; ΝΠΔΔ, a kind of legal person; ΤΕΙ, a kind of school) is a common
noun, used without declension (ο ΦΠΑ, του ΦΠΑ), and enters the lexicon in lower
case, as the program folds the text; the name of one body (ΟΗΕ, ΔΕΗ) is a proper
noun and stays out, as the other proper nouns do, and so do acronyms of two
letters (ΑΕ), which in lower case read as slips of the pen (αε for σε).

Accent variants. Two entries that differ only in the place of the accent share
their inflected forms (ποντικιού credits ποντίκι and ποντικί), so each such form
is counted twice; the entry that hunspell-el does not list, while it lists the
other, is a variant spelling and goes.
"""

import table_model

ACCENTED = table_model.ACCENTED
PLAIN = table_model.PLAIN
VOWELS = table_model.VOWELS

# (name, masculine, feminine, neuter, endings that hunspell-el must all list)
ADJECTIVE_CLASSES = [
    ("-ος -η -ο", "ος", "η", "ο", ("ος", "η", "ης", "ες", "ο", "α")),
    ("-ός -ή -ό", "ός", "ή", "ό", ("ός", "ή", "ής", "ές", "ό", "ά")),
    # -α in the feminine only after a vowel (νέος νέα, κύριος κύρια, παλαιός
    # παλαιά): after a consonant -α is a feminine noun (χώρος, χώρα).
    ("-ος -α -ο", "ος", "α", "ο", ("ος", "α", "ες", "ο")),
    ("-ός -ά -ό", "ός", "ά", "ό", ("ός", "ά", "ές", "ό")),
    ("-ός -ιά -ό", "ός", "ιά", "ό", ("ός", "ιά", "ιές", "ό", "ά")),
    ("-ύς -ιά -ύ", "ύς", "ιά", "ύ", ("ύς", "ιά", "ιές", "ύ")),
    # The learned -ής, -ές: -ούς and -είς tell it from a masculine noun in -ής (τελεστής, τελεστές).
    ("-ής -ής -ές", "ής", "ής", "ές", ("ής", "ές", "ούς", "είς")),
    ("-ης -ης -ες", "ης", "ης", "ες", ("ης", "ες", "ους", "εις")),
    # The learned -ύς -εία -ύ (οξύς, οξεία): the genitive -είας and the neuter plural -έα
    # belong to no noun in -εία.
    ("-ύς -εία -ύ", "ύς", "εία", "ύ", ("ύς", "εία", "ύ", "είας", "έα")),
    ("-ων -ουσα -ον", "ων", "ουσα", "ον", ("ων", "ουσα", "ον", "οντος", "ουσας")),
    ("-ών -ούσα -όν", "ών", "ούσα", "όν", ("ών", "ούσα", "όν", "όντος", "ούσας")),
]
AFTER_VOWEL_ONLY = {"-ος -α -ο", "-ός -ά -ό"}
# The neuter plural is a base form of its own only for the -ος -η -ο classes (γραφικά).
NEUTER_PLURAL = {"-ος -η -ο": "α", "-ός -ή -ό": "ά"}


def unaccented(word):
    return "".join(ACCENTED.get(char, char) for char in word)


def accent_last_syllable(stem):
    """The stem, unaccented, with an accent on its last vowel (on the second letter of a diphthong)."""
    stem = unaccented(stem)
    for index in range(len(stem) - 1, -1, -1):
        if stem[index] in VOWELS:
            return stem[:index] + PLAIN.get(stem[index], stem[index]) + stem[index + 1:]
    return None


def adjective_paradigm(entry, forms):
    """(class name, masculine, the forms that prove it) when `entry` is a form of an
    adjective paradigm that `forms` lists in full, else None."""
    for name, masculine, feminine, neuter, proof in ADJECTIVE_CLASSES:
        for slot in (masculine, feminine, neuter, NEUTER_PLURAL.get(name)):
            if not slot or not entry.endswith(slot) or len(entry) == len(slot):
                continue
            stem = entry[:-len(slot)]
            if name in AFTER_VOWEL_ONLY and stem[-1] not in VOWELS:
                continue
            if all(stem + ending in forms for ending in proof):
                return name, stem + masculine, [stem + ending for ending in proof]
    return None


def adjective_evidence(entry, forms, adjectives):
    """Why `entry` is taken for an adjective form (text), or None.

    `adjectives` maps a word that a FreeDict dictionary tags <adj> to the names of
    those dictionaries."""
    paradigm = adjective_paradigm(entry, forms)
    reasons = []
    if paradigm:
        reasons.append(f"adjective {paradigm[1]} ({paradigm[0]}): hunspell-el lists "
                       + ", ".join(paradigm[2]))
    masculines = [paradigm[1]] if paradigm else masculine_candidates(entry)
    for word in dict.fromkeys([entry] + masculines):
        if word in adjectives:
            reasons.append(f"{' '.join(sorted(adjectives[word]))} tag {word} <adj>")
    return "; ".join(reasons) or None


def masculine_candidates(entry):
    """The masculines of the adjectives whose feminine or neuter `entry` may be."""
    found = []
    for name, masculine, feminine, neuter, _ in ADJECTIVE_CLASSES:
        for slot in (feminine, neuter, NEUTER_PLURAL.get(name)):
            if slot and entry.endswith(slot) and len(entry) > len(slot):
                found.append(entry[:-len(slot)] + masculine)
    return list(dict.fromkeys(found))


def _all_listed(words, forms):
    return all(word in forms for word in words)


def noun_class(word, forms, nouns):
    """(class name, the forms that prove it) when `word`, a form of hunspell-el, is the
    base form of a noun-only declension class; `nouns` is the lexicon so far."""
    has_accent = any(char in ACCENTED for char in word)
    if word.endswith(("ση", "ξη", "ψη")) and has_accent:
        stem = accent_last_syllable(word[:-2])
        if stem:
            proof = [word + "ς", stem + word[-2] + "εις", stem + word[-2] + "εων"]
            if _all_listed(proof, forms):
                return "-η -εις", proof
    if word.endswith("μα") and has_accent and len(word) > 3:
        stem = accent_last_syllable(word[:-2])
        if stem:
            proof = [stem + "ματος", stem + "ματα", unaccented(word[:-2]) + "μάτων"]
            if _all_listed(proof, forms):
                return "-μα -ματος", proof
    if word.endswith("τής") and len(word) > 4:
        stem = word[:-3]
        proof = [stem + "τή", stem + "τές", stem + "τών"]
        # A feminine in -τή has the same forms (γιορτή, γιορτής); the adjective has -τούς.
        if (_all_listed(proof, forms) and stem + "τή" not in nouns
                and stem + "τούς" not in forms and stem + "τείς" not in forms):
            return "-τής -τές", proof
    if word.endswith("ισμός") and len(word) > 6:
        stem = word[:-5]
        proof = [stem + ending for ending in ("ισμού", "ισμό", "ισμοί", "ισμών")]
        if _all_listed(proof, forms):
            return "-ισμός", proof
    if word.endswith("ότητα") and len(word) > 6:
        stem = word[:-5]
        proof = [stem + ending for ending in ("ότητας", "ότητες", "οτήτων")]
        if _all_listed(proof, forms):
            return "-ότητα", proof
    if word.endswith("έας") and len(word) > 5:
        stem = word[:-3]
        proof = [stem + ending for ending in ("έα", "είς", "έων")]
        if _all_listed(proof, forms):
            return "-έας -είς", proof
    for ending in ("ίδα", "άδα"):
        if word.endswith(ending) and len(word) > 4:
            stem = word[:-1]
            proof = [stem + "ας", stem + "ες", stem + "ων"]
            # Not the accusative of a masculine in -άδας or -άς (νομάδας, φυγάς φυγάδα).
            masculine = {word + "ς", word[:-3] + ending[0] + "ς"}
            if _all_listed(proof, forms) and not masculine & (nouns | forms - {word + "ς"}):
                return f"-{ending} -{ending[:-1]}ων", proof
    if word.endswith("σμός") and not word.endswith("ισμός") and len(word) > 5:
        stem = word[:-4]
        proof = [stem + ending for ending in ("σμού", "σμό", "σμοί", "σμών")]
        if _all_listed(proof, forms):
            return "-σμός", proof
    if word.endswith("ύτητα") and len(word) > 6:
        stem = word[:-5]
        proof = [stem + ending for ending in ("ύτητας", "ύτητες", "υτήτων")]
        if _all_listed(proof, forms):
            return "-ύτητα", proof
    if word.endswith("τήρας") and len(word) > 6:
        stem = word[:-5]
        proof = [stem + ending for ending in ("τήρα", "τήρες", "τήρων")]
        if _all_listed(proof, forms):
            return "-τήρας", proof
    if word.endswith("ία") and not word.endswith("εία") and len(word) > 4:
        stem = word[:-2]
        proof = [stem + ending for ending in ("ίας", "ίες", "ιών")]
        # Not the feminine of an adjective in -ιος (άγιος, αγία), nor the accusative
        # of a masculine in -ίας (επαγγελματίας, επαγγελματία).
        if (_all_listed(proof, forms) and word + "ς" not in nouns
                and not {stem + "ιος", stem + "ίος", unaccented(stem) + "ιος"} & forms):
            return "-ία -ιών", proof
    return None


# Two vowels read as one syllable; a diaeresis or an accent on the first letter parts them.
DIPHTHONGS = {"αι", "ει", "οι", "υι", "ου", "αυ", "ευ", "ηυ"}


def syllable_nuclei(word):
    """(start, end) of each vowel nucleus of `word`: one vowel, or a diphthong."""
    found = []
    index = 0
    while index < len(word):
        if word[index] in VOWELS:
            pair = word[index:index + 2]
            end = index + 2 if len(pair) == 2 and pair[0] + ACCENTED.get(pair[1], pair[1]) \
                in DIPHTHONGS else index + 1
            found.append((index, end))
            index = end
        else:
            index += 1
    return found


def accented_syllable_from_end(word):
    """1 when the accent is on the last syllable, 2 on the penult, ...; None unaccented."""
    for rank, (start, end) in enumerate(reversed(syllable_nuclei(word)), start=1):
        if any(char in ACCENTED for char in word[start:end]):
            return rank
    return None


def singular_noun_class(word, forms, nouns):
    """(class name, the forms that prove it) when `word` is the base form of a noun that
    hunspell-el lists only in the singular; `word` itself need not be listed. `nouns` is
    the lexicon so far."""
    if word.endswith(("ση", "ξη", "ψη")) and word + "ς" in forms:
        antepenult = 3 if len(syllable_nuclei(word)) >= 3 else 2
        stem = word[:-1]
        adjective = {stem + "ος", stem + "ός", unaccented(stem) + "ός"} & forms
        # -ης is also the learned genitive of a feminine noun or participle in -α (γλώσσης,
        # ούσης); beside a longer word, -σα is the verb's aorist (στοίβαξα, ρύθμισα).
        feminine_in_a = stem + "α" in nouns or (antepenult == 2 and stem + "α" in forms)
        # A masculine in -ης has -ηδες (κοτζάμπασης, κοτζαμπάσηδες).
        masculine = f"{accent_last_syllable(word[:-1])}ηδες" in forms
        # A plural -σεις listed without -σεων is the verb's subjunctive (περάσεις of
        # περνώ beside πέραση): the table would credit every use of that verb form.
        verb_form = f"{accent_last_syllable(word[:-2])}{word[-2]}εις" in forms
        if accented_syllable_from_end(word) == antepenult and not (
                adjective or feminine_in_a or masculine or verb_form):
            return "-ση -σης, singular", [w for w in (word, word + "ς") if w in forms]
    for ending in ("ότητα", "ύτητα"):
        if word.endswith(ending) and len(word) > len(ending) + 1 and {word, word + "ς"} <= forms:
            return f"-{ending} -{ending}ς, singular", [word, word + "ς"]
    return None


# Prefixes that make nouns of nouns (after Triantafyllidis' grammar of word formation).
PREFIXES = ("επανα", "ξανα", "υπερ", "υπο", "μικρο", "μακρο", "ημι", "αντι", "πολυ",
            "μονο", "ψευδο", "αυτο", "μετα", "προ", "απο")


def prefixed_noun(word, nouns, forms):
    """(prefix, noun) when `word` is a prefix of PREFIXES followed by a noun of `nouns`
    of four letters or more, else None. Not a verb's imperative in -α beside its -ώ
    or -άω (προχώρα, προχωρώ), a gerund (προορίζοντας) or a participle (αποφαινόμενο): the
    prefixed verb makes those words, not the noun."""
    if word.endswith(("οντας", "ώντας", "μενο", "μένο", "ουσα", "ούσα")):
        return None
    stem = unaccented(word[:-1])
    if word.endswith(("α", "ά")) and {stem + "ώ", stem + "άω"} & forms:
        return None
    for prefix in PREFIXES:
        if not word.startswith(prefix):
            continue
        head = word[len(prefix):]
        if prefix[-1] in VOWELS and head.startswith("ρρ"):
            head = head[1:]
        if len(head) >= 4 and head in nouns:
            return prefix, head
    return None


def nouns_reached_from(bases, table, words):
    """{word: base} for the words of `words` that the table reaches from another word of
    `bases`: every use of that base would credit them as well."""
    reached = {}
    for base in sorted(bases):
        for word in table_model.credits(base, table, words):
            if word != base:
                reached.setdefault(word, base)
    return reached


# Endings of one gender that spell the same lemma on the same stem: εργαστήριο and
# εργαστήρι, αρχιμάγειρας and αρχιμάγειρος, αντιφασίστας and αντιφασιστής decline
# alike and share their plural.
VARIANT_ENDINGS = [("ιο", "ι"), ("ας", "ος", "ης")]


def ending_variants(words, nouns):
    """{word: noun} for the words of `words` whose lemma a noun of `nouns` spells with
    another accent or another ending of VARIANT_ENDINGS."""
    spelled = {unaccented(noun): noun for noun in sorted(nouns)}
    found = {}
    for word in sorted(words):
        plain = unaccented(word)
        if spelled.get(plain, word) != word:  # another accent (ίον beside ιόν)
            found[word] = spelled[plain]
            continue
        for endings in VARIANT_ENDINGS:
            for ending in (e for e in endings if plain.endswith(e)):
                others = [spelled.get(plain[:-len(ending)] + variant) for variant in endings
                          if variant != ending]
                other = next((noun for noun in others if noun and noun != word), None)
                if other:
                    found.setdefault(word, other)
    return found


def translated_noun(word, forms, nouns, table):
    """Why `word`, a Greek translation of a noun headword, is not a noun (text), or None.

    `nouns` holds the lexicon's nouns and the other translations."""
    if word not in forms:
        return "hunspell-el does not list it in lower case"
    if len(word) == 1:
        return "a letter, which a text uses as a symbol"
    if word.endswith(("ω", "ώ", "μαι")):
        return "a verb's first person"
    if word.endswith(("οι", "οί")):
        return "a masculine plural"
    others = [noun for noun in table_model.credits(word, table, nouns) if noun != word]
    if others:
        return "a form of " + " ".join(others)
    return None


def acronym_nouns(capitalised, classified, lower_forms):
    """({lower-case noun: evidence}, [problems]) from the all-capital words of hunspell-el.

    `classified` maps each acronym to (what it stands for, "noun", "name" or
    "unclear"); an acronym that it lacks is a problem. A common one whose lower-case
    form is a word of its own (ΣΥΝ, συν) would be credited by that word, and one of
    two letters by fragments and slips of the pen (αε for σε): those stay out."""
    nouns, problems = {}, []
    for word in sorted(capitalised):
        if len(word) < 2 or not word.isupper():
            continue
        if word not in classified:
            problems.append(f"hunspell-el lists the acronym {word}; classify it in "
                            "lexicon-acronyms.tsv")
            continue
        meaning, kind = classified[word]
        if kind == "noun" and len(word) >= 3 and word.lower() not in lower_forms:
            nouns[word.lower()] = f"hunspell-el lists {word}: {meaning}, a common noun"
    return nouns, problems


def accent_variants(nouns, forms):
    """{entry: the entry it is a variant of} for entries that differ from another only
    in the accent's place, that hunspell-el does not list while it lists the other."""
    by_letters = {}
    for noun in nouns:
        by_letters.setdefault(unaccented(noun), []).append(noun)
    variants = {}
    for group in by_letters.values():
        listed = [noun for noun in group if noun in forms]
        if len(group) < 2 or not listed:
            continue
        for noun in group:
            if noun not in forms:
                variants[noun] = listed[0]
    return variants
