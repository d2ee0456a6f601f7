#include "analysis/decibels.h"
#include "tests/analysis/analysisTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

constexpr std::int64_t kTwoDaysFrames = std::int64_t{48} * 3600 * 192000;

bool allZero(const AnalyzerMeasures& measures)
{
    const AnalyzerMeasures zero = {};
    return std::memcmp(&measures, &zero, sizeof zero) == 0;
}

// A flat spectrum of ones, so each band share is its bin count over 1024.
void flatSpectrum(Analyzer& analyzer)
{
    for (auto& channel : analyzer.channelSpectrum)
        for (float& value : channel)
            value = 1.0f;
    analyzer.spectrumCount = 1;
}

TEST(SummaryMeasures, ToDecibels)
{
    EXPECT_EQ(toDecibels(1.0f), 0.0);
    EXPECT_NEAR(toDecibels(0.5f), -6.0206, 1e-4);
    EXPECT_EQ(toDecibels(0.0f), -96.0);
    EXPECT_EQ(toDecibels(-1.0f), -96.0);
    EXPECT_NEAR(toDecibels(0.000001f), -120.0, 1e-5);
}

TEST(SummaryMeasures, FirstBlockOfAFullScaleSquareWave)
{
    auto analyzer = makeAnalyzer();
    analyse(*analyzer, 2, [](int, int i) { return (i & 1) ? 1.0 : -1.0; });
    const AnalyzerMeasures& m = analyzer->measures;
    EXPECT_EQ(m.analysedSeconds, static_cast<float>(2048.0 / 44100.0));
    EXPECT_EQ(m.peakDb, 0.0f);
    EXPECT_EQ(m.rmsDb, 0.0f);
    EXPECT_EQ(m.balanceDb, 0.0f);
    EXPECT_EQ(m.rmsToMeanDb, 0.0f);
    EXPECT_EQ(m.quietPercent, 0.0f);
    EXPECT_EQ(m.nearPeakPercent, 0.0f); // the running peak was 0 while the block was counted
    analyzer->reset();
    EXPECT_TRUE(allZero(analyzer->measures));
}

TEST(SummaryMeasures, BalanceOfOneSilentChannel)
{
    auto analyzer = makeAnalyzer();
    analyse(*analyzer, 2, [](int c, int) { return c == 0 ? 0.5 : 0.0; });
    EXPECT_EQ(analyzer->measures.balanceDb, -96.0f);
    analyzer->reset();
    analyse(*analyzer, 2, [](int c, int) { return c == 1 ? 0.5 : 0.0; });
    EXPECT_EQ(analyzer->measures.balanceDb, 144.0f);
    analyse(*analyzer, 1, constantSignal(0.3));
    EXPECT_EQ(analyzer->measures.balanceDb, 0.0f);
}

// After a reset in a long silence nothing is analysed; only the peak moves,
// and the balance is the one from before (reset keeps channelRms).
TEST(SummaryMeasures, ResetDuringSilence)
{
    auto analyzer = makeAnalyzer();
    analyse(*analyzer, 2, [](int c, int) { return c == 0 ? 0.5 : 0.25; });
    for (int block = 0; block < 11; ++block)
        analyse(*analyzer, 2, constantSignal(0.0));
    analyzer->reset();
    analyse(*analyzer, 2, constantSignal(0.0));
    const AnalyzerMeasures& m = analyzer->measures;
    EXPECT_EQ(m.peakDb, -96.0f);
    analyse(*analyzer, 2, constantSignal(0.00002));
    EXPECT_EQ(m.analysedSeconds, 0.0f);
    EXPECT_EQ(m.quietPercent, 0.0f);
    EXPECT_EQ(m.nearPeakPercent, 0.0f);
    EXPECT_EQ(m.lowBandPercent, 0.0f);
    EXPECT_EQ(m.highBandPercent, 0.0f);
    EXPECT_EQ(m.rmsDb, -96.0f);
    EXPECT_EQ(m.rmsToMeanDb, 144.0f);
    EXPECT_EQ(m.peakDb, static_cast<float>(toDecibels(0.00002f)));
    EXPECT_NEAR(m.balanceDb, -6.0206f, 1e-4f);
}

