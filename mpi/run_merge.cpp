#include "mpi/run_merge.h"

#include <queue>

#include "mpi/wire.h"

namespace tavro {
namespace {

class EntryRun : public WordRun {
  public:
    explicit EntryRun(const std::vector<WordEntry>& entries) : m_entries(entries) {}
    bool Next(std::string_view& word, Count& count) override {
        if (m_next == m_entries.size()) return false;
        word = m_entries[m_next].word;
        count = m_entries[m_next++].count;
        return true;
    }

  private:
    const std::vector<WordEntry>& m_entries;
    std::size_t m_next = 0;
};

class ListRun : public WordRun {
  public:
    explicit ListRun(const DisplayList& list) : m_list(list) {}
    bool Next(std::string_view& word, Count& count) override {
        if (m_next == m_list.size()) return false;
        word = m_list[m_next]->word;
        count = m_list[m_next++]->count;
        return true;
    }

  private:
    const DisplayList& m_list;
    std::size_t m_next = 0;
};

class ChunkRun : public WordRun {
  public:
    explicit ChunkRun(std::function<std::string()> nextChunk) : m_nextChunk(std::move(nextChunk)) {}
    bool Next(std::string_view& word, Count& count) override {
        while (!m_reader.Next(word, count)) {
            if (m_ended) {
                if (m_reader.Pending()) throw wire::Malformed("run of packed words");
                return false;
            }
            const std::string chunk = m_nextChunk();
            m_ended = chunk.empty();
            m_reader.Feed(chunk);
        }
        return true;
    }

  private:
    std::function<std::string()> m_nextChunk;
    PackedWordReader m_reader;
    bool m_ended = false;
};

struct Head {
    std::string_view word;
    Count count = 0;
};

bool Before(const Head& a, const Head& b, bool byFrequency) {
    if (byFrequency && a.count != b.count) return a.count > b.count;
    return a.word < b.word;
}

}  // namespace

std::unique_ptr<WordRun> RunOf(const std::vector<WordEntry>& entries) {
    return std::make_unique<EntryRun>(entries);
}

std::unique_ptr<WordRun> RunOf(const DisplayList& list) { return std::make_unique<ListRun>(list); }

std::unique_ptr<WordRun> PackedRun(std::function<std::string()> nextChunk) {
    return std::make_unique<ChunkRun>(std::move(nextChunk));
}

void MergeRuns(std::vector<std::unique_ptr<WordRun>>& runs, bool byFrequency,
               const std::function<void(std::string_view word, Count count)>& take) {
    std::vector<Head> heads(runs.size());
    const auto later = [&](std::size_t a, std::size_t b) {
        return Before(heads[b], heads[a], byFrequency);
    };
    std::priority_queue<std::size_t, std::vector<std::size_t>, decltype(later)> next(later);
    const auto advance = [&](std::size_t r) {
        if (runs[r]->Next(heads[r].word, heads[r].count)) next.push(r);
    };
    for (std::size_t r = 0; r < runs.size(); ++r) advance(r);
    std::string word;  // a copy: advancing a run may end the life of its head's bytes
    while (next.size() > 1) {
        const std::size_t r = next.top();
        next.pop();
        word.assign(heads[r].word);
        Count count = heads[r].count;
        advance(r);
        while (!next.empty() && heads[next.top()].word == word) {
            const std::size_t same = next.top();
            next.pop();
            count += heads[same].count;
            advance(same);
        }
        take(word, count);
    }
    if (next.empty()) return;
    const std::size_t last = next.top();  // the one run left needs no comparing
    do {
        take(heads[last].word, heads[last].count);
    } while (runs[last]->Next(heads[last].word, heads[last].count));
}

}  // namespace tavro
