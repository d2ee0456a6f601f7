// Files analysed in parallel are reported in the order of the arguments,
// folders walked in the order of their paths, the same as one at a time;
// one file's blocks and channels spread over several threads give the bytes
// of one thread.
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace {

namespace fs = std::filesystem;

// Every file under `folder` by its path below it, with its bytes.
std::map<std::string, std::string> filesUnder(const std::string& folder)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder))
        if (entry.is_regular_file()) {
            std::ifstream in(entry.path(), std::ios::binary);
            files[fs::relative(entry.path(), folder).string()] =
                std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
    return files;
}

// A name with characters JSON must escape, and a byte that is not UTF-8,
// which the report replaces by U+FFFD.
const std::string kOddName = "quote\" back\\slash\ttab \xff.wav";
const std::string kOddNameInJson = "quote\" back\\slash\ttab \xEF\xBF\xBD.wav";

TEST(AnalyzeParallel, ReportsFollowTheArgumentsWhateverFinishesFirst)
{
    const ScratchFolder folder;
    std::filesystem::create_directories(folder / "set/a");
    std::filesystem::create_directories(folder / "set/b");
    synthesize(folder / "long.wav", 44100, 2, 20 * 44100, {"pinknoise"});
    synthesize(folder / "set/b/take.wav", 44100, 1, 44100, {"sine", "300"});
    synthesize(folder / "set/a/take.flac", 48000, 2, 2 * 48000, {"sine", "500"});
    std::ofstream(folder / "set/a/notes.txt") << "not audio\n";
    synthesize(folder / kOddName, 44100, 2, 3 * 44100, {"sine", "700"});
    synthesize(folder / "short.wav", 44100, 2, 4096, {"sine", "900"});
    const std::vector<std::string> files = {folder / "long.wav", folder / "set", folder / kOddName,
                                            folder / "short.wav"};

    std::vector<std::string> parallel = {"--json", "--jobs", "3", "--png", folder / "pictures"};
    parallel.insert(parallel.end(), files.begin(), files.end());
    const ProgramRun run = runAnalyze(parallel);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << "no progress bar off a terminal: " << run.err;
    const auto report = jsonOf(run);
    const std::vector<std::string> order = {folder / "long.wav", folder / "set/a/take.flac",
                                            folder / "set/b/take.wav", folder / kOddNameInJson,
                                            folder / "short.wav"};
    ASSERT_EQ(report.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        EXPECT_EQ(report[i]["file"], order[i]);
    EXPECT_EQ(report[2]["pictures"][0], folder / "pictures/take-2-histogram.png") << "one name, two files";

    std::vector<std::string> oneAtATime = {"--json", "--jobs", "1", "--png", folder / "pictures"};
    oneAtATime.insert(oneAtATime.end(), files.begin(), files.end());
    EXPECT_EQ(runAnalyze(oneAtATime).out, run.out);
}

// Each file spans several of the reader's chunks and ends in a partial
// block. The stereo one clips (true-peak overs in the level plot), fades
// to quiet blocks that still need their spectra, and pauses for longer
// than half a second (silent blocks left out); the others take the mono
// and many-channel paths, LFE left out of the loudness.
TEST(AnalyzeParallel, OneFileOnSeveralThreadsGivesTheBytesOfOneThread)
{
    struct Signal {
        const char* name;
        int rate;
        int channels;
        long frames;
        std::vector<std::string> effects;
    };
    const Signal signals[] = {
        {"stereo.wav",
         44100,
         2,
         12 * 44100,
         {"pinknoise", "gain", "4", "fade", "q", "0.5", "12", "2", "pad", "2@4", "1.5@9"}},
        {"mono.flac", 22050, 1, 9 * 22050 + 77, {"sine", "200-4000", "tremolo", "2", "90"}},
        {"surround.wav", 48000, 6, 4 * 48000 + 1000, {"pinknoise", "tremolo", "0.7", "60"}},
    };
    const ScratchFolder folder;
    for (const Signal& signal : signals) {
        SCOPED_TRACE(signal.name);
        const std::string file = folder / signal.name;
        synthesize(file, signal.rate, signal.channels, signal.frames, signal.effects);
        const std::string out = folder / "out";
        const auto analyse = [&](const char* jobs) {
            fs::remove_all(out);
            const ProgramRun run =
                runAnalyze({"--json", "--quiet", "--jobs", jobs, "--png", out + "/pictures", "--plot",
                            out + "/plots", "--html", out + "/report.html", file});
            EXPECT_EQ(run.status, 0) << run.err;
            return std::make_pair(run.out, filesUnder(out));
        };
        const auto oneThread = analyse("1");
        ASSERT_EQ(oneThread.second.size(), 4u + 4u + 1u) << "pictures, plots and the page";
        for (const char* jobs : {"2", "5"}) {
            const auto threads = analyse(jobs);
            EXPECT_EQ(threads.first, oneThread.first) << "the report with --jobs " << jobs;
            ASSERT_EQ(threads.second.size(), oneThread.second.size());
            for (const auto& [name, bytes] : oneThread.second)
                EXPECT_TRUE(threads.second.at(name) == bytes) << name << " differs with --jobs " << jobs;
        }
    }
}

} // namespace
