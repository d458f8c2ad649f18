#include "document/tavro_doc.h"

#include <new>

#include "lexicon/noun_lexicon.h"

namespace tavro {

CTavroDoc::CTavroDoc(Platform& platform)
    : m_pNounTree(std::make_unique<WordTable>()), m_platform(platform) {}

Status CTavroDoc::LoadData(const DataFiles& files) {
    try {
        const Status lexicon = LoadNounLexicon(m_platform.Files(), files.lexicon, *m_pNounTree);
        if (!lexicon.ok()) return lexicon;
    } catch (const std::bad_alloc&) {
        return Status::Fatal({"Out of memory while loading the lexicon ", files.lexicon});
    }
    try {
        return LoadConjugationTable(m_platform.Files(), files.conjugation, m_conjugation);
    } catch (const std::bad_alloc&) {
        return Status::Fatal(
            {"Out of memory while loading the inflection table ", files.conjugation});
    }
}

void CTavroDoc::SetCapitalsAccents(bool on) {
    if (on == CapitalsAccents()) return;
    m_accentless = on ? std::make_unique<AccentRestorer>(*m_pNounTree, m_conjugation) : nullptr;
}

void CTavroDoc::SetDerivedNouns(bool on) {
    if (on == DerivedNouns()) return;
    m_deriver = on ? std::make_unique<NounDeriver>(*m_pNounTree, m_conjugation) : nullptr;
}

void CTavroDoc::ClearRun() {
    m_reportText.clear();
    m_reportText.shrink_to_fit();
    m_pWordTree.reset();
    m_credits = {};
    m_runWarnings.clear();
    m_wordFiles = {};
    m_windows.reset();
    m_runFileCount = m_bytesRead = m_badSequences = 0;
    m_analysis.reset();
    ResetCounts(*m_pNounTree);
    m_pRunNounTree.reset();
    m_runDerivedNouns = false;
}

bool CTavroDoc::OnNewDocument() {
    ClearRun();
    m_inputFiles.clear();
    m_inputFiles.shrink_to_fit();
    return true;
}

std::string_view CTavroDoc::ReportText() const {
    const std::string_view text = m_reportText;
    return text.substr(0, text.find('\0'));
}

}  // namespace tavro
