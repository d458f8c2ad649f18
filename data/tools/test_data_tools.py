"""Tests of the data tools that need only the repository (python3 -m unittest discover data/tools).

The word lists here are small hand-made stand-ins for hunspell-el: each case
lists exactly the forms that decide it.
"""
import gzip
import sys
import tempfile
import unittest
from unittest import mock
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))

import build_conjugation  # noqa: E402
import build_lexicon  # noqa: E402
import lexicon_rules  # noqa: E402
import table_model  # noqa: E402


class AccentShiftIsTheEngines(unittest.TestCase):
    # The worked examples of the analysis, with the rules they show.
    CASES = [
        ("θαλασσά", 2, "θάλασσα", "two steps"),
        ("παιδί", 1, "παίδι", "the accent lands on the second letter of αι"),
        ("βασιλεύς", 1, "βασίλευς", "ύ closes ευ: the step crosses the diphthong"),
        ("ούς", 1, "ους", "no vowel before: the accent is lost"),
        ("όνομα", 1, "όνομα", "an accent on the first letter stays"),
        ("ασφαλεία", 1, "ασφάλεια", "ί closes ει"),
        ("ασφαλεια", 1, "ασφαλεια", "no accent: nothing moves"),
        ("ωρά", 3, "ωρά", "a shift of 3 does nothing"),
    ]

    def test_cases(self):
        for word, steps, wanted, rule in self.CASES:
            with self.subTest(word=word, rule=rule):
                self.assertEqual(table_model.shift_accent(word, steps), wanted)

    def test_candidates_come_in_table_order_with_repeats(self):
        table = table_model.read_table("ών ά-1 ά-2\nών ός\n")
        self.assertEqual(list(table_model.candidates("ωρών", table)), ["ωρών", "ώρα", "ώρα", "ωρός"])
        self.assertEqual(table_model.credits("ωρών", table, {"ώρα"}), ["ώρα", "ώρα"])

    def test_table_tokens_are_read_as_the_engine_reads_them(self):
        self.assertEqual(table_model.read_table("ου  ος\tο-1\n\nες\n"), [("ου", [("ος", 0), ("ο", 1)])])


class AdjectiveFormsAreToldFromNouns(unittest.TestCase):
    FORMS = set("""νέος νέα νέες νέο καλός καλή καλής καλές καλό καλά
        χώρος χώρα χώρας χώρες χώρο τελεστής τελεστή τελεστές τελεστών
        συγγενής συγγενές συγγενούς συγγενείς δρόμος δρόμου δρόμο δρόμοι
        οξύς οξεία οξύ οξείας οξέα ασφάλεια ασφαλείας""".split())

    def test_entries(self):
        cases = [
            ("νέο", "-ος -α -ο", "the neuter of νέος: fem -α after a vowel"),
            ("καλή", "-ός -ή -ό", "the feminine of καλός"),
            ("καλά", "-ός -ή -ό", "a neuter plural entry"),
            ("συγγενής", "-ής -ής -ές", "-ούς and -είς prove the learned adjective"),
            ("οξεία", "-ύς -εία -ύ", "the learned feminine of οξύς"),
            ("ασφάλεια", None, "a noun in -εια: no -ύς, -ύ, -έα"),
            ("χώρος", None, "χώρα after a consonant is a feminine noun, not the adjective's -α"),
            ("τελεστής", None, "a masculine in -ής has -ές but no -ούς, -είς"),
            ("δρόμος", None, "a masculine noun has no feminine forms"),
        ]
        for entry, wanted, rule in cases:
            with self.subTest(entry=entry, rule=rule):
                paradigm = lexicon_rules.adjective_paradigm(entry, self.FORMS)
                self.assertEqual(paradigm[0] if paradigm else None, wanted)

    def test_a_dictionary_tag_of_the_masculine_is_evidence_on_its_own(self):
        evidence = lexicon_rules.adjective_evidence("έγγραφο", set(), {"έγγραφος": {"ell-eng"}})
        self.assertEqual(evidence, "ell-eng tag έγγραφος <adj>")
        self.assertIsNone(lexicon_rules.adjective_evidence("έγγραφο", set(), {}))


