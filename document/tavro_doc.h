// CTavroDoc: the one document of the program.
//
// It owns everything the program knows: the noun table (the lexicon, whose
// counts a processing run fills), the inflection table, the input files of the
// last run, the word table of that run with the credits its words gave, the
// report text and the two display flags. m_pNounTree and m_pWordTree own their
// tables (word_table.h); the word table is null until a run has made one.
// Loading the data files happens once (LoadData, right after construction);
// File > New re-initialises the per-run state and keeps the lexicon, the table
// and the flags.
//
// A processing run works on its own results and puts them in place only when it
// has finished: a run that fails leaves the document as it was and returns a
// Status that names the file and the problem; the shell decides whether the
// process ends. Messages that are no errors, progress and view updates go
// through the Platform. The report text is exactly what saving writes.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "corpus/count_file.h"
#include "corpus/input_reading.h"
#include "corpus/word_table.h"
#include "lexicon/accent_restoring.h"
#include "lexicon/ending_table.h"
#include "lexicon/noun_crediting.h"
#include "lexicon/noun_derivation.h"
#include "platform/platform.h"
#include "platform/status.h"
#include "report/run_analysis.h"
#include "report/word_list.h"

namespace tavro {

// Where the two data files are read from.
struct DataFiles {
    std::string lexicon = "finalList.txt";
    std::string conjugation = "conjugation.txt";
};

// Wall seconds of each phase of the last processing run.
struct RunTimings {
    double counting = 0;   // reading and counting the input files
    double sorting = 0;    // putting the counted words in order
    double crediting = 0;  // analysing every distinct word and crediting its nouns
    double report = 0;     // ordering and writing the report
};

// What a run gathers beyond the report, for its analysis. Off by default, so
// that a run that only makes the report pays nothing for them.
struct RunExtras {
    bool files = false;    // the files each word occurs in (dispersion, count files)
    bool windows = false;  // the text taken in 1,000-token windows (the STTR)
};

class CTavroDoc {
  public:
    explicit CTavroDoc(Platform& platform);
    CTavroDoc(const CTavroDoc&) = delete;
    CTavroDoc& operator=(const CTavroDoc&) = delete;

    // Reads the lexicon, then the inflection table. NoDocument when the lexicon
    // cannot be opened or read; Fatal when the table cannot be.
    Status LoadData(const DataFiles& files = {});

    // Empties the report, the input list and the word table; every noun count
    // becomes 0. The flags, the lexicon and the inflection table stay.
    bool OnNewDocument();

    // What the Open Input Files command does once the user confirmed `files`:
    // a run over them whose results replace the last run's. An empty list
    // empties the run's state and only shows "No Input Files have been Selected.".
    Status OpenInputFiles(std::vector<std::string> files);

    // Reads and counts the input files, credits the nouns and rebuilds the report.
    Status ProcessInputFiles();

    // Counts every input file, in list order, into a word table (which it returns).
    CountedInput ReadInputFiles(ProgressDisplay& progress) const;

    // How many threads a run may use to count and analyse; 0 (the default) uses
    // every core. The results do not depend on it.
    void SetThreadCount(int threads) { m_threads = threads; }

    // Whether words that may lack their accent (Greek capitals are written
    // without) are matched with the lexicon's nouns up to accents, in runs and in
    // Find Base Form (accent_restoring.h). Off by default; takes effect from the
    // next run on.
    void SetCapitalsAccents(bool on);
    bool CapitalsAccents() const { return m_accentless != nullptr; }
    // The lexicon and table without accents, while SetCapitalsAccents is on.
    const AccentRestorer* AccentlessIndex() const { return m_accentless.get(); }

    // Whether a run also credits nouns that the lexicon lacks, made from words
    // that credit none of its nouns by a productive prefix or a suffix that only
    // nouns take (noun_derivation.h). Off by default; takes effect from the next
    // run on.
    void SetDerivedNouns(bool on);
    bool DerivedNouns() const { return m_deriver != nullptr; }

