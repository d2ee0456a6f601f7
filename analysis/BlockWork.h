// What one block contributes to the analysis that depends on its samples
// alone: the statistics (peak, quiet count, level histogram, sum of absolute
// values) and each channel's power spectrum. Nothing here reads the
// Analyzer's running state, so blocks can be worked on in any order, on any
// thread; Analyzer::accumulateBlock then folds them into the running state in
// block order, with the bits of analysing the blocks one by one.
#pragma once

#include "analysis/AnalysisSnapshot.h"

#include <cstdint>

struct EngineKernels;

struct BlockWork {
    using Samples = float[kAnalysisChannels][kAnalysisBlockFrames];

    // The statistics of the first `channels` channels; every block needs them.
    void measure(const EngineKernels& kernels, const Samples& samples, int channels);
    // The power spectra through `window` (the Analyzer's); only blocks that
    // are not silent need them. Sets `transformed`.
    void transform(const EngineKernels& kernels, const Samples& samples, int channels, const float* window);

    float peak = 0.0f;
    std::int32_t quiet = 0;
    // In double, with the bits of adding frame by frame, channel by channel.
    double sumAbsolute = 0.0;
    std::int32_t histogram[kAnalysisChannels][kHistogramBinCount] = {};
    bool transformed = false;
    // |X[k]|^2 of each channel's windowed block, unrounded, for the bins the
    // spectrum shows.
    double power[kAnalysisChannels][kSpectrumBinCount];
};
