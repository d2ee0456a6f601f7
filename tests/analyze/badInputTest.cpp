// Bad input: each file is named with its reason, the exit status says that
// something failed, and the good files of the same call are still analysed.
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>

namespace {

using Bytes = std::string;

void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

Bytes little(std::uint32_t value, int size)
{
    Bytes bytes;
    for (int i = 0; i < size; ++i)
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// A well-formed WAV header and a second of 16-bit data, with the given
// format tag and channel count.
Bytes wav(int formatTag, int channels)
{
    constexpr int kRate = 44100, kBits = 16, kDataBytes = 4 * kRate;
    const int align = std::max(channels, 1) * kBits / 8;
    const Bytes format = little(formatTag, 2) + little(channels, 2) + little(kRate, 4) +
                         little(kRate * align, 4) + little(align, 2) + little(kBits, 2) + little(0, 2);
    const Bytes body = "WAVEfmt " + little(format.size(), 4) + format + "data" + little(kDataBytes, 4) +
                       Bytes(kDataBytes, '\x10');
    return "RIFF" + little(body.size(), 4) + body;
}

void cutInHalf(const std::string& path)
{
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
}

struct BadInput {
    const char* name;
    std::function<void(const std::string& path)> make;
    const char* reason;
};

const BadInput kBadInputs[] = {
    {"missing.wav", [](const std::string&) {}, "missing: no such file"},
    {"loop.wav", [](const std::string& path) { symlink(path.c_str(), path.c_str()); }, "unreadable: "},
    {"folder", [](const std::string& path) { std::filesystem::create_directory(path); },
     "folder holds no audio files"},
    {"pipe.wav", [](const std::string& path) { mkfifo(path.c_str(), 0600); }, "not a regular file"},
    {"zero-bytes.wav", [](const std::string& path) { writeBytes(path, ""); }, "empty: the file has no bytes"},
    {"no-frames.wav", [](const std::string& path) { writeFloatWav(path, 44100, 2, {}); },
     "empty: no audio frames"},
    {"notes.wav", [](const std::string& path) { writeBytes(path, "Mastering notes: louder.\n"); },
     "not audio, or in a format libsndfile does not read"},
    {"wma.wav", [](const std::string& path) { writeBytes(path, wav(0x161, 2)); },
     "unsupported or malformed audio: "},
    {"zero-channels.wav", [](const std::string& path) { writeBytes(path, wav(1, 0)); },
     "unsupported or malformed audio: Channel count is zero."},
    {"cut.wav",
     [](const std::string& path) {
         synthesize(path, 44100, 2, 44100, {"sine", "440"});
         cutInHalf(path);
     },
     "truncated: its header declares 176400 bytes of audio"},
    {"cut.flac",
     [](const std::string& path) {
         synthesize(path, 44100, 2, 88200, {"pinknoise"});
         cutInHalf(path);
     },
     "truncated: "},
};

TEST(AnalyzeBadInput, EachFileIsNamedWithItsReasonAndTheGoodOnesAreStillAnalysed)
{
    const ScratchFolder folder;
    const std::string good = folder / "good.wav";
    synthesize(good, 44100, 2, 44100, {"sine", "1000"});
    std::vector<std::string> arguments = {"--json", "--jobs", "3", good};
    for (const BadInput& input : kBadInputs) {
        input.make(folder / input.name);
        arguments.push_back(folder / input.name);
    }
    arguments.push_back(good);
    const ProgramRun run = runAnalyze(arguments);
    const auto report = jsonOf(run);

    EXPECT_EQ(run.status, 1);
    ASSERT_EQ(report.size(), std::size(kBadInputs) + 2);
    for (const std::size_t i : {std::size_t{0}, report.size() - 1}) {
        EXPECT_TRUE(report[i]["error"].is_null()) << report[i]["error"];
        EXPECT_TRUE(report[i]["measures"].is_object()) << "the good file was analysed";
    }
    for (std::size_t i = 0; i < std::size(kBadInputs); ++i) {
        const BadInput& input = kBadInputs[i];
        SCOPED_TRACE(input.name);
        const auto& entry = report[i + 1];
        EXPECT_EQ(entry["file"], folder / input.name);
        EXPECT_EQ(entry["error"].get<std::string>().rfind(input.reason, 0), 0u) << entry["error"];
        EXPECT_FALSE(entry.contains("measures"));
        const std::string message = "orvane-analyze: " + folder / input.name + ": " + input.reason;
        EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    }
}

} // namespace
