// CTavroDoc::ReadInputFiles: counting the words of every input file.

#include <memory>

#include "corpus/tokenizer.h"
#include "corpus/word_counter.h"
#include "lexicon/tavro_doc.h"

namespace tavro {
namespace {

constexpr std::size_t kReadBlock = 1 << 20;

// Counts one open file into `counter`; false on a read error.
bool CountFile(ByteSource& file, WordCounter& counter, std::string& buffer) {
    Tokenizer tokenizer;
    for (;;) {
        const std::optional<std::size_t> n = file.Read(buffer.data(), buffer.size());
        if (!n) return false;
        if (*n == 0) break;
        if (!tokenizer.Feed(std::string_view(buffer.data(), *n), counter)) break;
    }
    tokenizer.Finish(counter);
    return true;
}

}  // namespace

Status CTavroDoc::ReadInputFiles(ProgressDisplay& progress) {
    WordCounter counter;
    std::string buffer(kReadBlock, '\0');
    for (const std::string& path : m_inputFiles) {
        std::unique_ptr<ByteSource> file = m_platform.Files().OpenForRead(path);
        if (file == nullptr) {
            m_platform.ShowMessage({"Error while opening file ", path});
            return Status::EndProcess(-1);
        }
        progress.SetFileName(path);
        if (!CountFile(*file, counter, buffer)) {
            m_platform.ShowMessage({"Error while reading file ", path});
            return Status::EndProcess(-1);
        }
        progress.StepIt();
    }
    std::vector<WordEntry> sorted = counter.SortedEntries();
    if (m_pWordTree == nullptr) {
        m_pWordTree = BuildTreeFromSorted(std::move(sorted));
    } else {
        InsertEntries(sorted, m_pWordTree);
    }
    return Status::Ok();
}

}  // namespace tavro
