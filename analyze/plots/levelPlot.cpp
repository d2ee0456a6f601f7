// Level over the whole file: each channel's peak and RMS, the short-term
// loudness, and the stretches where the true peak goes over.
#include "analyze/plots/PlotCanvas.h"
#include "analyze/plots/plotData.h"
#include "analyze/plots/plots.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double kLevelStepDb = 6.0;
constexpr double kPeakAlpha = 0.45;
constexpr double kPeakLineWidth = 1.0;
constexpr double kRmsLineWidth = 1.8;
constexpr double kLoudnessLineWidth = 2.6;
constexpr double kOverBandAlpha = 0.12;
constexpr double kOverStripHeight = 8.0;
constexpr PlotColour kLineStyleColour = {0.45, 0.45, 0.45};

struct ColumnLevel {
    double peakDb;
    double rmsDb;
};

struct ColumnPoint {
    double x;
    ColumnLevel level;
};

std::optional<ColumnLevel> channelLevel(const FileTimeline& timeline, const SliceRange& range, int channel)
{
    const std::size_t peakColumn = static_cast<std::size_t>(channel) * FileTimeline::kLevelColumnsPerChannel;
    const std::size_t framesColumn = timeline.levels.width - 1;
    double peak = 0.0;
    double squares = 0.0;
    double frames = 0.0;
    for (std::size_t i = range.first; i < range.last; ++i) {
        const float* slice = timeline.levels.slice(i);
        peak = std::max(peak, static_cast<double>(slice[peakColumn]));
        squares += slice[peakColumn + 1];
        frames += slice[framesColumn];
    }
    if (frames <= 0.0)
        return std::nullopt;
    return ColumnLevel{amplitudeDecibels(peak), amplitudeDecibels(std::sqrt(squares / frames))};
}

// The highest value of a one-column series over the column; none when no slice has one.
std::optional<double> highest(const TimeSlices& series, const SliceRange& range)
{
    double value = -HUGE_VAL;
    for (std::size_t i = range.first; i < range.last; ++i)
        value = std::max(value, static_cast<double>(series.slice(i)[0]));
    if (value == -HUGE_VAL)
        return std::nullopt;
    return value;
}

class LevelPlot {
public:
    LevelPlot(const FileTimeline& timeline)
        : timeline(timeline), canvas(timeAxis(durationOf(timeline)),
                                     linearAxis(kLevelPlotFloorDb, kLevelPlotCeilingDb, kLevelStepDb, 0,
                                                "level (dBFS; loudness in LUFS)")),
          columns(static_cast<int>(canvas.right() - canvas.left()))
    {
    }

    PngBytes draw(const PlotCaption& caption)
    {
        canvas.title(caption.fileName + ": level over time", caption.loudnessSummary);
        canvas.legend(legend());
        canvas.beginData();
        drawOvers();
        // Every RMS line over every peak line: the RMS is what a reader follows.
        std::vector<std::vector<ColumnPoint>> channelPoints;
        for (int channel = 0; channel < timeline.channels; ++channel)
            channelPoints.push_back(pointsOf(channel));
        for (int channel = 0; channel < timeline.channels; ++channel)
            drawLine(channelPoints[static_cast<std::size_t>(channel)], &ColumnLevel::peakDb,
                     channelColour(channel), kPeakAlpha, kPeakLineWidth);
        for (int channel = 0; channel < timeline.channels; ++channel)
            drawLine(channelPoints[static_cast<std::size_t>(channel)], &ColumnLevel::rmsDb,
                     channelColour(channel), 1.0, kRmsLineWidth);
        drawLoudness();
        canvas.endData();
        canvas.finishAxes();
        return canvas.png();
    }

private:
    std::vector<LegendEntry> legend() const
    {
        // One entry per channel and the two line styles, so that many channels still fit.
        std::vector<LegendEntry> entries = channelLegend(timeline.channels);
        entries.push_back({"peak", kLineStyleColour, LegendEntry::Mark::Line, kPeakAlpha});
        entries.push_back({"RMS", kLineStyleColour, LegendEntry::Mark::ThickLine});
        // Without loudness meters (or 3 s of audio) there is nothing of these to see.
        if (timeline.shortTermLoudness.count() > 0)
            entries.push_back({"short-term loudness", kLoudnessColour, LegendEntry::Mark::ThickLine});
        if (timeline.truePeakMeasured)
            entries.push_back({"true-peak over (> 0 dBTP)", kOverColour, LegendEntry::Mark::Box});
        return entries;
    }

    double columnX(int column) const { return canvas.left() + column + 0.5; }
    // Levels below the floor lie on it, so a quiet stretch stays visible.
    double levelY(double db) const
    {
        return canvas.yOf(std::clamp(db, kLevelPlotFloorDb, kLevelPlotCeilingDb));
    }

    SliceRange range(const TimeSlices& series, int column) const
    {
        return slicesInColumn(series, timeline.frames, column, columns);
    }

    std::vector<ColumnPoint> pointsOf(int channel) const
    {
        std::vector<ColumnPoint> points;
        for (int column = 0; column < columns; ++column)
            if (const std::optional<ColumnLevel> level =
                    channelLevel(timeline, range(timeline.levels, column), channel))
                points.push_back({columnX(column), *level});
        return points;
    }

    void drawLine(const std::vector<ColumnPoint>& points, double ColumnLevel::*level,
                  const PlotColour& colour, double alpha, double width)
    {
        cairo_t* cairo = canvas.context();
        for (const ColumnPoint& point : points)
            cairo_line_to(cairo, point.x, levelY(point.level.*level));
        canvas.setColour(colour, alpha);
        cairo_set_line_width(cairo, width);
        cairo_stroke(cairo);
    }

    void drawLoudness()
    {
        cairo_t* cairo = canvas.context();
        canvas.setColour(kLoudnessColour);
        cairo_set_line_width(cairo, kLoudnessLineWidth);
        for (int column = 0; column < columns; ++column)
            if (const std::optional<double> loudness =
                    highest(timeline.shortTermLoudness, range(timeline.shortTermLoudness, column)))
                cairo_line_to(cairo, columnX(column), levelY(*loudness));
        cairo_stroke(cairo);
    }

    void drawOvers()
    {
        cairo_t* cairo = canvas.context();
        const double height = canvas.bottom() - canvas.top();
        for (int column = 0; column < columns; ++column) {
            const std::optional<double> truePeak =
                highest(timeline.truePeak, range(timeline.truePeak, column));
            if (!truePeak || *truePeak <= kOverThresholdDbtp)
                continue;
            const double px = canvas.left() + column;
            canvas.setColour(kOverColour, kOverBandAlpha);
            cairo_rectangle(cairo, px, canvas.top(), 1.0, height);
            cairo_fill(cairo);
            canvas.setColour(kOverColour);
            cairo_rectangle(cairo, px, canvas.top(), 1.0, kOverStripHeight);
            cairo_fill(cairo);
        }
    }

    const FileTimeline& timeline;
    PlotCanvas canvas;
    const int columns;
};

} // namespace

PngBytes drawLevelPlot(const FileTimeline& timeline, const PlotCaption& caption)
{
    return LevelPlot(timeline).draw(caption);
}
