// The true peak of one channel (ITU-R BS.1770-4): the largest magnitude of
// the band-limited signal its samples describe, between the samples as well
// as at them.
//
// The channel is oversampled to at least 192 kHz, and at least 4 times (4x
// at 48 kHz, 5x at 44.1 kHz, 24x at 8 kHz), by a polyphase windowed-sinc
// interpolator of 96 taps whose band is that of a mastering-grade resampler
// (sox's "very high" quality): flat within 0.01 dB to 0.4535 of the sample
// rate (20 kHz at 44.1 kHz), -3 dB at 0.475, -40 dB at 0.494. Wherever an
// oversampled value is a local maximum close enough to the running peak
// that a higher peak could lie within half a step of it (a band-limited
// signal curves only so fast), that half step on either side is
// interpolated 8 times more finely. The reading is within a few hundredths
// of a decibel of a 32x reconstruction by such a resampler.
//
// Most of a file cannot raise the peak found so far and is not interpolated
// at all: no interpolated value exceeds the largest sample within the
// interpolator's reach times the sum of its tap magnitudes (about 2.7, or
// 8.7 dB), so a stretch whose samples stay that far below the running peak
// is skipped. The reading is the same as if every stretch were interpolated.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

class TruePeakMeter {
public:
    // How many times the rate is multiplied on the coarse grid.
    static int oversamplingFor(int sampleRate);

    explicit TruePeakMeter(int sampleRate);

    // The channel's next `frames` samples, one after the other.
    void add(const float* samples, std::int64_t frames);
    // Linear, as a magnitude; 0 for digital silence. Counts the samples held
    // back for the interpolator's reach as the end of the channel, followed
    // by silence. Infinite when the interpolation overflows (samples near
    // the float range).
    double peak() const;

    // Interpolates every stretch, skipping none: for the tests of the skip.
    void interpolateEverything() { skipping = false; }

    // From now on `listener` hears of every stretch of samples whose true
    // peak exceeds `level` (linear): the index of its first sample in the
    // channel and its peak. Stretches that could not reach the level are
    // still skipped, so the reading stays the same.
    using OverListener = std::function<void(std::int64_t firstSample, double peak)>;
    void reportOvers(double level, OverListener listener);

private:
    // Weighs the stretches of `samples` (from sample `firstIndex` of the
    // channel) against `peak` and interpolates those that could raise it, at
    // positions up to sample `lastIndex`; returns the new peak and how many
    // samples from the front are done with.
    // Overs are reported only where `reporting`, so that each is heard once.
    double scan(const std::vector<float>& samples, std::int64_t firstIndex, std::int64_t lastIndex,
                double peak, std::int64_t& consumed, bool reporting) const;
    // The peak of `count` positions from `first` (sample `firstIndex`): on the
    // coarse grid, then finely around the values that could hide a higher one.
    double interpolate(const float* first, std::int64_t firstIndex, int count, std::int64_t lastIndex,
                       double peak) const;
    const float* taps(int finePhase) const;

    int oversampling;
    int finePhases;
    // Fine phase f interpolates at f / finePhases of the way to the next
    // sample; coarse phase p is fine phase p * kRefinement.
    std::vector<float> phases;
    // Largest sum of tap magnitudes over the phases, rounded up.
    double reach = 1.0;
    // Share of a peak that the coarse grid is sure to see near it.
    double gridShare = 1.0;
    // One stretch's values on the coarse grid, phase by phase.
    mutable std::vector<float> coarseValues;
    bool skipping = true;
    // From the start of the stretch before the next one to examine.
    std::vector<float> held;
    std::int64_t heldFrom = 0;
    std::int64_t received = 0;
    double runningPeak = 0.0;
    double overLevel = HUGE_VAL;
    OverListener overListener;
};
