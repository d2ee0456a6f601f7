// The K-weighting of ITU-R BS.1770 for one channel: a high shelf of about
// +4 dB above 1.5 kHz, then a high-pass at about 38 Hz. BS.1770 gives the
// two biquads at 48 kHz only; they are made here for any rate from the
// analogue filters they sample (bilinear transform, matched at each
// filter's own frequency), which gives the standard's coefficients back at
// 48 kHz. The rate must exceed twice the shelf's frequency.
#pragma once

#include <cstdint>

class KWeighting {
public:
    // Lowest rate whose Nyquist frequency lies above the shelf's.
    static double lowestRate();

    explicit KWeighting(double sampleRate);

    // Filters `frames` samples, each `stride` floats after the last, and
    // returns `sum` plus the squares of the filtered samples, added one by
    // one: a sum carried over from call to call does not depend on where
    // the calls split the samples.
    double sumOfSquares(const float* samples, std::int64_t frames, int stride, double sum);

private:
    struct Biquad {
        double b0, b1, b2, a1, a2;
    };

    Biquad shelf;
    Biquad highPass;
    // Transposed direct form II: two state values per biquad.
    double shelfState[2] = {};
    double highPassState[2] = {};
};
