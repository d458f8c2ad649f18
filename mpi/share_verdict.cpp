#include "mpi/share_verdict.h"

#include <algorithm>
#include <map>

#include "mpi/wire.h"

namespace tavro {
namespace {

std::optional<std::uint64_t> ReadOptional(wire::Reader& reader) {
    std::optional<std::uint64_t> value;
    if (!reader.OptionalNumber(value)) throw wire::Malformed("share report");
    return value;
}

std::string PackReport(const ShareReport& report) {
    std::string out;
    AppendFailure(out, report.failure);
    wire::AppendNumber(out, report.facts.size());
    for (const PieceFacts& facts : report.facts) {
        wire::AppendOptionalNumber(out, facts.endOfText);
        wire::AppendOptionalNumber(out, facts.endOfFile);
        wire::AppendOptionalNumber(
            out, facts.encoding
                     ? std::optional<std::uint64_t>(static_cast<std::uint64_t>(*facts.encoding))
                     : std::nullopt);
        wire::AppendNumber(out, facts.startsUtf16 ? 1 : 0);
        wire::AppendNumber(out, facts.badSequences);
    }
    return out;
}

ShareReport UnpackReport(std::string_view bytes) {
    wire::Reader reader(bytes);
    ShareReport report;
    report.failure = ReadFailure(reader);
    std::uint64_t pieces = 0;
    if (!reader.Number(pieces)) throw wire::Malformed("share report");
    for (std::uint64_t i = 0; i < pieces; ++i) {
        PieceFacts facts;
        facts.endOfText = ReadOptional(reader);
        facts.endOfFile = ReadOptional(reader);
        if (const std::optional<std::uint64_t> encoding = ReadOptional(reader)) {
            facts.encoding = static_cast<TextEncoding>(*encoding);
        }
        std::uint64_t utf16 = 0;
        if (!reader.Number(utf16) || !reader.Number(facts.badSequences)) {
            throw wire::Malformed("share report");
        }
        facts.startsUtf16 = utf16 != 0;
        report.facts.push_back(facts);
    }
    return report;
}

// What the pieces of one file showed, taken in file order.
struct FileFacts {
    bool textEnded = false;  // some piece so far met a 1A byte
    std::optional<std::uint64_t> endOfFile;
    std::optional<TextEncoding> encoding;  // what its first piece was read as
    bool startsUtf16 = false;
    std::uint64_t badSequences = 0;  // in the pieces that count
};

// The warnings about one file, as tavro-cli gives them.
void WarnAbout(const std::string& path, const FileFacts& file,
               const std::optional<std::uint64_t>& size, std::vector<FileWarning>& warnings) {
    if (!file.textEnded && size && file.endOfFile && *file.endOfFile < *size) {
        warnings.push_back({path, ShrinkWarning(*file.endOfFile, *size)});
    }
    if (file.startsUtf16) warnings.push_back({path, Utf16Warning()});
    if (file.badSequences != 0) {
        warnings.push_back(
            {path,
             BadSequenceWarning(file.badSequences, file.encoding.value_or(TextEncoding::kCp1253))});
    }
}

}  // namespace

ShareVerdict JudgeShares(const std::vector<Share>& plan,
                         const std::vector<std::optional<std::uint64_t>>& sizes,
                         const std::vector<std::string>& paths,
                         const std::vector<ShareReport>& reports) {
    ShareVerdict verdict;
    verdict.dropInside.assign(plan.size(), false);
    std::vector<std::optional<RankFailure>> failures;
    for (const ShareReport& report : reports) failures.push_back(report.failure);
    verdict.failure = FirstFailure(std::move(failures));
    if (verdict.failure) return verdict;

    // The shares are in rank order and the pieces of a file in file order.
    std::map<std::uint32_t, FileFacts> files;
    for (std::size_t rank = 0; rank < plan.size(); ++rank) {
        if (reports[rank].facts.size() != plan[rank].size()) throw wire::Malformed("share report");
        for (std::size_t i = 0; i < plan[rank].size(); ++i) {
            const Piece& piece = plan[rank][i];
            const PieceFacts& facts = reports[rank].facts[i];
            FileFacts& file = files[piece.file];
            if (piece.begin == 0) {
                file.encoding = facts.encoding;
                file.startsUtf16 = facts.startsUtf16;
            }
            const bool dropped = piece.begin != 0 && file.textEnded;  // after the text's end
            if (dropped) verdict.dropInside[rank] = true;
            if (!dropped) file.badSequences += facts.badSequences;
            file.textEnded = file.textEnded || facts.endOfText.has_value();
            if (facts.endOfFile) {
                file.endOfFile =
                    std::min(file.endOfFile.value_or(*facts.endOfFile), *facts.endOfFile);
            }
        }
    }
    for (const auto& [index, file] : files)
        WarnAbout(paths[index], file, sizes[index], verdict.warnings);
    return verdict;
}

ShareVerdict AgreeOnShares(Communicator& ranks, const std::vector<Share>& plan,
                           const std::vector<std::optional<std::uint64_t>>& sizes,
                           const std::vector<std::string>& paths, const ShareReport& mine) {
    const std::vector<std::string> gathered = ranks.Gather(PackReport(mine));
    ShareVerdict verdict;
    std::string decided;
    if (ranks.Rank() == 0) {
        std::vector<ShareReport> reports;
        for (const std::string& bytes : gathered) reports.push_back(UnpackReport(bytes));
        verdict = JudgeShares(plan, sizes, paths, reports);
        AppendFailure(decided, verdict.failure);
        for (const bool drop : verdict.dropInside) wire::AppendNumber(decided, drop ? 1 : 0);
    }
    ranks.Broadcast(decided, 0);
    if (ranks.Rank() == 0) return verdict;
    wire::Reader reader(decided);
    verdict.failure = ReadFailure(reader);
    verdict.dropInside.resize(plan.size());
    for (std::size_t rank = 0; rank < plan.size(); ++rank) {
        std::uint64_t drop = 0;
        if (!reader.Number(drop)) throw wire::Malformed("share verdict");
        verdict.dropInside[rank] = drop != 0;
    }
    return verdict;
}

}  // namespace tavro
