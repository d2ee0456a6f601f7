// A few seconds of a synthetic stereo mix, made in code so the demo, the
// benchmark and the tests need no sample files: kick, bass, a chord, hi-hats
// and noise, gently saturated like a mastered mix, ending in a short silence.
#pragma once

#include <vector>

struct DemoSignal {
    static constexpr float kSampleRate = 44100.0f;
    // Long enough for the fast histories to fill a good part of their pictures.
    static constexpr double kDemoSeconds = 12.0;

    // `seconds` of audio at kSampleRate; the last 0.75 s are digital silence.
    static DemoSignal make(double seconds);

    std::vector<float> left;
    std::vector<float> right;
};
