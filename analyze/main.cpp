// orvane-analyze: the Orvane plug-in's analysis for audio files, with the
// loudness figures beside it. See --help.
#include "analyze/ProgressBar.h"
#include "analyze/ReportOutput.h"
#include "analyze/fileAnalysis.h"
#include "analyze/html/HtmlReport.h"
#include "analyze/inputs.h"
#include "analyze/options.h"
#include "analyze/orderedJobs.h"
#include "analyze/plots/PlotCanvas.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>

namespace {

constexpr const char* kProgram = "orvane-analyze";

void reportError(const std::string& subject, const std::string& error)
{
    std::fprintf(stderr, "%s: %s: %s\n", kProgram, subject.c_str(), error.c_str());
}

AnalysisSettings analysisSettings(const Options& options)
{
    AnalysisSettings settings;
    settings.displayScale = options.scale;
    settings.options = options.display;
    settings.loudness = options.loudness;
    settings.pictureFolder = options.pictureFolder;
    settings.plotFolder = options.plotFolder;
    settings.keepPlots = !options.htmlReport.empty();
    // --jobs 1 keeps to one thread; more let each file's meters and blocks share the cores too.
    settings.threads = static_cast<int>(options.jobs);
    return settings;
}

// `what` names the folder in the error message.
bool makeFolder(const std::string& folder, const char* what)
{
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        reportError(folder, std::string("cannot create the ") + what + " folder: " + error.message());
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (const std::optional<int> status = parseOptions(argc, argv, options))
        return *status;
    if (!options.pictureFolder.empty() && !makeFolder(options.pictureFolder, "picture"))
        return kSomeFailed;
    if (!options.plotFolder.empty() && !makeFolder(options.plotFolder, "plot"))
        return kSomeFailed;

    const std::vector<AnalysisInput> inputs = collectInputs(options.files);
    const AnalysisSettings settings = analysisSettings(options);
    std::vector<FileReport> reports(inputs.size());
    ProgressBar progress(inputs.size(), !options.quiet && isatty(STDERR_FILENO));
    ReportOutput output(options.json, options.output);
    HtmlReport html;
    bool anyFailed = false;

    const auto analyse = [&](std::size_t i) {
        const AnalysisInput& input = inputs[i];
        if (!input.error.empty()) {
            reports[i].path = input.path;
            reports[i].error = input.error;
            return;
        }
        progress.started(i, input.path);
        reports[i] = analyseFile(input.path, input.pictureStem, settings,
                                 [&progress, i](double fraction) { progress.advanced(i, fraction); });
        progress.finished(i);
    };
    const auto deliver = [&](std::size_t i) {
        progress.printAbove([&] {
            if (!reports[i].error.empty()) {
                reportError(reports[i].path, reports[i].error);
                anyFailed = true;
            }
            output.add(reports[i]);
        });
        if (!options.htmlReport.empty())
            html.add(reports[i]);
        reports[i] = FileReport{};
    };
    runInOrder(inputs.size(), options.jobs, analyse, deliver);
    PlotCanvas::releaseFonts();

    if (const std::string error = output.finish(); !error.empty()) {
        reportError(options.output, error);
        anyFailed = true;
    }
    if (!options.htmlReport.empty())
        if (const std::string error = html.write(options.htmlReport); !error.empty()) {
            reportError(options.htmlReport, error);
            anyFailed = true;
        }
    return anyFailed ? kSomeFailed : kAllAnalysed;
}
