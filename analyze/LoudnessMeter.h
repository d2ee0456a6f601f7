// Loudness after ITU-R BS.1770 / EBU R128 over every channel of a file:
// integrated loudness (libebur128), loudness range, and the largest
// momentary (400 ms) and short-term (3 s) loudness. Memory stays the same
// however long the file is. True peak is TruePeakMeter's, so that the two
// can run on two threads.
#pragma once

#include "analyze/LoudnessRange.h"

#include <ebur128.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

struct LoudnessFigures {
    // LUFS, or minus infinity where there is nothing to measure (silence,
    // or a file shorter than the window).
    double integrated = 0.0;
    double maxMomentary = 0.0;
    double maxShortTerm = 0.0;
    // LU.
    double range = 0.0;
};

struct Ebur128Release {
    void operator()(ebur128_state* state) const { ebur128_destroy(&state); }
};
using Ebur128State = std::unique_ptr<ebur128_state, Ebur128Release>;

// Null, with `error` set, when libebur128 refuses the channel count or sample rate.
Ebur128State makeEbur128State(int channels, int sampleRate, int mode, std::string& error);

class LoudnessMeter {
public:
    LoudnessMeter(int channels, int sampleRate);

    const std::string& error() const { return reason; }
    void add(const float* interleaved, std::int64_t frames);
    LoudnessFigures figures() const;
    // Called with each short-term loudness (LUFS) as it is measured, and the frame its window ends at.
    std::function<void(std::int64_t endFrame, double shortTerm)> shortTermListener;

private:
    static constexpr int kMomentaryBlocks = 4;
    static constexpr int kShortTermBlocks = 30;

    void blockEnded();
    double windowLoudness(int blocks) const;

    Ebur128State state;
    std::string reason;
    std::int64_t framesPerBlock = 0;
    std::int64_t blockFill = 0;
    std::int64_t blocksEnded = 0;
    // Energies of the last 30 blocks of 100 ms, the newest at `newest`.
    std::array<double, kShortTermBlocks> blockEnergy = {};
    int newest = 0;
    double maxMomentary;
    double maxShortTerm;
    LoudnessRange range;
};
