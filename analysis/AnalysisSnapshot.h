// Everything one refresh of the editor needs from the analysis, taken at one
// moment on the audio thread so that the user-interface thread can show it
// (numbers and pictures) while the analysis goes on. Plain values only.
#pragma once

#include <cstdint>

constexpr int kAnalysisChannels = 2;
constexpr int kAnalysisBlockFrames = 2048;
constexpr int kSpectrumBinCount = 1024;
constexpr int kHistogramBinCount = 100;

// The nine numbers the editor shows, in display order.
struct AnalyzerMeasures {
    float analysedSeconds;
    float peakDb;
    float rmsDb;
    float balanceDb;
    float rmsToMeanDb;
    float quietPercent;
    float nearPeakPercent;
    float lowBandPercent;
    float highBandPercent;
};

// Seconds of audio behind one row of a slow or a fast history picture.
constexpr float kSlowHistoryPeriod = 5.0f;
constexpr float kFastHistoryPeriod = 0.2f;

// A history gains a row once the blocks behind its counter cover more than its
// period. Both products are exact in double, however far the counter has grown.
inline bool isHistoryRowDue(float sampleRate, float period, std::int32_t blocks)
{
    return static_cast<double>(sampleRate) * period < static_cast<double>(blocks) * kAnalysisBlockFrames;
}

struct AnalysisSnapshot {
    AnalyzerMeasures measures;
    float sampleRate;
    std::int64_t analysedFrames;
    std::int64_t levelHistogram[kAnalysisChannels][kHistogramBinCount];
    float channelSpectrum[kAnalysisChannels][kSpectrumBinCount];
    float combinedSpectrum[kSpectrumBinCount];
    // What the history rows are drawn from, gathered since each history's last row.
    float slowEnergy[kAnalysisChannels];
    float fastEnergy[kAnalysisChannels];
    std::int32_t slowSpectrumCount;
    std::int32_t fastSpectrumCount;
    std::int32_t slowLevelBlocks;
    std::int32_t fastLevelBlocks;
    bool logFrequencyAxis;
    bool zoomHistogram;
    bool slowLevelHistory;
    bool slowSpectrogram;
};
