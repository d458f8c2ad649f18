#include "mpi/share_counting.h"

#include <chrono>
#include <memory>
#include <new>

#include "corpus/block_reader.h"
#include "mpi/piece_source.h"

namespace tavro {
namespace {

// The block size tavro-cli reads with.
constexpr std::size_t kBlockSize = std::size_t{4} << 20;

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Submits every block of `piece`; false on a read error.
bool ReadPiece(PieceSource& piece, std::uint32_t file, BlockReader& reader, CountingPool& pool) {
    reader.Start(piece);
    for (;;) {
        std::string block = pool.TakeBuffer();
        const std::optional<bool> more = reader.Next(block);
        if (!more) return false;
        if (!*more) return true;
        pool.Submit(std::move(block), file);
    }
}

RankFailure FileFailure(std::uint64_t place, const char* text, const std::string& path,
                        std::string problem) {
    return {place, Status::Fatal({text, path}, std::move(problem))};
}

}  // namespace

CountedShare CountShare(const Share& share, const std::vector<std::string>& paths,
                        const PieceOpener& open, int threads) {
    CountedShare counted;
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t place = failure_place::Opening(share.empty() ? 0 : share.front().file);
    std::string doing = "starting to count";
    try {
        BlockReader reader(kBlockSize);
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
            if (!ReadPiece(source, piece.file, reader, *pool)) {
                counted.failure =
                    FileFailure(place, "Error while reading file ", path, source.Problem());
                return counted;
            }
            counted.facts.push_back({source.EndOfText(), source.EndOfFile()});
            if (piece.begin != 0) {  // its words stay apart from the rest
                counted.insideFile = pool->Finish();
                pool.reset();
            }
        }
        counted.countingSeconds = SecondsSince(start);
        doing = "sorting the words of the input files";
        const auto sortingStarts = std::chrono::steady_clock::now();
        if (pool != nullptr) counted.fromFileStarts = pool->Finish();
        counted.sortingSeconds = SecondsSince(sortingStarts);
    } catch (const std::bad_alloc&) {
        counted = {};
        counted.failure = {place, Status::Fatal({"Out of memory while " + doing, ""})};
    }
    return counted;
}

}  // namespace tavro
