// The whole file's spectrogram: time across, logarithmic frequency up, the
// level of all channels together as a colour, with the colour scale and
// its dB legend on the right.
#include "analyze/plots/PlotCanvas.h"
#include "analyze/plots/plotData.h"
#include "analyze/plots/plots.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kColourScaleGap = 14.0;
constexpr double kColourScaleWidth = 18.0;
constexpr double kColourScaleStepDb = 20.0;
constexpr double kTickLength = 4.0;
constexpr double kTickLabelGap = 4.0;
constexpr double kTickLabelRise = 4.0;
constexpr double kScaleLabelRise = 8.0;
constexpr double kNoteInset = 8.0;
constexpr double kNoteLineHeight = 16.0;

// Where no spectrum was taken: neither silence nor sound.
constexpr PlotColour kNoSpectrum = {1.0, 1.0, 1.0};

struct ColourStop {
    double at;
    PlotColour colour;
};

// Black through blue, purple, red and orange to pale yellow: louder is brighter.
constexpr std::array<ColourStop, 6> kColourStops = {{
    {0.0, {0.0, 0.0, 0.0}},
    {0.2, {0.10, 0.02, 0.45}},
    {0.4, {0.55, 0.02, 0.60}},
    {0.6, {0.90, 0.15, 0.10}},
    {0.8, {1.00, 0.65, 0.00}},
    {1.0, {1.00, 1.00, 0.85}},
}};

// `where` from 0 (the foot of the scale) to 1 (its top), clamped.
PlotColour colourAt(double where)
{
    where = std::clamp(std::isfinite(where) ? where : 0.0, 0.0, 1.0);
    std::size_t stop = 1;
    while (stop + 1 < kColourStops.size() && where > kColourStops[stop].at)
        ++stop;
    const ColourStop& from = kColourStops[stop - 1];
    const ColourStop& to = kColourStops[stop];
    const double t = (where - from.at) / (to.at - from.at);
    return {from.colour.red + t * (to.colour.red - from.colour.red),
            from.colour.green + t * (to.colour.green - from.colour.green),
            from.colour.blue + t * (to.colour.blue - from.colour.blue)};
}

std::uint32_t pixelOf(const PlotColour& colour)
{
    constexpr double kFull = 255.0;
    const auto channel = [](double value) { return static_cast<std::uint32_t>(std::lround(value * kFull)); };
    return channel(colour.red) << 16 | channel(colour.green) << 8 | channel(colour.blue);
}

// Minus infinity when there is no level at all.
double highestOf(const std::vector<double>& levels)
{
    double highest = -HUGE_VAL;
    for (const double level : levels)
        if (level > highest)
            highest = level;
    return highest;
}

class SpectrogramPlot {
public:
    explicit SpectrogramPlot(const FileTimeline& timeline)
        : timeline(timeline),
          canvas(timeAxis(durationOf(timeline)), frequencyAxis(kLowestFrequency, highestFrequency(timeline)),
                 kSpectrogramScaleMargin),
          columns(static_cast<int>(canvas.right() - canvas.left())),
          rows(static_cast<int>(canvas.bottom() - canvas.top())), rowBins(binsOfRows()),
          levels(columnLevels()), top(spectrumTopDb(highestOf(levels)))
    {
    }

    PngBytes draw(const PlotCaption& caption)
    {
        canvas.title(caption.fileName + ": spectrogram", "");
        canvas.legend(
            {{"all channels together; colour: level (dB; full-scale sine = 0 dB), scale on the right",
              colourAt(1.0), LegendEntry::Mark::None}});
        drawImage();
        drawColourScale();
        if (timeline.spectrogram.count() == 0)
            canvas.note(tooShortForSpectrum(), canvas.right() - kNoteInset, canvas.top() + kNoteLineHeight,
                        1.0);
        canvas.finishAxes();
        return canvas.png();
    }

private:
    // The bins each pixel row shows, from the bottom row up; where a row is
    // narrower than a bin, the bin nearest its middle.
    std::vector<BinRange> binsOfRows() const
    {
        std::vector<BinRange> result;
        const double binHz = timeline.binHz > 0.0 ? timeline.binHz : 1.0;
        for (int row = 0; row < rows; ++row) {
            const double low = canvas.yAxis().valueAt(static_cast<double>(row) / rows);
            const double high = canvas.yAxis().valueAt(static_cast<double>(row + 1) / rows);
            BinRange range = binsInRange(binHz, timeline.bins, low, high);
            if (range.empty()) {
                const int nearest = std::clamp(static_cast<int>(std::lround(std::sqrt(low * high) / binHz)),
                                               1, std::max(timeline.bins - 1, 1));
                range = {nearest, nearest + 1};
            }
            result.push_back(range);
        }
        return result;
    }

