// CTavroDoc's processing run: the Open Input Files command after the user confirmed
// the list, and the crediting of every noun that a word of the corpus may come from.

#include <thread>

#include "corpus/counting_pool.h"
#include "lexicon/base_form.h"
#include "lexicon/noun_index.h"
#include "lexicon/tavro_doc.h"

namespace tavro {
namespace {

// Below this many words per thread, starting a thread costs more than it saves.
constexpr std::size_t kWordsPerThread = 20000;

// Adds to `credits` (by noun ordinal) what the words [begin, end) give their nouns.
void CreditRange(const std::vector<WordNode*>& words, std::size_t begin, std::size_t end,
                 const std::vector<EndingGroup>& table, const EndingIndex& endings,
                 const NounIndex& nouns, std::vector<Count>& credits) {
    for (std::size_t w = begin; w < end; ++w) {
        const WordEntry& word = words[w]->entry;
        ForEachBaseFormCandidate(word.word, table, endings, [&](const std::string& candidate) {
            const std::uint32_t noun = nouns.Find(candidate);
            if (noun != NounIndex::kNotFound) credits[noun] += word.count;
            return true;
        });
    }
}

}  // namespace

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
// once per time it is met: a noun reached twice is credited twice. The words are
// shared out among threads, each adding up credits of its own.
void CTavroDoc::CreditNouns() {
    const NounIndex nouns(m_pNounTree);
    const EndingIndex endings(m_conjugation);
    std::vector<WordNode*> words;
    CollectNodesInOrder(m_pWordTree, words);

    const std::size_t threads = std::min<std::size_t>(
        static_cast<std::size_t>(CountingPool::ThreadsFor(m_threads)),
        words.size() / kWordsPerThread + 1);
    std::vector<std::vector<Count>> credits(threads, std::vector<Count>(nouns.size(), 0));
    std::vector<std::thread> workers;
    const std::size_t share = (words.size() + threads - 1) / threads;
    for (std::size_t t = 0; t < threads; ++t) {
        const std::size_t begin = std::min(words.size(), t * share);
        const std::size_t end = std::min(words.size(), begin + share);
        auto credit = [&, t, begin, end] {
            CreditRange(words, begin, end, m_conjugation, endings, nouns, credits[t]);
        };
        if (t + 1 == threads) {
            credit();  // the last share runs on this thread
        } else {
            workers.emplace_back(credit);
        }
    }
    for (std::thread& worker : workers) worker.join();
    for (const std::vector<Count>& threadCredits : credits) {
        for (std::uint32_t noun = 0; noun < threadCredits.size(); ++noun) {
            nouns.Node(noun).entry.count += threadCredits[noun];
        }
    }
}

}  // namespace tavro
