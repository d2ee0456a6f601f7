// Helpers for the tests of orvane-analyze: a scratch folder, running the
// program and the reference tools without a shell, and test files made by
// sox or written from samples made here.
#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

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
// Runs orvane-analyze with these arguments.
ProgramRun runAnalyze(const std::vector<std::string>& arguments);
// The program's JSON report (an array, keys in their order), or a failed
// expectation and an empty array.
nlohmann::ordered_json jsonOf(const ProgramRun& run);

// sox -R -r RATE -c CHANNELS -n -b 16 PATH synth FRAMESs EFFECTS...
void synthesize(const std::string& path, int rate, int channels, long frames,
                const std::vector<std::string>& effects);
// A 32-bit float WAV file holding these interleaved samples.
void writeFloatWav(const std::string& path, int rate, int channels, const std::vector<float>& interleaved);

// The figure {"value", "unit"} as the program wrote it, rounded to float.
float valueOf(const nlohmann::ordered_json& figure);
