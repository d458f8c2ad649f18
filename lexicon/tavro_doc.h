// CTavroDoc: the one document of the program.
//
// It owns everything the program knows: the noun tree (the lexicon, whose counts
// a processing run fills), the inflection table, the input files of the last run,
// the all-words tree of that run, the report text and the two display flags.
// Loading the data files happens once (LoadData, right after construction); File >
// New re-initialises the per-run state and keeps the lexicon, the table and the
// flags. Messages, progress and view updates go through the Platform; an operation
// that meets a fatal file error returns a Status that tells the shell to end the
// process. The report text is exactly what saving writes.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "corpus/word_tree.h"
#include "lexicon/ending_table.h"
#include "platform/platform.h"
#include "platform/status.h"

namespace tavro {

// Where the two data files are read from.
struct DataFiles {
    std::string lexicon = "finalList.txt";
    std::string conjugation = "conjugation.txt";
};

class CTavroDoc {
public:
    explicit CTavroDoc(Platform& platform);
    ~CTavroDoc();
    CTavroDoc(const CTavroDoc&) = delete;
    CTavroDoc& operator=(const CTavroDoc&) = delete;

    // Reads the lexicon, then the inflection table. NoDocument when the lexicon
    // cannot be opened; EndProcess(-1) when the table cannot be opened or read.
    Status LoadData(const DataFiles& files = {});

    // Empties the report, the input list and the word tree; every noun count
    // becomes 0. The flags, the lexicon and the table stay.
    bool OnNewDocument();

    // What the Open Input Files command does once the user confirmed `files`:
    // stores them, empties the report and the word tree, zeroes the noun counts
    // and runs ProcessInputFiles.
    Status OpenInputFiles(std::vector<std::string> files);

    // Reads and counts the input files, credits the nouns and rebuilds the report.
    Status ProcessInputFiles();

    // Counts every input file, in list order, into the word tree.
    Status ReadInputFiles(ProgressDisplay& progress);

    // How many threads a run may use to count and analyse; 0 (the default) uses
    // every core. The results do not depend on it.
    void SetThreadCount(int threads) { m_threads = threads; }

    // Rebuilds the report from the chosen tree in the chosen order; updates the views.
    void RefreshView();

    // Writes the report lines of `list` (entries of count 0 are left out).
    void BuildReportText(const std::vector<WordEntry>& list);

    // The report text, as shown and as saved.
    std::string_view ReportText() const;

    // The display commands and Find Base Form.
    void OnViewSortAlphabetically();
    void OnViewSortByFrequency();
    void OnViewShowNouns();
    void OnViewShowAllWords();
    void OnToolsFindBaseForm();

    const std::vector<std::string>& InputFiles() const { return m_inputFiles; }
    const WordNode* NounTree() const { return m_pNounTree; }
    const WordNode* WordTree() const { return m_pWordTree; }
    const std::vector<EndingGroup>& Conjugation() const { return m_conjugation; }
    bool SortByFrequency() const { return m_bSortByFrequency != 0; }
    bool ShowAllWords() const { return m_bShowAllWords != 0; }

private:
    void CreditNouns();

    std::vector<std::string> m_inputFiles;
    WordNode* m_pNounTree = nullptr;
    WordNode* m_pWordTree = nullptr;
    std::string m_reportText;
    std::vector<EndingGroup> m_conjugation;
    int m_bSortByFrequency = 0;
    int m_bShowAllWords = 0;
    Platform& m_platform;
    int m_threads = 0;
};

}  // namespace tavro