def assert_classes(test, classify, forms, cases):
    """Each case (word, class name or None, lexicon so far, rule) classifies as it says."""
    for word, wanted, nouns, rule in cases:
        with test.subTest(word=word, rule=rule):
            found = classify(word, forms, nouns)
            test.assertEqual(found[0] if found else None, wanted)


class NounClassesNeedEveryProvingForm(unittest.TestCase):
    def test_cases(self):
        forms = set("""ρύθμιση ρύθμισης ρυθμίσεις ρυθμίσεων πρόγραμμα προγράμματος
            προγράμματα προγραμμάτων εξυπηρετητής εξυπηρετητή εξυπηρετητές εξυπηρετητών
            γιορτής γιορτή γιορτές γιορτών συνεχής συνεχή συνεχές συνεχών συνεχούς
            εταιρία εταιρίας εταιρίες εταιριών αγία αγίας αγίες αγιών άγιος
            επαγγελματία επαγγελματίας επαγγελματίες επαγγελματιών λύση λύσης
            μετατροπέας μετατροπέα μετατροπείς μετατροπέων ιδέα ιδέας ιδέες ιδεών
            κουκίδα κουκίδας κουκίδες κουκίδων ομάδα ομάδας ομάδες ομάδων
            νομάδα νομάδας νομάδες νομάδων φυγάς φυγάδα φυγάδας φυγάδες φυγάδων
            σχολιασμός σχολιασμού σχολιασμό σχολιασμοί σχολιασμών θερμός θερμού θερμό
            ταχύτητα ταχύτητας ταχύτητες ταχυτήτων σβηστήρας σβηστήρα σβηστήρες
            σβηστήρων""".split())
        cases = [
            ("ρύθμιση", "-η -εις", set(), "plural accent on the last stem syllable"),
            ("πρόγραμμα", "-μα -ματος", set(), "-ματος, -ματα, -μάτων"),
            ("εξυπηρετητής", "-τής -τές", set(), "agent noun"),
            ("γιορτής", None, {"γιορτή"}, "the genitive of a feminine in -τή"),
            ("εταιρία", "-ία -ιών", set(), "-ίας, -ίες, -ιών"),
            ("αγία", None, set(), "the feminine of the adjective άγιος"),
            ("επαγγελματία", None, {"επαγγελματίας"}, "the accusative of a masculine in -ίας"),
            ("λύση", None, set(), "the plural forms are missing"),
            ("μετατροπέας", "-έας -είς", set(), "learned masculine in -έας"),
            ("ιδέας", None, set(), "the genitive of a feminine in -έα has no -είς"),
            ("κουκίδα", "-ίδα -ίδων", set(), "-ίδας, -ίδες, -ίδων"),
            ("ομάδα", "-άδα -άδων", set(), "-άδας, -άδες, -άδων"),
            ("νομάδα", None, {"νομάδας"}, "the accusative of a masculine in -άδας"),
            ("φυγάδα", None, set(), "the accusative of a masculine in -άς"),
            ("σχολιασμός", "-σμός", set(), "-σμού, -σμό, -σμοί, -σμών"),
            ("θερμός", None, set(), "no -σμός, no plural forms listed"),
            ("ταχύτητα", "-ύτητα", set(), "-ύτητας, -ύτητες, -υτήτων"),
            ("σβηστήρας", "-τήρας", set(), "-τήρα, -τήρες, -τήρων"),
        ]
        assert_classes(self, lexicon_rules.noun_class, forms, cases)


