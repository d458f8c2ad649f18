#include "mpi/report_merge.h"

#include <queue>

#include "mpi/packed_words.h"
#include "mpi/wire.h"
#include "report/report_text.h"

namespace tavro {
namespace {

// Lines rendered at a time: the merged words wait in a batch of this many.
constexpr std::size_t kBatch = 4096;

class ListRun : public WordRun {
  public:
    explicit ListRun(const DisplayList& list) : m_list(list) {}
    bool Next(std::string_view& word, Count& count) override {
        if (m_next == m_list.size()) return false;
        const WordEntry& entry = *m_list[m_next++];
        word = entry.word;
        count = entry.count;
        return true;
    }

  private:
    const DisplayList& m_list;
    std::size_t m_next = 0;
};

// The list another rank sends: chunks of packed words, then an empty chunk.
class ReceivedRun : public WordRun {
  public:
    ReceivedRun(Communicator& ranks, int source) : m_ranks(ranks), m_source(source) {}
    bool Next(std::string_view& word, Count& count) override {
        while (!m_reader.Next(word, count)) {
            if (m_ended) {
                if (m_reader.Pending()) throw wire::Malformed("report list");
                return false;
            }
            const std::string chunk = m_ranks.Receive(m_source);
            m_ended = chunk.empty();
            m_reader.Feed(chunk);
        }
        return true;
    }

  private:
    Communicator& m_ranks;
    int m_source;
    PackedWordReader m_reader;
    bool m_ended = false;
};

struct Head {
    std::string_view word;
    Count count = 0;
};

bool InReportOrder(const Head& a, const Head& b, bool byFrequency) {
    if (byFrequency && a.count != b.count) return a.count > b.count;
    return a.word < b.word;
}

// Collects merged words and renders them a batch at a time.
class ReportWriter {
  public:
    void Add(const Head& head) {
        if (m_used == m_batch.size()) m_batch.emplace_back();
        m_batch[m_used].word.assign(head.word);
        m_batch[m_used].count = head.count;
        if (++m_used == kBatch) Flush();
    }
    std::string Finish() {
        Flush();
        return std::move(m_report);
    }

  private:
    void Flush() {
        DisplayList list;
        list.reserve(m_used);
        for (std::size_t i = 0; i < m_used; ++i) list.push_back(&m_batch[i]);
        m_report += RenderReport(list);
        m_used = 0;
    }

    std::vector<WordEntry> m_batch;  // entries beyond m_used keep their storage
    std::size_t m_used = 0;
    std::string m_report;
};

}  // namespace

std::string MergeReport(std::vector<std::unique_ptr<WordRun>>& runs, bool byFrequency) {
    std::vector<Head> heads(runs.size());
    const auto later = [&](std::size_t a, std::size_t b) {
        return InReportOrder(heads[b], heads[a], byFrequency);
    };
    std::priority_queue<std::size_t, std::vector<std::size_t>, decltype(later)> next(later);
    for (std::size_t r = 0; r < runs.size(); ++r) {
        if (runs[r]->Next(heads[r].word, heads[r].count)) next.push(r);
    }
    ReportWriter report;
    while (!next.empty()) {
        const std::size_t r = next.top();
        next.pop();
        report.Add(heads[r]);
        if (runs[r]->Next(heads[r].word, heads[r].count)) next.push(r);
    }
    return report.Finish();
}

void SendReportList(Communicator& ranks, const DisplayList& list, std::size_t chunkBytes) {
    std::string pending;
    for (const WordEntry* entry : list) {
        AppendPackedWord(pending, entry->word, entry->count);
        if (pending.size() < chunkBytes) continue;
        std::size_t sent = 0;
        for (; pending.size() - sent >= chunkBytes; sent += chunkBytes) {
            ranks.Send(0, std::string_view(pending).substr(sent, chunkBytes));
        }
        pending.erase(0, sent);
    }
    if (!pending.empty()) ranks.Send(0, pending);
    ranks.Send(0, {});  // the end of the list
}

std::string MergeReportLists(Communicator& ranks, const DisplayList& own, bool byFrequency) {
    std::vector<std::unique_ptr<WordRun>> runs;
    runs.push_back(std::make_unique<ListRun>(own));
    for (int source = 1; source < ranks.Size(); ++source) {
        runs.push_back(std::make_unique<ReceivedRun>(ranks, source));
    }
    return MergeReport(runs, byFrequency);
}

}  // namespace tavro
