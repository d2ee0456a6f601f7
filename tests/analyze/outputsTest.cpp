// Pictures and report files appear whole or not at all, and the level
// history is drawn as an editor refreshed after every block draws it.
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

namespace {

namespace fs = std::filesystem;

constexpr const char* kPictures[] = {"histogram", "spectrum", "levelhistory", "spectrogram"};
constexpr int kRgb = 3;

std::set<std::string> namesIn(const std::string& folder)
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.insert(entry.path().filename().string());
    return names;
}

bool topRowLit(const Png& png)
{
    for (int i = 0; i < png.width * kRgb; ++i)
        if (png.rgb[static_cast<std::size_t>(i)] != 0)
            return true;
    return false;
}

class AnalyzeOutputs : public ::testing::Test {
protected:
    // 50 s: a fast history row takes five blocks (0.23 s), so more rows than
    // the level history has at either scale (96 or 192).
    void SetUp() override { synthesize(song, 44100, 2, 50 * 44100, {"pinknoise", "tremolo", "0.5", "60"}); }

    const ScratchFolder folder;
    const std::string song = folder / "song.wav";
};

TEST_F(AnalyzeOutputs, PicturesAreWholePngFilesWithAFullHistoryAtBothScales)
{
    const struct {
        const char* scale;
        int width;
        int height;
    } kScales[] = {{"1", 200, 96}, {"2", 400, 192}};
    for (const auto& scale : kScales) {
        SCOPED_TRACE(scale.scale);
        const std::string pictures = folder / ("pictures" + std::string(scale.scale));
        const ProgramRun run = runAnalyze({"--no-loudness", "--png", pictures, "--scale", scale.scale, song});
        ASSERT_EQ(run.status, 0) << run.err;
        std::set<std::string> expected;
        for (const char* picture : kPictures) {
            const std::string name = std::string("song-") + picture + ".png";
            expected.insert(name);
            const Png png = readPng(pictures + "/" + name);
            EXPECT_EQ(png.width, scale.width) << name;
            EXPECT_EQ(png.height, scale.height) << name;
        }
        EXPECT_EQ(namesIn(pictures), expected) << "no temporary file is left";
        EXPECT_TRUE(topRowLit(readPng(pictures + "/song-levelhistory.png"))) << "the history reached its top";
    }
}

TEST_F(AnalyzeOutputs, AFileThatCannotBeWrittenLeavesNothingPartial)
{
    const std::string pictures = folder / "pictures";
    fs::create_directories(pictures + "/song-spectrum.png");
    const ProgramRun blocked = runAnalyze({"--no-loudness", "--png", pictures, song});
    EXPECT_EQ(blocked.status, 1);
    EXPECT_NE(blocked.err.find("song-spectrum.png"), std::string::npos) << blocked.err;
    EXPECT_EQ(namesIn(pictures), (std::set<std::string>{"song-histogram.png", "song-spectrum.png"}));
    EXPECT_EQ(readPng(pictures + "/song-histogram.png").width, 200);

    const ProgramRun unwritable = runAnalyze({"--json", "--output", folder / "missing/report.json", song});
    EXPECT_EQ(unwritable.status, 1);
    EXPECT_FALSE(fs::exists(folder / "missing"));

    const ProgramRun written = runAnalyze({"--json", "--output", folder / "report.json", song});
    EXPECT_EQ(written.status, 0) << written.err;
    EXPECT_TRUE(written.out.empty());
    EXPECT_EQ(nlohmann::json::parse(std::ifstream(folder / "report.json")).size(), 1u);
    EXPECT_EQ(namesIn(folder.path), (std::set<std::string>{"song.wav", "pictures", "report.json"}));
}

} // namespace
