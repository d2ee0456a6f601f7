#include "analyze/plots/plotFiles.h"

#include "analyze/AtomicFile.h"
#include "analyze/panelValue.h"
#include "analyze/plots/plots.h"

#include <cstdio>
#include <filesystem>

namespace {

struct PlotKind {
    const char* name;
    PngBytes (*draw)(const FileTimeline&, const PlotCaption&);
};

constexpr PlotKind kPlotKinds[] = {
    {"level", drawLevelPlot},
    {"histogram", drawHistogramPlot},
    {"spectrum", drawSpectrumPlot},
    {"spectrogram", drawSpectrogramPlot},
};

std::string figure(const char* name, const Reading& reading, const char* unit)
{
    if (!reading.value)
        return std::string(name) + " n/a";
    char text[64];
    std::snprintf(text, sizeof text, "%s %.1f %s", name, *reading.value, unit);
    return text;
}

PlotCaption captionOf(const FileReport& report)
{
    PlotCaption caption;
    caption.fileName = std::filesystem::path(report.path).filename().string();
    if (report.loudness) {
        const Loudness& loudness = *report.loudness;
        caption.loudnessSummary = figure("integrated", loudness.figures.integrated, "LUFS") + ",  " +
                                  figure("range", loudness.figures.range, "LU") + ",  " +
                                  figure("true peak", loudness.truePeak, "dBTP");
    }
    caption.peakDb = panelValue(report, &AnalyzerMeasures::peakDb);
    caption.quietPercent = panelValue(report, &AnalyzerMeasures::quietPercent);
    caption.nearPeakPercent = panelValue(report, &AnalyzerMeasures::nearPeakPercent);
    return caption;
}

std::string writeFile(const std::string& path, const PngBytes& png)
{
    AtomicFile file(path);
    if (!file.stream())
        return file.error();
    std::fwrite(png.data(), 1, png.size(), file.stream());
    return file.commit() ? "" : file.error();
}

} // namespace

std::string makePlots(const FileTimeline& timeline, const PlotRequest& request, FileReport& report)
{
    const PlotCaption caption = captionOf(report);
    for (const PlotKind& kind : kPlotKinds) {
        PlotImage plot{kind.name, "", kind.draw(timeline, caption)};
        if (plot.png.empty())
            return std::string("cannot draw the ") + kind.name + " plot";
        if (!request.folder.empty()) {
            plot.path = request.folder + "/" + request.stem + "-plot-" + kind.name + ".png";
            if (const std::string error = writeFile(plot.path, plot.png); !error.empty())
                return error;
        }
        if (!request.keep)
            plot.png.clear();
        report.plots.push_back(std::move(plot));
    }
    return {};
}
