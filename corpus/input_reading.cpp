// CTavroDoc::ReadInputFiles: counting the words of every input file.
//
// The calling thread opens and reads the files in list order, in blocks that each
// tokenise on their own; worker threads count the blocks. The first file that
// cannot be opened or read ends the run, with every file before it read whole.

#include <memory>

#include "corpus/block_reader.h"
#include "corpus/counting_pool.h"
#include "lexicon/tavro_doc.h"

namespace tavro {
namespace {

constexpr std::size_t kBlockSize = std::size_t{4} << 20;

// Submits the blocks of one open file; false on a read error.
bool ReadFile(ByteSource& file, BlockReader& reader, CountingPool& pool,
              ProgressDisplay& progress) {
    reader.Start(file);
    for (;;) {
        std::string block = pool.TakeBuffer();
        const std::optional<bool> more = reader.Next(block);
        if (!more) return false;
        if (!*more) return true;
        pool.Submit(std::move(block));
        progress.KeepAlive();
    }
}

}  // namespace

Status CTavroDoc::ReadInputFiles(ProgressDisplay& progress) {
    CountingPool pool(CountingPool::ThreadsFor(m_threads));
    BlockReader reader(kBlockSize);
    for (const std::string& path : m_inputFiles) {
        std::unique_ptr<ByteSource> file = m_platform.Files().OpenForRead(path);
        if (file == nullptr) {
            m_platform.ShowMessage({"Error while opening file ", path});
            return Status::EndProcess(-1);
        }
        progress.SetFileName(path);
        if (!ReadFile(*file, reader, pool, progress)) {
            m_platform.ShowMessage({"Error while reading file ", path});
            return Status::EndProcess(-1);
        }
        progress.StepIt();
    }
    std::vector<WordEntry> sorted = pool.Finish();
    if (m_pWordTree == nullptr) {
        m_pWordTree = BuildTreeFromSorted(std::move(sorted));
    } else {
        InsertEntries(sorted, m_pWordTree);
    }
    return Status::Ok();
}

}  // namespace tavro
