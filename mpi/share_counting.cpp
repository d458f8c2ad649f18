#include "mpi/share_counting.h"

#include <chrono>
#include <memory>
#include <new>

#include "corpus/block_reader.h"
#include "corpus/input_reading.h"
#include "mpi/piece_source.h"

namespace tavro {
namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Submits every block of `piece`, in the encoding of `facts` or, when it has
// none, the one its first block that is not plain ASCII shows; false on a read error.
bool ReadPiece(PieceSource& piece, std::uint32_t file, BlockReader& reader, CountingPool& pool,
               PieceFacts& facts) {
    reader.Start(piece);
    for (bool first = true;; first = false) {
        BlockBuffer block = pool.TakeBuffer();
        const std::optional<bool> more = reader.Next(block);
        if (!more) return false;
        if (!*more) return true;
        if (first) facts.startsUtf16 = StartsUtf16(block);
        if (!facts.encoding) facts.encoding = DetectEncoding(block);
        pool.Submit(std::move(block), file, facts.encoding.value_or(TextEncoding::kCp1253));
    }
}

// The malformed sequences the blocks of `file` held, as the pool counted them.
std::uint64_t BadSequencesOf(const SortedCounts& counted, std::uint32_t file) {
    return file < counted.badSequences.size() ? counted.badSequences[file] : 0;
}

RankFailure FileFailure(std::uint64_t place, const char* text, const std::string& path,
                        std::string problem) {
    return {place, Status::Fatal({text, path}, std::move(problem))};
}

}  // namespace

CountedShare CountShare(const Share& share, const std::vector<std::string>& paths,
                        const PieceOpener& open, const PieceEncoding& encodingOf, int threads) {
    CountedShare counted;
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t place = failure_place::Opening(share.empty() ? 0 : share.front().file);
    std::string doing = "starting to count";
    try {
        BlockReader reader(kInputBlockSize);
        std::unique_ptr<CountingPool> pool;
        for (const Piece& piece : share) {
            const std::string& path = paths[piece.file];
            OpenedSource opened = open(piece);
            if (opened.file == nullptr) {
                counted.failure = FileFailure(failure_place::Opening(piece.file),
                                              "Error while opening file ", path, opened.problem);
                return counted;
            }
            place = failure_place::Reading(piece.file);
            doing = "counting the words of " + path;
            PieceSource source(std::move(opened.file), piece);
            if (pool == nullptr) pool = std::make_unique<CountingPool>(threads, false);
            PieceFacts facts;
            facts.encoding = encodingOf(piece);
            if (!ReadPiece(source, piece.file, reader, *pool, facts)) {
                counted.failure =
                    FileFailure(place, "Error while reading file ", path, source.Problem());
                return counted;
            }
            facts.endOfText = source.EndOfText();
            facts.endOfFile = source.EndOfFile();
            if (piece.begin != 0) {  // its words stay apart from the rest
                counted.insideFile = pool->Finish();
                pool.reset();
                facts.badSequences = BadSequencesOf(counted.insideFile, piece.file);
            }
            counted.facts.push_back(facts);
        }
        counted.countingSeconds = SecondsSince(start);
        doing = "sorting the words of the input files";
        const auto sortingStarts = std::chrono::steady_clock::now();
        if (pool != nullptr) counted.fromFileStarts = pool->Finish();
        for (std::size_t i = 0; i < share.size(); ++i) {
            if (share[i].begin != 0) continue;
            counted.facts[i].badSequences = BadSequencesOf(counted.fromFileStarts, share[i].file);
        }
        counted.sortingSeconds = SecondsSince(sortingStarts);
    } catch (const std::bad_alloc&) {
        counted = {};
        counted.failure = {place, Status::Fatal({"Out of memory while " + doing, ""})};
    }
    return counted;
}

}  // namespace tavro
