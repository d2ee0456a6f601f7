#include "tests/analysis/analysisTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// Two days of stereo at 192 kHz since the last reset, in whole blocks.
constexpr std::int64_t kTwoDaysFrames = std::int64_t{48} * 3600 * 192000;

// The first block after a reset replaces every running value. For DC 0.5 the
// Hamming window's spectrum shows: 552.7 (half the window's sum) in bin 0,
// 235.6 in bin 1, and below 0.08 elsewhere but for the single-precision
// transform's leakage at bins 511 and 1023 (observed 0.081 and 0.132).
TEST(SpectrumAveraging, FirstDcBlock)
{
    auto analyzer = makeAnalyzer();
    analyse(*analyzer, 2, constantSignal(0.5));
    EXPECT_EQ(analyzer->meanAbsolute, 0.5f);
    EXPECT_EQ(analyzer->channelRms[0], 0.5f);
    EXPECT_EQ(analyzer->channelRms[1], 0.5f);
    EXPECT_EQ(analyzer->overallRms, 0.5f);
    for (int c = 0; c < 2; ++c) {
        EXPECT_NEAR(analyzer->channelSpectrum[c][0], 552.74f, 0.01f);
        EXPECT_NEAR(analyzer->channelSpectrum[c][1], 235.57f, 0.01f);
        for (int k = 2; k < Analyzer::kSpectrumBins; ++k)
            ASSERT_LT(analyzer->channelSpectrum[c][k], k == 511 || k == 1023 ? 0.15f : 0.08f) << k;
    }
    for (int k = 0; k < Analyzer::kSpectrumBins; ++k)
        ASSERT_NEAR(analyzer->combinedSpectrum[k], std::sqrt(2.0f) * analyzer->channelSpectrum[0][k],
                    1e-6f * analyzer->combinedSpectrum[k])
            << k;
    EXPECT_EQ(analyzer->spectrumCount, 1);
    EXPECT_EQ(analyzer->slowSpectrumCount, 1);
    EXPECT_EQ(analyzer->fastSpectrumCount, 1);
}

TEST(SpectrumAveraging, MonoMirrorsChannelZero)
{
    auto analyzer = makeAnalyzer();
    analyzer->channelSpectrum[1][5] = 9.0f;
    analyse(*analyzer, 1, sineSignal(1000.0));
    EXPECT_NEAR(analyzer->channelRms[0], std::sqrt(0.5f), 1e-3f); // 46.4 cycles, not a whole number
    EXPECT_EQ(analyzer->channelRms[1], analyzer->channelRms[0]);
    EXPECT_EQ(analyzer->overallRms, analyzer->channelRms[0]);
    EXPECT_EQ(analyzer->channelSpectrum[1][5], 9.0f);
    for (int k = 0; k < Analyzer::kSpectrumBins; ++k)
        ASSERT_NEAR(analyzer->combinedSpectrum[k], analyzer->channelSpectrum[0][k],
                    1e-6f * analyzer->channelSpectrum[0][k])
            << k;

    auto stereo = makeAnalyzer();
    analyse(*stereo, 2, sineSignal(1000.0));
    EXPECT_EQ(stereo->channelRms[1], stereo->channelRms[0]);
    EXPECT_EQ(stereo->overallRms, stereo->channelRms[0]);
}

// Weighted by frames: a block of zeros that is not yet silent pulls every
// running value halfway to zero after one full block. The combined spectrum
// blends it in twice (slow pass, then fast pass, both with count 1).
TEST(SpectrumAveraging, RunningValuesWeighEveryBlock)
{
    auto analyzer = makeAnalyzer();
    analyse(*analyzer, 2, constantSignal(0.5));
    const float firstBin = analyzer->channelSpectrum[0][0];
    analyse(*analyzer, 2, constantSignal(0.0));
    EXPECT_EQ(analyzer->meanAbsolute, 0.25f);
    EXPECT_EQ(analyzer->channelRms[1], std::sqrt(0.125f));
    EXPECT_EQ(analyzer->overallRms, std::sqrt(0.125f));
    EXPECT_NEAR(analyzer->channelSpectrum[0][0], firstBin / std::sqrt(2.0f), 1e-4f);
    EXPECT_NEAR(analyzer->combinedSpectrum[0], std::sqrt(2.0f) * firstBin / 4.0f, 1e-4f);
    EXPECT_EQ(analyzer->analysedFrames, 4096);
    EXPECT_EQ(analyzer->spectrumCount, 2);
}

// The slow pass blends with its count, then the fast pass with its own: with
// counts 3 and 1, c = ((3 c0 + s) / 4 + s) / 2.
TEST(SpectrumAveraging, CombinedSpectrumTakesBothPasses)
{
    auto analyzer = makeAnalyzer();
    for (float& value : analyzer->combinedSpectrum)
        value = 100.0f;
    analyzer->slowSpectrumCount = 3;
    analyzer->fastSpectrumCount = 1;
    analyse(*analyzer, 2, constantSignal(0.5));
    const float s = std::sqrt(2.0f) * analyzer->channelSpectrum[0][0];
    EXPECT_NEAR(analyzer->combinedSpectrum[0], ((300.0f + s) / 4.0f + s) / 2.0f, 1e-3f);
    EXPECT_EQ(analyzer->slowSpectrumCount, 4);
    EXPECT_EQ(analyzer->fastSpectrumCount, 2);
}

TEST(SpectrumAveraging, FirstBlockAfterResetReplacesChannelRms)
{
    auto analyzer = makeAnalyzer();
    analyse(*analyzer, 2, constantSignal(0.5));
    analyzer->reset();
    EXPECT_EQ(analyzer->channelRms[0], 0.5f);
    analyse(*analyzer, 2, [](int c, int) { return c == 0 ? 0.25 : 0.125; });
    EXPECT_EQ(analyzer->channelRms[0], 0.25f);
    EXPECT_EQ(analyzer->channelRms[1], 0.125f);
    EXPECT_EQ(analyzer->meanAbsolute, 0.1875f);
}

// Frame counts and their products with the channel count past 32 bits.
TEST(SpectrumAveraging, TwoDaysOfFramesKeepTheWeighting)
{
    auto analyzer = makeAnalyzer(192000.0f);
    analyzer->analysedFrames = kTwoDaysFrames;
    analyzer->spectrumCount = static_cast<std::int32_t>(kTwoDaysFrames / Analyzer::kBlockFrames);
    analyzer->meanAbsolute = 0.5f;
    analyzer->overallRms = analyzer->channelRms[0] = analyzer->channelRms[1] = 0.5f;
    analyse(*analyzer, 2, constantSignal(0.5));
    EXPECT_EQ(analyzer->meanAbsolute, 0.5f);
    EXPECT_EQ(analyzer->overallRms, 0.5f);
    EXPECT_EQ(analyzer->analysedFrames, kTwoDaysFrames + Analyzer::kBlockFrames);
    // One block of zeros moves the means by 2048 / F: less than a float step.
    analyse(*analyzer, 2, constantSignal(0.0));
    EXPECT_EQ(analyzer->meanAbsolute, std::nextafter(0.5f, 0.0f));
    EXPECT_EQ(analyzer->channelRms[0], std::nextafter(0.5f, 0.0f));
}

} // namespace
