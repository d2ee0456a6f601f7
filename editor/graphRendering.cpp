// The four pictures the editor shows, and the six scrolling histories behind
// two of them. Plain computation over 24-bit bottom-up blue-green-red memory:
// nothing here knows about windows, and nothing is allocated while rendering.
//
// The renderer draws from a snapshot of the analysis and is the only place
// where a history row is added; taking the snapshot consumed, in the analysis,
// the slow/fast sums and counters of exactly the rows drawn here.
#include "analysis/Analyzer.h"
#include "analysis/decibels.h"

#include <cmath>
#include <cstring>
#include <iterator>

namespace {

constexpr int kWidth = kPictureWidth;
constexpr int kHeight = kPictureHeight;
constexpr int kChannels = Analyzer::kChannels;
constexpr int kBins = Analyzer::kSpectrumBins;

// Byte offsets inside a pixel.
constexpr int kBlue = 0;
constexpr int kGreen = 1;
constexpr int kRed = 2;

// Bars and lines brighten by up to this much from bottom to top or left to right.
constexpr int kGradientRise = 55;
constexpr int kBarBase = 200;
constexpr std::uint8_t kHistogramGridRed = 200;
constexpr int kLevelBarBase = 190;
constexpr std::uint8_t kLevelTickRed = 245;
constexpr int kFineLineBase = 150;
constexpr int kCoarseLineBase = 200;

constexpr float kBarHeightScale = 96.0f * kDisplayScale;
constexpr float kLevelBarScale = 200.0f * kDisplayScale;
// The level bar runs from -96 dB at the left edge to 0 dB at the right edge.
constexpr float kDecibelSlope = -1.0f / 96.0f;
// Pixel x lies (width - x) * step decibels below 0 dB; the band just right of
// each 10 dB mark gets a tick.
constexpr float kLevelTickStep = kDisplayScale == 1 ? 0.48f : 0.24f;
constexpr int kDecibelsPerTick = 10;
constexpr int kTickedDecibel = 9;

constexpr int kBinsPerGridLine = 10;

constexpr Analyzer::PictureChanges kNoPicture = 0;
constexpr Analyzer::PictureChanges kHistogramPicture = 1;
constexpr Analyzer::PictureChanges kSpectrumPicture = 2;
constexpr Analyzer::PictureChanges kLevelHistoryPicture = 4;
constexpr Analyzer::PictureChanges kSpectrogramPicture = 8;

// The logarithmic axis spans 1024^(column / width): log-axis step times ln 1024,
// taken to base 2.
constexpr float kLogAxisStep = kDisplayScale == 1 ? 0.005f : 0.0025f;
constexpr double kLn1024 = 6.9314718055994530942;
constexpr long double kLog2E = 1.44269504088896340735992468100189214L;
constexpr double kHundredHertz = 100.0;
constexpr double kKilohertz = 1000.0;
constexpr double kFiveKilohertz = 5000.0;

// Colour map: four runs of 256 entries, black to blue, to green, to yellow,
// towards white.
constexpr int kColourRun = 256;
constexpr std::uint32_t kFullIntensity = 255;
constexpr std::uint32_t kGreenPlateau = 216;
constexpr float kBlueRise = 0.7f;
constexpr float kGreenRise = 0.85f;
constexpr float kWhiteningRise = 0.15f;
constexpr double kColourScale = 512.0;
constexpr double kColourLimit = 1023.0;

using LevelHistogram = std::int64_t[kChannels][Analyzer::kHistogramBins];
using ChannelSpectrum = float[kChannels][kBins];

std::uint8_t* pixelAt(std::uint8_t* picture, int x, int row)
{
    return picture + static_cast<std::size_t>(row) * kPictureRowBytes +
           static_cast<std::size_t>(x) * kBytesPerPixel;
}

// V(base, position): the brightness of a bar or line at `position` of `length`.
std::uint8_t gradient(int base, int position, int length)
{
    return static_cast<std::uint8_t>(base + kGradientRise * position / length);
}

// Channel 0 is drawn in blue, channel 1 in yellow; both together look white.
void inkChannel(std::uint8_t* pixel, int channel, std::uint8_t value)
{
    if (channel == 0) {
        pixel[kBlue] = value;
    } else {
        pixel[kGreen] = value;
        pixel[kRed] = value;
    }
}

// How many of the positions 0, 1, 2, ... lie below `extent`, at most `limit`.
// A non-number gives none, so no bad value is ever converted to an integer.
int positionsBelow(float extent, int limit)
{
    if (!(extent > 0.0f))
        return 0;
    if (extent >= static_cast<float>(limit))
        return limit;
    return static_cast<int>(std::ceil(extent));
}

void fillColumn(std::uint8_t* picture, int x, int byte, std::uint8_t value)
{
    for (int j = 0; j < kHeight; ++j)
        pixelAt(picture, x, j)[byte] = value;
}

void drawColumnLine(std::uint8_t* picture, int x, int byte, int base)
{
    for (int j = 0; j < kHeight; ++j)
        pixelAt(picture, x, j)[byte] = gradient(base, j, kHeight);
}

void drawColumnBar(std::uint8_t* picture, int x, int channel, float height)
{
    const int rows = positionsBelow(height, kHeight);
    for (int j = 0; j < rows; ++j)
        inkChannel(pixelAt(picture, x, j), channel, gradient(kBarBase, j, kHeight));
}

// Moves every row one up, losing the top one, and starts a black bottom row.
void scrollUp(std::uint8_t* image)
{
    std::memmove(image + kPictureRowBytes, image, kPictureBytes - kPictureRowBytes);
    std::memset(image, 0, kPictureRowBytes);
}

// ln(count + 1); an empty bin, or a count that is not a count, gives 0.
double binLog(std::int64_t count)
{
    return count > 0 ? std::log(static_cast<double>(count) + 1.0) : 0.0;
}

double fullestBinLog(const LevelHistogram& histogram)
{
    double fullest = 0.0;
    for (const auto& channel : histogram)
        for (const std::int64_t count : channel)
            if (binLog(count) > fullest)
                fullest = binLog(count);
    return fullest;
}

// One more than the highest bin that holds samples in either channel; 0 when
// both are empty. Taking the wider of the two ranges keeps a mono stream's
// empty channel from collapsing the zoomed view.
int occupiedRange(const LevelHistogram& histogram)
{
    for (int n = Analyzer::kHistogramBins; n > 0; --n)
        if (histogram[0][n - 1] > 0 || histogram[1][n - 1] > 0)
            return n;
    return 0;
}

void drawHistogram(const LevelHistogram& histogram, bool zoom, std::uint8_t* picture)
{
    const double fullest = fullestBinLog(histogram);
    const int range = zoom ? occupiedRange(histogram) : Analyzer::kHistogramBins;
    int previousBin = 0;
    for (int x = 0; x < kWidth; ++x) {
        const int bin = x * range / kWidth;
        if (bin / kBinsPerGridLine > previousBin / kBinsPerGridLine)
            fillColumn(picture, x, kRed, kHistogramGridRed);
        previousBin = bin;
        if (fullest == 0.0)
            continue;
        for (int channel = 0; channel < kChannels; ++channel)
            drawColumnBar(picture, x, channel,
                          static_cast<float>(binLog(histogram[channel][bin]) / fullest * kBarHeightScale));
    }
}

float levelBarLength(float energy, std::int32_t blocks)
{
    const double frames = static_cast<double>(blocks) * Analyzer::kBlockFrames;
    // Levels are single-precision values, as the analysis keeps its own.
    const float rms = static_cast<float>(std::sqrt(energy / frames));
    const float level = static_cast<float>(toDecibels(rms));
    return static_cast<float>((1.0 - level * static_cast<double>(kDecibelSlope)) * kLevelBarScale);
}

void drawLevelTicks(std::uint8_t* row)
{
    for (int x = 0; x < kWidth; ++x) {
        const int decibels = static_cast<int>((kWidth - x) * static_cast<double>(kLevelTickStep));
        if (decibels % kDecibelsPerTick == kTickedDecibel)
            pixelAt(row, x, 0)[kRed] = kLevelTickRed;
    }
}

// A level above 0 dB would reach past the right edge: the bar stops there.
void drawLevelRow(std::uint8_t* row, const float (&energy)[kChannels], std::int32_t blocks)
{
    for (int channel = 0; channel < kChannels; ++channel) {
        const int length = positionsBelow(levelBarLength(energy[channel], blocks), kWidth);
        for (int x = 0; x < length; ++x)
            inkChannel(pixelAt(row, x, 0), channel, gradient(kLevelBarBase, x, kWidth));
    }
    drawLevelTicks(row);
}

void advanceLevelHistory(std::uint8_t* image, float (&energy)[kChannels], std::int32_t& blocks, float period,
                         float sampleRate)
{
    const std::int32_t counted = blocks;
    if (!isHistoryRowDue(sampleRate, period, counted))
        return;
    scrollUp(image);
    drawLevelRow(image, energy, counted);
    blocks = 0;
    energy[1] = 0.0f;
    energy[0] = 0.0f;
}

// Bar heights are linear in dB between the quietest value (`lowest`, at most
// 0) and the loudest, which gets the full `range` of relative levels.
struct SpectrumScale {
    float decibels[kChannels][kBins];
    float lowest;
    double range;

