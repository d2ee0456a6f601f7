// BlockWork::measure on lanes (see EngineKernels). The peak is a maximum and
// the counts are whole numbers, so any order gives the same; only the sum of
// absolute values has an order, which OrderFreeSum keeps or, failing that,
// the in-order loop.
#pragma once

#include "analysis/EngineKernels.h"
#include "analysis/OrderFreeSum.h"
#include "analysis/lanes.h"

namespace {

constexpr float kQuietThreshold = 0.0158f;
constexpr float kHistogramScale = 99.99f;

// One partial histogram per lane, with one bin more than the histogram for
// magnitudes that fall in no bin (beyond full scale, not a number): a run of
// samples in one bin then adds to several counters in turn instead of
// waiting on one.
template <int kCount> struct PartialHistograms {
    std::int32_t counts[kCount][kHistogramBinCount + 1];

    template <typename Ints, typename L> void add(Ints bins)
    {
        std::int32_t bin[kCount];
        L::storeInts(bin, bins);
        for (int lane = 0; lane < kCount; ++lane)
            ++counts[lane][bin[lane]];
    }

    // Row by row, so that the compiler adds whole rows on lanes.
    void sumInto(std::int32_t (&histogram)[kHistogramBinCount]) const
    {
        for (int bin = 0; bin < kHistogramBinCount; ++bin)
            histogram[bin] = counts[0][bin];
        for (int lane = 1; lane < kCount; ++lane)
            for (int bin = 0; bin < kHistogramBinCount; ++bin)
                histogram[bin] += counts[lane][bin];
    }
};

// The bin is trunc(magnitude * 99.99) where that is below the bin count, as
// the comparison `scaled < 100` picks; the minimum sends anything else (not
// a number included) to the extra bin.
template <typename V> inline typename Lane<V>::Ints histogramBins(V magnitude)
{
    using L = Lane<V>;
    const V scaled = magnitude * L::splat(kHistogramScale);
    return L::truncated(L::smaller(scaled, L::splat(static_cast<float>(kHistogramBinCount))));
}

// The definition of the sum: frame by frame, channel by channel, rounded to
// double after every addition.
inline double sumAbsoluteInOrder(const BlockWork::Samples& samples, int channels)
{
    double sum = 0.0;
    for (int i = 0; i < kAnalysisBlockFrames; ++i)
        for (int c = 0; c < channels; ++c)
            sum += __builtin_fabsf(samples[c][i]);
    return sum;
}

template <typename V> void measureBlock(const BlockWork::Samples& samples, int channels, BlockWork& work)
{
    using L = Lane<V>;
    OrderFreeSum<V> absolute;
    V peaks = L::zero();
    typename L::Ints quietCounts = L::zeroInts();
    for (int c = 0; c < channels; ++c) {
        PartialHistograms<L::kCount> partial = {};
        for (int i = 0; i < kAnalysisBlockFrames; i += L::kCount) {
            const V a = L::magnitude(L::load(samples[c] + i));
            // Keeps the peak where a is not a number, as `a > peak ? a : peak` does.
            peaks = L::larger(a, peaks);
            quietCounts = L::subtract(quietCounts, L::below(a, L::splat(kQuietThreshold)));
            partial.template add<typename L::Ints, L>(histogramBins(a));
            absolute.add(a);
        }
        partial.sumInto(work.histogram[c]);
    }
    float peak[L::kCount];
    std::int32_t quiet[L::kCount];
    L::store(peak, peaks);
    L::storeInts(quiet, quietCounts);
    work.peak = 0.0f;
    work.quiet = 0;
    for (int lane = 0; lane < L::kCount; ++lane) {
        work.peak = peak[lane] > work.peak ? peak[lane] : work.peak;
        work.quiet += quiet[lane];
    }
    work.sumAbsolute = absolute.exact() ? absolute.total() : sumAbsoluteInOrder(samples, channels);
}

} // namespace
