// Files analysed in parallel are reported in the order of the arguments,
// folders walked in the order of their paths, the same as one at a time.
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

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

} // namespace
