// The spectrum's running means and the measures' band sums on lanes (see
// EngineKernels), each lane with the scalar operations in double.
#pragma once

#include "analysis/EngineKernels.h"
#include "analysis/OrderFreeSum.h"
#include "analysis/lanes.h"

namespace {

// Folds the powers of bins k ... k + D::kCount - 1 into a channel's RMS
// spectrum over `blocks` earlier blocks.
template <typename D> inline void blendChannelBins(int k, const double* power, D weight, D newWeight, float* spectrum)
{
    using Lanes = DoubleLane<D>;
    const D stored = Lanes::loadWidened(spectrum + k);
    Lanes::storeNarrowed(spectrum + k, Lanes::squareRoot((weight * (stored * stored) + Lanes::load(power + k)) / newWeight));
}

// The combined magnitude of those bins (the powers rounded to float, as
// stored) blended into the slow mean first, then the fast one from it, in
// the one array.
template <typename D> inline void blendCombinedBins(int k, const SpectrumBlend& blend, D slowWeight, D slowNewWeight,
                                                    D fastWeight, D fastNewWeight)
{
    using Lanes = DoubleLane<D>;
    D total = Lanes::roundedToFloat(Lanes::load(blend.power[0] + k));
    if (blend.power[1])
        total = total + Lanes::roundedToFloat(Lanes::load(blend.power[1] + k));
    const D magnitude = Lanes::squareRoot(total);
    const D slow = Lanes::roundedToFloat((slowWeight * Lanes::loadWidened(blend.combined + k) + magnitude) / slowNewWeight);
    Lanes::storeNarrowed(blend.combined + k, (fastWeight * slow + magnitude) / fastNewWeight);
}

// Every spectrum of a blend, a group of bins at a time.
template <typename D> class SpectrumBlender {
public:
    using Lanes = DoubleLane<D>;
    static constexpr int kBins = Lanes::kCount;

    explicit SpectrumBlender(const SpectrumBlend& blend)
        : blend(blend), weight(Lanes::splat(blend.blocks)), newWeight(Lanes::splat(blend.blocks + 1.0)),
          slowWeight(Lanes::splat(blend.slowBlocks)), slowNewWeight(Lanes::splat(blend.slowBlocks + 1.0)),
          fastWeight(Lanes::splat(blend.fastBlocks)), fastNewWeight(Lanes::splat(blend.fastBlocks + 1.0))
    {
    }

    void blendBins(int k) const
    {
        for (int c = 0; c < kAnalysisChannels; ++c)
            if (blend.power[c])
                blendChannelBins(k, blend.power[c], weight, newWeight, blend.channelSpectrum[c]);
        blendCombinedBins(k, blend, slowWeight, slowNewWeight, fastWeight, fastNewWeight);
    }

private:
    const SpectrumBlend& blend;
    const D weight, newWeight, slowWeight, slowNewWeight, fastWeight, fastNewWeight;
};

// The definition: bins outside, channels inside, each sum rounded to double
// after every addition.
inline BandSums bandSumsInOrder(const float (&spectrum)[kAnalysisChannels][kSpectrumBinCount], int channels,
                                int lowEnd, int highStart)
{
    BandSums sums = {0.0, 0.0, 0.0};
    for (int k = 0; k < kSpectrumBinCount; ++k) {
        for (int c = 0; c < channels; ++c) {
            const double value = spectrum[c][k];
            sums.total += value;
            if (k < lowEnd)
                sums.low += value;
            if (k >= highStart)
                sums.high += value;
        }
    }
    return sums;
}

// Every bin goes into the checked total; bins below either band edge also
// into a part, where bins beyond the edge add zero, which changes no sum. The
// high band is the total less the bins below its start: exact whenever the
// total is.
template <typename V>
BandSums bandSums(const float (&spectrum)[kAnalysisChannels][kSpectrumBinCount], int channels, int lowEnd,
                  int highStart)
{
    using L = Lane<V>;
    OrderFreeSum<V> total;
    LaneSum<V> low, belowHigh;
    const typename L::Ints lowEnds = L::splatInt(lowEnd), highStarts = L::splatInt(highStart);
    for (int k = 0; k < kSpectrumBinCount; k += L::kCount) {
        const bool inParts = k < highStart || k < lowEnd;
        const typename L::Ints bins = L::add(L::splatInt(k), L::laneIndices());
        for (int c = 0; c < channels; ++c) {
            const V values = L::load(spectrum[c] + k);
            total.add(values);
            if (inParts) {
                low.add(L::keep(L::lessThan(bins, lowEnds), values));
                belowHigh.add(L::keep(L::lessThan(bins, highStarts), values));
            }
        }
    }
    if (!total.exact())
        return bandSumsInOrder(spectrum, channels, lowEnd, highStart);
    return BandSums{total.total(), low.total(), total.total() - belowHigh.total()};
}

} // namespace
