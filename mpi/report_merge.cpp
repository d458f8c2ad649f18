#include "mpi/report_merge.h"

#include "mpi/packed_words.h"
#include "mpi/run_merge.h"
#include "report/report_text.h"

namespace tavro {
namespace {

// Lines rendered at a time: the merged words wait in a batch of this many.
constexpr std::size_t kBatch = 4096;

// Collects merged words and renders them a batch at a time, as tavro-cli does.
class ReportWriter {
  public:
    void Add(std::string_view word, Count count) {
        if (m_used == m_batch.size()) m_batch.emplace_back();
        m_batch[m_used].word.assign(word);
        m_batch[m_used].count = count;
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
    runs.push_back(RunOf(own));
    for (int source = 1; source < ranks.Size(); ++source) {
        runs.push_back(PackedRun([&ranks, source] { return ranks.Receive(source); }));
    }
    ReportWriter report;
    MergeRuns(runs, byFrequency,
              [&](std::string_view word, Count count) { report.Add(word, count); });
    return report.Finish();
}

}  // namespace tavro
