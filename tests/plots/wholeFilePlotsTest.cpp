// The plots show the whole file, where each thing lies: a file loud for a
// minute and then quiet, two tones at known levels, read back from the
// plots' pixels in both halves.
#include "analyze/plots/PlotCanvas.h"
#include "analyze/plots/plotData.h"
#include "analyze/plots/plots.h"
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>

namespace {

constexpr int kRate = 8000;
constexpr int kSeconds = 120;
constexpr int kQuietFrom = 60;
constexpr double kQuietGainDb = -30.0;
constexpr double kTwoPi = 6.283185307179586;

struct Tone {
    double frequency;
    double amplitude;
};
// Left and right; levels apart, so that neither RMS line hides the other or the loudness line.
constexpr Tone kTones[] = {{440.0, 0.5}, {1000.0, 0.35}};
// Seconds at which each half is checked, away from the change and the loudness window's start.
constexpr double kLoudTimes[] = {10.0, 30.0, 50.0};
constexpr double kQuietTimes[] = {70.0, 90.0, 110.0};

bool near(const std::uint8_t* pixel, const PlotColour& colour)
{
    constexpr int kTolerance = 3;
    const double parts[] = {colour.red, colour.green, colour.blue};
    for (int i = 0; i < 3; ++i)
        if (std::abs(pixel[i] - static_cast<int>(std::lround(parts[i] * 255.0))) > kTolerance)
            return false;
    return true;
}

// The row of the pixel of this colour in column x nearest to `expected`; none in the whole column.
std::optional<int> nearestRowOf(const Png& png, int x, const PlotColour& colour, double expected)
{
    std::optional<int> best;
    for (int y = 0; y < png.height; ++y)
        if (near(png.at(x, y), colour) && (!best || std::abs(y - expected) < std::abs(*best - expected)))
            best = y;
    return best;
}

double decibels(double amplitude)
{
    return 20.0 * std::log10(amplitude);
}

double gainAt(double seconds)
{
    return seconds < kQuietFrom ? 1.0 : std::pow(10.0, kQuietGainDb / 20.0);
}

class WholeFilePlots : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::vector<float> samples;
        for (int i = 0; i < kSeconds * kRate; ++i)
            for (const Tone& tone : kTones)
                samples.push_back(static_cast<float>(gainAt(static_cast<double>(i) / kRate) * tone.amplitude *
                                                     std::sin(kTwoPi * tone.frequency * i / kRate)));
        writeFloatWav(folder / "tones.wav", kRate, 2, samples);
        const ProgramRun run = runAnalyze({"--quiet", "--plot", folder / "plots", folder / "tones.wav"});
        ASSERT_EQ(run.status, 0) << run.err;
    }

    Png plot(const char* kind) const
    {
        const Png png = readPng(folder / ("plots/tones-plot-" + std::string(kind) + ".png"));
        EXPECT_EQ(png.width, kPlotWidth) << kind;
        EXPECT_EQ(png.height, kPlotHeight) << kind;
        return png;
    }

    // The plot area's pixel column at `seconds`; `right` is the area's right edge.
    static int columnAt(double seconds, double right)
    {
        return static_cast<int>(PlotCanvas::kAreaLeft + seconds / kSeconds * (right - PlotCanvas::kAreaLeft));
    }

    // The plot area's edges, but for the spectrogram's right one.
    static constexpr double kRight = kPlotWidth - PlotCanvas::kDefaultRightMargin;
    static constexpr double kTop = PlotCanvas::kAreaTop;
    static constexpr double kBottom = kPlotHeight - PlotCanvas::kAreaBottomMargin;
    static double rowOf(double value, const PlotAxis& axis)
    {
        return kBottom - axis.position(value) * (kBottom - kTop);
    }

    const ScratchFolder folder;
};

TEST_F(WholeFilePlots, LevelPlotShowsEachChannelsRmsInBothHalves)
{
    const Png png = plot("level");
    ASSERT_FALSE(png.rgb.empty());
    const PlotAxis levels = linearAxis(kLevelPlotFloorDb, kLevelPlotCeilingDb, 1.0, 0, "");
    for (const double* times : {kLoudTimes, kQuietTimes})
        for (int t = 0; t < 3; ++t)
            for (int channel = 0; channel < 2; ++channel) {
                const double seconds = times[t];
                const double rmsDb = decibels(gainAt(seconds) * kTones[channel].amplitude / std::sqrt(2.0));
                const double expected = rowOf(rmsDb, levels);
                const std::optional<int> row =
                    nearestRowOf(png, columnAt(seconds, kRight), channelColour(channel), expected);
                ASSERT_TRUE(row) << "no RMS line of channel " << channel << " at " << seconds << " s";
                EXPECT_NEAR(*row, expected, 2.0) << "channel " << channel << " at " << seconds << " s";
            }
}

TEST_F(WholeFilePlots, SpectrogramShowsBothTonesInBothHalves)
{
    const Png png = plot("spectrogram");
    ASSERT_FALSE(png.rgb.empty());
    const double right = static_cast<double>(kPlotWidth) - kSpectrogramScaleMargin;
    const PlotAxis frequencies = frequencyAxis(kLowestFrequency, kRate / 2.0);
    const int silentRow = static_cast<int>(rowOf(100.0, frequencies));
    for (const Tone& tone : kTones)
        for (int t = 0; t < 3; ++t) {
            const int toneRow = static_cast<int>(rowOf(tone.frequency, frequencies));
            const int loud = png.brightness(columnAt(kLoudTimes[t], right), toneRow);
            const int quiet = png.brightness(columnAt(kQuietTimes[t], right), toneRow);
            const int nothing = png.brightness(columnAt(kQuietTimes[t], right), silentRow);
            SCOPED_TRACE(tone.frequency);
            EXPECT_GT(loud, quiet);
            // Drawn 30 dB down, still clearly above an empty band.
            EXPECT_GT(quiet, nothing + 100);
        }
}

TEST_F(WholeFilePlots, SpectrumPeaksAtEachTonesLevel)
{
    const Png png = plot("spectrum");
    ASSERT_FALSE(png.rgb.empty());
    const PlotAxis frequencies = frequencyAxis(kLowestFrequency, kRate / 2.0);
    // A sine of amplitude a reads a^2 at its bin; half the file is 30 dB down.
    const auto levelOf = [](const Tone& tone) {
        return 10.0 *
               std::log10(tone.amplitude * tone.amplitude * (1.0 + std::pow(gainAt(kSeconds), 2)) / 2.0);
    };
    const double axisBottom = spectrumTopDb(levelOf(kTones[0])) - kSpectrumRangeDb;
    for (int channel = 0; channel < 2; ++channel) {
        const Tone& tone = kTones[channel];
        const int x = static_cast<int>(PlotCanvas::kAreaLeft + frequencies.position(tone.frequency) *
                                                                   (kRight - PlotCanvas::kAreaLeft));
        int highest = static_cast<int>(kBottom);
        for (int column = x - 3; column <= x + 3; ++column)
            for (int y = static_cast<int>(kTop); y < static_cast<int>(kBottom); ++y)
                if (near(png.at(column, y), channelColour(channel)))
                    highest = std::min(highest, y);
        const double shownDb = axisBottom + (kBottom - highest) / (kBottom - kTop) * kSpectrumRangeDb;
        // A pixel column may hold a bin beside the tone's: the Hann window lowers it by up to 2 dB.
        EXPECT_GT(shownDb, levelOf(tone) - 2.5) << "channel " << channel;
        EXPECT_LT(shownDb, levelOf(tone) + 0.5) << "channel " << channel;
    }
}

} // namespace