    double relativeLevel(float level) const { return 1.0 - static_cast<double>(level) / lowest; }

    float barHeight(float level) const
    {
        if (range == 0.0 || lowest == 0.0f)
            return 0.0f;
        return static_cast<float>(relativeLevel(level) / range * kBarHeightScale);
    }
};

void measureSpectrum(const ChannelSpectrum& spectrum, SpectrumScale& scale)
{
    scale.lowest = 0.0f;
    for (int channel = 0; channel < kChannels; ++channel) {
        for (int bin = 0; bin < kBins; ++bin) {
            const float level = static_cast<float>(toDecibels(spectrum[channel][bin]));
            scale.decibels[channel][bin] = level;
            if (level < scale.lowest)
                scale.lowest = level;
        }
    }
    scale.range = 0.0;
    if (scale.lowest == 0.0f)
        return;
    for (const auto& channel : scale.decibels)
        for (const float level : channel)
            if (scale.relativeLevel(level) > scale.range)
                scale.range = scale.relativeLevel(level);
}

// 1024^(column / width), truncated: it lies just below each power of two.
int logarithmicBin(int column)
{
    const long double exponent = static_cast<long double>(column) * kLogAxisStep * kLn1024 * kLog2E;
    return static_cast<int>(std::exp2(exponent));
}

// Whole hertz of a bin's centre, kept in floating point so that no sample rate
// can overflow an integer.
double binFrequency(int bin, float sampleRate)
{
    return std::trunc(bin * static_cast<double>(sampleRate) / Analyzer::kBlockFrames);
}

bool crosses(double frequency, double previous, double step)
{
    return std::floor(frequency / step) > std::floor(previous / step);
}

void drawFrequencyLines(std::uint8_t* picture, int x, double frequency, double previous, bool logAxis)
{
    if (logAxis) {
        if (crosses(frequency, previous, kHundredHertz) && frequency < kKilohertz)
            drawColumnLine(picture, x, kRed, kFineLineBase);
        if (crosses(frequency, previous, kKilohertz))
            drawColumnLine(picture, x, kGreen, kFineLineBase);
    } else if (crosses(frequency, previous, kFiveKilohertz)) {
        drawColumnLine(picture, x, kRed, kCoarseLineBase);
    } else if (crosses(frequency, previous, kKilohertz)) {
        drawColumnLine(picture, x, kGreen, kFineLineBase);
    }
}

// The two spectrograms of one speed; both images are null when no row is due.
struct SpectrogramPair {
    std::uint8_t* linear;
    std::uint8_t* logarithmic;
};

SpectrogramPair duePair(std::uint8_t* linear, std::uint8_t* logarithmic, bool due)
{
    if (!due)
        return {nullptr, nullptr};
    scrollUp(linear);
    scrollUp(logarithmic);
    return {linear, logarithmic};
}

void paintMagnitude(const Analyzer& analyzer, std::uint8_t* image, int x, float magnitude)
{
    std::uint8_t* pixel = pixelAt(image, x, 0);
    analyzer.colourFor(magnitude, &pixel[kBlue], &pixel[kGreen], &pixel[kRed]);
}

void drawSpectrogramColumn(const Analyzer& analyzer, const AnalysisSnapshot& state, const SpectrogramPair& pair,
                           int x, int linearBin, int logBin)
{
    if (!pair.linear)
        return;
    paintMagnitude(analyzer, pair.linear, x, state.combinedSpectrum[linearBin]);
    paintMagnitude(analyzer, pair.logarithmic, x, state.combinedSpectrum[logBin]);
}

// The spectrum picture and the due spectrogram rows, column by column.
void drawSpectrum(Analyzer& analyzer, AnalysisSnapshot& state, std::uint8_t* picture)
{
    std::memset(picture, 0, kPictureBytes);
    SpectrumScale scale;
    measureSpectrum(state.channelSpectrum, scale);
    const float sampleRate = state.sampleRate;
    const bool slowDue = isHistoryRowDue(sampleRate, kSlowHistoryPeriod, state.slowSpectrumCount);
    const bool fastDue = isHistoryRowDue(sampleRate, kFastHistoryPeriod, state.fastSpectrumCount);
    const SpectrogramPair slow =
        duePair(analyzer.spectrogramImages[0], analyzer.spectrogramImages[1], slowDue);
    const SpectrogramPair fast =
        duePair(analyzer.spectrogramImages[2], analyzer.spectrogramImages[3], fastDue);
    const bool logAxis = state.logFrequencyAxis;

    double previousFrequency = binFrequency(0, sampleRate);
    for (int x = 0; x < kWidth; ++x) {
        const int linearBin = kBins * x / kWidth;
        const int logBin = logarithmicBin(x);
        const int shownBin = logAxis ? logBin : linearBin;
        const double frequency = binFrequency(shownBin, sampleRate);
        drawFrequencyLines(picture, x, frequency, previousFrequency, logAxis);
        previousFrequency = frequency;
        for (int channel = 0; channel < kChannels; ++channel)
            drawColumnBar(picture, x, channel, scale.barHeight(scale.decibels[channel][shownBin]));
        drawSpectrogramColumn(analyzer, state, slow, x, linearBin, logBin);
        drawSpectrogramColumn(analyzer, state, fast, x, linearBin, logBin);
    }
    if (slowDue)
        state.slowSpectrumCount = 0;
    if (fastDue)
        state.fastSpectrumCount = 0;
}

// A history picture changes only when its history gains a row or another
// history is shown; unchanged, it need not be drawn again.
bool showImage(std::uint8_t* picture, const std::uint8_t* image)
{
    if (std::memcmp(picture, image, kPictureBytes) == 0)
        return false;
    std::memcpy(picture, image, kPictureBytes);
    return true;
}

struct Rgb {
    std::uint32_t red;
    std::uint32_t green;
    std::uint32_t blue;
};

// factor * steps + offset in extended precision, truncated towards zero.
std::uint32_t ramp(float factor, int steps, std::uint32_t offset = 0)
{
    return static_cast<std::uint32_t>(static_cast<long double>(factor) * steps + offset);
}

Rgb colourMapEntry(int index)
{
    const int step = index % kColourRun;
    const std::uint32_t stepLevel = static_cast<std::uint32_t>(step);
    switch (index / kColourRun) {
    case 0:
        return {0, 0, ramp(kBlueRise, step)};
    case 1:
        return {0, ramp(kGreenRise, step), ramp(kBlueRise, static_cast<int>(kFullIntensity) - step)};
    case 2:
        return {stepLevel, kGreenPlateau, 0};
    default:
        return {kFullIntensity, ramp(kWhiteningRise, step, kGreenPlateau), stepLevel};
    }
}

} // namespace