class NounsKnownInTheSingular(unittest.TestCase):
    def test_cases(self):
        forms = set("""απάλυνση απάλυνσης στοίβαξης λέξη λέξης μέση μέσης μέσος παρούση
            παρούσης επίσης γλώσση γλώσσης γλώσσα κοτζάμπασης κοτζαμπάση κοτζαμπάσηδες
            πέραση πέρασης περάσεις αναγνωσιμότητα αναγνωσιμότητας στιλπνότητα""".split())
        cases = [
            ("απάλυνση", "-ση -σης, singular", set(), "the base form and the genitive"),
            ("στοίβαξη", "-ση -σης, singular", set(), "the genitive alone"),
            ("λέξη", "-ση -σης, singular", set(), "two syllables, the accent on the first"),
            ("μέση", None, set(), "the feminine of the adjective μέσος"),
            ("παρούση", None, set(), "a participle: the accent on the penult"),
            ("επίση", None, set(), "επίσης, the adverb: the accent on the penult"),
            ("γλώσση", None, {"γλώσσα"}, "γλώσσης, the learned genitive of γλώσσα"),
            ("κοτζάμπαση", None, set(), "a masculine in -ης, with -ηδες"),
            ("πέραση", None, set(), "περάσεις is listed, without -σεων: the verb's"),
            ("αναγνωσιμότητα", "-ότητα -ότητας, singular", set(), "-ότητα with -ότητας"),
            ("στιλπνότητα", None, set(), "no genitive listed"),
        ]
        assert_classes(self, lexicon_rules.singular_noun_class, forms, cases)


class PrefixedNouns(unittest.TestCase):
    def test_cases(self):
        nouns = {"κατάλογος", "ρύθμιση", "χώρα", "ορίζοντας", "φαινόμενο", "σύνολο"}
        forms = {"προχωρώ"}
        cases = [
            ("υποκατάλογος", ("υπο", "κατάλογος"), "a prefix on a noun"),
            ("προρρύθμιση", ("προ", "ρύθμιση"), "the ρ doubled after the prefix"),
            ("υπερσύνολο", ("υπερ", "σύνολο"), "a prefix ending in a consonant"),
            ("προχώρα", None, "the imperative of προχωρώ"),
            ("προορίζοντας", None, "the gerund of προορίζω"),
            ("αποφαινόμενο", None, "the participle of αποφαίνομαι"),
            ("υποσύνολα", None, "σύνολα is no base form of the lexicon"),
        ]
        for word, wanted, rule in cases:
            with self.subTest(word=word, rule=rule):
                self.assertEqual(lexicon_rules.prefixed_noun(word, nouns, forms), wanted)


class TranslatedNouns(unittest.TestCase):
    TABLE = build_lexicon.read_table()

    def test_cases(self):
        forms = {"κεφαλή", "σύνορα", "π", "καταθέτω", "αναδύομαι", "αρχαίοι"}
        nouns = {"κεφάλι", "σύνορο", "κεφαλή"}
        cases = [
            ("κεφαλή", None, "a noun beside κεφάλι, which the table does not reach"),
            ("σύνορα", "a form of σύνορο", "the plural of a noun"),
            ("π", "a letter, which a text uses as a symbol", "a letter"),
            ("καταθέτω", "a verb's first person", "a verb in -ω"),
            ("αναδύομαι", "a verb's first person", "a verb in -μαι"),
            ("αρχαίοι", "a masculine plural", "a plural in -οι"),
            ("άραβας", "hunspell-el does not list it in lower case", "a name"),
        ]
        for word, wanted, rule in cases:
            with self.subTest(word=word, rule=rule):
                self.assertEqual(
                    lexicon_rules.translated_noun(word, forms, nouns, self.TABLE), wanted)

    def test_a_word_that_a_nouns_base_form_reaches_is_shadowed(self):
        # Every τάξη would credit τάξος (-η to -ος) as well.
        reached = lexicon_rules.nouns_reached_from({"τάξη", "κεφάλι"}, self.TABLE,
                                                   {"τάξος", "κεφαλή", "τάξη"})
        self.assertEqual(reached, {"τάξος": "τάξη"})

    def test_another_spelling_of_a_nouns_lemma_is_no_new_noun(self):
        nouns = {"εργαστήρι", "αρχιμάγειρος", "αντιφασιστής", "ιόν", "κεφάλα"}
        words = {"εργαστήριο", "αρχιμάγειρας", "αντιφασίστας", "ίον", "κεφαλή", "αρχή"}
        self.assertEqual(lexicon_rules.ending_variants(words, nouns), {
            "εργαστήριο": "εργαστήρι", "αρχιμάγειρας": "αρχιμάγειρος",
            "αντιφασίστας": "αντιφασιστής", "ίον": "ιόν"})

    def test_the_translations_of_noun_headwords_are_read(self):
        entries = [
            ("Kopf", "Kopf /kɔp͡f/ <n, masc>\n1. κεφάλι, κεφαλή\noberster Körperteil\n"
                     "2. Κεφάλι\n"),
            ("klug", "klug /kluːk/ <adj>\nέξυπνος\n"),
            ("Zug", "Zug <n>\nαμαξοστοιχία, τρένο του μετρό\n"),
        ]
        with tempfile.TemporaryDirectory() as tmp:
            write_dictionary(Path(tmp), "freedict-deu-ell", entries)
            with mock.patch.object(build_lexicon, "DICT_DIR", Path(tmp)):
                found = build_lexicon.noun_translations("freedict-deu-ell")
        self.assertEqual(found, {"κεφάλι": ["Kopf", "Kopf"], "κεφαλή": ["Kopf"],
                                 "αμαξοστοιχία": ["Zug"]})


