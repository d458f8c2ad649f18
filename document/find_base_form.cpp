// CTavroDoc's Find Base Form command: the base form of one typed word, in a message.

#include "document/tavro_doc.h"
#include "lexicon/base_form.h"

namespace tavro {
namespace {

// While accents are not restored, a word that may lack its accent and is found
// nowhere gets a second sentence: the noun it matches once its accents are
// restored, and the menu item that restores them. Empty otherwise.
std::string RestoredAccentsHint(std::string_view typed, const std::vector<EndingGroup>& table,
                                const WordTable& nouns) {
    const WordEntry word(typed, 0);
    if (!MayLackItsAccent(word.word) || FindBaseForm(word.word, table, nouns)) return {};
    const AccentRestorer restorer(nouns, table);
    const std::uint32_t noun = restorer.Find(word.word, RestoredMatch::kFirstNoun);
    if (noun == WordTable::kNotFound) return {};
    return " With its accents restored, as Tools > Restore Accents of Capitals does, it is '" +
           nouns[noun].word + "'.";
}

// A word found nowhere that a prefix or a suffix makes a noun of gets a second
// sentence naming that noun, and while nouns are not derived, the menu item
// that derives them.
std::string DerivedNounHint(std::string_view typed, const std::vector<EndingGroup>& table,
                            const WordTable& nouns, bool deriving) {
    const std::string noun = DerivedNounOfTyped(typed, nouns, table);
    if (noun.empty()) return {};
    return std::string(" Made from its prefix or suffix") +
           (deriving ? "" : ", as Tools > Derive Nouns from Prefixes and Suffixes does") +
           ", it is '" + noun + "', a noun the lexicon lacks.";
}

}  // namespace

void CTavroDoc::OnToolsFindBaseForm() {
    const std::optional<std::string> typed = m_platform.AskInflectedWord();
    if (!typed || typed->empty()) return;
    std::string answer = BaseFormMessage(*typed, m_conjugation, *m_pNounTree, m_accentless.get());
    if (!m_accentless) answer += RestoredAccentsHint(*typed, m_conjugation, *m_pNounTree);
    answer += DerivedNounHint(*typed, m_conjugation, *m_pNounTree, m_deriver != nullptr);
    m_platform.ShowMessage({answer, ""});
}

}  // namespace tavro
