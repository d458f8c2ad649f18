#include "corpus/input_reading.h"

#include <new>

#include "corpus/block_reader.h"
#include "corpus/counting_pool.h"
#include "corpus/parallel.h"

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

std::string ShrinkWarning(std::uint64_t read, std::uint64_t size) {
    return "the file shrank while it was read: " + std::to_string(read) + " of " +
           std::to_string(size) + " bytes were there";
}

Status OutOfMemory(const std::string& doing) {
    return Status::Fatal({"Out of memory while " + doing, ""});
}

}  // namespace

CountedInput CountInputFiles(const std::vector<std::string>& paths, FileSystem& files,
                             ProgressDisplay& progress, int threads) {
    CountedInput counted;
    std::string doing = "starting to count";
    try {
        CountingPool pool(ThreadsFor(threads));
        BlockReader reader(kBlockSize);
        for (const std::string& path : paths) {
            OpenedSource opened = files.OpenForRead(path);
            if (opened.file == nullptr) {
                counted.status = Status::Fatal({"Error while opening file ", path}, opened.problem);
                return counted;
            }
            progress.SetFileName(path);
            doing = "counting the words of " + path;
            if (!ReadFile(*opened.file, reader, pool, progress)) {
                counted.status =
                    Status::Fatal({"Error while reading file ", path}, opened.file->Problem());
                return counted;
            }
            const std::optional<std::uint64_t> size = opened.file->Size();
            if (reader.ReachedEndOfFile() && size && reader.BytesRead() < *size) {
                counted.warnings.push_back({path, ShrinkWarning(reader.BytesRead(), *size)});
            }
            progress.StepIt();
        }
        doing = "sorting the words of the input files";
        counted.words = WordTable::FromSorted(pool.Finish());
    } catch (const std::bad_alloc&) {
        counted.status = OutOfMemory(doing);
        counted.words = {};
    }
    return counted;
}

}  // namespace tavro
