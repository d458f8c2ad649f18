#include "mpi/agreement.h"

namespace tavro {
namespace {

Status StatusOf(Status::Kind kind, UserMessage message, std::string problem) {
    switch (kind) {
        case Status::Kind::kNoDocument:
            return Status::NoDocument(std::move(message));
        case Status::Kind::kCancelled:
            return Status::Cancelled();
        case Status::Kind::kOk:
        case Status::Kind::kFatal:
            break;
    }
    return Status::Fatal(std::move(message), std::move(problem));
}

}  // namespace

void AppendFailure(std::string& out, const std::optional<RankFailure>& failure) {
    wire::AppendNumber(out, failure ? 1 : 0);
    if (!failure) return;
    const Status& status = failure->status;
    wire::AppendNumber(out, failure->place);
    wire::AppendNumber(out, static_cast<std::uint64_t>(status.kind()));
    wire::AppendBytes(out, status.message().text);
    wire::AppendBytes(out, status.message().path);
    wire::AppendBytes(out, status.problem());
}

std::optional<RankFailure> ReadFailure(wire::Reader& reader) {
    std::uint64_t failed = 0, place = 0, kind = 0;
    std::string_view text, path, problem;
    if (!reader.Number(failed)) throw wire::Malformed("failure");
    if (failed == 0) return std::nullopt;
    if (!reader.Number(place) || !reader.Number(kind) || !reader.Bytes(text) ||
        !reader.Bytes(path) || !reader.Bytes(problem)) {
        throw wire::Malformed("failure");
    }
    return RankFailure{
        place, StatusOf(static_cast<Status::Kind>(kind), {std::string(text), std::string(path)},
                        std::string(problem))};
}

std::optional<RankFailure> FirstFailure(std::vector<std::optional<RankFailure>> failures) {
    std::optional<RankFailure> first;
    for (std::optional<RankFailure>& failure : failures) {
        if (failure && (!first || failure->place < first->place)) first = std::move(failure);
    }
    return first;
}

std::optional<RankFailure> AgreeOnFailure(Communicator& ranks,
                                          const std::optional<RankFailure>& mine) {
    std::string packed;
    AppendFailure(packed, mine);
    const std::vector<std::string> gathered = ranks.Gather(packed);
    std::string verdict;
    if (ranks.Rank() == 0) {
        std::vector<std::optional<RankFailure>> failures;
        for (const std::string& bytes : gathered) {
            wire::Reader reader(bytes);
            failures.push_back(ReadFailure(reader));
        }
        AppendFailure(verdict, FirstFailure(std::move(failures)));
    }
    ranks.Broadcast(verdict, 0);
    wire::Reader reader(verdict);
    return ReadFailure(reader);
}

}  // namespace tavro