// The window's leakage spreads a pure tone over many bins, so the shares
// are approximate: tolerances of 0.5, 0.15, 0.05 and 0.01 points.
TEST(SummaryMeasures, SineBandShares)
{
    struct Case {
        double hertz, low, lowTolerance, high, highTolerance;
    };
    for (const Case& tone : {Case{100.0, 91.0, 0.5, 3.6, 0.15}, Case{1000.0, 1.0, 0.05, 2.6, 0.05},
                             Case{5000.0, 0.03, 0.01, 99.0, 0.1}}) {
        auto analyzer = makeAnalyzer();
        analyse(*analyzer, 2, sineSignal(tone.hertz));
        EXPECT_NEAR(analyzer->measures.lowBandPercent, tone.low, tone.lowTolerance) << tone.hertz;
        EXPECT_NEAR(analyzer->measures.highBandPercent, tone.high, tone.highTolerance) << tone.hertz;
        if (tone.hertz == 1000.0) {
            EXPECT_NEAR(analyzer->measures.rmsToMeanDb, 0.91f, 0.01f);
        }
    }
}

// Band edges: trunc(512000 / rate) and trunc(7168000 / rate) bins, held to
// the spectrum at rates far outside the usual ones.
TEST(SummaryMeasures, BandEdgesFollowTheSampleRate)
{
    struct Case {
        float rate;
        int lowBins, highStart;
    };
    for (const Case& edge : {Case{32000.0f, 16, 224}, Case{44100.0f, 11, 162}, Case{48000.0f, 10, 149},
                             Case{96000.0f, 5, 74}, Case{0.001f, 1024, 1024}, Case{1e9f, 0, 0}}) {
        auto analyzer = makeAnalyzer(edge.rate);
        flatSpectrum(*analyzer);
        analyzer->updateMeasures(2);
        EXPECT_EQ(analyzer->measures.lowBandPercent, static_cast<float>(100.0 * edge.lowBins / 1024))
            << edge.rate;
        EXPECT_EQ(analyzer->measures.highBandPercent,
                  static_cast<float>(100.0 * (1024 - edge.highStart) / 1024))
            << edge.rate;
    }
}

TEST(SummaryMeasures, MonoCountsOnlyChannelZeroInTheBands)
{
    auto analyzer = makeAnalyzer();
    flatSpectrum(*analyzer);
    analyzer->channelSpectrum[1][0] = 1e6f;
    analyzer->updateMeasures(1);
    EXPECT_EQ(analyzer->measures.lowBandPercent, static_cast<float>(100.0 * 11 / 1024));
    analyzer->updateMeasures(2);
    EXPECT_GT(analyzer->measures.lowBandPercent, 99.0f);
}

// The new rate applies from the next block: seconds and the silence time
// follow it (ten quiet blocks at 44100 Hz, then one at 96000 Hz, whose half
// second is 48000 frames), nothing accumulated is cleared.
TEST(SummaryMeasures, SampleRateChangeBetweenBlocks)
{
    auto analyzer = makeAnalyzer(44100.0f);
    for (int block = 0; block < 10; ++block)
        analyse(*analyzer, 2, constantSignal(0.0));
    analyzer->setSampleRate(96000.0f);
    analyse(*analyzer, 2, constantSignal(0.0));
    EXPECT_FALSE(analyzer->silent);
    EXPECT_EQ(analyzer->measures.analysedSeconds, static_cast<float>(11 * 2048 / 96000.0));
    EXPECT_EQ(analyzer->spectrumCount, 11);
}

// Percentages and seconds stay right after two days at 192 kHz: counts and
// frame products far beyond 32 bits and beyond a float's exact integers.
TEST(SummaryMeasures, TwoDaysOfStereoAt192kHz)
{
    auto analyzer = makeAnalyzer(192000.0f);
    analyzer->analysedFrames = kTwoDaysFrames;
    analyzer->spectrumCount = static_cast<std::int32_t>(kTwoDaysFrames / Analyzer::kBlockFrames);
    analyzer->quietCount = kTwoDaysFrames / 2;
    analyzer->nearPeakCount = kTwoDaysFrames * 3 / 2;
    analyzer->updateMeasures(2);
    EXPECT_EQ(analyzer->measures.analysedSeconds, 172800.0f);
    EXPECT_EQ(analyzer->measures.quietPercent, 25.0f);
    EXPECT_EQ(analyzer->measures.nearPeakPercent, 75.0f);

    // Every sample of one more block is quiet: the share moves by exactly it.
    analyse(*analyzer, 2, constantSignal(0.001));
    const double samples = 2.0 * static_cast<double>(kTwoDaysFrames + Analyzer::kBlockFrames);
    EXPECT_EQ(analyzer->measures.quietPercent,
              static_cast<float>(100.0 * static_cast<double>(kTwoDaysFrames / 2 + 4096) / samples));
}

} // namespace
