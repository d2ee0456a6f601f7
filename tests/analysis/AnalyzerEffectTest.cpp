#include "analysis/Analyzer.h"
#include "host/opcodes.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr const char* kLogFile = "C:\\temp\\orvlog.txt";

// Stereo test audio whose samples are all distinct, loud enough never to be silent.
struct Stereo {
    explicit Stereo(std::size_t frames, float offset = 0.0f) : left(frames), right(frames)
    {
        for (std::size_t i = 0; i < frames; ++i) {
            left[i] = 0.5f * std::sin(0.01f * static_cast<float>(i) + offset);
            right[i] = 0.25f * std::cos(0.013f * static_cast<float>(i) + offset);
        }
    }
    float* channels[2] = {nullptr, nullptr};
    float** stereo()
    {
        channels[0] = left.data();
        channels[1] = right.data();
        return channels;
    }
    float** mono()
    {
        channels[0] = left.data();
        channels[1] = nullptr;
        return channels;
    }
    std::vector<float> left;
    std::vector<float> right;
};

// Runs the test in a folder of its own, so that tests running in parallel,
// which all append to the log, cannot change its line count meanwhile.
class PrivateWorkingFolder {
public:
    PrivateWorkingFolder()
    {
        char name[] = "logtest-XXXXXX";
        EXPECT_NE(mkdtemp(name), nullptr);
        folder = name;
        EXPECT_EQ(chdir(folder.c_str()), 0);
    }
    ~PrivateWorkingFolder()
    {
        std::remove(kLogFile);
        EXPECT_EQ(chdir(".."), 0);
        rmdir(folder.c_str());
    }

private:
    std::string folder;
};

std::size_t logLines()
{
    std::ifstream log(kLogFile);
    std::size_t lines = 0;
    for (std::string line; std::getline(log, line);) {
        EXPECT_EQ(line, "process()");
        ++lines;
    }
    return lines;
}

class AnalyzerEffectTest : public ::testing::Test {
protected:
    std::int32_t blocksAnalysed() const { return analyzer->fastLevelBlocks; }
    std::unique_ptr<Analyzer> analyzer = std::make_unique<Analyzer>(nullptr);
};

TEST_F(AnalyzerEffectTest, StartsWithItsDefaults)
{
    EXPECT_STREQ(analyzer->programName, "Default");
    EXPECT_TRUE(analyzer->zoomHistogram);
    EXPECT_FALSE(analyzer->logFrequencyAxis);
    EXPECT_FALSE(analyzer->slowLevelHistory);
    EXPECT_FALSE(analyzer->slowSpectrogram);
    const AnalyzerMeasures zero{};
    EXPECT_EQ(std::memcmp(&analyzer->measures, &zero, sizeof zero), 0);
    EXPECT_EQ(analyzer->getParameter(0), 1.0f);
    EXPECT_EQ(analyzer->getParameter(1234), 1.0f);
    analyzer->setParameter(0, 0.25f);
    EXPECT_EQ(analyzer->getParameter(0), 1.0f);
}

