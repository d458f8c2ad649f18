#include "mpi/mpi_run.h"

#include <sched.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <cstdio>
#include <map>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <utility>

#include "corpus/input_reading.h"
#include "corpus/parallel.h"
#include "corpus/word_hash.h"
#include "corpus/word_table.h"
#include "lexicon/accent_restoring.h"
#include "lexicon/ending_table.h"
#include "lexicon/noun_crediting.h"
#include "lexicon/noun_derivation.h"
#include "lexicon/noun_lexicon.h"
#include "mpi/agreement.h"
#include "mpi/mpi_options.h"
#include "mpi/piece_source.h"
#include "mpi/report_merge.h"
#include "mpi/share_counting.h"
#include "mpi/share_plan.h"
#include "mpi/share_verdict.h"
#include "mpi/split_encodings.h"
#include "mpi/wire.h"
#include "mpi/word_exchange.h"
#include "platform/console_platform.h"
#include "platform/save_file.h"
#include "platform/text_encoding.h"
#include "report/report_text.h"
#include "report/word_list.h"

namespace tavro {
namespace {

constexpr int kExitWriteError = 1;
constexpr int kExitUsage = 2;
constexpr const char* kVersion = "tavro-mpi 1.0.0";

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Rank 0's arguments, on every rank: ranks started with other command lines
// (an MPMD launch) follow rank 0's, so that all of them take the same road.
std::vector<std::string> ArgumentsOfRankZero(Communicator& ranks,
                                             const std::vector<std::string>& args) {
    std::string packed;
    for (const std::string& arg : args) wire::AppendBytes(packed, arg);
    ranks.Broadcast(packed, 0);
    std::vector<std::string> received;
    wire::Reader reader(packed);
    for (std::string_view arg; !reader.AtEnd(); received.emplace_back(arg)) {
        if (!reader.Bytes(arg)) throw wire::Malformed("arguments");
    }
    return received;
}

// The threads a rank counts with when --threads is not given: the cores it may
// use. A launcher that binds ranks gives each its own cores; one that does not
// leaves each rank the whole machine, which its ranks on it then share.
int DefaultThreads(int ranksOnThisMachine) {
    const int machine = ThreadsFor(0);
    cpu_set_t usable;
    CPU_ZERO(&usable);
    if (::sched_getaffinity(0, sizeof usable, &usable) == 0) {
        const int bound = CPU_COUNT(&usable);
        if (bound > 0 && bound < machine) return bound;
    }
    return std::max(machine / std::max(ranksOnThisMachine, 1), 1);
}

// The most bytes one rank sends another at a time: 64 MiB a round over all
// ranks, from 64 KiB to 16 MiB; and never so many that a round's bytes at one
// rank overflow the int in which MPI counts them.
std::size_t RoundBytes(const std::optional<std::size_t>& requested, int ranks) {
    const auto size = static_cast<std::size_t>(ranks);
    const std::size_t chosen = requested.value_or(
        std::clamp((std::size_t{64} << 20) / size, std::size_t{64} << 10, std::size_t{16} << 20));
    return std::min(chosen, static_cast<std::size_t>(INT_MAX) / size);
}

// A digest of the loaded data, to see that every rank loaded the same.
std::uint64_t DataDigest(const WordTable& nouns, const std::vector<EndingGroup>& table) {
    constexpr std::uint64_t kMix = 0x9FB21C651E98DF25ull;
    std::uint64_t digest = word_hash::Mix(nouns.size(), kMix);
    for (const WordEntry& noun : nouns.Entries()) {
        digest = word_hash::Mix(digest ^ word_hash::Hash(noun.word), kMix);
    }
    for (const EndingGroup& group : table) {
        digest = word_hash::Mix(digest ^ group.size(), kMix);
        for (const EndingToken& token : group) {
            const auto shift = static_cast<std::uint64_t>(token.accentShift);
            digest = word_hash::Mix(digest ^ word_hash::Hash(token.text) ^ shift, kMix);
        }
    }
    return digest;
}

struct PhaseTimes {
    double counting = 0;   // reading and counting the rank's share
    double sorting = 0;    // putting the rank's counted words in order
    double exchange = 0;   // agreeing on the counts, sending every word to its owner
    double crediting = 0;  // analysing the owned words and crediting their nouns
    double report = 0;     // putting the report together at rank 0
};

// One run of tavro-mpi on one rank, phase by phase.
class Job {
  public:
    Job(const MpiOptions& options, std::ostream& out, std::ostream& err, FileSystem& files,
        Communicator& ranks)
        : m_options(options), m_out(out), m_err(err), m_files(files), m_ranks(ranks) {}

    int Run();

