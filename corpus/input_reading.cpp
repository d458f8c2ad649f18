#include "corpus/input_reading.h"

#include <chrono>
#include <new>

#include "corpus/block_reader.h"
#include "corpus/counting_pool.h"
#include "corpus/parallel.h"

namespace tavro {
namespace {

enum class FileRead { kWhole, kReadError, kCancelled };

// What one file was read as; nothing while all of it was plain ASCII.
struct FileEncoding {
    std::optional<TextEncoding> encoding;
    bool utf16 = false;  // it starts with a UTF-16 byte-order mark
};

// The encoding that `choice` forces, or nothing for detection.
std::optional<TextEncoding> Forced(EncodingChoice choice) {
    if (choice == EncodingChoice::kAuto) return std::nullopt;
    return EncodingFor({}, choice);
}

// Submits the blocks of one open file, the file of index `index`.
FileRead ReadFile(ByteSource& file, std::uint32_t index, BlockReader& reader, CountingPool& pool,
                  ProgressDisplay& progress, FileEncoding& fileEncoding) {
    reader.Start(file);
    for (bool first = true;; first = false) {
        BlockBuffer block = pool.TakeBuffer();
        const std::optional<bool> more = reader.Next(block);
        if (!more) return FileRead::kReadError;
        if (!*more) return FileRead::kWhole;
        if (first) fileEncoding.utf16 = StartsUtf16(block);
        if (!fileEncoding.encoding) fileEncoding.encoding = DetectEncoding(block);
        pool.Submit(std::move(block), index, fileEncoding.encoding.value_or(TextEncoding::kCp1253));
        progress.ShowBytesRead(reader.BytesRead(), file.Size());
        if (progress.CancelRequested()) return FileRead::kCancelled;
    }
}

double SecondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

Status OutOfMemory(const std::string& doing) {
    return Status::Fatal({"Out of memory while " + doing, ""});
}

}  // namespace

bool StartsUtf16(std::string_view firstBlock) {
    return firstBlock.substr(0, 2) == "\xFF\xFE" || firstBlock.substr(0, 2) == "\xFE\xFF";
}

std::string ShrinkWarning(std::uint64_t read, std::uint64_t size) {
    return "the file shrank while it was read: " + std::to_string(read) + " of " +
           std::to_string(size) + " bytes were there";
}

std::string Utf16Warning() {
    return "the file starts with a UTF-16 byte-order mark; UTF-16 is not read as text "
           "(save the file as UTF-8)";
}

std::string BadSequenceWarning(std::uint64_t bad, TextEncoding encoding) {
    const std::string count = std::to_string(bad);
    if (encoding == TextEncoding::kUtf8) {
        return count + (bad == 1 ? " byte sequence is" : " byte sequences are") +
               " not valid UTF-8; each was read as a space";
    }
    return count + (bad == 1 ? " byte is not a character" : " bytes are not characters") + " of " +
           EncodingName(encoding) + "; each was read as a space";
}

CountedInput CountInputFiles(const std::vector<std::string>& paths, FileSystem& files,
                             ProgressDisplay& progress, const CountingOptions& options) {
    CountedInput counted;
    const auto start = std::chrono::steady_clock::now();
    std::string doing = "starting to count";
    try {
        CountingPool pool(ThreadsFor(options.threads), options.countFiles);
        if (options.windows) pool.NoteWindows();
        BlockReader reader(kInputBlockSize);
        std::vector<FileEncoding> encodings(paths.size());
        std::vector<std::pair<std::uint32_t, FileWarning>> readingWarnings;
        for (std::uint32_t index = 0; index < paths.size(); ++index) {
            const std::string& path = paths[index];
            OpenedSource opened = files.OpenForRead(path);
            if (opened.file == nullptr) {
                counted.status = Status::Fatal({"Error while opening file ", path}, opened.problem);
                return counted;
            }
            progress.SetFileName(path);
            doing = "counting the words of " + path;
            encodings[index].encoding = Forced(options.encoding);
            switch (ReadFile(*opened.file, index, reader, pool, progress, encodings[index])) {
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
                readingWarnings.push_back(
                    {index, {path, ShrinkWarning(reader.BytesRead(), *size)}});
            }
            if (encodings[index].utf16) readingWarnings.push_back({index, {path, Utf16Warning()}});
            progress.StepIt();
        }
        doing = "sorting the words of the input files";
        const auto countedAt = std::chrono::steady_clock::now();
        counted.countingSeconds = SecondsBetween(start, countedAt);
        SortedCounts sorted = pool.Finish();
        counted.words =
            WordTable::FromSorted(std::move(sorted.entries), WordTable::Index::kOnFirstFind);
        counted.fileCounts = std::move(sorted.fileCounts);
        counted.fileCount = paths.size();
        counted.files = std::move(sorted.files);
        counted.windows = sorted.windows;
        // The warnings in file order: what reading met, then what decoding met.
        auto next = readingWarnings.begin();
        for (std::uint32_t index = 0; index < paths.size(); ++index) {
            for (; next != readingWarnings.end() && next->first == index; ++next) {
                counted.warnings.push_back(std::move(next->second));
            }
            const std::uint64_t bad =
                index < sorted.badSequences.size() ? sorted.badSequences[index] : 0;
            if (bad == 0) continue;
            counted.badSequences += bad;
            counted.warnings.push_back(
                {paths[index], BadSequenceWarning(bad, encodings[index].encoding.value_or(
                                                           TextEncoding::kCp1253))});
        }
        counted.sortingSeconds = SecondsBetween(countedAt, std::chrono::steady_clock::now());
    } catch (const std::bad_alloc&) {
        counted.status = OutOfMemory(doing);
        counted.words = {};
    }
    return counted;
}

}  // namespace tavro
