#include "analysis/Analyzer.h"

#include "analysis/EngineKernels.h"
#include "analysis/lanes.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace {

constexpr float kNearPeakGuard = 0.1f;
constexpr float kNearPeakFraction = 0.708f;
constexpr float kSilenceThreshold = 0.0001f;
constexpr double kSilenceSeconds = 0.5;
constexpr std::int32_t kSilentRunLimit = std::numeric_limits<std::int32_t>::max();

// What the running state gets from one block's samples, beyond its BlockWork:
// each channel's sum of squares and the two history energies, every one a
// float rounded after each addition, frame by frame, and the count of samples
// near the running peak.
struct RunningSums {
    float sumSquares[Analyzer::kChannels];
    float slowEnergy[Analyzer::kChannels];
    float fastEnergy[Analyzer::kChannels];
    std::int32_t nearPeak;
};

// Counts the lanes whose magnitude is above the level; gives the squares.
Floats4 countAbove(Floats4 x, Floats4 level, __m128i& count)
{
    using L = Lane<Floats4>;
    count = L::subtract(count, L::above(L::magnitude(x), level));
    return x * x;
}

// The six sums are chains of dependent additions, so they share the lanes of
// two vectors: [squares 0, squares 1, slow 0, slow 1] and [fast 0, fast 1, -, -],
// each gaining one frame's squares [s0, s1, s0, s1] per addition. A mono block
// runs channel 0 in both halves and keeps channel 0's.
RunningSums addSquares(const BlockWork::Samples& samples, int channels, const float (&slowEnergy)[2],
                       const float (&fastEnergy)[2], float nearPeakLevel)
{
    const float* left = samples[0];
    const float* right = channels == 2 ? samples[1] : samples[0];
    using L = Lane<Floats4>;
    Floats4 squaresAndSlow = {0.0f, 0.0f, slowEnergy[0], slowEnergy[1]};
    Floats4 fast = {fastEnergy[0], fastEnergy[1], 0.0f, 0.0f};
    __m128i nearLeft = L::zeroInts(), nearRight = L::zeroInts();
    const Floats4 level = L::splat(nearPeakLevel);
    for (int i = 0; i < Analyzer::kBlockFrames; i += L::kCount) {
        const Floats4 squareLeft = countAbove(L::load(left + i), level, nearLeft);
        const Floats4 squareRight = countAbove(L::load(right + i), level, nearRight);
        const Floats4 firstPair = _mm_unpacklo_ps(squareLeft, squareRight);
        const Floats4 secondPair = _mm_unpackhi_ps(squareLeft, squareRight);
        const Floats4 frames[] = {_mm_movelh_ps(firstPair, firstPair), _mm_movehl_ps(firstPair, firstPair),
                                  _mm_movelh_ps(secondPair, secondPair), _mm_movehl_ps(secondPair, secondPair)};
        for (const Floats4 frame : frames) {
            squaresAndSlow = squaresAndSlow + frame;
            fast = fast + frame;
        }
    }
    std::int32_t near[L::kCount];
    L::storeInts(near, channels == 2 ? L::add(nearLeft, nearRight) : nearLeft);
    return RunningSums{{squaresAndSlow[0], squaresAndSlow[1]},
                       {squaresAndSlow[2], squaresAndSlow[3]},
                       {fast[0], fast[1]},
                       near[0] + near[1] + near[2] + near[3]};
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
    const RunningSums sums = addSquares(samples, channels, slowEnergy, fastEnergy, nearPeakLevel);
    std::copy(sums.slowEnergy, sums.slowEnergy + channels, slowEnergy);
    std::copy(sums.fastEnergy, sums.fastEnergy + channels, fastEnergy);
    ++slowLevelBlocks;
    ++fastLevelBlocks;

    silentRun = work.peak < kSilenceThreshold ? lengthenSilentRun(silentRun) : 0;
    runningPeak = std::max(runningPeak, work.peak);
    silent = static_cast<double>(silentRun) > kSilenceSeconds * static_cast<double>(sampleRate);
    if (!silent) {
        quietCount += work.quiet;
        nearPeakCount += sums.nearPeak;
        for (int c = 0; c < channels; ++c)
            for (int bin = 0; bin < kHistogramBins; ++bin)
                levelHistogram[c][bin] += work.histogram[c][bin];
        if (!work.transformed)
            work.transform(*kernels, samples, channels, hammingWindow);
        averageSpectrum(channels, static_cast<float>(work.sumAbsolute), sums.sumSquares, work);
    }
    updateMeasures(channels);
}
