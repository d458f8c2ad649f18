#include "mpi/word_exchange.h"

#include <algorithm>
#include <deque>
#include <memory>

#include "corpus/word_counter.h"
#include "corpus/word_hash.h"
#include "mpi/packed_words.h"
#include "mpi/run_merge.h"

namespace tavro {
namespace {

// `runs` merged in word order into `take`; the runs are freed.
void MergeOwnRuns(std::vector<std::vector<WordEntry>>& runs,
                  const std::function<void(std::string_view, Count)>& take) {
    std::vector<std::unique_ptr<WordRun>> merged;
    for (const std::vector<WordEntry>& run : runs) merged.push_back(RunOf(run));
    MergeRuns(merged, false, take);
    std::vector<std::vector<WordEntry>>().swap(runs);
}

std::vector<std::string> PackByOwner(std::vector<std::vector<WordEntry>>& runs, int ranks) {
    std::vector<std::string> packs(static_cast<std::size_t>(ranks));
    MergeOwnRuns(runs, [&](std::string_view word, Count count) {
        AppendPackedWord(packs[static_cast<std::size_t>(OwnerOf(word, ranks))], word, count);
    });
    return packs;
}

std::uint64_t RoundsFor(const std::vector<std::string>& packs, std::size_t roundBytes) {
    std::uint64_t rounds = 0;
    for (const std::string& pack : packs) {
        rounds = std::max<std::uint64_t>(rounds, (pack.size() + roundBytes - 1) / roundBytes);
    }
    return rounds;
}

// Sends every rank its pack; what every rank sent this one, as its chunks.
std::vector<std::deque<std::string>> SendInRounds(Communicator& ranks,
                                                  std::vector<std::string> packs,
                                                  std::size_t roundBytes) {
    const std::size_t size = packs.size();
    const std::uint64_t rounds = ranks.MaxOverRanks(RoundsFor(packs, roundBytes));
    std::vector<std::size_t> sent(size, 0);
    std::vector<std::string_view> outgoing(size);
    std::vector<std::string> incoming(size);
    std::vector<std::deque<std::string>> received(size);
    for (std::uint64_t round = 0; round < rounds; ++round) {
        for (std::size_t d = 0; d < size; ++d) {
            outgoing[d] = std::string_view(packs[d]).substr(sent[d], roundBytes);
            sent[d] += outgoing[d].size();
        }
        ranks.Exchange(outgoing, incoming);
        for (std::size_t d = 0; d < size; ++d) {
            if (sent[d] != packs[d].size()) continue;
            std::string().swap(packs[d]);  // all sent: its memory goes back now
            sent[d] = 0;
        }
        for (std::size_t s = 0; s < size; ++s) {
            if (!incoming[s].empty()) received[s].push_back(std::move(incoming[s]));
        }
    }
    return received;
}

}  // namespace

int OwnerOf(std::string_view word, int ranks) {
    // A hash of its own, not the one the counting tables pick partitions and
    // slots by: the words a rank owns spread evenly over its own tables.
    constexpr std::uint64_t kOwnerMix = 0xD6E8FEB86659FD93ull;
    const std::uint64_t hash = word_hash::Mix(word_hash::Hash(word), kOwnerMix);
    return static_cast<int>(WordCounter::PartitionOf(hash, static_cast<std::size_t>(ranks)));
}

std::vector<WordEntry> ExchangeWords(Communicator& ranks, std::vector<std::vector<WordEntry>> runs,
                                     std::size_t roundBytes) {
    std::vector<WordEntry> owned;
    const auto keep = [&](std::string_view word, Count count) {
        owned.emplace_back();
        owned.back().word.assign(word);
        owned.back().count = count;
    };
    if (ranks.Size() == 1) {  // every word is this rank's already
        if (runs.size() == 1) return std::move(runs.front());
        MergeOwnRuns(runs, keep);
        return owned;
    }
    std::vector<std::deque<std::string>> received =
        SendInRounds(ranks, PackByOwner(runs, ranks.Size()), roundBytes);
    std::vector<std::unique_ptr<WordRun>> packs;
    for (std::deque<std::string>& chunks : received) {
        packs.push_back(PackedRun([&chunks] {
            if (chunks.empty()) return std::string();
            std::string chunk = std::move(chunks.front());
            chunks.pop_front();
            return chunk;
        }));
    }
    MergeRuns(packs, false, keep);
    return owned;
}

}  // namespace tavro
