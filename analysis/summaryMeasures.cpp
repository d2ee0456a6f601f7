#include "analysis/Analyzer.h"

#include "analysis/EngineKernels.h"
#include "analysis/decibels.h"

namespace {

constexpr float kNoReference = 144.0f;
constexpr double kPercentScale = 100.0;
// Band edges in bins: 250 Hz and 3500 Hz times the 2048-point block length.
constexpr double kLowBandNumerator = 512000.0;
constexpr double kHighBandNumerator = 7168000.0;

float decibelsOfRatio(float numerator, float denominator)
{
    return denominator > 0.0f ? static_cast<float>(toDecibels(numerator / denominator)) : kNoReference;
}

float percentOf(std::int64_t count, std::int64_t total)
{
    return total > 0
               ? static_cast<float>(static_cast<double>(count) * kPercentScale / static_cast<double>(total))
               : 0.0f;
}

// trunc(numerator / sampleRate), held to 0 … 1024 before the conversion so
// that no sample rate can make it overflow.
int bandEdge(double numerator, float sampleRate)
{
    const double edge = numerator / static_cast<double>(sampleRate);
    if (!(edge > 0.0))
        return 0;
    return edge < Analyzer::kSpectrumBins ? static_cast<int>(edge) : Analyzer::kSpectrumBins;
}

} // namespace

void Analyzer::updateMeasures(std::int32_t channels)
{
    // Built aside and stored at once, so a refresh never sees a band share
    // cleared half way through.
    AnalyzerMeasures next = {};
    next.analysedSeconds =
        static_cast<float>(static_cast<double>(analysedFrames) / static_cast<double>(sampleRate));
    next.peakDb = static_cast<float>(toDecibels(runningPeak));
    next.rmsDb = static_cast<float>(toDecibels(overallRms));
    next.balanceDb = decibelsOfRatio(channelRms[1], channelRms[0]);
    next.rmsToMeanDb = decibelsOfRatio(overallRms, meanAbsolute);
    const std::int64_t samples = channels * analysedFrames;
    next.quietPercent = percentOf(quietCount, samples);
    next.nearPeakPercent = percentOf(nearPeakCount, samples);
    if (spectrumCount > 0) {
        const BandSums sums = kernels->bandSums(channelSpectrum, channels, bandEdge(kLowBandNumerator, sampleRate),
                                                bandEdge(kHighBandNumerator, sampleRate));
        if (sums.total != 0.0) {
            next.lowBandPercent = static_cast<float>(kPercentScale * sums.low / sums.total);
            next.highBandPercent = static_cast<float>(kPercentScale * sums.high / sums.total);
        }
    }
    measures = next;
    pacedEditorUpdate(*this);
}
