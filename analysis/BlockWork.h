// What one block contributes to the analysis that depends on its samples
// alone: the statistics (peak, quiet count, level histogram, sum of absolute
// values) and each channel's power spectrum. Nothing here reads the
// Analyzer's running state, so blocks can be worked on in any order, on any
// thread; Analyzer::accumulateBlock then folds them into the running state in
// block order, with the bits of analysing the blocks one by one.
//
// For a file tool: measure and transform may run on any thread at once with
// others; they read only the samples, the window (the Analyzer's
// hammingWindow, fixed from its construction) and the kernel table.
// accumulateBlock, on the one accumulating thread, reads the samples again
// (the history energies and the near-peak count depend on the running
// state), so they must stay as they were until it has run. A block that
// turns out silent never needs its transform; accumulateBlock transforms a
// block that needs it and has none.
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

    // A block whose peak stays below this is quiet enough to count towards a silence.
    static constexpr float kSilenceThreshold = 0.0001f;
    // Measured blocks that reach the threshold are never silent, so they
    // always need their transform; a quieter one may not.
    bool needsTransform() const { return !(peak < kSilenceThreshold); }

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
