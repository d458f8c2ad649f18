// CTavroDoc's analysis of its last run, and its words as a count file holds them.

#include "document/tavro_doc.h"

namespace tavro {

const RunAnalysis* CTavroDoc::Analysis() const {
    if (m_pWordTree == nullptr) return nullptr;
    if (!m_analysis) {
        RunFacts facts;
        facts.words = m_pWordTree.get();
        facts.credits = &m_credits;
        facts.nouns = &NounTree();
        facts.lexicon = m_runDerivedNouns ? m_pNounTree.get() : nullptr;
        facts.files = m_wordFiles.empty() ? nullptr : &m_wordFiles;
        facts.inputFiles = m_runFileCount;
        facts.bytes = m_bytesRead;
        facts.badSequences = m_badSequences;
        facts.windows = m_windows;
        m_analysis = std::make_unique<RunAnalysis>(RunAnalysis::Build(facts));
    }
    return m_analysis.get();
}

WordCounts CTavroDoc::RunCounts() const {
    WordCounts counts;
    if (m_pWordTree != nullptr) counts.words = m_pWordTree->Entries();
    counts.files = m_wordFiles;
    counts.fileCount = m_runFileCount;
    counts.bytes = m_bytesRead;
    counts.badSequences = m_badSequences;
    return counts;
}

}  // namespace tavro
