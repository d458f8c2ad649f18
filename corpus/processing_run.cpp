// CTavroDoc's processing run: the Open Input Files command after the user confirmed
// the list, and the crediting of every noun that a word of the corpus may come from.

#include "lexicon/base_form.h"
#include "lexicon/noun_index.h"
#include "lexicon/tavro_doc.h"

namespace tavro {

Status CTavroDoc::OpenInputFiles(std::vector<std::string> files) {
    m_inputFiles = std::move(files);
    m_reportText.clear();
    m_reportText.shrink_to_fit();
    DeleteTree(m_pWordTree);
    m_pWordTree = nullptr;
    ResetCounts(m_pNounTree);
    return ProcessInputFiles();
}

Status CTavroDoc::ProcessInputFiles() {
    const auto n = static_cast<std::int64_t>(m_inputFiles.size());
    if (n == 0) {
        m_platform.ShowMessage({"No Input Files have been Selected.\n", ""});
        return Status::Ok();
    }
    std::unique_ptr<ProgressDisplay> progress = m_platform.CreateProgressDialog();
    progress->SetRange(1, n + 1);
    progress->SetStep(1);
    progress->SetPos(1);
    const Status read = ReadInputFiles(*progress);
    if (!read.ok()) return read;
    CreditNouns();
    RefreshView();
    return Status::Ok();
}

// Every candidate of every distinct word that is a noun receives the word's count,
// once per time it is met: a noun reached twice is credited twice.
void CTavroDoc::CreditNouns() {
    const NounIndex nouns(m_pNounTree);
    std::vector<WordEntry> words;
    CollectInOrder(m_pWordTree, words);
    for (const WordEntry& current : words) {
        ForEachBaseFormCandidate(current.word, m_conjugation, [&](const std::string& candidate) {
            if (WordNode* noun = nouns.Find(candidate)) noun->entry.count += current.count;
            return true;
        });
    }
}

}  // namespace tavro
