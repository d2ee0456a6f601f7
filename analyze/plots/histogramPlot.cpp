// How often each sample level occurs, per channel, on a dB axis, with the
// analysis's quiet and near-peak regions shaded and their shares named.
#include "analyze/plots/PlotCanvas.h"
#include "analyze/plots/plotData.h"
#include "analyze/plots/plots.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kLevelStepDb = 6.0;
constexpr int kShareTicks = 8;
constexpr double kPercent = 100.0;
constexpr double kFillAlpha = 0.25;
constexpr double kLineWidth = 1.5;
constexpr double kRegionAlpha = 0.22;
constexpr PlotColour kQuietColour = {0.45, 0.55, 0.70};
constexpr PlotColour kNearPeakColour = {0.90, 0.30, 0.30};
constexpr double kNoteLineHeight = 16.0;
constexpr double kNoteInset = 6.0;
// Closer than this, the near-peak note goes below the quiet one.
constexpr double kNoteWidth = 220.0;

std::string quietText()
{
    char text[48];
    std::snprintf(text, sizeof text, "quiet: below %.0f dB", kQuietBelowDb);
    return text;
}

std::string nearPeakText()
{
    char text[48];
    std::snprintf(text, sizeof text, "near peak: within %.0f dB of it", kNearPeakWithinDb);
    return text;
}

std::string percentText(const std::optional<float>& share)
{
    if (!share)
        return "no block analysed";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f %% of samples", static_cast<double>(*share));
    return text;
}

// Percent of the channel's samples in each bin.
std::vector<double> shares(const std::vector<std::int64_t>& counts)
{
    std::int64_t total = 0;
    for (const std::int64_t count : counts)
        total += count;
    std::vector<double> result;
    for (const std::int64_t count : counts)
        result.push_back(total > 0 ? kPercent * static_cast<double>(count) / static_cast<double>(total)
                                   : 0.0);
    return result;
}

double binStartDb(int bin)
{
    return FileTimeline::kHistogramFloorDb + bin * FileTimeline::kHistogramBinDb;
}

PlotAxis shareAxis(const std::vector<std::vector<double>>& channelShares)
{
    double highest = 0.0;
    for (const std::vector<double>& channel : channelShares)
        for (const double share : channel)
            highest = std::max(highest, share);
    // Room above the highest bin; a silent file still gets an axis.
    const double step = roundStep(std::max(highest, 1.0), kShareTicks);
    const double top = (std::floor(highest / step) + 1.0) * step;
    const int decimals = step < 0.1 ? 2 : (step < 1.0 ? 1 : 0);
    char label[64];
    std::snprintf(label, sizeof label, "samples per %.1f dB (%%)", FileTimeline::kHistogramBinDb);
    return linearAxis(0.0, top, step, decimals, label);
}

class HistogramPlot {
public:
    HistogramPlot(const FileTimeline& timeline, std::vector<std::vector<double>> channelShares)
        : timeline(timeline), channelShares(std::move(channelShares)),
          canvas(linearAxis(FileTimeline::kHistogramFloorDb, 0.0, kLevelStepDb, 0, "sample level (dBFS)"),
                 shareAxis(this->channelShares))
    {
    }

    PngBytes draw(const PlotCaption& caption)
    {
        canvas.title(caption.fileName + ": level histogram", "");
        canvas.legend(legend());
        canvas.beginData();
        drawRegions(caption);
        for (int channel = 0; channel < timeline.channels; ++channel)
            drawChannel(channel);
        canvas.endData();
        canvas.finishAxes();
        return canvas.png();
    }

private:
    std::vector<LegendEntry> legend() const
    {
        std::vector<LegendEntry> entries = channelLegend(timeline.channels);
        entries.push_back({quietText(), kQuietColour, LegendEntry::Mark::Box, kRegionAlpha * 2});
        entries.push_back({nearPeakText(), kNearPeakColour, LegendEntry::Mark::Box, kRegionAlpha * 2});
        return entries;
    }

    void shade(double fromDb, double toDb, const PlotColour& colour)
    {
        canvas.setColour(colour, kRegionAlpha);
        cairo_rectangle(canvas.context(), canvas.xOf(fromDb), canvas.top(),
                        canvas.xOf(toDb) - canvas.xOf(fromDb), canvas.bottom() - canvas.top());
        cairo_fill(canvas.context());
    }

    void drawRegions(const PlotCaption& caption)
    {
        const double quietX = canvas.xOf(kQuietBelowDb) - kNoteInset;
        double noteY = canvas.top() + kNoteLineHeight;
        shade(FileTimeline::kHistogramFloorDb, kQuietBelowDb, kQuietColour);
        canvas.note(quietText(), quietX, noteY, 1.0);
        canvas.note(percentText(caption.quietPercent), quietX, noteY + kNoteLineHeight, 1.0);
        if (!caption.peakDb)
            return;
        const double peak = std::min(static_cast<double>(*caption.peakDb), 0.0);
        shade(peak - kNearPeakWithinDb, peak, kNearPeakColour);
        const double noteX = canvas.xOf(peak - kNearPeakWithinDb) - kNoteInset;
        if (std::abs(noteX - quietX) < kNoteWidth)
            noteY += 2.0 * kNoteLineHeight;
        canvas.note(nearPeakText(), noteX, noteY, 1.0);
        canvas.note(percentText(caption.nearPeakPercent), noteX, noteY + kNoteLineHeight, 1.0);
    }

    // A step outline over the bins, filled lightly down to the axis.
    void drawChannel(int channel)
    {
        cairo_t* cairo = canvas.context();
        const std::vector<double>& share = channelShares[static_cast<std::size_t>(channel)];
        cairo_move_to(cairo, canvas.xOf(binStartDb(0)), canvas.yOf(0.0));
        for (int bin = 0; bin < FileTimeline::kHistogramBins; ++bin) {
            const double py = canvas.yOf(share[static_cast<std::size_t>(bin)]);
            cairo_line_to(cairo, canvas.xOf(binStartDb(bin)), py);
            cairo_line_to(cairo, canvas.xOf(binStartDb(bin + 1)), py);
        }
        cairo_line_to(cairo, canvas.xOf(binStartDb(FileTimeline::kHistogramBins)), canvas.yOf(0.0));
        canvas.setColour(channelColour(channel), kFillAlpha);
        cairo_fill_preserve(cairo);
        canvas.setColour(channelColour(channel));
        cairo_set_line_width(cairo, kLineWidth);
        cairo_stroke(cairo);
    }

    const FileTimeline& timeline;
    const std::vector<std::vector<double>> channelShares;
    PlotCanvas canvas;
};

std::vector<std::vector<double>> allShares(const FileTimeline& timeline)
{
    std::vector<std::vector<double>> result;
    for (const std::vector<std::int64_t>& counts : timeline.histogram)
        result.push_back(shares(counts));
    return result;
}

} // namespace

PngBytes drawHistogramPlot(const FileTimeline& timeline, const PlotCaption& caption)
{
    return HistogramPlot(timeline, allShares(timeline)).draw(caption);
}
