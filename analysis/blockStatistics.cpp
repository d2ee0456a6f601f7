#include "analysis/Analyzer.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr float kNearPeakGuard = 0.1f;
constexpr float kNearPeakFraction = 0.708f;
constexpr float kQuietThreshold = 0.0158f;
constexpr float kHistogramScale = 99.99f;
constexpr float kSilenceThreshold = 0.0001f;
constexpr double kSilenceSeconds = 0.5;
constexpr std::int32_t kSilentRunLimit = std::numeric_limits<std::int32_t>::max();

using BlockHistogram = std::int32_t[Analyzer::kChannels][Analyzer::kHistogramBins];
using BlockSamples = float[Analyzer::kChannels][Analyzer::kBlockFrames];

// What one block contributes. The energies start from the Analyzer's running
// sums so that every sample is added to them with float rounding, in order.
struct BlockTally {
    BlockHistogram histogram;
    float peak;
    float sumSquares[Analyzer::kChannels];
    float slowEnergy[Analyzer::kChannels];
    float fastEnergy[Analyzer::kChannels];
    double sumAbsolute;
    std::int32_t nearPeak;
    std::int32_t quiet;
};

// The comparison that picks the bin is false for a non-number and for
// anything beyond full scale, so only values that fit are converted.
void countInHistogram(float magnitude, std::int32_t (&bins)[Analyzer::kHistogramBins])
{
    const float scaled = magnitude * kHistogramScale;
    if (scaled < static_cast<float>(Analyzer::kHistogramBins))
        ++bins[static_cast<int>(scaled)];
}

// Frame by frame, channel by channel within a frame: the order of the double
// sum of absolute values. The channel count is a template argument so that
// the running sums stay in registers. Nothing branches on the sample (fabs
// rather than a sign test, counts added from comparisons): with noisy input
// such branches are mispredicted half the time.
template <int kChannelCount>
void tallyBlock(const BlockSamples& samples, bool nearPeakCounted, float nearPeakLevel, BlockTally& tally)
{
    float peak = tally.peak;
    double sumAbsolute = tally.sumAbsolute;
    std::int32_t nearPeak = tally.nearPeak;
    std::int32_t quiet = tally.quiet;
    float sumSquares[kChannelCount], slowEnergy[kChannelCount], fastEnergy[kChannelCount];
    for (int c = 0; c < kChannelCount; ++c) {
        sumSquares[c] = tally.sumSquares[c];
        slowEnergy[c] = tally.slowEnergy[c];
        fastEnergy[c] = tally.fastEnergy[c];
    }
    for (int i = 0; i < Analyzer::kBlockFrames; ++i) {
        for (int c = 0; c < kChannelCount; ++c) {
            const float x = samples[c][i];
            const float a = std::fabs(x);
            peak = a > peak ? a : peak;
            nearPeak += static_cast<std::int32_t>(nearPeakCounted && a > nearPeakLevel);
            quiet += static_cast<std::int32_t>(a < kQuietThreshold);
            countInHistogram(a, tally.histogram[c]);
            sumAbsolute += a;
            const float s = x * x;
            sumSquares[c] += s;
            slowEnergy[c] += s;
            fastEnergy[c] += s;
        }
    }
    tally.peak = peak;
    tally.sumAbsolute = sumAbsolute;
    tally.nearPeak = nearPeak;
    tally.quiet = quiet;
    for (int c = 0; c < kChannelCount; ++c) {
        tally.sumSquares[c] = sumSquares[c];
        tally.slowEnergy[c] = slowEnergy[c];
        tally.fastEnergy[c] = fastEnergy[c];
    }
}

std::int32_t lengthenSilentRun(std::int32_t silentRun)
{
    // Saturates: a silence of days must not wrap around to a short one.
    return silentRun > kSilentRunLimit - Analyzer::kBlockFrames ? kSilentRunLimit
                                                                : silentRun + Analyzer::kBlockFrames;
}

} // namespace

void Analyzer::analyseBlock(std::int32_t channels)
{
    BlockTally tally = {};
    std::memcpy(tally.slowEnergy, slowEnergy, sizeof slowEnergy);
    std::memcpy(tally.fastEnergy, fastEnergy, sizeof fastEnergy);
    // Compared against the running peak from before this block.
    const bool nearPeakCounted = runningPeak > kNearPeakGuard;
    const float nearPeakLevel = kNearPeakFraction * runningPeak;
    if (channels == 2)
        tallyBlock<2>(blockBuffer, nearPeakCounted, nearPeakLevel, tally);
    else
        tallyBlock<1>(blockBuffer, nearPeakCounted, nearPeakLevel, tally);
    std::memcpy(slowEnergy, tally.slowEnergy, sizeof slowEnergy);
    std::memcpy(fastEnergy, tally.fastEnergy, sizeof fastEnergy);
    ++slowLevelBlocks;
    ++fastLevelBlocks;

    silentRun = tally.peak < kSilenceThreshold ? lengthenSilentRun(silentRun) : 0;
    runningPeak = std::max(runningPeak, tally.peak);
    silent = static_cast<double>(silentRun) > kSilenceSeconds * static_cast<double>(sampleRate);
    if (!silent) {
        quietCount += tally.quiet;
        nearPeakCount += tally.nearPeak;
        for (int bin = 0; bin < kHistogramBins; ++bin)
            for (int c = 0; c < channels; ++c)
                levelHistogram[c][bin] += tally.histogram[c][bin];
        averageSpectrum(channels, static_cast<float>(tally.sumAbsolute), tally.sumSquares);
    }
    updateMeasures(channels);
}
