#include "cli/cli.h"

#include <cstdio>
#include <new>
#include <ostream>
#include <utility>

#include "cli/cli_options.h"
#include "document/tavro_doc.h"
#include "lexicon/base_form.h"
#include "platform/console_platform.h"
#include "platform/save_file.h"
#include "platform/text_encoding.h"
#include "report/table_export.h"

namespace tavro {
namespace {

constexpr int kExitWriteError = 1;
constexpr int kExitUsage = 2;
constexpr const char* kVersion = "tavro-cli 1.0.0";

// Shows what a failed operation must tell the user; returns the exit status.
int Fail(const Status& status, ConsolePlatform& platform) {
    if (!status.message().text.empty()) platform.ShowMessage(status.message());
    if (status.kind() == Status::Kind::kNoDocument) {
        platform.ShowMessage({"Failed to create empty document.", ""});
    }
    return status.exitStatus();
}

// The word typed after --base-form, decoded as a file is (UTF-8 on a UTF-8
// terminal); a word that cp1253 cannot hold is a usage error.
int PrintBaseForm(CTavroDoc& doc, const std::string& typed, const CliOptions& options,
                  std::ostream& out, std::ostream& err) {
    const DecodedText word = DecodeText(typed);
    if (!word.clean()) {
        err << "tavro-cli: --base-form: the word "
            << (word.firstProblemUnheld
                    ? "holds " + DescribeCharacter(word.firstUnheld) +
                          ", which code page 1253 cannot hold, so no "
                          "noun of the lexicon can match it"
                    : std::string("is not valid ") + EncodingName(word.encoding))
            << '\n';
        return kExitUsage;
    }
    std::string answer =
        BaseFormMessage(word.text, doc.Conjugation(), doc.NounTree(), doc.AccentlessIndex());
    const std::string derived = DerivedNounOfTyped(word.text, doc.NounTree(), doc.Conjugation());
    if (!derived.empty()) {
        answer += std::string(" Made from its prefix or suffix") +
                  (options.derivedNouns ? "" : ", as --derive-nouns does") + ", it is '" + derived +
                  "', a noun the lexicon lacks.";
    }
    if (!answer.empty()) {
        out << EncodeCp1253(answer, options.outputEncoding.value_or(TextEncoding::kUtf8)) << '\n';
    }
    return 0;
}

int WriteReport(std::string_view cp1253Report, const CliOptions& options, FileSystem& files,
                std::ostream& out, std::ostream& err) {
    std::string converted;
    if (options.format == TableFormat::kText && options.outputEncoding &&
        *options.outputEncoding != TextEncoding::kCp1253) {
        converted = EncodeCp1253(cp1253Report, *options.outputEncoding);
    }
    const std::string_view report = converted.empty() ? cp1253Report : converted;
    if (options.output) {
        const std::string problem = SaveFile(files, *options.output, report);
        if (!problem.empty()) {
            err << "tavro-cli: cannot write " << problem << '\n';
            return kExitWriteError;
        }
        return 0;
    }
    out.write(report.data(), static_cast<std::streamsize>(report.size()));
    out.flush();
    if (!out) {
        err << "tavro-cli: cannot write the report to standard output\n";
        return kExitWriteError;
    }
    return 0;
}

void PrintTimings(const RunTimings& timings, std::ostream& err) {
    const std::pair<const char*, double> phases[] = {{"counting", timings.counting},
                                                     {"sorting", timings.sorting},
                                                     {"crediting", timings.crediting},
                                                     {"report", timings.report}};
    for (const auto& [phase, seconds] : phases) {
        char line[64];
        std::snprintf(line, sizeof line, "timing %s %.6f\n", phase, seconds);
        err << line;
    }
}

// The table the options ask for, from the run's analysis: text in the output
// encoding, the other formats in UTF-8.
std::string AnalysisOutput(const CTavroDoc& doc, const CliOptions& options) {
    TableRequest request;
    request.kind = options.ambiguous  ? TableKind::kAmbiguous
                   : options.allWords ? TableKind::kWords
                                      : TableKind::kNouns;
    request.format = options.format;
    request.order =
        options.order.value_or(options.byFrequency ? RowOrder::kFrequency : RowOrder::kBytes);
    request.filter = {options.minCount, options.top};
    request.forms = options.forms;
    return WriteTable(*doc.Analysis(), request);
}

int SaveCounts(const CTavroDoc& doc, const std::string& path, FileSystem& files,
               std::ostream& err) {
    const std::string problem = SaveFile(files, path, RenderCountFile(doc.RunCounts()));
    if (problem.empty()) return 0;
    err << "tavro-cli: cannot write " << problem << '\n';
    return kExitWriteError;
}

int RunReport(CTavroDoc& doc, const CliOptions& options, ConsolePlatform& platform,
              std::ostream& out, std::ostream& err) {
    if (options.allWords) doc.OnViewShowAllWords();
    if (options.byFrequency) doc.OnViewSortByFrequency();
    const bool analysis = WantsAnalysis(options);
    if (analysis) {
        // Files are counted for the columns that show them and for count files;
        // the windows for the figures.
        const bool table = options.format != TableFormat::kText;
        doc.SetRunExtras({table || options.saveCounts.has_value(),
                          options.stats || options.format == TableFormat::kJson});
    }
    doc.SetAddedCounts(options.addCounts);
    const Status run = doc.OpenInputFiles(options.inputFiles);
    if (!run.ok()) return Fail(run, platform);
    if (options.inputFiles.empty() && options.addCounts.empty()) return kExitUsage;
    for (const FileWarning& warning : doc.RunWarnings()) {
        err << "tavro-cli: warning: " << warning.path << ": " << warning.text << '\n';
    }
    if (options.timings) PrintTimings(doc.Timings(), err);
    if (!analysis) return WriteReport(doc.ReportText(), options, platform.Files(), out, err);
    try {
        if (options.saveCounts) {
            const int saved = SaveCounts(doc, *options.saveCounts, platform.Files(), err);
            if (saved != 0) return saved;
        }
        const std::string table = AnalysisOutput(doc, options);
        if (options.stats) err << FormatStats(doc.Analysis()->Stats());
        return WriteReport(table, options, platform.Files(), out, err);
    } catch (const std::bad_alloc&) {
        err << "Out of memory while writing the results\n";
        return kExitFatal;
    }
}

}  // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           FileSystem& files, bool showProgress) {
    const ParsedCli parsed = ParseCliOptions(args);
    if (!parsed.error.empty()) {
        err << "tavro-cli: " << parsed.error << "\nTry 'tavro-cli --help' for more information.\n";
        return kExitUsage;
    }
    const CliOptions& options = parsed.options;
    if (options.help) {
        out << CliUsage();
        return 0;
    }
    if (options.version) {
        out << kVersion << '\n';
        return 0;
    }

    ConsolePlatform platform(err, files, showProgress);
    CTavroDoc doc(platform);
    doc.SetThreadCount(options.threads);
    doc.SetInputEncoding(options.encoding);
    const Status loaded = doc.LoadData({options.lexicon, options.conjugation});
    if (!loaded.ok()) return Fail(loaded, platform);

    doc.SetCapitalsAccents(options.capitalsAccents);
    doc.SetDerivedNouns(options.derivedNouns);
    if (options.baseForm) return PrintBaseForm(doc, *options.baseForm, options, out, err);
    return RunReport(doc, options, platform, out, err);
}

}  // namespace tavro
