#include "evaluation/eval_cli.h"

#include <algorithm>
#include <cstdio>
#include <map>
#include <optional>
#include <ostream>

#include "cli/option_parser.h"
#include "document/tavro_doc.h"
#include "evaluation/data_scores.h"
#include "evaluation/judged_sample.h"
#include "lexicon/noun_lexicon.h"
#include "platform/console_platform.h"
#include "platform/cp1253.h"

namespace tavro::eval {
namespace {

constexpr int kExitInput = 1;
constexpr int kExitUsage = 2;

struct EvalOptions {
    std::string lexicon = "finalList.txt";
    std::string conjugation = "conjugation.txt";
    std::optional<std::string> pairs;
    std::optional<std::string> credits;
    std::optional<std::string> judged;
    std::vector<std::string> corpus;
    bool listMisses = false;
    bool derivedNouns = false;
    bool capitalsAccents = false;
    std::size_t top = 100;
    bool help = false;
};

// The options, or an error text for a usage error.
std::optional<EvalOptions> ParseOptions(const std::vector<std::string>& args, std::string& error) {
    EvalOptions options;
    OptionParser parser;
    parser.Flag("--help", options.help, "-h");
    parser.Flag("--list-misses", options.listMisses);
    parser.Flag("--derive-nouns", options.derivedNouns);
    parser.Flag("--capitals-accents", options.capitalsAccents);
    parser.Value("--lexicon", options.lexicon);
    parser.Value("--conjugation", options.conjugation);
    parser.Value("--pairs", [&](const std::string& value) {
        options.pairs = value;
        return std::string();
    });
    parser.Value("--credits", [&](const std::string& value) {
        options.credits = value;
        return std::string();
    });
    parser.Value("--judged", [&](const std::string& value) {
        options.judged = value;
        return std::string();
    });
    parser.Value("--top", [&](const std::string& value) {
        const std::optional<long long> top = ParseWholeNumber(value, 0, 1'000'000'000);
        if (!top) return "--top needs a whole number, not '" + value + "'";
        options.top = static_cast<std::size_t>(*top);
        return std::string();
    });
    error = parser.Parse(args, options.corpus);
    if (!error.empty()) return std::nullopt;
    if (!options.help && !options.pairs && !options.credits && !options.judged &&
        options.corpus.empty()) {
        error =
            "nothing to evaluate: give --pairs FILE, --credits FILE, --judged FILE or corpus files";
        return std::nullopt;
    }
    return options;
}

std::optional<std::string> ReadFile(FileSystem& files, const std::string& path, std::ostream& err) {
    const OpenedSource source = files.OpenForRead(path);
    std::optional<std::string> text = source.file ? ReadAll(*source.file) : std::nullopt;
    if (!text) err << "tavro-eval: " << path << ": cannot be read\n";
    return text;
}

std::string Percent(double share) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%6.2f%%", share * 100.0);
    return buffer;
}

std::string JoinUtf8(const std::vector<std::string>& words) {
    std::string joined;
    for (const std::string& word : words) {
        if (!joined.empty()) joined += ' ';
        joined += Cp1253ToUtf8(word);
    }
    return joined;
}

int PrintPairScores(const CTavroDoc& doc, const EvalOptions& options, FileSystem& files,
                    std::ostream& out, std::ostream& err) {
    const std::optional<std::string> text = ReadFile(files, *options.pairs, err);
    if (!text) return kExitInput;
    std::string error;
    const auto pairs = ParsePairs(*text, error);
    if (!pairs) {
        err << "tavro-eval: " << *options.pairs << ": " << error << '\n';
        return kExitInput;
    }
    const PairScores s = ScorePairs(*pairs, doc.Conjugation(), doc.NounTree());
    if (options.listMisses) {
        for (std::size_t i = 0; i < s.misses.size(); ++i) {
            const PairResult& r = s.missResults[i];
            out << "miss\t" << Cp1253ToUtf8(s.misses[i].form) << '\t'
                << Cp1253ToUtf8(s.misses[i].lemma) << "\ttop=" << Cp1253ToUtf8(r.topAnswer)
                << "\tcredits=" << JoinUtf8(r.credits) << '\n';
        }
    }
    out << "pairs:        " << s.pairs << " in " << *options.pairs << '\n'
        << "top-1:        " << Percent(s.TopOne()) << "  (" << s.topHits
        << " pairs whose Find Base Form answer is the lemma)\n"
        << "recall:       " << Percent(s.Recall()) << "  (" << s.recalled
        << " pairs whose lemma is credited)\n"
        << "precision:    " << Percent(s.Precision()) << "  (" << s.rightCredits << " right of "
        << s.credits << " credits)\n"
        << "wrong-credit: " << Percent(s.WrongCreditShare()) << "  (" << s.pairsWithWrongCredit
        << " pairs whose form credits a wrong noun)\n"
        << "repeated:     " << s.repeatedCredits << " credits in " << s.pairsWithRepeatedCredit
        << " pairs repeat a noun the form already credited; precision counting them as wrong: "
        << Percent(s.StrictPrecision()) << '\n';
    return 0;
}

// The nouns `word` (folded) credits as a processing run credits it: when it
// credits none, with --capitals-accents the noun it matches up to accents, then
// with --derive-nouns the noun made from it.
std::vector<std::string> RunCredits(const CTavroDoc& doc, std::string_view word) {
    std::vector<std::string> credits = CreditedNouns(word, doc.Conjugation(), doc.NounTree());
    if (credits.empty() && doc.AccentlessIndex() != nullptr && MayLackItsAccent(word)) {
        const std::uint32_t noun = doc.AccentlessIndex()->Find(word, RestoredMatch::kOnlyNoun);
        if (noun != WordTable::kNotFound) credits.push_back(doc.NounTree()[noun].word);
    }
    if (credits.empty() && doc.DerivedNouns()) {
        std::string derived = DerivedNounOfTyped(word, doc.NounTree(), doc.Conjugation());
        if (!derived.empty()) credits.push_back(std::move(derived));
    }
    return credits;
}

int PrintCredits(const CTavroDoc& doc, const std::string& path, FileSystem& files,
                 std::ostream& out, std::ostream& err) {
    const std::optional<std::string> text = ReadFile(files, path, err);
    if (!text) return kExitInput;
    for (const std::string& line : SplitLexiconLines(*text)) {
        if (line.empty()) continue;
        const std::string word = FoldGreek(line);
        out << Cp1253ToUtf8(word) << '\t' << JoinUtf8(RunCredits(doc, word)) << '\n';
    }
    return 0;
}

std::string Interval(const WeightedShare& share) {
    return Percent(share.share) + "  95% Wilson " + Percent(share.low) + " to " +
           Percent(share.high);
}

// The judged rows whose word the loaded data credits otherwise than the file
// says: then the file's figures are not those of this data.
int DifferingItems(const CTavroDoc& doc, const std::vector<JudgedRow>& rows) {
    std::map<std::string, std::pair<std::string, std::vector<std::string>>> items;
    for (const JudgedRow& row : rows) {
        auto& [word, nouns] = items[row.item];
        word = row.word;
        if (!row.noun.empty()) nouns.push_back(row.noun);
    }
    int differing = 0;
    for (auto& [item, wordAndNouns] : items) {
        auto& [word, nouns] = wordAndNouns;
        std::vector<std::string> credited;
        for (const std::string& noun :
             RunCredits(doc, FoldGreek(Utf8ToCp1253(word).value_or(word)))) {
            credited.push_back(Cp1253ToUtf8(noun));
        }
        std::sort(credited.begin(), credited.end());
        std::sort(nouns.begin(), nouns.end());
        differing += credited != nouns ? 1 : 0;
    }
    return differing;
}

int PrintJudgedScores(const CTavroDoc& doc, const std::string& path, FileSystem& files,
                      std::ostream& out, std::ostream& err) {
    const std::optional<std::string> text = ReadFile(files, path, err);
    if (!text) return kExitInput;
    std::string error;
    const std::optional<std::vector<JudgedRow>> rows = ParseJudgedSample(*text, error);
    if (!rows) {
        err << "tavro-eval: " << path << ": " << error << '\n';
        return kExitInput;
    }
    const JudgedScores s = ScoreJudgedSample(*rows);
    out << "judged:       " << s.tokens << " tokens in " << path << '\n'
        << "precision:    " << Interval(s.precision) << "  (" << s.precision.rows
        << " judged credits, effective n " << static_cast<long>(s.precision.effectiveSize + 0.5)
        << ")\n"
        << "token recall: " << Interval(s.recall) << "  (" << s.recall.rows << " noun tokens, "
        << s.missedNounTokens << " without a right credit)\n"
        << "wrong credits by reason:";
    for (const auto& [kind, count] : s.wrongByKind) out << ' ' << kind << ' ' << count << ';';
    out << '\n';
    if (const int differing = DifferingItems(doc, *rows); differing != 0) {
        out << "note:         " << differing
            << " tokens credit other nouns with this lexicon and table than the file says;"
               " the figures are those of the file's data\n";
    }
    return 0;
}

int PrintCorpusScores(CTavroDoc& doc, const EvalOptions& options, ConsolePlatform& platform,
                      std::ostream& out) {
    const Status run = doc.OpenInputFiles(options.corpus);
    if (!run.ok()) {
        platform.ShowMessage(run.message());
        return run.exitStatus();
    }
    const CorpusScores s =
        ScoreCorpus(*doc.WordTree(), doc.NounTree(), doc.Conjugation(), options.top);
    out << "word tokens:         " << s.tokens << " (" << s.distinctWords << " distinct words)\n"
        << "crediting a noun:   " << Percent(s.CreditingShare()) << "  (" << s.crediting
        << " tokens)\n"
        << "Greek word tokens:   " << s.greekTokens
        << ", crediting a noun: " << Percent(s.GreekCreditingShare()) << '\n'
        << "nouns credited:      " << s.nounsMet << '\n'
        << "top " << s.topNouns.size() << " nouns credited:\n";
    for (std::size_t i = 0; i < s.topNouns.size(); ++i) {
        out << (i + 1) << '\t' << Cp1253ToUtf8(s.topNouns[i].noun) << '\t' << s.topNouns[i].count
            << '\n';
    }
    return 0;
}

}  // namespace

const char* EvalUsage() {
    return "Usage: tavro-eval [--lexicon FILE] [--conjugation FILE] [--pairs FILE "
           "[--list-misses]]\n"
           "                  [--capitals-accents] [--derive-nouns]\n"
           "                  [--credits FILE] [--judged FILE] [--top N] [CORPUS_FILE...]\n"
           "\n"
           "Measures how well a noun lexicon and an inflection table find nouns, with the\n"
           "same analysis as tavro-cli. The data files default to finalList.txt and\n"
           "conjugation.txt in the current directory; every input file is code page 1253.\n"
           "\n"
           "  --pairs FILE     score lines form<TAB>lemma. Each line is one case; the right\n"
           "                   nouns of a form are all lemmas the file gives for it.\n"
           "                   top-1: share of lines whose Find Base Form answer is the lemma;\n"
           "                   recall: share of lines whose form credits the lemma in a\n"
           "                   processing run; precision: share of all credits that go to a\n"
           "                   right noun; wrong-credit: share of lines whose form credits a\n"
           "                   noun that is not one of its lemmas. Credits that repeat a noun\n"
           "                   (it is then counted twice) are reported apart.\n"
           "  --list-misses    with --pairs, first list every line that is not right on all\n"
           "                   counts: form, lemma, top=answer, credits=nouns credited.\n"
           "  --credits FILE   for each word of FILE (one a line), print the word, a tab and\n"
           "                   the nouns it credits (space-separated, repeats kept).\n"
           "  --judged FILE    score a judged sample of credits on real text (a UTF-8 TSV\n"
           "                   with the columns item, weight, word, noun, verdict, lemma,\n"
           "                   reason: evaluation/judged/README.md): precision of the\n"
           "                   credits and token recall of the nouns, weighted, each with\n"
           "                   a 95% Wilson interval; says when this lexicon and table\n"
           "                   credit the sampled words otherwise than the file.\n"
           "  --capitals-accents, --derive-nouns\n"
           "                   for --credits, --judged and corpus files: credit words as\n"
           "                   tavro-cli with the same options credits them.\n"
           "  CORPUS_FILE...   run the program's processing run over the files and print the\n"
           "                   share of word tokens that credit at least one noun (all tokens,\n"
           "                   and tokens with a Greek letter) and the most credited nouns.\n"
           "  --top N          how many nouns to list for a corpus (default 100).\n"
           "  --lexicon FILE   the noun lexicon (default finalList.txt).\n"
           "  --conjugation FILE  the inflection table (default conjugation.txt).\n"
           "  -h, --help       show this text.\n"
           "\n"
           "Words are printed in UTF-8. Exit status: 0 done; 1 an input file cannot be read\n"
           "or a pairs line is malformed; 2 usage error; 255 a data file cannot be loaded.\n";
}

int RunEval(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
            FileSystem& files) {
    std::string error;
    const std::optional<EvalOptions> options = ParseOptions(args, error);
    if (!options) {
        err << "tavro-eval: " << error << "\nTry 'tavro-eval --help' for more information.\n";
        return kExitUsage;
    }
    if (options->help) {
        out << EvalUsage();
        return 0;
    }

    ConsolePlatform platform(err, files, /*showProgress=*/false);
    CTavroDoc doc(platform);
    const Status loaded = doc.LoadData({options->lexicon, options->conjugation});
    if (!loaded.ok()) {
        if (!loaded.message().text.empty()) platform.ShowMessage(loaded.message());
        return loaded.exitStatus();
    }

    doc.SetDerivedNouns(options->derivedNouns);
    doc.SetCapitalsAccents(options->capitalsAccents);
    if (options->pairs) {
        if (const int status = PrintPairScores(doc, *options, files, out, err); status != 0) {
            return status;
        }
    }
    if (options->credits) {
        if (const int status = PrintCredits(doc, *options->credits, files, out, err); status != 0) {
            return status;
        }
    }
    if (options->judged) {
        if (const int status = PrintJudgedScores(doc, *options->judged, files, out, err);
            status != 0) {
            return status;
        }
    }
    if (!options->corpus.empty()) return PrintCorpusScores(doc, *options, platform, out);
    return 0;
}

}  // namespace tavro::eval
