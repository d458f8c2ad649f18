#include "mpi/word_exchange.h"

#include <algorithm>

#include "corpus/parallel.h"
#include "corpus/sorted_merge.h"
#include "corpus/word_counter.h"
#include "corpus/word_hash.h"
#include "mpi/packed_words.h"
#include "mpi/wire.h"

namespace tavro {
namespace {

// Every rank's words packed by owner; the runs are emptied as they are packed.
std::vector<std::string> PackByOwner(std::vector<std::vector<WordEntry>>& runs, int ranks) {
    std::vector<std::string> packs(static_cast<std::size_t>(ranks));
    for (std::vector<WordEntry>& run : runs) {
        for (WordEntry& entry : run) {
            AppendPackedWord(packs[static_cast<std::size_t>(OwnerOf(entry.word, ranks))],
                             entry.word, entry.count);
            std::string().swap(entry.word);
        }
        std::vector<WordEntry>().swap(run);
    }
    return packs;
}

std::uint64_t RoundsFor(const std::vector<std::string>& packs, std::size_t roundBytes) {
    std::uint64_t rounds = 0;
    for (const std::string& pack : packs) {
        rounds = std::max<std::uint64_t>(rounds, (pack.size() + roundBytes - 1) / roundBytes);
    }
    return rounds;
}

// The words of `owned` in word order; the counter is emptied.
std::vector<WordEntry> InWordOrder(WordCounter& owned, int threads) {
    std::vector<SortedRun> runs(owned.Partitions());
    RunShares(runs.size(), threads, [&](std::size_t p) {
        const std::vector<CountTable::CountedWord> words = owned.Part(p).SortedWords();
        runs[p].entries.resize(words.size());
        for (std::size_t i = 0; i < words.size(); ++i) {
            runs[p].entries[i].word.assign(words[i].word);
            runs[p].entries[i].count = words[i].count;
        }
        owned.Part(p) = CountTable(2);
    });
    return MergeSortedRuns(runs, threads).entries;
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
                                     std::size_t roundBytes, int threads) {
    const auto size = static_cast<std::size_t>(ranks.Size());
    std::vector<std::string> packs = PackByOwner(runs, ranks.Size());
    const std::uint64_t rounds = ranks.MaxOverRanks(RoundsFor(packs, roundBytes));
    std::vector<std::size_t> sent(size, 0);
    std::vector<PackedWordReader> readers(size);
    WordCounter owned(static_cast<std::size_t>(threads));
    std::vector<std::string_view> outgoing(size);
    std::vector<std::string> incoming(size);
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
            readers[s].Feed(incoming[s]);
            std::string_view word;
            Count count = 0;
            while (readers[s].Next(word, count)) owned.Add(word, count);
        }
    }
    for (const PackedWordReader& reader : readers) {
        if (reader.Pending()) throw wire::Malformed("word exchange");
    }
    return InWordOrder(owned, threads);
}

}  // namespace tavro
