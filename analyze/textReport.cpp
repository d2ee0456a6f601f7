#include "analyze/textReport.h"

#include "editor/panelMeasures.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

namespace {

constexpr int kAnalysedChannels = 2;
constexpr int kBlockFrames = 2048;
constexpr int kLoudnessLines = 6;

std::string formatted(const char* format, ...) __attribute__((format(printf, 1, 2)));

std::string formatted(const char* format, ...)
{
    std::va_list arguments;
    va_start(arguments, format);
    std::va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    std::vector<char> text(static_cast<std::size_t>(length) + 1);
    std::vsnprintf(text.data(), text.size(), format, arguments);
    va_end(arguments);
    return text.data();
}

std::string measureColumn(const FileReport& report, int index)
{
    const PanelMeasure& measure = kPanelMeasures[index];
    const std::string unit =
        *measure.hint ? formatted("%s (%s)", measure.unit, measure.hint) : std::string(measure.unit);
    if (!report.measures)
        return formatted("%-8s %8s %-14s", measure.name, "-", unit.c_str());
    return formatted("%-8s %8.2f %-14s", measure.name,
                     static_cast<double>((*report.measures)[static_cast<std::size_t>(index)]), unit.c_str());
}

std::string loudnessColumn(const Loudness& loudness, int index)
{
    struct Line {
        const char* name;
        double value;
        const char* unit;
    };
    const Line lines[kLoudnessLines] = {
        {"integrated", loudness.figures.integrated, "LUFS"},
        {"loudness range", loudness.figures.range, "LU"},
        {"true peak", loudness.truePeak, "dBTP"},
        {"max momentary", loudness.figures.maxMomentary, "LUFS"},
        {"max short-term", loudness.figures.maxShortTerm, "LUFS"},
        {"PLR", loudness.plr(), "LU"},
    };
    const Line& line = lines[index];
    return formatted("%-15s %6.1f %s", line.name, line.value, line.unit);
}

std::string notes(const FileReport& report)
{
    const FileInfo& info = *report.info;
    std::string text;
    if (info.channels > kAnalysedChannels)
        text += formatted("  note: the nine measures cover channels 1 and 2 of %d%s\n", info.channels,
                          report.loudness ? "; loudness covers them all" : "");
    if (!report.measures)
        text += formatted("  note: shorter than one %d-frame block, so nothing was analysed\n", kBlockFrames);
    else if (report.unanalysedFrames > 0)
        text +=
            formatted("  note: the last %lld frames, less than one %d-frame block, were not analysed (as in "
                      "a host)\n",
                      static_cast<long long>(report.unanalysedFrames), kBlockFrames);
    for (const std::string& picture : report.pictures)
        text += "  picture: " + picture + "\n";
    for (const PlotImage& plot : report.plots)
        if (!plot.path.empty())
            text += "  plot: " + plot.path + "\n";
    return text;
}

} // namespace

std::string textReport(const FileReport& report)
{
    if (!report.complete)
        return {};
    const FileInfo& info = *report.info;
    std::string text = report.path + "\n";
    text +=
        formatted("  %s, %d Hz, %d channel%s, %.3f s (%lld frames)\n", info.format.c_str(), info.sampleRate,
                  info.channels, info.channels == 1 ? "" : "s",
                  static_cast<double>(info.frames) / info.sampleRate, static_cast<long long>(info.frames));
    for (int i = 0; i < kPanelMeasureCount; ++i) {
        std::string line = "  " + measureColumn(report, i);
        if (report.loudness && i < kLoudnessLines)
            line += "   " + loudnessColumn(*report.loudness, i);
        while (!line.empty() && line.back() == ' ')
            line.pop_back();
        text += line + "\n";
    }
    return text + notes(report);
}
