#include "tests/reference_run.h"

#include "corpus/char_classes.h"
#include "corpus/text_mode.h"
#include "corpus/word_tree.h"
#include "lexicon/base_form.h"
#include "lexicon/noun_lexicon.h"
#include "report/report_text.h"
#include "report/word_list.h"

namespace tavro::testing {
namespace {

void CountLine(std::string_view line, WordNode*& words) {
    line = line.substr(0, line.find('\0'));
    std::string token;
    for (std::size_t i = 0; i <= line.size(); ++i) {
        if (i < line.size() && IsWordChar(static_cast<unsigned char>(line[i]))) {
            token += line[i];
        } else if (!token.empty()) {
            words = InsertWord(words, WordEntry(token, 1));
            token.clear();
        }
    }
}

void CountFile(const std::string& contents, WordNode*& words) {
    const std::string text = TextModeContents(contents);
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        CountLine(std::string_view(text).substr(start, end - start), words);
        start = end + 1;
    }
}

}  // namespace

std::string ReferenceReport(const ReferenceData& data, const std::vector<std::string>& files,
                            bool showAllWords, bool sortByFrequency) {
    WordNode* nouns = nullptr;
    InsertEntries(LexiconEntries(data.lexicon), nouns);
    const std::vector<EndingGroup> table = ParseConjugationText(TextModeContents(data.conjugation));

    WordNode* words = nullptr;
    for (const std::string& contents : files) CountFile(contents, words);

    std::vector<WordEntry> list;
    CollectInOrder(words, list);
    for (const WordEntry& word : list) {
        ForEachBaseFormCandidate(word.word, table, [&](const std::string& candidate) {
            if (FindWord(nouns, candidate)) {
                WordEntry credit;
                credit.word = candidate;
                credit.count = word.count;
                nouns = InsertWord(nouns, credit);
            }
            return true;
        });
    }
    const std::string report =
        RenderReport(BuildDisplayList(showAllWords ? words : nouns, sortByFrequency));
    DeleteTree(nouns);
    DeleteTree(words);
    return report;
}

}  // namespace tavro::testing