    // dB per column and row, column after column; not a number where no
    // spectrum falls (the file's end, shorter than one), minus infinity for silence.
    std::vector<double> columnLevels() const
    {
        std::vector<double> result(static_cast<std::size_t>(columns) * static_cast<std::size_t>(rows),
                                   std::nan(""));
        const TimeSlices& slices = timeline.spectrogram;
        const std::size_t countColumn = slices.width - 1;
        std::vector<double> power(static_cast<std::size_t>(timeline.bins));
        for (int column = 0; column < columns; ++column) {
            const SliceRange range = slicesInColumn(slices, timeline.frames, column, columns);
            double spectra = 0.0;
            std::fill(power.begin(), power.end(), 0.0);
            for (std::size_t i = range.first; i < range.last; ++i) {
                const float* slice = slices.slice(i);
                spectra += slice[countColumn];
                for (std::size_t bin = 0; bin < power.size(); ++bin)
                    power[bin] += slice[bin];
            }
            if (spectra <= 0.0)
                continue;
            for (int row = 0; row < rows; ++row) {
                // The highest bin of the row, so that a tone keeps its level among many bins.
                const BinRange& bins = rowBins[static_cast<std::size_t>(row)];
                double highest = 0.0;
                for (int bin = bins.first; bin < bins.last; ++bin)
                    highest = std::max(highest, power[static_cast<std::size_t>(bin)]);
                result[static_cast<std::size_t>(column) * static_cast<std::size_t>(rows) +
                       static_cast<std::size_t>(row)] = powerDecibels(highest / spectra / timeline.channels);
            }
        }
        return result;
    }

    void drawImage()
    {
        cairo_surface_t* image = cairo_image_surface_create(CAIRO_FORMAT_RGB24, columns, rows);
        const int stride = cairo_image_surface_get_stride(image);
        unsigned char* data = cairo_image_surface_get_data(image);
        for (int column = 0; column < columns; ++column)
            for (int row = 0; row < rows; ++row) {
                const double level =
                    levels[static_cast<std::size_t>(column) * static_cast<std::size_t>(rows) +
                           static_cast<std::size_t>(row)];
                auto* pixel = reinterpret_cast<std::uint32_t*>(data + (rows - 1 - row) * stride) + column;
                *pixel = std::isnan(level)
                             ? pixelOf(kNoSpectrum)
                             : pixelOf(colourAt((level - (top - kSpectrumRangeDb)) / kSpectrumRangeDb));
            }
        cairo_surface_mark_dirty(image);
        cairo_set_source_surface(canvas.context(), image, canvas.left(), canvas.top());
        cairo_paint(canvas.context());
        cairo_surface_destroy(image);
    }

    void drawColourScale()
    {
        cairo_t* cairo = canvas.context();
        const double left = canvas.right() + kColourScaleGap;
        const double height = canvas.bottom() - canvas.top();
        for (int row = 0; row < static_cast<int>(height); ++row) {
            canvas.setColour(colourAt((row + 0.5) / height));
            cairo_rectangle(cairo, left, canvas.bottom() - row - 1, kColourScaleWidth, 1.0);
            cairo_fill(cairo);
        }
        const PlotAxis scale = linearAxis(top - kSpectrumRangeDb, top, kColourScaleStepDb, 0, "dB");
        cairo_set_line_width(cairo, 1.0);
        for (const AxisTick& tick : scale.ticks) {
            const double py = std::floor(canvas.bottom() - scale.position(tick.value) * height) + 0.5;
            canvas.setColour({0.0, 0.0, 0.0});
            cairo_move_to(cairo, left + kColourScaleWidth, py);
            cairo_line_to(cairo, left + kColourScaleWidth + kTickLength, py);
            cairo_stroke(cairo);
            canvas.note(tick.label, left + kColourScaleWidth + kTickLength + kTickLabelGap,
                        py + kTickLabelRise, 0.0);
        }
        canvas.note(scale.label, left, canvas.top() - kScaleLabelRise, 0.0);
    }

    const FileTimeline& timeline;
    PlotCanvas canvas;
    const int columns;
    const int rows;
    const std::vector<BinRange> rowBins;
    const std::vector<double> levels;
    const double top;
};

} // namespace

PngBytes drawSpectrogramPlot(const FileTimeline& timeline, const PlotCaption& caption)
{
    return SpectrogramPlot(timeline).draw(caption);
}
