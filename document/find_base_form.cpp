// CTavroDoc's Find Base Form command: the base form of one typed word, in a message.

#include "document/tavro_doc.h"
#include "lexicon/base_form.h"

namespace tavro {

void CTavroDoc::OnToolsFindBaseForm() {
    const std::optional<std::string> typed = m_platform.AskInflectedWord();
    if (!typed || typed->empty()) return;
    m_platform.ShowMessage(
        {BaseFormMessage(*typed, m_conjugation, *m_pNounTree, m_accentless.get()), ""});
}

}  // namespace tavro
