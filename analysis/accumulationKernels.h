// Accumulating a block's samples on lanes (see EngineKernels): the running
// energies and sums of squares, the count of samples near the running peak,
// and, for blocks that are not silent, the spectra's running means.
//
// The energies are chains of dependent float additions, one per frame, while
// the spectra wait on double division and square root: neither keeps the
// processor busy alone, so each step of the loop does a few frames of the
// one and a few bins of the other, and the two run at the same time.
#pragma once

#include "analysis/EngineKernels.h"
#include "analysis/lanes.h"
#include "analysis/spectrumKernels.h"

namespace {

// The six sums as the lanes of two vectors, [squares 0, squares 1, slow 0,
// slow 1] and [fast 0, fast 1, -, -], each gaining one frame's squares
// [s0, s1, s0, s1] per addition. A mono block runs channel 0 in both halves.
class EnergyChains {
public:
    explicit EnergyChains(const EnergySums& start)
        : squaresAndSlow{0.0f, 0.0f, start.slowEnergy[0], start.slowEnergy[1]},
          fast{start.fastEnergy[0], start.fastEnergy[1], 0.0f, 0.0f}
    {
    }

    // Four frames, in order.
    void add(Floats4 squaresLeft, Floats4 squaresRight)
    {
        const Floats4 firstPair = _mm_unpacklo_ps(squaresLeft, squaresRight);
        const Floats4 secondPair = _mm_unpackhi_ps(squaresLeft, squaresRight);
        const Floats4 frames[] = {_mm_movelh_ps(firstPair, firstPair), _mm_movehl_ps(firstPair, firstPair),
                                  _mm_movelh_ps(secondPair, secondPair), _mm_movehl_ps(secondPair, secondPair)};
        for (const Floats4 frame : frames) {
            squaresAndSlow = squaresAndSlow + frame;
            fast = fast + frame;
        }
    }

    void finish(EnergySums& sums) const
    {
        for (int c = 0; c < kAnalysisChannels; ++c) {
            sums.sumSquares[c] = squaresAndSlow[c];
            sums.slowEnergy[c] = squaresAndSlow[2 + c];
            sums.fastEnergy[c] = fast[c];
        }
    }

private:
    Floats4 squaresAndSlow;
    Floats4 fast;
};

inline void addFrames(EnergyChains& chains, Floats4 squaresLeft, Floats4 squaresRight)
{
    chains.add(squaresLeft, squaresRight);
}

#ifdef __AVX2__
inline void addFrames(EnergyChains& chains, Floats8 squaresLeft, Floats8 squaresRight)
{
    chains.add(_mm256_castps256_ps128(squaresLeft), _mm256_castps256_ps128(squaresRight));
    chains.add(_mm256_extractf128_ps(squaresLeft, 1), _mm256_extractf128_ps(squaresRight, 1));
}
#endif

// Each step takes as many frames as V has lanes and half as many bins, so
// both run out together: 2048 frames, 1024 bins.
template <typename V>
void accumulateSamples(const BlockWork::Samples& samples, int channels, float nearPeakLevel, EnergySums& sums,
                       const SpectrumBlend* blend)
{
    using L = Lane<V>;
    using D = typename L::Doubles;
    static_assert(2 * DoubleLane<D>::kCount == L::kCount, "bins per step");
    const float* left = samples[0];
    const float* right = channels == 2 ? samples[1] : samples[0];
    EnergyChains chains(sums);
    const SpectrumBlend none = {};
    const SpectrumBlender<D> blender(blend ? *blend : none);
    typename L::Ints nearLeft = L::zeroInts(), nearRight = L::zeroInts();
    const V level = L::splat(nearPeakLevel);
    for (int i = 0, k = 0; i < kAnalysisBlockFrames; i += L::kCount, k += DoubleLane<D>::kCount) {
        const V x = L::load(left + i), y = L::load(right + i);
        nearLeft = L::subtract(nearLeft, L::above(L::magnitude(x), level));
        nearRight = L::subtract(nearRight, L::above(L::magnitude(y), level));
        addFrames(chains, x * x, y * y);
        if (blend)
            blender.blendBins(k);
    }
    chains.finish(sums);
    std::int32_t near[L::kCount];
    L::storeInts(near, channels == 2 ? L::add(nearLeft, nearRight) : nearLeft);
    sums.nearPeak = 0;
    for (std::int32_t count : near)
        sums.nearPeak += count;
}

} // namespace
