#include "analysis/Analyzer.h"

#include "analysis/fft.h"

#include <cmath>

namespace {

using BlockPower = float[Analyzer::kChannels][Analyzer::kSpectrumBins];

// Blends a running RMS that covers `weight` samples with a block's sum of
// squares into one that covers `newWeight`.
float blendRms(double weight, float rms, double blockSquares, double newWeight)
{
    const double stored = rms;
    return static_cast<float>(std::sqrt((weight * (stored * stored) + blockSquares) / newWeight));
}

// Windowed transform of one channel of the block; keeps each bin's power,
// rounded to float for the combined spectrum, and folds the unrounded power
// into the channel's RMS spectrum over `blocks` earlier blocks.
void addChannelSpectrum(const float* samples, const float* window, double blocks, float* spectrum,
                        float* power)
{
    float windowed[Analyzer::kBlockFrames];
    float realOut[Analyzer::kBlockFrames];
    float imagOut[Analyzer::kBlockFrames];
    for (int i = 0; i < Analyzer::kBlockFrames; ++i)
        windowed[i] = window[i] * samples[i];
    fft_float(Analyzer::kBlockFrames, 0, windowed, nullptr, realOut, imagOut);
    for (int k = 0; k < Analyzer::kSpectrumBins; ++k) {
        const double re = realOut[k];
        const double im = imagOut[k];
        const double p = re * re + im * im;
        power[k] = static_cast<float>(p);
        const double stored = spectrum[k];
        spectrum[k] = static_cast<float>(std::sqrt((blocks * (stored * stored) + p) / (blocks + 1.0)));
    }
}

// Both running means blend into the one array, the slow one first; bins are
// independent, so each bin takes both passes in turn.
void addCombinedSpectrum(const BlockPower& power, int channels, double slowBlocks, double fastBlocks,
                         float* combined)
{
    for (int k = 0; k < Analyzer::kSpectrumBins; ++k) {
        double total = power[0][k];
        if (channels == 2)
            total += static_cast<double>(power[1][k]);
        const double magnitude = std::sqrt(total);
        const float slow = static_cast<float>((slowBlocks * combined[k] + magnitude) / (slowBlocks + 1.0));
        combined[k] = static_cast<float>((fastBlocks * slow + magnitude) / (fastBlocks + 1.0));
    }
}

} // namespace

void Analyzer::averageSpectrum(std::int32_t channels, float sumAbsolute, float sumSquares[kChannels])
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

    BlockPower power;
    for (int c = 0; c < channels; ++c)
        addChannelSpectrum(blockBuffer[c], hammingWindow, spectrumCount, channelSpectrum[c], power[c]);
    addCombinedSpectrum(power, channels, slowSpectrumCount, fastSpectrumCount, combinedSpectrum);
    ++slowSpectrumCount;
    ++fastSpectrumCount;
    ++spectrumCount;
    analysedFrames += kBlockFrames;
}
