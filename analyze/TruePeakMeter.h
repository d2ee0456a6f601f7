// The true peak of one channel of a file, after ITU-R BS.1770 (oversampled
// by libebur128), in dBTP. One meter per channel, so that the channels can
// be measured on threads of their own: this is the costliest measurement.
#pragma once

#include "analyze/LoudnessMeter.h"

#include <vector>

class TruePeakMeter {
public:
    TruePeakMeter(int fileChannels, int sampleRate, int channel);

    const std::string& error() const { return reason; }
    // Interleaved frames of every channel of the file.
    void add(const float* interleaved, std::int64_t frames);
    // Minus infinity for digital silence.
    double truePeakDb() const;
    // The same for the frames of the last call of add.
    double lastTruePeakDb() const;

private:
    const int fileChannels;
    const int channel;
    Ebur128State state;
    std::string reason;
    std::vector<float> samples;
};
