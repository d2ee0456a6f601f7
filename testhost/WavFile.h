// A 16-bit PCM WAV file with one or two channels, as the test host plays it
// instead of its demo signal. Samples are scaled to -1 ... 1 by 1/32768, as
// libsndfile scales them, so both see the same floats.
#pragma once

#include <string>
#include <vector>

struct WavFile {
    // Empty on success, else why the file cannot be played.
    static std::string read(const std::string& path, WavFile& wav);

    float sampleRate = 0.0f;
    int channels = 0;
    std::vector<float> left;
    // Empty for a mono file.
    std::vector<float> right;
};
