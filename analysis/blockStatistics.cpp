#include "analysis/Analyzer.h"

#include "analysis/EngineKernels.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr float kNearPeakGuard = 0.1f;
constexpr float kNearPeakFraction = 0.708f;
constexpr double kSilenceSeconds = 0.5;
constexpr std::int32_t kSilentRunLimit = std::numeric_limits<std::int32_t>::max();

std::int32_t lengthenSilentRun(std::int32_t silentRun)
{
    // Saturates: a silence of days must not wrap around to a short one.
    return silentRun > kSilentRunLimit - Analyzer::kBlockFrames ? kSilentRunLimit
                                                                : silentRun + Analyzer::kBlockFrames;
}

} // namespace

void Analyzer::analyseBlock(std::int32_t channels)
{
    BlockWork work;
    work.measure(*kernels, blockBuffer, channels);
    accumulateBlock(blockBuffer, channels, work);
}

void Analyzer::accumulateBlock(const BlockWork::Samples& samples, std::int32_t channels, BlockWork& work)
{
    // Compared against the running peak from before this block; a level no
    // magnitude exceeds counts none.
    const float nearPeakLevel = runningPeak > kNearPeakGuard ? kNearPeakFraction * runningPeak
                                                             : std::numeric_limits<float>::infinity();
    silentRun = work.peak < BlockWork::kSilenceThreshold ? lengthenSilentRun(silentRun) : 0;
    runningPeak = std::max(runningPeak, work.peak);
    silent = static_cast<double>(silentRun) > kSilenceSeconds * static_cast<double>(sampleRate);

    EnergySums sums = {};
    std::copy(slowEnergy, slowEnergy + kChannels, sums.slowEnergy);
    std::copy(fastEnergy, fastEnergy + kChannels, sums.fastEnergy);
    if (silent) {
        kernels->accumulateSamples(samples, channels, nearPeakLevel, sums, nullptr);
    } else {
        if (!work.transformed)
            work.transform(*kernels, samples, channels, hammingWindow);
        const SpectrumBlend blend = {{work.power[0], channels == 2 ? work.power[1] : nullptr},
                                     {channelSpectrum[0], channels == 2 ? channelSpectrum[1] : nullptr},
                                     combinedSpectrum,
                                     static_cast<double>(spectrumCount),
                                     static_cast<double>(slowSpectrumCount),
                                     static_cast<double>(fastSpectrumCount)};
        kernels->accumulateSamples(samples, channels, nearPeakLevel, sums, &blend);
    }
    std::copy(sums.slowEnergy, sums.slowEnergy + channels, slowEnergy);
    std::copy(sums.fastEnergy, sums.fastEnergy + channels, fastEnergy);
    ++slowLevelBlocks;
    ++fastLevelBlocks;

    if (!silent) {
        quietCount += work.quiet;
        nearPeakCount += sums.nearPeak;
        for (int c = 0; c < channels; ++c)
            for (int bin = 0; bin < kHistogramBins; ++bin)
                levelHistogram[c][bin] += work.histogram[c][bin];
        averageSpectrum(channels, static_cast<float>(work.sumAbsolute), sums.sumSquares);
    }
    updateMeasures(channels);
}