  private:
    bool Speaks() const { return m_ranks.Rank() == 0; }
    // Tells the user, at rank 0, what `status` says; its exit status.
    int Fail(const Status& status);
    std::optional<RankFailure> LoadData();
    bool SameDataOnEveryRank();
    // At rank 0, opens every input file to learn its size; every rank gets the sizes.
    std::optional<RankFailure> ProbeInputFiles();
    OpenedSource OpenPiece(const Piece& piece);
    // What each piece of `plan` is read in: the forced encoding, or the one
    // agreed for a split file, or nothing (decided as the piece is read).
    PieceEncoding PieceEncodings(const std::vector<Share>& plan);
    // The words this rank owns, from its counted share (emptied).
    std::optional<WordTable> OwnedWords(CountedShare& counted, const std::vector<Share>& plan);
    // The report at rank 0 (empty elsewhere).
    std::string NounReport(const WordTable& owned);
    // The lexicon with the nouns every rank derived from the words it owns, the
    // same table on every rank; `credits` are renumbered into it. Collective.
    WordTable AgreedDerivedNouns(const WordTable& owned, WordCredits& credits);
    std::string WordReport(const WordTable& owned);
    // Writes the report, in the output encoding, to -o OUT or standard output.
    int WriteReport(std::string_view cp1253Report);
    void PrintTimings();

