// One channel of a file over its whole length, as sox and ffmpeg report
// each channel: sample peak, RMS and, when asked, true peak. One meter per
// channel, so that the channels can be measured on threads of their own.
#pragma once

#include "analyze/Reading.h"
#include "analyze/TruePeakMeter.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ChannelFigures {
    // dBFS.
    Reading peak;
    Reading rms;
    // dBTP.
    Reading truePeak;
};

class ChannelMeter {
public:
    // The true peak is measured when `truePeakRate` is set; else
    // `noTruePeak` says why not.
    ChannelMeter(int fileChannels, int channel, std::optional<int> truePeakRate, std::string noTruePeak);

    // Interleaved frames of every channel of the file.
    void add(const float* interleaved, std::int64_t frames);
    ChannelFigures figures() const;
    // Linear; none when not measured or not finite.
    std::optional<double> truePeak() const;
    // Where the true peak is measured: see TruePeakMeter::reportOvers.
    void reportTruePeakOvers(double level, TruePeakMeter::OverListener listener);

    // A linear level in decibels; none for digital silence.
    static Reading decibels(double level);

private:
    // Of the first `frames` of `samples`.
    void measureLevels(std::int64_t frames);

    const int fileChannels;
    const int channel;
    std::optional<TruePeakMeter> truePeakMeter;
    const std::string noTruePeak;
    std::vector<float> samples;
    double peak = 0.0;
    double sumOfSquares = 0.0;
    std::int64_t count = 0;
    std::int64_t nonFinite = 0;
};
