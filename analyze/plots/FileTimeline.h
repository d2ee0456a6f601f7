// What the whole-file plots draw, gathered while a file is read. Every
// series covers the whole file in slices of its own length.
#pragma once

#include "analyze/plots/SliceSeries.h"

#include <cstdint>
#include <vector>

struct FileTimeline {
    int sampleRate = 0;
    int channels = 0;
    std::int64_t frames = 0;

    // Per slice and channel, in this order: peak amplitude (0 ... 1 at full
    // scale), sum of squared samples; then the slice's frame count.
    TimeSlices levels;
    static constexpr std::size_t kLevelColumnsPerChannel = 2;

    // Per slice: the highest short-term (3 s) loudness whose window ended in
    // it, LUFS; minus infinity where none did.
    TimeSlices shortTermLoudness;
    // Per slice: the highest true-peak over (above 0 dBTP) of all channels,
    // dBTP; minus infinity where there was none. It may end before the file.
    // Overs are looked for only where the true peak is measured.
    bool truePeakMeasured = false;
    TimeSlices truePeak;

    // Per slice: the summed power of each frequency bin over the channels,
    // then the number of spectra summed. Bin k is at k * binHz; a full-scale
    // sine at a bin's frequency has power 1 there.
    TimeSlices spectrogram;
    double binHz = 0.0;
    int bins = 0;

    // Per channel: the mean power of each bin over the whole file.
    std::vector<std::vector<double>> spectrum;

    // Per channel: how many samples lie at each level, in bins of
    // kHistogramBinDb from kHistogramFloorDb up; the first bin also holds
    // everything quieter (silence too), the last everything louder.
    std::vector<std::vector<std::int64_t>> histogram;
    static constexpr double kHistogramFloorDb = -96.0;
    static constexpr double kHistogramBinDb = 0.5;
    static constexpr int kHistogramBins = 192;
};