    // What a run reads its input files as: detected per file (the default), or
    // one encoding for all of them.
    void SetInputEncoding(EncodingChoice encoding) { m_inputEncoding = encoding; }
    EncodingChoice InputEncoding() const { return m_inputEncoding; }

    // What the next runs gather beyond the report.
    void SetRunExtras(RunExtras extras) { m_extras = extras; }
    RunExtras Extras() const { return m_extras; }
    // Count files (count_file.h) that the next runs add to their text files, in
    // this order, after them. A run of count files alone is a run.
    void SetAddedCounts(std::vector<std::string> paths) { m_addedCounts = std::move(paths); }
    const std::vector<std::string>& AddedCounts() const { return m_addedCounts; }

    // The analysis of the last run (run_analysis.h), built on the first call and
    // kept until the next run or reset; null when there has been no run.
    // Throws std::bad_alloc when memory runs out.
    const RunAnalysis* Analysis() const;
    // The last run's words as a count file holds them; their files are there
    // only when the run counted them (RunExtras::files).
    WordCounts RunCounts() const;

    // Rebuilds the report from the chosen table in the chosen order; updates the views.
    void RefreshView();

    // Writes the report lines of `list` (entries of count 0 are left out).
    void BuildReportText(const DisplayList& list);

    // The report text, as shown and as saved.
    std::string_view ReportText() const;

    // The display commands and Find Base Form.
    void OnViewSortAlphabetically();
    void OnViewSortByFrequency();
    void OnViewShowNouns();
    void OnViewShowAllWords();
    void OnToolsFindBaseForm();

    const std::vector<std::string>& InputFiles() const { return m_inputFiles; }
    // The nouns of the last run with their counts: the lexicon's, and those the
    // run derived when SetDerivedNouns is on.
    const WordTable& NounTree() const { return m_pRunNounTree ? *m_pRunNounTree : *m_pNounTree; }
    // The last run's words; null when there has been no run since the last reset.
    const WordTable* WordTree() const { return m_pWordTree.get(); }
    // The nouns each word of WordTree() credited.
    const WordCredits& Credits() const { return m_credits; }
    // What the last run found worth a warning (it went on all the same).
    const std::vector<FileWarning>& RunWarnings() const { return m_runWarnings; }
    const RunTimings& Timings() const { return m_timings; }
    const std::vector<EndingGroup>& Conjugation() const { return m_conjugation; }
    bool SortByFrequency() const { return m_bSortByFrequency != 0; }
    bool ShowAllWords() const { return m_bShowAllWords != 0; }

  private:
    void ClearRun();
    // Adds the count files to what the text files gave.
    Status AddCountFiles(CountedInput& counted) const;

    std::vector<std::string> m_inputFiles;
    std::unique_ptr<WordTable> m_pNounTree;
    // The lexicon with the nouns the last run derived; null when it derived none.
    std::unique_ptr<WordTable> m_pRunNounTree;
    std::unique_ptr<WordTable> m_pWordTree;
    std::string m_reportText;
    std::vector<EndingGroup> m_conjugation;
    int m_bSortByFrequency = 0;
    int m_bShowAllWords = 0;
    WordCredits m_credits;
    std::vector<FileWarning> m_runWarnings;
    RunTimings m_timings;
    // What the last run gathered for its analysis.
    WordFiles m_wordFiles;
    std::optional<WindowTally> m_windows;
    std::uint64_t m_runFileCount = 0;
    std::uint64_t m_bytesRead = 0;
    std::uint64_t m_badSequences = 0;
    mutable std::unique_ptr<RunAnalysis> m_analysis;
    RunExtras m_extras;
    std::vector<std::string> m_addedCounts;
    std::unique_ptr<AccentRestorer> m_accentless;  // when capitals are matched up to accents
    std::unique_ptr<NounDeriver> m_deriver;        // when nouns are derived
    bool m_runDerivedNouns = false;                // whether the last run derived them
    Platform& m_platform;
    int m_threads = 0;
    EncodingChoice m_inputEncoding = EncodingChoice::kAuto;
};

}  // namespace tavro