def write_dictionary(folder, name, entries):
    """A dictd dictionary of (headword, entry text) entries, as dict-freedict installs it."""
    def b64(value):
        digits = ""
        while True:
            digits = build_lexicon.B64[value % 64] + digits
            value //= 64
            if not value:
                return digits
    data, index = b"", []
    for headword, text in entries:
        raw = text.encode("utf-8")
        index.append(f"{headword}\t{b64(len(data))}\t{b64(len(raw))}")
        data += raw
    (folder / f"{name}.index").write_text("\n".join(index) + "\n", encoding="utf-8")
    with gzip.open(folder / f"{name}.dict.dz", "wb") as out:
        out.write(data)


class AcronymsEnterAsTheyAreClassified(unittest.TestCase):
    def test_common_nouns_enter_in_lower_case(self):
        classified = {"ΦΠΑ": ("Φόρος Προστιθέμενης Αξίας", "noun"), "ΟΗΕ": ("a body", "name"),
                      "ΑΤΜ": ("not certain", "unclear"), "ΣΥΝ": ("a party", "noun"),
                      "ΟΕ": ("Ομόρρυθμη Εταιρεία", "noun")}
        nouns, problems = lexicon_rules.acronym_nouns(
            {"ΦΠΑ", "ΟΗΕ", "ΑΤΜ", "ΣΥΝ", "ΟΕ", "Αθήνα"}, classified, {"συν"})
        self.assertEqual(list(nouns), ["φπα"], "names, unclear ones, words (συν) and two "
                         "letters stay out; a capitalised name is no acronym")
        self.assertEqual(problems, [])

    def test_an_unclassified_acronym_stops_the_build(self):
        _, problems = lexicon_rules.acronym_nouns({"ΚΤΕΛ", "ΟΕ"}, {}, set())
        self.assertEqual(len(problems), 2, "two letters are classified too")
        self.assertIn("ΚΤΕΛ", problems[0])


class AccentVariants(unittest.TestCase):
    def test_the_unlisted_spelling_goes(self):
        variants = lexicon_rules.accent_variants({"ποντίκι", "ποντικί", "όρος", "ορός"},
                                                 {"ποντίκι", "όρος", "ορός"})
        self.assertEqual(variants, {"ποντικί": "ποντίκι"}, "two listed spellings both stay")


class ConjugationSource(unittest.TestCase):
    def test_bad_lines_are_refused_with_their_line_number(self):
        cases = [
            ("ου\n", "needs at least one replacement"),
            ("ου ος ος\n", "listed twice"),
            ("ου ος\nου ο\n", "already has line 1"),
            ("ου Ος\n", "not lower-case Greek"),
            ("ου-1 ος\n", "takes no marker"),
        ]
        for text, message in cases:
            with self.subTest(text=text):
                with self.assertRaisesRegex(build_conjugation.SourceError, message):
                    build_conjugation.table_lines(text)

    def test_the_bundled_source_gives_the_bundled_table(self):
        source = (build_conjugation.DATA_DIR / "conjugation.source.txt").read_text(encoding="utf-8")
        table = (build_conjugation.DATA_DIR / "conjugation.txt").read_bytes()
        self.assertEqual(build_conjugation.table_bytes(source), table)


class BundledLexiconAgreesWithItsLists(unittest.TestCase):
    def test_check_lists(self):
        self.assertEqual(build_lexicon.check_lists(), [])


if __name__ == "__main__":
    unittest.main()
