// Helpers for the tests of orvane-analyze: a scratch folder, running the
// program and the reference tools without a shell, and test files made by
// sox or written from samples made here.
#pragma once

#include <nlohmann/json.hpp>

#include <cstdint>
#include <string>
#include <vector>

// A PNG file's pixels, red, green and blue, top row first.
struct Png {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> rgb;

    const std::uint8_t* at(int x, int y) const
    {
        return rgb.data() +
               (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)) *
                   3;
    }
    int brightness(int x, int y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2]; }
};

// Empty when the file is not a complete PNG.
Png readPng(const std::string& path);

// A fresh folder under the tests' working folder, removed afterwards.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string operator/(const std::string& name) const { return path + "/" + name; }
    const std::string path;
};

struct ProgramRun {
    int status = -1;
    std::string out;
    std::string err;
};

// Runs argv[0] (found on the PATH) with standard input empty.
ProgramRun runProgram(const std::vector<std::string>& argv);
// Runs a command line of sh, for pipes into the program.
ProgramRun runShell(const std::string& command);
// Runs orvane-analyze with these arguments.
ProgramRun runAnalyze(const std::vector<std::string>& arguments);
// The program's JSON report (an array, keys in their order), or a failed
// expectation and an empty array.
nlohmann::ordered_json jsonOf(const ProgramRun& run);

// sox -R -r RATE -c CHANNELS -n -b 16 PATH synth FRAMESs EFFECTS...
void synthesize(const std::string& path, int rate, int channels, long frames,
                const std::vector<std::string>& effects);
// A 32-bit float WAV file holding these interleaved samples; with a channel
// map (libsndfile's SF_CHANNEL_MAP_* positions), a WAVE_FORMAT_EXTENSIBLE
// one, in ambisonic B-format when the map names its components. `format`
// may name another of libsndfile's containers and encodings.
void writeFloatWav(const std::string& path, int rate, int channels, const std::vector<float>& interleaved,
                   const std::vector<int>& channelMap = {}, int format = 0);

// The figure {"value", "unit"} as the program wrote it, rounded to float;
// NaN when its value is null.
float valueOf(const nlohmann::ordered_json& figure);

// The figures after `label` on the last line of `text` that starts with it:
// sox's stats give the overall figure, then one per channel when there are
// several.
std::vector<double> figuresAfter(const std::string& text, const std::string& label);
// The first of them; NaN when there is none.
double lastFigure(const std::string& text, const std::string& label);
// ffmpeg's ebur128 summary of a file (integrated loudness "I:", "LRA:",
// "Peak:"), as printed on its standard error.
std::string ffmpegLoudness(const std::string& path);
// The reference true peak of each channel, dBTP: sox's very-high-quality
// resampling to 32 times the rate, then the peak of the result (measured
// 6 dB lower, so that nothing clips in sox's fixed-point path).
std::vector<double> soxTruePeaks(const std::string& path, int rate);