TEST_F(AnalyzerEffectTest, PassThroughIsBitExactOutOfPlaceAndInPlace)
{
    // Every kind of float a host may hand over: NaNs with payloads, denormals, infinities.
    std::vector<std::uint32_t> bits = {0x7FC00001u, 0xFFBADBADu, 0x00000001u, 0x807FFFFFu, 0x7F800000u,
                                       0xFF800000u, 0x80000000u, 0x3F800000u, 0xC2C80000u};
    for (std::uint32_t i = 0; i < 3000; ++i)
        bits.push_back(i * 2654435761u);
    const std::size_t frames = bits.size();
    std::vector<float> inLeft(frames), inRight(frames);
    std::memcpy(inLeft.data(), bits.data(), frames * sizeof(float));
    for (std::size_t i = 0; i < frames; ++i)
        inRight[frames - 1 - i] = inLeft[i];
    std::vector<float> outLeft(frames, 0.0f), outRight(frames, 0.0f);
    float* inputs[2] = {inLeft.data(), inRight.data()};
    float* outputs[2] = {outLeft.data(), outRight.data()};
    analyzer->processReplacing(inputs, outputs, static_cast<std::int32_t>(frames));
    EXPECT_EQ(std::memcmp(outLeft.data(), inLeft.data(), frames * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(outRight.data(), inRight.data(), frames * sizeof(float)), 0);

    const std::vector<float> before = inLeft;
    analyzer->processReplacing(inputs, inputs, static_cast<std::int32_t>(frames));
    EXPECT_EQ(std::memcmp(inLeft.data(), before.data(), frames * sizeof(float)), 0);
}

TEST_F(AnalyzerEffectTest, MissingOutputChannelIsSkippedButBothInputsAreAnalysed)
{
    Stereo in(2048);
    std::vector<float> out0(2048, 9.0f);
    float* outputs[2] = {out0.data(), nullptr};
    analyzer->processReplacing(in.stereo(), outputs, 2048);
    EXPECT_EQ(out0, in.left);
    EXPECT_EQ(std::memcmp(analyzer->blockBuffer[1], in.right.data(), 2048 * sizeof(float)), 0);
}

TEST_F(AnalyzerEffectTest, MissingInputChannelMakesTheCallMono)
{
    Stereo in(100);
    std::vector<float> out0(100), out1(100, 9.0f);
    float* outputs[2] = {out0.data(), out1.data()};
    analyzer->processReplacing(in.mono(), outputs, 100);
    EXPECT_EQ(out0, in.left);
    EXPECT_EQ(out1, std::vector<float>(100, 9.0f));
    EXPECT_EQ(analyzer->blockFill, 100);
    EXPECT_EQ(analyzer->blockBuffer[1][0], 0.0f);
}

TEST_F(AnalyzerEffectTest, MissingArraysCountAsMissingChannels)
{
    Stereo in(64);
    std::vector<float> out0(64, 9.0f), out1(64, 9.0f);
    float* outputs[2] = {out0.data(), out1.data()};
    analyzer->processReplacing(nullptr, outputs, 64);
    EXPECT_EQ(out0, std::vector<float>(64, 9.0f));
    EXPECT_EQ(analyzer->blockFill, 0);
    analyzer->processReplacing(in.stereo(), nullptr, 64);
    EXPECT_EQ(analyzer->blockFill, 64);
    analyzer->process(nullptr, nullptr, 64);
    EXPECT_EQ(analyzer->blockFill, 64);
}

TEST_F(AnalyzerEffectTest, EveryProcessCallAppendsOneLogLineByTheTimeTheEffectIsGone)
{
    const PrivateWorkingFolder folder;
    DebugLog log(kLogFile);
    auto effect = std::make_unique<Analyzer>(nullptr, &log);
    Stereo in(10);
    effect->process(in.stereo(), nullptr, 10);
    effect->process(in.stereo(), nullptr, 0);
    effect->process(in.stereo(), nullptr, -5);
    float* noInput[2] = {nullptr, in.right.data()};
    effect->process(noInput, nullptr, 10);
    effect->processReplacing(in.stereo(), in.stereo(), 10);
    // Only the two calls with frames and a first input gathered anything.
    EXPECT_EQ(effect->blockFill, 20);
    effect.reset();
    EXPECT_EQ(logLines(), 5u);
}

TEST_F(AnalyzerEffectTest, FramesAreGatheredIntoBlocksOf2048)
{
    Stereo in(5000);
    analyzer->process(in.stereo(), nullptr, 5000);
    EXPECT_EQ(blocksAnalysed(), 2);
    EXPECT_EQ(analyzer->blockFill, 904);
    // The partial block holds the last 904 frames of the call.
    EXPECT_EQ(analyzer->blockBuffer[0][903], in.left[4999]);
    EXPECT_EQ(analyzer->blockBuffer[1][0], in.right[4096]);
    Stereo more(1144);
    analyzer->process(more.stereo(), nullptr, 1144);
    EXPECT_EQ(blocksAnalysed(), 3);
    EXPECT_EQ(analyzer->blockFill, 0);
}

TEST_F(AnalyzerEffectTest, SmallCallsCompleteABlockEvery32nd)
{
    Stereo in(64);
    for (int call = 1; call <= 96; ++call) {
        analyzer->process(in.stereo(), nullptr, 64);
        EXPECT_EQ(blocksAnalysed(), call / 32) << "call " << call;
    }
}

TEST_F(AnalyzerEffectTest, StereoBlockCompletedByAMonoCallIsMono)
{
    Stereo in(2048);
    analyzer->process(in.stereo(), nullptr, 1000);
    analyzer->process(in.mono(), nullptr, 1048);
    ASSERT_EQ(blocksAnalysed(), 1);
    std::int64_t channel1 = 0;
    for (std::int64_t count : analyzer->levelHistogram[1])
        channel1 += count;
    EXPECT_EQ(channel1, 0);
}

TEST_F(AnalyzerEffectTest, MonoBlockCompletedByAStereoCallIsStereoWithOldChannel1Frames)
{
    Stereo first(2048, 1.0f);
    analyzer->process(first.stereo(), nullptr, 2048);
    Stereo second(2048, 2.0f);
    analyzer->process(second.mono(), nullptr, 1000);
    analyzer->process(second.stereo(), nullptr, 1048);
    ASSERT_EQ(blocksAnalysed(), 2);
    // Channel 1's first 1000 frames are what the previous block left there.
    EXPECT_EQ(std::memcmp(analyzer->blockBuffer[1], first.right.data(), 1000 * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(analyzer->blockBuffer[1] + 1000, second.right.data(), 1048 * sizeof(float)), 0);
    std::int64_t channel1 = 0;
    for (std::int64_t count : analyzer->levelHistogram[1])
        channel1 += count;
    EXPECT_EQ(channel1, 2 * 2048);
}

TEST_F(AnalyzerEffectTest, ResetDropsThePartialBlock)
{
    Stereo in(3000);
    analyzer->process(in.stereo(), nullptr, 3000);
    analyzer->reset();
    EXPECT_EQ(analyzer->blockFill, 0);
    EXPECT_EQ(analyzer->analysedFrames, 0);
    EXPECT_EQ(blocksAnalysed(), 0);
    analyzer->process(in.stereo(), nullptr, 2047);
    EXPECT_EQ(blocksAnalysed(), 0);
    analyzer->process(in.stereo(), nullptr, 1);
    EXPECT_EQ(blocksAnalysed(), 1);
}

TEST_F(AnalyzerEffectTest, SuspendAndResumeLeaveTheAnalysisAlone)
{
    Stereo in(3000);
    analyzer->process(in.stereo(), nullptr, 3000);
    const std::int64_t frames = analyzer->analysedFrames;
    AEffect* record = analyzer->record();
    record->dispatcher(record, effMainsChanged, 0, 0, nullptr, 0.0f);
    record->dispatcher(record, effMainsChanged, 0, 1, nullptr, 0.0f);
    EXPECT_EQ(analyzer->blockFill, 3000 - 2048);
    EXPECT_EQ(analyzer->analysedFrames, frames);
}

} // namespace