    const MpiOptions& m_options;
    std::ostream& m_out;
    std::ostream& m_err;
    FileSystem& m_files;
    Communicator& m_ranks;
    int m_threads = 1;
    std::size_t m_roundBytes = 1;
    WordTable m_nouns;
    std::vector<EndingGroup> m_table;
    std::unique_ptr<AccentRestorer> m_accentless;       // with --capitals-accents
    std::unique_ptr<NounDeriver> m_deriver;             // with --derive-nouns
    std::vector<std::optional<std::uint64_t>> m_sizes;  // of the input files, as probed
    // At rank 0: the probed files that cannot be opened again (standard input, pipes).
    std::map<std::uint32_t, std::unique_ptr<ByteSource>> m_readOnce;
    PhaseTimes m_times;
};

int Job::Fail(const Status& status) {
    if (Speaks()) {
        if (!status.message().text.empty()) m_err << ConsoleMessageText(status.message());
        if (status.kind() == Status::Kind::kNoDocument) {
            m_err << ConsoleMessageText({"Failed to create empty document.", ""});
        }
        m_err.flush();
    }
    return status.exitStatus();
}

std::optional<RankFailure> Job::LoadData() {
    try {
        Status loaded = LoadNounLexicon(m_files, m_options.lexicon, m_nouns);
        if (!loaded.ok()) return RankFailure{failure_place::kLexicon, std::move(loaded)};
    } catch (const std::bad_alloc&) {
        return RankFailure{
            failure_place::kLexicon,
            Status::Fatal({"Out of memory while loading the lexicon ", m_options.lexicon})};
    }
    try {
        Status loaded = LoadConjugationTable(m_files, m_options.conjugation, m_table);
        if (!loaded.ok()) return RankFailure{failure_place::kConjugation, std::move(loaded)};
        if (m_options.capitalsAccents) {
            m_accentless = std::make_unique<AccentRestorer>(m_nouns, m_table);
        }
        if (m_options.derivedNouns) m_deriver = std::make_unique<NounDeriver>(m_nouns, m_table);
    } catch (const std::bad_alloc&) {
        return RankFailure{failure_place::kConjugation,
                           Status::Fatal({"Out of memory while loading the inflection table ",
                                          m_options.conjugation})};
    }
    return std::nullopt;
}

bool Job::SameDataOnEveryRank() {
    const std::uint64_t digest = DataDigest(m_nouns, m_table);
    const std::uint64_t largest = m_ranks.MaxOverRanks(digest);
    const std::uint64_t smallest = ~m_ranks.MaxOverRanks(~digest);
    return largest == smallest;
}

std::optional<RankFailure> Job::ProbeInputFiles() {
    const std::vector<std::string>& paths = m_options.inputFiles;
    std::optional<RankFailure> failure;
    std::string probed;
    if (Speaks()) {
        std::vector<std::optional<std::uint64_t>> sizes;
        for (std::uint32_t file = 0; file < paths.size(); ++file) {
            OpenedSource opened = m_files.OpenForRead(paths[file]);
            if (opened.file == nullptr) {
                failure = {
                    failure_place::Opening(file),
                    Status::Fatal({"Error while opening file ", paths[file]}, opened.problem)};
                break;
            }
            sizes.push_back(opened.file->Size());
            if (!sizes.back()) m_readOnce[file] = std::move(opened.file);
        }
        AppendFailure(probed, failure);
        wire::AppendNumber(probed, sizes.size());
        for (const std::optional<std::uint64_t>& size : sizes) {
            wire::AppendOptionalNumber(probed, size);
        }
    }
    m_ranks.Broadcast(probed, 0);
    wire::Reader reader(probed);
    failure = ReadFailure(reader);
    std::uint64_t files = 0;
    if (!reader.Number(files)) throw wire::Malformed("file sizes");
    m_sizes.resize(files);
    for (std::optional<std::uint64_t>& size : m_sizes) {
        if (!reader.OptionalNumber(size)) throw wire::Malformed("file sizes");
    }
    return failure;
}

OpenedSource Job::OpenPiece(const Piece& piece) {
    if (const auto once = m_readOnce.find(piece.file); once != m_readOnce.end()) {
        return {std::move(once->second), {}};
    }
    return m_files.OpenForReadFrom(m_options.inputFiles[piece.file], PieceSource::OpenAt(piece));
}

PieceEncoding Job::PieceEncodings(const std::vector<Share>& plan) {
    if (m_options.encoding != EncodingChoice::kAuto) {
        const TextEncoding forced = EncodingFor({}, m_options.encoding);
        return [forced](const Piece&) { return std::optional<TextEncoding>(forced); };
    }
    std::map<std::uint32_t, TextEncoding> split =
        AgreeOnSplitEncodings(m_ranks, plan, [this](std::uint32_t file) {
            return m_files.OpenForReadFrom(m_options.inputFiles[file], 0);
        });
    return [split = std::move(split)](const Piece& piece) -> std::optional<TextEncoding> {
        const auto agreed = split.find(piece.file);
        if (agreed == split.end()) return std::nullopt;
        return agreed->second;
    };
}

std::optional<WordTable> Job::OwnedWords(CountedShare& counted, const std::vector<Share>& plan) {
    const auto exchangeStarts = Clock::now();
    const ShareVerdict verdict = AgreeOnShares(m_ranks, plan, m_sizes, m_options.inputFiles,
                                               {counted.failure, counted.facts});
    if (verdict.failure) {
        Fail(verdict.failure->status);
        return std::nullopt;
    }
    for (const FileWarning& warning : verdict.warnings) {
        m_err << "tavro-mpi: warning: " << warning.path << ": " << warning.text << '\n';
    }
    std::vector<std::vector<WordEntry>> runs;
    runs.push_back(std::move(counted.fromFileStarts.entries));
    const bool dropped = verdict.dropInside[static_cast<std::size_t>(m_ranks.Rank())];
    if (!dropped && !counted.insideFile.entries.empty()) {
        runs.push_back(std::move(counted.insideFile.entries));
    }
    WordTable owned = WordTable::FromSorted(ExchangeWords(m_ranks, std::move(runs), m_roundBytes),
                                            WordTable::Index::kOnFirstFind);
    m_times.exchange = SecondsSince(exchangeStarts);
    return owned;
}

WordTable Job::AgreedDerivedNouns(const WordTable& owned, WordCredits& credits) {
    const WordTable local = AddDerivedNouns(owned, m_nouns, *m_deriver, credits, m_threads);
    const WordTable& mine = local.empty() ? m_nouns : local;
    // Derived nouns are words of cp1253 letters: a line end parts them.
    std::string derived;
    for (const WordEntry& noun : mine.Entries()) {
        if (m_nouns.Find(noun.word) == WordTable::kNotFound) derived += noun.word + '\n';
    }
    std::string every;
    for (const std::string& rank : m_ranks.Gather(derived)) every += rank;
    m_ranks.Broadcast(every, 0);
    std::vector<WordEntry> entries;
    for (const WordEntry& noun : m_nouns.Entries()) entries.push_back({noun.word, 0});
    for (std::size_t start = 0, end; start < every.size(); start = end + 1) {
        end = every.find('\n', start);
        entries.push_back({std::string_view(every).substr(start, end - start), 0});
    }
    WordTable agreed = WordTable::FromEntries(std::move(entries));
    std::vector<std::uint32_t> positions(mine.size());
    for (std::size_t n = 0; n < mine.size(); ++n) positions[n] = agreed.Find(mine[n].word);
    credits.Renumber(positions);
    return agreed;
}

std::string Job::NounReport(const WordTable& owned) {
    const auto creditingStarts = Clock::now();
    WordCredits credits = CreditNouns(owned, m_nouns, m_table, m_threads, m_accentless.get());
    WordTable agreed;
    if (m_deriver) agreed = AgreedDerivedNouns(owned, credits);
    WordTable& nouns = m_deriver ? agreed : m_nouns;
    AddCredits(credits, owned, nouns);
    m_times.crediting = SecondsSince(creditingStarts);

    const auto reportStarts = Clock::now();
    std::vector<std::int64_t> counts(nouns.size());
    for (std::size_t noun = 0; noun < counts.size(); ++noun) counts[noun] = nouns[noun].count;
    m_ranks.SumAtRankZero(counts);
    if (!Speaks()) return {};
    ResetCounts(nouns);
    for (std::size_t noun = 0; noun < counts.size(); ++noun) {
        nouns.AddToCount(static_cast<std::uint32_t>(noun), counts[noun]);
    }
    std::string report = RenderReport(BuildDisplayList(nouns, m_options.byFrequency));
    m_times.report = SecondsSince(reportStarts);
    return report;
}

std::string Job::WordReport(const WordTable& owned) {
    const auto reportStarts = Clock::now();
    const DisplayList list = BuildDisplayList(owned, m_options.byFrequency);
    if (!Speaks()) {
        SendReportList(m_ranks, list, m_roundBytes);
        return {};
    }
    std::string report = MergeReportLists(m_ranks, list, m_options.byFrequency);
    m_times.report = SecondsSince(reportStarts);
    return report;
}

int Job::WriteReport(std::string_view cp1253Report) {
    std::string converted;
    if (m_options.outputEncoding && *m_options.outputEncoding != TextEncoding::kCp1253) {
        converted = EncodeCp1253(cp1253Report, *m_options.outputEncoding);
    }
    const std::string_view report = converted.empty() ? cp1253Report : converted;
    if (m_options.output) {
        const std::string problem = SaveFile(m_files, *m_options.output, report);
        if (!problem.empty()) {
            m_err << "tavro-mpi: cannot write " << problem << '\n';
            return kExitWriteError;
        }
        return 0;
    }
    m_out.write(report.data(), static_cast<std::streamsize>(report.size()));
    m_out.flush();
    if (!m_out) {
        m_err << "tavro-mpi: cannot write the report to standard output\n";
        return kExitWriteError;
    }
    return 0;
}

void Job::PrintTimings() {
    const std::pair<const char*, double> phases[] = {
        {"counting", m_times.counting}, {"sorting", m_times.sorting},
        {"exchange", m_times.exchange}, {"crediting", m_times.crediting},
        {"report", m_times.report},     {"communication", m_ranks.SecondsCommunicating()}};
    for (const auto& [phase, seconds] : phases) {
        char line[64];
        std::snprintf(line, sizeof line, "timing %s %.6f\n", phase, seconds);
        m_err << line;
    }
}

int Job::Run() {
    m_threads = m_options.threads > 0 ? ThreadsFor(m_options.threads)
                                      : DefaultThreads(m_ranks.RanksOnThisMachine());
    m_roundBytes = RoundBytes(m_options.roundBytes, m_ranks.Size());
    if (const std::optional<RankFailure> failure = AgreeOnFailure(m_ranks, LoadData())) {
        return Fail(failure->status);
    }
    if (!SameDataOnEveryRank()) {
        if (Speaks()) {
            m_err << "tavro-mpi: the ranks did not all read the same " << m_options.lexicon
                  << " and " << m_options.conjugation << '\n';
        }
        return kExitFatal;
    }
    if (m_options.inputFiles.empty()) {
        if (Speaks()) m_err << ConsoleMessageText({"No Input Files have been Selected.\n", ""});
        return kExitUsage;
    }
    if (const std::optional<RankFailure> failure = ProbeInputFiles()) return Fail(failure->status);

    const std::vector<Share> plan = ShareOut(m_sizes, m_ranks.Size());
    const PieceEncoding encodingOf = PieceEncodings(plan);
    CountedShare counted = CountShare(
        plan[static_cast<std::size_t>(m_ranks.Rank())], m_options.inputFiles,
        [this](const Piece& piece) { return OpenPiece(piece); }, encodingOf, m_threads);
    m_times.counting = counted.countingSeconds;
    m_times.sorting = counted.sortingSeconds;
    const std::optional<WordTable> owned = OwnedWords(counted, plan);
    if (!owned) return kExitFatal;

    const std::string report = m_options.allWords ? WordReport(*owned) : NounReport(*owned);
    if (m_options.timings && Speaks()) PrintTimings();
    const int written = Speaks() ? WriteReport(report) : 0;
    return static_cast<int>(m_ranks.MaxOverRanks(static_cast<std::uint64_t>(written)));
}

}  // namespace

int RunMpi(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files, Communicator& ranks) {
    const ParsedMpiCommand parsed = ParseMpiOptions(ArgumentsOfRankZero(ranks, args));
    const bool speaks = ranks.Rank() == 0;
    if (!parsed.error.empty()) {
        if (speaks) {
            err << "tavro-mpi: " << parsed.error
                << "\nTry 'tavro-mpi --help' for more information.\n";
        }
        return kExitUsage;
    }
    if (parsed.options.help || parsed.options.version) {
        if (speaks && parsed.options.help) out << MpiUsage();
        if (speaks && parsed.options.version) out << kVersion << '\n';
        return 0;
    }
    return Job(parsed.options, out, err, files, ranks).Run();
}

}  // namespace tavro
