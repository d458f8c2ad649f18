// CTavroDoc's processing run: the Open Input Files command once the user
// confirmed the list, counting the input files, crediting the nouns.

#include <chrono>
#include <new>
#include <utility>

#include "document/tavro_doc.h"

namespace tavro {
namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

Status CTavroDoc::OpenInputFiles(std::vector<std::string> files) {
    std::vector<std::string> previous = std::exchange(m_inputFiles, std::move(files));
    if (m_inputFiles.empty()) ClearRun();
    const Status run = ProcessInputFiles();
    if (!run.ok()) m_inputFiles = std::move(previous);
    return run;
}

CountedInput CTavroDoc::ReadInputFiles(ProgressDisplay& progress) const {
    return CountInputFiles(m_inputFiles, m_platform.Files(), progress,
                           {m_threads, m_extras.files, m_inputEncoding, m_extras.windows});
}

Status CTavroDoc::AddCountFiles(CountedInput& counted) const {
    WordCounts all;
    all.words = counted.words.Entries();
    all.files = std::move(counted.files);
    all.fileCount = m_inputFiles.size();
    all.bytes = counted.bytesRead;
    all.badSequences = counted.badSequences;
    for (const std::string& path : m_addedCounts) {
        LoadedCounts loaded = ReadCountFile(m_platform.Files(), path);
        if (!loaded.status.ok()) return loaded.status;
        all = AddCounts(std::move(all), loaded.counts);
    }
    counted.words = WordTable::FromSorted(std::move(all.words), WordTable::Index::kOnFirstFind);
    counted.files = m_extras.files ? std::move(all.files) : WordFiles();
    counted.bytesRead = all.bytes;
    counted.badSequences = all.badSequences;
    counted.fileCount = all.fileCount;
    // Windows cross the ends of files: counts added from elsewhere have none.
    counted.windows.reset();
    return Status::Ok();
}

Status CTavroDoc::ProcessInputFiles() {
    const auto n = static_cast<std::int64_t>(m_inputFiles.size());
    if (n == 0 && m_addedCounts.empty()) {
        m_platform.ShowMessage({"No Input Files have been Selected.\n", ""});
        return Status::Ok();
    }
    std::unique_ptr<ProgressDisplay> progress = m_platform.CreateProgressDialog();
    progress->SetRange(1, n + 1);
    progress->SetStep(1);
    progress->SetPos(1);
    CountedInput counted = ReadInputFiles(*progress);
    if (!counted.status.ok()) return counted.status;
    counted.fileCount = m_inputFiles.size();
    if (!m_addedCounts.empty()) {
        try {
            const Status added = AddCountFiles(counted);
            if (!added.ok()) return added;
        } catch (const std::bad_alloc&) {
            return Status::Fatal({"Out of memory while adding the count files", ""});
        }
    }
    RunTimings timings{counted.countingSeconds, counted.sortingSeconds};
    try {
        const auto creditingStarts = std::chrono::steady_clock::now();
        WordCredits credits =
            CreditNouns(counted.words, *m_pNounTree, m_conjugation, m_threads, m_accentless.get());
        std::unique_ptr<WordTable> runNouns;
        if (m_deriver) {
            WordTable all =
                AddDerivedNouns(counted.words, *m_pNounTree, *m_deriver, credits, m_threads);
            if (!all.empty()) runNouns = std::make_unique<WordTable>(std::move(all));
        }
        timings.crediting = SecondsSince(creditingStarts);
        // The run is complete: its results replace the last run's.
        ClearRun();
        m_pWordTree = std::make_unique<WordTable>(std::move(counted.words));
        m_pRunNounTree = std::move(runNouns);
        m_runDerivedNouns = m_deriver != nullptr;
        AddCredits(credits, *m_pWordTree, m_pRunNounTree ? *m_pRunNounTree : *m_pNounTree);
        m_credits = std::move(credits);
        m_runWarnings = std::move(counted.warnings);
        m_wordFiles = std::move(counted.files);
        m_windows = counted.windows;
        m_runFileCount = counted.fileCount;
        m_bytesRead = counted.bytesRead;
        m_badSequences = counted.badSequences;
    } catch (const std::bad_alloc&) {
        return Status::Fatal({"Out of memory while crediting the nouns", ""});
    }
    const auto reportStarts = std::chrono::steady_clock::now();
    RefreshView();
    timings.report = SecondsSince(reportStarts);
    m_timings = timings;
    return Status::Ok();
}

}  // namespace tavro
