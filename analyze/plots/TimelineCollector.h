// Gathers a file's FileTimeline: as one more consumer of the file's chunks
// it measures levels, spectra and the level histogram; the loudness meters
// hand it their readings through the two hooks, each on threads of their
// own. Every part is touched by one call at a time (each channel's overs,
// the short-term loudness, the rest), and `finish` comes after all.
#pragma once

#include "analyze/plots/FileTimeline.h"

#include <cstdint>
#include <vector>

class TimelineCollector {
public:
    TimelineCollector(int channels, int sampleRate);

    // Consumer: `frames` interleaved frames of every channel.
    void add(const float* interleaved, std::int64_t frames);
    // From the loudness meter: a short-term loudness, LUFS, whose window ends at `endFrame`.
    void addShortTermLoudness(std::int64_t endFrame, double lufs);
    // Before the file is read, when true-peak meters will report overs.
    void expectTruePeakOvers() { truePeakMeasured = true; }
    // From the true-peak meter of `channel`: a true-peak over (linear, above
    // kOverLevel) in the stretch that starts at `frame`.
    void addTruePeakOver(int channel, std::int64_t frame, double peak);

    // Once every chunk was taken and every hook called.
    FileTimeline finish();

    static constexpr int kSpectrumFrames = 4096;
    // The level above which the true-peak meters report overs: 0 dBTP.
    static constexpr double kOverLevel = 1.0;

private:
    void addToLevelBlock(const float* frame);
    void endLevelBlock();
    void addToHistogram(int channel, float sample);
    void endSpectrumFrame();

    const int channels;
    const int sampleRate;
    std::int64_t framesTaken = 0;

    SliceSeries levels;
    std::vector<float> blockPeak;
    std::vector<double> blockSquares;
    std::int64_t blockFill = 0;
    std::int64_t blockStart = 0;

    std::vector<std::vector<std::int64_t>> histogram;

    const std::vector<float> window;
    const double windowPowerScale;
    // Per channel: the samples of the spectrum frame being gathered.
    std::vector<std::vector<float>> spectrumInput;
    std::int64_t spectrumFill = 0;
    std::int64_t spectrumStart = 0;
    std::vector<float> transformReal;
    std::vector<float> transformImaginary;
    std::vector<float> framePower;
    std::vector<std::vector<double>> powerSums;
    std::int64_t spectraSummed = 0;
    SliceSeries spectrogram;

    SliceSeries shortTerm;
    std::vector<SliceSeries> truePeakOvers;
    bool truePeakMeasured = false;
};
