#include "mpi/split_encodings.h"

#include "corpus/block_reader.h"
#include "corpus/input_reading.h"
#include "mpi/wire.h"

namespace tavro {
namespace {

// The files with more than one piece.
std::map<std::uint32_t, int> PiecesPerFile(const std::vector<Share>& plan) {
    std::map<std::uint32_t, int> pieces;
    for (const Share& share : plan) {
        for (const Piece& piece : share) ++pieces[piece.file];
    }
    std::erase_if(pieces, [](const auto& file) { return file.second < 2; });
    return pieces;
}

}  // namespace

std::optional<TextEncoding> DetectFileEncoding(ByteSource& file) {
    BlockReader reader(kInputBlockSize);
    reader.Start(file);
    BlockBuffer block;
    for (;;) {
        const std::optional<bool> more = reader.Next(block);
        if (!more) return std::nullopt;
        if (!*more) return TextEncoding::kCp1253;
        if (const std::optional<TextEncoding> encoding = DetectEncoding(block)) return encoding;
    }
}

std::map<std::uint32_t, TextEncoding> AgreeOnSplitEncodings(
    Communicator& ranks, const std::vector<Share>& plan,
    const std::function<OpenedSource(std::uint32_t file)>& openStart) {
    const std::map<std::uint32_t, int> split = PiecesPerFile(plan);
    if (split.empty()) return {};  // every rank knows: nothing to agree on
    std::string mine;
    for (const Piece& piece : plan[static_cast<std::size_t>(ranks.Rank())]) {
        if (piece.begin != 0 || split.count(piece.file) == 0) continue;
        OpenedSource opened = openStart(piece.file);
        const std::optional<TextEncoding> encoding =
            opened.file == nullptr ? std::nullopt : DetectFileEncoding(*opened.file);
        if (!encoding) continue;
        wire::AppendNumber(mine, piece.file);
        wire::AppendNumber(mine, static_cast<std::uint64_t>(*encoding));
    }
    std::string all;
    for (const std::string& bytes : ranks.Gather(mine)) all += bytes;
    ranks.Broadcast(all, 0);
    std::map<std::uint32_t, TextEncoding> agreed;
    wire::Reader reader(all);
    while (!reader.AtEnd()) {
        std::uint64_t file = 0, encoding = 0;
        if (!reader.Number(file) || !reader.Number(encoding)) throw wire::Malformed("encodings");
        agreed[static_cast<std::uint32_t>(file)] = static_cast<TextEncoding>(encoding);
    }
    return agreed;
}

}  // namespace tavro
