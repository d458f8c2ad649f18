#include "lexicon/tavro_doc.h"

#include "lexicon/base_form.h"
#include "lexicon/noun_lexicon.h"

namespace tavro {

CTavroDoc::CTavroDoc(Platform& platform) : m_platform(platform) {}

CTavroDoc::~CTavroDoc() {
    DeleteTree(m_pNounTree);
    DeleteTree(m_pWordTree);
}

Status CTavroDoc::LoadData(const DataFiles& files) {
    const Status lexicon = LoadNounLexicon(files.lexicon, m_pNounTree, m_platform);
    if (!lexicon.ok()) return lexicon;
    return LoadConjugationTable(files.conjugation, m_conjugation, m_platform);
}

bool CTavroDoc::OnNewDocument() {
    m_reportText.clear();
    m_reportText.shrink_to_fit();
    m_inputFiles.clear();
    m_inputFiles.shrink_to_fit();
    DeleteTree(m_pWordTree);
    m_pWordTree = nullptr;
    ResetCounts(m_pNounTree);
    return true;
}

std::string_view CTavroDoc::ReportText() const {
    const std::string_view text = m_reportText;
    return text.substr(0, text.find('\0'));
}

void CTavroDoc::OnToolsFindBaseForm() {
    const std::optional<std::string> typed = m_platform.AskInflectedWord();
    if (!typed || typed->empty()) return;
    m_platform.ShowMessage({BaseFormMessage(*typed, m_conjugation, m_pNounTree), ""});
}

}  // namespace tavro
