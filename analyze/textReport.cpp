#include "analyze/textReport.h"

#include "editor/panelMeasures.h"

#include <algorithm>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <utility>
#include <vector>

namespace {

constexpr int kAnalysedChannels = 2;
constexpr int kBlockFrames = 2048;
constexpr int kLoudnessLines = 6;
constexpr const char* kNotAvailable = "n/a";
constexpr const char* kNotANumber = "not a finite number";

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

// The reasons of the figures shown as "n/a", each with the figures it
// holds for, in the order they were met.
class Unavailable {
public:
    // The value with its unit in `width` characters and `decimals`, or "n/a".
    std::string show(const Reading& reading, const std::string& figure, int width, int decimals,
                     const char* unit)
    {
        if (reading.value)
            return formatted("%*.*f %s", width, decimals, *reading.value, unit);
        note(figure, reading.reason);
        // Aligned with the numbers; the unit's room left blank.
        return formatted("%*s%*s", width, kNotAvailable, static_cast<int>(std::strlen(unit)) + 1, "");
    }

    std::string notes() const
    {
        std::string text;
        for (const auto& [reason, figures] : reasons) {
            std::string names;
            for (const std::string& figure : figures)
                names += (names.empty() ? "" : ", ") + figure;
            text += "  note: " + names + " n/a: " + reason + "\n";
        }
        return text;
    }

private:
    void note(const std::string& figure, const std::string& reason)
    {
        const auto found = std::find_if(reasons.begin(), reasons.end(),
                                        [&](const auto& entry) { return entry.first == reason; });
        if (found == reasons.end())
            reasons.push_back({reason, {figure}});
        else
            found->second.push_back(figure);
    }

    std::vector<std::pair<std::string, std::vector<std::string>>> reasons;
};

std::string trimmed(std::string line)
{
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return line;
}

// A value the analysis could not make a number of (from samples that are
// not numbers) is shown as n/a, as the JSON report holds it.
std::string measureColumn(const FileReport& report, int index, Unavailable& unavailable)
{
    const PanelMeasure& measure = kPanelMeasures[index];
    const std::string unit =
        *measure.hint ? formatted("%s (%s)", measure.unit, measure.hint) : std::string(measure.unit);
    if (!report.measures)
        return formatted("%-8s %8s %-14s", measure.name, "-", unit.c_str());
    const double value = (*report.measures)[static_cast<std::size_t>(index)];
    const Reading reading = std::isfinite(value) ? Reading::of(value) : Reading::none(kNotANumber);
    return formatted("%-8s ", measure.name) + unavailable.show(reading, measure.name, 8, 2, "") +
           formatted("%-14s", unit.c_str());
}

std::string loudnessColumn(const Loudness& loudness, int index, Unavailable& unavailable)
{
    struct Line {
        const char* name;
        Reading reading;
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
    return formatted("%-15s ", line.name) + unavailable.show(line.reading, line.name, 6, 1, line.unit);
}

std::string channelTable(const FileReport& report, Unavailable& unavailable)
{
    std::string text =
        trimmed(formatted("  %-8s%9s   %9s   %9s", "channel", "peak", "rms", "true peak")) + "\n";
    for (std::size_t i = 0; i < report.channels.size(); ++i) {
        const ChannelFigures& figures = report.channels[i];
        const std::string name = formatted("%zu %s", i + 1, report.info->channelNames[i].c_str());
        const std::string figure = "channel " + std::to_string(i + 1) + " ";
        text += trimmed(formatted("  %-8s", name.c_str()) +
                        unavailable.show(figures.peak, figure + "peak", 9, 2, "dB") +
                        unavailable.show(figures.rms, figure + "RMS", 9, 2, "dB") +
                        unavailable.show(figures.truePeak, figure + "true peak", 9, 2, "dBTP")) +
                "\n";
    }
    return text;
}

std::string notes(const FileReport& report)
{
    const FileInfo& info = *report.info;
    std::string text;
    if (info.channels > kAnalysedChannels)
        text += formatted("  note: the nine measures cover channels 1 and 2 of %d\n", info.channels);
    if (!report.measures)
        text += formatted("  note: shorter than one %d-frame block, so nothing was analysed\n", kBlockFrames);
    else if (report.unanalysedFrames > 0)
        text +=
            formatted("  note: the last %lld frames, less than one %d-frame block, were not analysed (as in "
                      "a host)\n",
                      static_cast<long long>(report.unanalysedFrames), kBlockFrames);
    for (const std::string& note : report.notes)
        text += "  note: " + note + "\n";
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
    text += "  layout: " + info.layout + "\n";
    Unavailable unavailable;
    for (int i = 0; i < kPanelMeasureCount; ++i) {
        std::string line = "  " + measureColumn(report, i, unavailable);
        if (report.loudness && i < kLoudnessLines)
            line += "   " + loudnessColumn(*report.loudness, i, unavailable);
        text += trimmed(line) + "\n";
    }
    text += channelTable(report, unavailable);
    return text + unavailable.notes() + notes(report);
}
