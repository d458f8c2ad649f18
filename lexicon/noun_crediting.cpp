#include "lexicon/noun_crediting.h"

#include <algorithm>

#include "corpus/huge_page_allocator.h"
#include "corpus/parallel.h"
#include "lexicon/base_form.h"
#include "lexicon/ending_index.h"

namespace tavro {
namespace {

// Below this many words per share, a thread costs more than it saves.
constexpr std::size_t kWordsPerShare = 20000;

struct ShareCredits {
    std::vector<std::size_t> counts;  // credits per word of the share
    std::vector<std::uint32_t> nouns;
};

ShareCredits CreditShare(const WordTable& words, std::size_t begin, std::size_t end,
                         const WordTable& nouns, const std::vector<EndingGroup>& table,
                         const EndingIndex& endings, const AccentRestorer* restoring) {
    ShareCredits share;
    share.counts.reserve(end - begin);
    for (std::size_t w = begin; w < end; ++w) {
        const std::size_t before = share.nouns.size();
        ForEachBaseFormCandidate(words[w].word, table, endings, [&](const std::string& candidate) {
            const std::uint32_t noun = nouns.Find(candidate);
            if (noun != WordTable::kNotFound) share.nouns.push_back(noun);
            return true;
        });
        if (restoring != nullptr && share.nouns.size() == before &&
            MayLackItsAccent(words[w].word)) {
            const std::uint32_t noun = restoring->Find(words[w].word, RestoredMatch::kOnlyNoun);
            if (noun != WordTable::kNotFound) share.nouns.push_back(noun);
        }
        share.counts.push_back(share.nouns.size() - before);
    }
    return share;
}

}  // namespace

WordCredits CreditNouns(const WordTable& words, const WordTable& nouns,
                        const std::vector<EndingGroup>& table, int threads,
                        const AccentRestorer* restoring) {
    const EndingIndex endings(table);
    const std::size_t shareCount = std::max<std::size_t>(1, words.size() / kWordsPerShare);
    const std::size_t shareSize = (words.size() + shareCount - 1) / shareCount;
    std::vector<ShareCredits> shares(shareCount);
    RunShares(shareCount, ThreadsFor(threads), [&](std::size_t s) {
        const std::size_t begin = std::min(words.size(), s * shareSize);
        const std::size_t end = std::min(words.size(), begin + shareSize);
        shares[s] = CreditShare(words, begin, end, nouns, table, endings, restoring);
    });

    WordCredits credits;
    credits.m_offsets.reserve(words.size() + 1);
    AdviseHugePages(credits.m_offsets);
    credits.m_offsets.push_back(0);
    for (ShareCredits& share : shares) {
        for (const std::size_t count : share.counts) {
            credits.m_offsets.push_back(credits.m_offsets.back() + count);
        }
        credits.m_nouns.insert(credits.m_nouns.end(), share.nouns.begin(), share.nouns.end());
        share = {};
    }
    return credits;
}

void AddCredits(const WordCredits& credits, const WordTable& words, WordTable& nouns) {
    for (std::size_t w = 0; w < credits.WordCount(); ++w) {
        for (const std::uint32_t noun : credits.Of(w)) nouns.AddToCount(noun, words[w].count);
    }
}

}  // namespace tavro
