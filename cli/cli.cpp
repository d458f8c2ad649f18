#include "cli/cli.h"

#include <cstdio>
#include <ostream>
#include <utility>

#include "cli/cli_options.h"
#include "document/tavro_doc.h"
#include "lexicon/base_form.h"
#include "platform/console_platform.h"
#include "platform/cp1253.h"
#include "platform/save_file.h"

namespace tavro {
namespace {

constexpr int kExitWriteError = 1;
constexpr int kExitUsage = 2;
constexpr const char* kVersion = "tavro-cli 1.0.0";

// An argument typed on a UTF-8 terminal becomes cp1253; bytes that are not UTF-8,
// or hold characters cp1253 lacks, are taken as they are.
std::string TypedToCp1253(const std::string& typed) { return Utf8ToCp1253(typed).value_or(typed); }

// Shows what a failed operation must tell the user; returns the exit status.
int Fail(const Status& status, ConsolePlatform& platform) {
    if (!status.message().text.empty()) platform.ShowMessage(status.message());
    if (status.kind() == Status::Kind::kNoDocument) {
        platform.ShowMessage({"Failed to create empty document.", ""});
    }
    return status.exitStatus();
}

int PrintBaseForm(CTavroDoc& doc, const std::string& typed, std::ostream& out) {
    const std::string answer = BaseFormMessage(TypedToCp1253(typed), doc.Conjugation(),
                                               doc.NounTree(), doc.AccentlessIndex());
    if (!answer.empty()) out << Cp1253ToUtf8(answer) << '\n';
    return 0;
}

int WriteReport(std::string_view report, const CliOptions& options, FileSystem& files,
                std::ostream& out, std::ostream& err) {
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

int RunReport(CTavroDoc& doc, const CliOptions& options, ConsolePlatform& platform,
              std::ostream& out, std::ostream& err) {
    if (options.allWords) doc.OnViewShowAllWords();
    if (options.byFrequency) doc.OnViewSortByFrequency();
    const Status run = doc.OpenInputFiles(options.inputFiles);
    if (!run.ok()) return Fail(run, platform);
    if (options.inputFiles.empty()) return kExitUsage;
    for (const FileWarning& warning : doc.RunWarnings()) {
        err << "tavro-cli: warning: " << warning.path << ": " << warning.text << '\n';
    }
    if (options.timings) PrintTimings(doc.Timings(), err);
    return WriteReport(doc.ReportText(), options, platform.Files(), out, err);
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
    const Status loaded = doc.LoadData({options.lexicon, options.conjugation});
    if (!loaded.ok()) return Fail(loaded, platform);

    doc.SetCapitalsAccents(options.capitalsAccents);
    if (options.baseForm) return PrintBaseForm(doc, *options.baseForm, out);
    return RunReport(doc, options, platform, out, err);
}

}  // namespace tavro
