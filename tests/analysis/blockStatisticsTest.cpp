#include "tests/analysis/analysisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

constexpr int kLastBin = Analyzer::kHistogramBins - 1;

auto squareWave()
{
    return [](int, int i) { return (i & 1) ? 1.0 : -1.0; };
}

TEST(BlockStatistics, ZeroBlockIsQuietAndInBinZero)
{
    auto analyzer = makeAnalyzer();
    analyse(*analyzer, 2, constantSignal(0.0));
    EXPECT_EQ(analyzer->runningPeak, 0.0f);
    EXPECT_EQ(analyzer->quietCount, 4096);
    EXPECT_EQ(analyzer->levelHistogram[0][0], 2048);
    EXPECT_EQ(analyzer->levelHistogram[1][0], 2048);
    EXPECT_EQ(analyzer->silentRun, 2048);
    EXPECT_EQ(analyzer->analysedFrames, 2048);
}

TEST(BlockStatistics, SquareWaveCountsNearPeakFromTheSecondBlock)
{
    auto analyzer = makeAnalyzer();
    analyse(*analyzer, 2, squareWave());
    EXPECT_EQ(analyzer->nearPeakCount, 0);
    EXPECT_EQ(analyzer->runningPeak, 1.0f);
    EXPECT_EQ(analyzer->levelHistogram[0][kLastBin], 2048);
    EXPECT_EQ(analyzer->levelHistogram[1][kLastBin], 2048);
    analyse(*analyzer, 2, squareWave());
    EXPECT_EQ(analyzer->nearPeakCount, 4096);
    EXPECT_EQ(analyzer->slowEnergy[0], 4096.0f);
    EXPECT_EQ(analyzer->fastLevelBlocks, 2);
}

// The sum of absolute values is a double; the sums of squares are floats
// rounded after every addition. After a first sample of 1.0, a float sum
// loses each of the later 5e-8 terms, a double keeps them.
TEST(BlockStatistics, SumsRoundAsTheyShould)
{
    const float x = 2.236068e-4f; // x * x is just below half a float step at 1.0
    const float y = 5e-8f;
    auto analyzer = makeAnalyzer();
    analyse(*analyzer, 2, [&](int c, int i) { return i == 0 ? (c == 0 ? 1.0f : 0.0f) : (c == 0 ? x : y); });
    const double absoluteSum = 1.0 + 2047.0 * (static_cast<double>(x) + static_cast<double>(y));
    EXPECT_NEAR(analyzer->meanAbsolute, absoluteSum / 4096.0, 1e-10);
    EXPECT_EQ(analyzer->slowEnergy[0], 1.0f);
    EXPECT_EQ(analyzer->channelRms[0], static_cast<float>(std::sqrt(1.0 / 2048.0)));
}

TEST(BlockStatistics, ThresholdsAreStrict)
{
    auto analyzer = makeAnalyzer();
    analyzer->runningPeak = 0.5f;
    const float nearPeakLevel = 0.708f * 0.5f;
    const float samples[] = {nearPeakLevel, std::nextafter(nearPeakLevel, 1.0f), 0.0158f,
                             std::nextafter(0.0158f, 0.0f)};
    analyse(*analyzer, 1, [&](int, int i) { return samples[i % 4]; });
    EXPECT_EQ(analyzer->nearPeakCount, 512);
    EXPECT_EQ(analyzer->quietCount, 512);

    // At or below the guard of 0.1, nothing is near the peak, however loud.
    auto guarded = makeAnalyzer();
    guarded->runningPeak = 0.1f;
    analyse(*guarded, 2, squareWave());
    EXPECT_EQ(guarded->nearPeakCount, 0);
}

// Beyond full scale, infinite, not a number or denormal: the block completes,
// no sample leaves a trace in the histogram that it should not, and (under
// the sanitizers) no conversion or index goes out of range.
TEST(BlockStatistics, BadSamplesFollowTheFailureRules)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float samples[] = {
        1.5f,    -1e30f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::denorm_min(),
        1.0001f, -0.5f};
    auto loud = makeAnalyzer();
    analyse(*loud, 2, [&](int c, int i) { return c == 0 ? samples[i % 6] : 0.25f; });
    EXPECT_EQ(loud->runningPeak, 1e30f);
    EXPECT_EQ(loud->levelHistogram[0][0], 341);  // the denormals
    EXPECT_EQ(loud->levelHistogram[0][49], 341); // the -0.5 samples
    std::int32_t binned = 0;
    for (std::int64_t count : loud->levelHistogram[0])
        binned += count;
    EXPECT_EQ(binned, 2 * 341);
    EXPECT_EQ(loud->levelHistogram[1][24], 2048);
    EXPECT_EQ(loud->quietCount, 341);
    EXPECT_EQ(loud->analysedFrames, 2048);

    auto infinite = makeAnalyzer();
    analyse(*infinite, 1, [&](int, int i) { return i == 7 ? -inf : 0.5f; });
    EXPECT_EQ(infinite->runningPeak, inf);
    EXPECT_EQ(infinite->levelHistogram[0][49], 2047);
    analyse(*infinite, 1, constantSignal(0.5));
    EXPECT_EQ(infinite->nearPeakCount, 0);
}

