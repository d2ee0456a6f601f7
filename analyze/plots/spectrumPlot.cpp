// The mean spectrum of the whole file per channel, on a logarithmic
// frequency axis, in dB relative to a full-scale sine.
#include "analyze/plots/PlotCanvas.h"
#include "analyze/plots/TimelineCollector.h"
#include "analyze/plots/plotData.h"
#include "analyze/plots/plots.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kLevelStepDb = 10.0;
constexpr double kLineWidth = 1.5;
constexpr double kNoteInset = 8.0;
constexpr double kNoteLineHeight = 16.0;

double highestLevel(const FileTimeline& timeline)
{
    double highest = -HUGE_VAL;
    const BinRange audible = binsInRange(timeline.binHz, timeline.bins, kLowestFrequency, HUGE_VAL);
    for (const std::vector<double>& channel : timeline.spectrum)
        for (int bin = audible.first; bin < audible.last; ++bin)
            highest = std::max(highest, powerDecibels(channel[static_cast<std::size_t>(bin)]));
    return highest;
}

// The highest of the bins, not their mean: a tone among many bins of one
// pixel column still reads its own level.
double highestPower(const std::vector<double>& spectrum, const BinRange& range)
{
    double highest = 0.0;
    for (int bin = range.first; bin < range.last; ++bin)
        highest = std::max(highest, spectrum[static_cast<std::size_t>(bin)]);
    return highest;
}

class SpectrumPlot {
public:
    explicit SpectrumPlot(const FileTimeline& timeline)
        : timeline(timeline), top(spectrumTopDb(highestLevel(timeline))),
          canvas(
              frequencyAxis(kLowestFrequency, highestFrequency(timeline)),
              linearAxis(top - kSpectrumRangeDb, top, kLevelStepDb, 0, "level (dB; full-scale sine = 0 dB)"))
    {
    }

    PngBytes draw(const PlotCaption& caption)
    {
        canvas.title(caption.fileName + ": spectrum of the whole file", "");
        canvas.legend(channelLegend(timeline.channels));
        canvas.beginData();
        for (int channel = 0; channel < timeline.channels; ++channel)
            drawChannel(channel);
        canvas.endData();
        const double noteY = canvas.top() + kNoteLineHeight;
        const double noteX = canvas.right() - kNoteInset;
        if (timeline.spectrogram.count() == 0)
            canvas.note(tooShortForSpectrum(), noteX, noteY, 1.0);
        else if (highestLevel(timeline) == -HUGE_VAL)
            canvas.note("no spectrum: digital silence", noteX, noteY, 1.0);
        else
            canvas.note("mean of " + std::to_string(TimelineCollector::kSpectrumFrames) +
                            "-point spectra (Hann window) over the file",
                        noteX, noteY, 1.0);
        canvas.finishAxes();
        return canvas.png();
    }

private:
    // A point per pixel column that holds a bin; where bins are sparser than
    // columns, the line joins them.
    void drawChannel(int channel)
    {
        cairo_t* cairo = canvas.context();
        const std::vector<double>& spectrum = timeline.spectrum[static_cast<std::size_t>(channel)];
        const int columns = static_cast<int>(canvas.right() - canvas.left());
        for (int column = 0; column < columns; ++column) {
            const double low = canvas.xAxis().valueAt(static_cast<double>(column) / columns);
            const double high = canvas.xAxis().valueAt(static_cast<double>(column + 1) / columns);
            const BinRange range = binsInRange(timeline.binHz, timeline.bins, low, high);
            if (range.empty())
                continue;
            const double level =
                std::max(powerDecibels(highestPower(spectrum, range)), top - kSpectrumRangeDb);
            cairo_line_to(cairo, canvas.left() + column + 0.5, canvas.yOf(level));
        }
        canvas.setColour(channelColour(channel));
        cairo_set_line_width(cairo, kLineWidth);
        cairo_stroke(cairo);
    }

    const FileTimeline& timeline;
    const double top;
    PlotCanvas canvas;
};

} // namespace

PngBytes drawSpectrumPlot(const FileTimeline& timeline, const PlotCaption& caption)
{
    return SpectrumPlot(timeline).draw(caption);
}
