#include "analysis/Analyzer.h"


#include <cmath>

namespace {

// Blends a running RMS that covers `weight` samples with a block's sum of
// squares into one that covers `newWeight`.
float blendRms(double weight, float rms, double blockSquares, double newWeight)
{
    const double stored = rms;
    return static_cast<float>(std::sqrt((weight * (stored * stored) + blockSquares) / newWeight));
}

} // namespace

// The spectra themselves were blended while the block's samples were
// accumulated (EngineKernels::accumulateSamples), with the counts from before
// this block; the levels follow here, then the counts move on.
void Analyzer::averageSpectrum(std::int32_t channels, float sumAbsolute, const float (&sumSquares)[kChannels])
{
    const double nch = channels;
    const double frames = static_cast<double>(analysedFrames);
    const double newFrames = frames + kBlockFrames;
    meanAbsolute = static_cast<float>((nch * frames * meanAbsolute + sumAbsolute) / (newFrames * nch));
    channelRms[0] = blendRms(frames, channelRms[0], sumSquares[0], newFrames);
    channelRms[1] = channels == 2 ? blendRms(frames, channelRms[1], sumSquares[1], newFrames) : channelRms[0];
    double blockSquares = sumSquares[0];
    if (channels == 2)
        blockSquares += static_cast<double>(sumSquares[1]);
    overallRms = blendRms(nch * frames, overallRms, blockSquares, newFrames * nch);

    ++slowSpectrumCount;
    ++fastSpectrumCount;
    ++spectrumCount;
    analysedFrames += kBlockFrames;
}