TEST(BlockStatistics, MonoBlockLeavesChannelOneAlone)
{
    auto analyzer = makeAnalyzer();
    analyzer->levelHistogram[1][3] = 7;
    analyzer->slowEnergy[1] = 2.0f;
    analyzer->fastEnergy[1] = 3.0f;
    analyse(*analyzer, 1, squareWave());
    EXPECT_EQ(analyzer->levelHistogram[1][3], 7);
    EXPECT_EQ(analyzer->levelHistogram[1][kLastBin], 0);
    EXPECT_EQ(analyzer->slowEnergy[1], 2.0f);
    EXPECT_EQ(analyzer->fastEnergy[1], 3.0f);
    EXPECT_EQ(analyzer->levelHistogram[0][kLastBin], 2048);
}

// At 44100 Hz half a second is 22050 frames: the eleventh quiet block
// (22528 frames) is the first silent one; at 48000 Hz the twelfth.
TEST(BlockStatistics, SilenceBeginsAfterHalfASecondOfQuietBlocks)
{
    for (const auto& [rate, firstSilent] : {std::pair{44100.0f, 11}, std::pair{48000.0f, 12}}) {
        auto analyzer = makeAnalyzer(rate);
        for (int block = 1; block < firstSilent; ++block) {
            analyse(*analyzer, 2, constantSignal(0.00005));
            EXPECT_FALSE(analyzer->silent) << rate << " block " << block;
        }
        const std::int64_t analysed = analyzer->analysedFrames;
        const std::int64_t quiet = analyzer->quietCount;
        analyse(*analyzer, 2, constantSignal(-0.00009));
        EXPECT_TRUE(analyzer->silent);
        EXPECT_EQ(analyzer->analysedFrames, analysed);
        EXPECT_EQ(analyzer->quietCount, quiet);
        EXPECT_EQ(analyzer->levelHistogram[0][0], 2048 * (firstSilent - 1));
        // A silent block still feeds the peak and the level history.
        EXPECT_EQ(analyzer->runningPeak, 0.00009f);
        EXPECT_EQ(analyzer->slowLevelBlocks, firstSilent);

        analyse(*analyzer, 2, constantSignal(0.0001));
        EXPECT_FALSE(analyzer->silent);
        EXPECT_EQ(analyzer->silentRun, 0);
        EXPECT_EQ(analyzer->analysedFrames, analysed + 2048);
    }
}

// A silence of days: the run saturates instead of wrapping to a short one.
TEST(BlockStatistics, SilentRunSaturates)
{
    auto analyzer = makeAnalyzer(192000.0f);
    analyzer->silentRun = std::numeric_limits<std::int32_t>::max() - 1000;
    analyse(*analyzer, 2, constantSignal(0.0));
    EXPECT_EQ(analyzer->silentRun, std::numeric_limits<std::int32_t>::max());
    analyse(*analyzer, 2, constantSignal(0.0));
    EXPECT_EQ(analyzer->silentRun, std::numeric_limits<std::int32_t>::max());
    EXPECT_TRUE(analyzer->silent);
}

// Two days of full-scale stereo at 192 kHz put 3.3e10 samples into one bin:
// the count goes on past the 32-bit limit.
TEST(BlockStatistics, HistogramBinsCountPastThe32BitLimit)
{
    auto analyzer = makeAnalyzer();
    const std::int64_t twoDaysAt192k = 48LL * 3600 * 192000;
    analyzer->levelHistogram[0][kLastBin] = twoDaysAt192k;
    analyzer->levelHistogram[1][kLastBin] = std::numeric_limits<std::int32_t>::max();
    analyse(*analyzer, 2, squareWave());
    EXPECT_EQ(analyzer->levelHistogram[0][kLastBin], twoDaysAt192k + 2048);
    EXPECT_EQ(analyzer->levelHistogram[1][kLastBin],
              std::int64_t{std::numeric_limits<std::int32_t>::max()} + 2048);
}

// The accumulator decides the channel count per call: the call that
// completes a block decides how it is analysed.
TEST(BlockStatistics, TheCallCompletingABlockDecidesItsChannels)
{
    std::vector<float> left(1024, 0.5f), right(1024, 0.25f);
    float* stereo[2] = {left.data(), right.data()};
    float* mono[2] = {left.data(), nullptr};

    auto toMono = makeAnalyzer();
    toMono->process(stereo, nullptr, 1024);
    toMono->process(mono, nullptr, 1024);
    EXPECT_EQ(toMono->channelRms[0], 0.5f);
    EXPECT_EQ(toMono->channelRms[1], 0.5f);
    EXPECT_EQ(toMono->levelHistogram[1][24], 0);

    auto toStereo = makeAnalyzer();
    for (float& sample : toStereo->blockBuffer[1])
        sample = -0.75f;
    toStereo->process(mono, nullptr, 1024);
    toStereo->process(stereo, nullptr, 1024);
    EXPECT_EQ(toStereo->levelHistogram[1][74], 1024);
    EXPECT_EQ(toStereo->levelHistogram[1][24], 1024);
    EXPECT_EQ(toStereo->runningPeak, 0.75f);
}

TEST(BlockStatistics, ResetInTheMiddleOfABlockDropsItsFrames)
{
    std::vector<float> loud(1024, 0.9f), soft(2048, 0.1f);
    float* first[2] = {loud.data(), loud.data()};
    float* second[2] = {soft.data(), soft.data()};
    auto analyzer = makeAnalyzer();
    analyzer->process(first, nullptr, 1024);
    analyzer->reset();
    analyzer->process(second, nullptr, 2048);
    EXPECT_EQ(analyzer->runningPeak, 0.1f);
    EXPECT_EQ(analyzer->analysedFrames, 2048);
    EXPECT_EQ(analyzer->blockFill, 0);
}

} // namespace
