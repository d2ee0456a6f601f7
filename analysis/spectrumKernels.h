// The spectrum's running means and the measures' band sums on lanes (see
// EngineKernels), each lane with the scalar operations in double.
#pragma once

#include "analysis/EngineKernels.h"
#include "analysis/OrderFreeSum.h"
#include "analysis/lanes.h"

namespace {

template <typename V> void blendChannelSpectrum(const double* power, double blocks, float* spectrum)
{
    using D = DoubleLane<typename Lane<V>::Doubles>;
    const auto weight = D::splat(blocks);
    const auto newWeight = D::splat(blocks + 1.0);
    for (int k = 0; k < kSpectrumBinCount; k += D::kCount) {
        const auto stored = D::loadWidened(spectrum + k);
        D::storeNarrowed(spectrum + k, D::squareRoot((weight * (stored * stored) + D::load(power + k)) / newWeight));
    }
}

// The slow mean first, then the fast one from it, into the one array; the
// powers count rounded to float.
template <typename V>
void blendCombinedSpectrum(const double* power0, const double* power1, double slowBlocks, double fastBlocks,
                           float* combined)
{
    using D = DoubleLane<typename Lane<V>::Doubles>;
    const auto slowWeight = D::splat(slowBlocks), slowNewWeight = D::splat(slowBlocks + 1.0);
    const auto fastWeight = D::splat(fastBlocks), fastNewWeight = D::splat(fastBlocks + 1.0);
    for (int k = 0; k < kSpectrumBinCount; k += D::kCount) {
        auto total = D::roundedToFloat(D::load(power0 + k));
        if (power1)
            total = total + D::roundedToFloat(D::load(power1 + k));
        const auto magnitude = D::squareRoot(total);
        const auto slow = D::roundedToFloat((slowWeight * D::loadWidened(combined + k) + magnitude) / slowNewWeight);
        D::storeNarrowed(combined + k, (fastWeight * slow + magnitude) / fastNewWeight);
    }
}

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

// Bins outside a band add zero, which changes no sum.
template <typename V>
BandSums bandSums(const float (&spectrum)[kAnalysisChannels][kSpectrumBinCount], int channels, int lowEnd,
                  int highStart)
{
    using L = Lane<V>;
    OrderFreeSum<V> total, low, high;
    const typename L::Ints lowEnds = L::splatInt(lowEnd), highStarts = L::splatInt(highStart);
    for (int k = 0; k < kSpectrumBinCount; k += L::kCount) {
        const typename L::Ints bins = L::add(L::splatInt(k), L::laneIndices());
        const typename L::Ints inLow = L::lessThan(bins, lowEnds), belowHigh = L::lessThan(bins, highStarts);
        for (int c = 0; c < channels; ++c) {
            const V values = L::load(spectrum[c] + k);
            total.add(values);
            low.add(L::keep(inLow, values));
            high.add(L::drop(belowHigh, values));
        }
    }
    if (total.exact() && low.exact() && high.exact())
        return BandSums{total.total(), low.total(), high.total()};
    return bandSumsInOrder(spectrum, channels, lowEnd, highStart);
}

} // namespace
