// The largest true peak over every channel of a file, after ITU-R BS.1770
// (oversampled by libebur128), in dBTP.
#pragma once

#include "analyze/LoudnessMeter.h"

class TruePeakMeter {
public:
    TruePeakMeter(int channels, int sampleRate);

    const std::string& error() const { return reason; }
    void add(const float* interleaved, std::int64_t frames);
    // Minus infinity for digital silence.
    double maxTruePeakDb() const;

private:
    Ebur128State state;
    std::string reason;
};
