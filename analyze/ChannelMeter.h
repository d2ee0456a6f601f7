// One channel of a file over its whole length, as sox and ffmpeg report
// each channel: sample peak, RMS and, when asked, true peak. One meter per
// channel, so that the channels can be measured on threads of their own.
#pragma once

#include "analyze/Reading.h"
#include "analyze/TruePeakMeter.h"

#include <cstdint>
#include <optional>
#include <string>

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
    ChannelMeter(std::optional<int> truePeakRate, std::string noTruePeak);

    // The channel's next samples, one after the other.
    void add(const float* samples, std::int64_t frames);
    ChannelFigures figures() const;
    // Linear; none when not measured or not finite.
    std::optional<double> truePeak() const;
    // Where the true peak is measured: see TruePeakMeter::reportOvers.
    void reportTruePeakOvers(double level, TruePeakMeter::OverListener listener);

    // A linear level in decibels; none for digital silence.
    static Reading decibels(double level);

private:
    void measureLevels(const float* samples, std::int64_t frames);

    std::optional<TruePeakMeter> truePeakMeter;
    const std::string noTruePeak;
    double peak = 0.0;
    double sumOfSquares = 0.0;
    std::int64_t count = 0;
    std::int64_t nonFinite = 0;
};
