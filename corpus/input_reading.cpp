#include "corpus/input_reading.h"

#include <chrono>
#include <new>

#include "corpus/block_reader.h"
#include "corpus/counting_pool.h"
#include "corpus/parallel.h"

namespace tavro {
namespace {

constexpr std::size_t kBlockSize = std::size_t{4} << 20;

enum class FileRead { kWhole, kReadError, kCancelled };

// Submits the blocks of one open file, the file of index `index`.
FileRead ReadFile(ByteSource& file, std::uint32_t index, BlockReader& reader, CountingPool& pool,
                  ProgressDisplay& progress) {
    reader.Start(file);
    for (;;) {
        std::string block = pool.TakeBuffer();
        const std::optional<bool> more = reader.Next(block);
        if (!more) return FileRead::kReadError;
        if (!*more) return FileRead::kWhole;
        pool.Submit(std::move(block), index);
        progress.ShowBytesRead(reader.BytesRead(), file.Size());
        if (progress.CancelRequested()) return FileRead::kCancelled;
    }
}

std::string ShrinkWarning(std::uint64_t read, std::uint64_t size) {
    return "the file shrank while it was read: " + std::to_string(read) + " of " +
           std::to_string(size) + " bytes were there";
}

double SecondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

Status OutOfMemory(const std::string& doing) {
    return Status::Fatal({"Out of memory while " + doing, ""});
}

}  // namespace

CountedInput CountInputFiles(const std::vector<std::string>& paths, FileSystem& files,
                             ProgressDisplay& progress, const CountingOptions& options) {
    CountedInput counted;
    const auto start = std::chrono::steady_clock::now();
    std::string doing = "starting to count";
    try {
        CountingPool pool(ThreadsFor(options.threads), options.countFiles);
        BlockReader reader(kBlockSize);
        for (std::uint32_t index = 0; index < paths.size(); ++index) {
            const std::string& path = paths[index];
            OpenedSource opened = files.OpenForRead(path);
            if (opened.file == nullptr) {
                counted.status = Status::Fatal({"Error while opening file ", path}, opened.problem);
                return counted;
            }
            progress.SetFileName(path);
            doing = "counting the words of " + path;
            switch (ReadFile(*opened.file, index, reader, pool, progress)) {
                case FileRead::kWhole:
                    break;
                case FileRead::kReadError:
                    counted.status =
                        Status::Fatal({"Error while reading file ", path}, opened.file->Problem());
                    return counted;
                case FileRead::kCancelled:
                    // What is still queued would only delay the stop.
                    pool.Abandon();
                    counted.status = Status::Cancelled();
                    return counted;
            }
            counted.bytesRead += reader.BytesRead();
            const std::optional<std::uint64_t> size = opened.file->Size();
            if (reader.ReachedEndOfFile() && size && reader.BytesRead() < *size) {
                counted.warnings.push_back({path, ShrinkWarning(reader.BytesRead(), *size)});
            }
            progress.StepIt();
        }
        doing = "sorting the words of the input files";
        const auto countedAt = std::chrono::steady_clock::now();
        counted.countingSeconds = SecondsBetween(start, countedAt);
        SortedCounts sorted = pool.Finish();
        counted.words =
            WordTable::FromSorted(std::move(sorted.entries), WordTable::Index::kOnFirstFind);
        counted.fileCounts = std::move(sorted.fileCounts);
        counted.sortingSeconds = SecondsBetween(countedAt, std::chrono::steady_clock::now());
    } catch (const std::bad_alloc&) {
        counted.status = OutOfMemory(doing);
        counted.words = {};
    }
    return counted;
}

}  // namespace tavro