void Analyzer::buildColourMap()
{
    for (int i = 0; i < static_cast<int>(std::size(colourMap)); ++i) {
        const Rgb entry = colourMapEntry(i);
        colourMap[i] = entry.red << 16 | entry.green << 8 | entry.blue;
    }
}

// Magnitudes from 0 to about 6.37 spread logarithmically over the colour map;
// larger ones, and values that are not numbers, take its last entry.
void Analyzer::colourFor(float value, std::uint8_t* blue, std::uint8_t* green, std::uint8_t* red) const
{
    double x = kColourScale * std::log(static_cast<double>(value) + 1.0);
    if (x > kColourLimit || std::isnan(x))
        x = kColourLimit;
    else if (x < 0.0)
        x = 0.0;
    const std::uint32_t entry = colourMap[static_cast<int>(x)];
    *blue = static_cast<std::uint8_t>(entry);
    *green = static_cast<std::uint8_t>(entry >> 8);
    *red = static_cast<std::uint8_t>(entry >> 16);
}

// The snapshot's history sums and counters are consumed as its rows are drawn,
// like the analysis's own ones when the snapshot was taken.
Analyzer::PictureChanges Analyzer::renderGraphs(AnalysisSnapshot& state, std::uint8_t* histogramPicture,
                                                std::uint8_t* spectrumPicture, std::uint8_t* levelHistoryPicture,
                                                std::uint8_t* spectrogramPicture)
{
    if (!histogramPicture || !spectrumPicture || !levelHistoryPicture || !spectrogramPicture)
        return kNoPicture;
    std::memset(histogramPicture, 0, kPictureBytes);
    // Nothing analysed since the last reset: the histories wait for real audio.
    if (state.analysedFrames == 0)
        return kHistogramPicture;

    drawHistogram(state.levelHistogram, state.zoomHistogram, histogramPicture);

    advanceLevelHistory(levelHistoryImages[0], state.slowEnergy, state.slowLevelBlocks, kSlowHistoryPeriod,
                        state.sampleRate);
    advanceLevelHistory(levelHistoryImages[1], state.fastEnergy, state.fastLevelBlocks, kFastHistoryPeriod,
                        state.sampleRate);
    const bool levelHistoryChanged =
        showImage(levelHistoryPicture, levelHistoryImages[state.slowLevelHistory ? 0 : 1]);

    drawSpectrum(*this, state, spectrumPicture);
    const int shownSpectrogram = (state.logFrequencyAxis ? 1 : 0) + (state.slowSpectrogram ? 0 : 2);
    const bool spectrogramChanged = showImage(spectrogramPicture, spectrogramImages[shownSpectrogram]);
    return kHistogramPicture | kSpectrumPicture | (levelHistoryChanged ? kLevelHistoryPicture : kNoPicture) |
           (spectrogramChanged ? kSpectrogramPicture : kNoPicture);
}

void Analyzer::renderGraphs(std::uint8_t* histogramPicture, std::uint8_t* spectrumPicture,
                            std::uint8_t* levelHistoryPicture, std::uint8_t* spectrogramPicture)
{
    if (!histogramPicture || !spectrumPicture || !levelHistoryPicture || !spectrogramPicture)
        return;
    AnalysisSnapshot now;
    takeSnapshot(now);
    renderGraphs(now, histogramPicture, spectrumPicture, levelHistoryPicture, spectrogramPicture);
}
