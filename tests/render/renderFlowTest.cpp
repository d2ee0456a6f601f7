#include "tests/render/RenderFixture.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr std::int32_t kMaxCount = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kMinCount = std::numeric_limits<std::int32_t>::min();

class RenderFlow : public RenderTest {
protected:
    // Level histories filled with 10 and 11, spectrograms with 20 to 23.
    RenderFlow()
    {
        for (int i = 0; i < 2; ++i)
            std::memset(analyzer->levelHistoryImages[i], 10 + i, kPictureBytes);
        for (int i = 0; i < 4; ++i)
            std::memset(analyzer->spectrogramImages[i], 20 + i, kPictureBytes);
    }
};

TEST_F(RenderFlow, NothingAnalysedSinceResetTouchesOnlyTheHistogram)
{
    analyzer->levelHistogram[0][5] = 40;
    analyzer->analysedFrames = 0;
    analyzer->fastLevelBlocks = analyzer->slowSpectrumCount = 100000;
    const std::vector<std::uint8_t> previous(kPictureBytes, 0xAB);
    histogram = spectrum = levelHistory = spectrogram = previous;
    render();
    EXPECT_EQ(histogram, std::vector<std::uint8_t>(kPictureBytes, 0));
    EXPECT_EQ(spectrum, previous);
    EXPECT_EQ(levelHistory, previous);
    EXPECT_EQ(spectrogram, previous);
    EXPECT_EQ(analyzer->fastLevelBlocks, 100000);
    EXPECT_EQ(analyzer->slowSpectrumCount, 100000);
    EXPECT_EQ(analyzer->levelHistoryImages[1][0], 11);
    EXPECT_EQ(analyzer->spectrogramImages[0][0], 20);
}

// At 44100 Hz a slow row is due after 108 blocks (221,184 frames > 5 s) and a
// fast one after 5 (10,240 frames > 0.2 s); a history not due keeps its sums.
TEST_F(RenderFlow, HistoriesAreDueAfter108And5Blocks)
{
    using Flags = std::vector<bool>;
    // Whether the level history and the two spectrograms of a speed gained a row.
    const auto rowsAdded = [&](int level, int spectrograms) {
        return Flags{analyzer->levelHistoryImages[level][0] != 10 + level,
                     analyzer->spectrogramImages[spectrograms][0] != 20 + spectrograms,
                     analyzer->spectrogramImages[spectrograms + 1][0] != 21 + spectrograms};
    };
    const auto counters = [&](int speed) {
        return speed == 0 ? std::vector<int>{analyzer->slowLevelBlocks, analyzer->slowSpectrumCount}
                          : std::vector<int>{analyzer->fastLevelBlocks, analyzer->fastSpectrumCount};
    };
    analyzer->slowLevelBlocks = analyzer->slowSpectrumCount = 107;
    analyzer->fastLevelBlocks = analyzer->fastSpectrumCount = 4;
    analyzer->slowEnergy[0] = analyzer->fastEnergy[1] = 1.5f;
    render();
    EXPECT_EQ(rowsAdded(1, 2), Flags(3, false));
    EXPECT_EQ(counters(1), (std::vector<int>{4, 4}));
    EXPECT_EQ(analyzer->fastEnergy[1], 1.5f);

    analyzer->fastLevelBlocks = analyzer->fastSpectrumCount = 5;
    render();
    EXPECT_EQ(rowsAdded(1, 2), Flags(3, true));
    EXPECT_EQ(counters(1), (std::vector<int>{0, 0}));
    EXPECT_EQ(analyzer->fastEnergy[1], 0.0f);
    EXPECT_EQ(rowsAdded(0, 0), Flags(3, false));
    EXPECT_EQ(counters(0), (std::vector<int>{107, 107}));
    EXPECT_EQ(analyzer->slowEnergy[0], 1.5f);

    analyzer->slowLevelBlocks = analyzer->slowSpectrumCount = 108;
    render();
    EXPECT_EQ(rowsAdded(0, 0), Flags(3, true));
    EXPECT_EQ(counters(0), (std::vector<int>{0, 0}));
    EXPECT_EQ(analyzer->slowEnergy[0], 0.0f);
    EXPECT_EQ(analyzer->spectrogramImages[0][kPictureBytes - 1], 20) << "older rows move up";
}

TEST_F(RenderFlow, OptionsChooseTheShownHistories)
{
    for (int options = 0; options < 4; ++options) {
        const int slow = options & 1;
        const int log = options >> 1;
        analyzer->slowLevelHistory = analyzer->slowSpectrogram = slow != 0;
        analyzer->logFrequencyAxis = log != 0;
        render();
        EXPECT_EQ(levelHistory, std::vector<std::uint8_t>(kPictureBytes, 11 - slow)) << options;
        EXPECT_EQ(spectrogram, std::vector<std::uint8_t>(kPictureBytes, 22 + log - 2 * slow)) << options;
    }
}

// Non-numbers, infinities and absurd counts must neither index outside the
// pictures and tables nor convert an unrepresentable value to an integer; the
// native tests run under the sanitizers to catch either.
TEST_F(RenderFlow, NonFiniteStateStaysInsideThePictures)
{
    const float oddValues[] = {NAN, INFINITY, -INFINITY, -1.0f, -2.0f, 1e-45f, 3e38f, 0.0f};
    const std::int32_t oddCounts[] = {kMaxCount, kMinCount, -1, 0, 7};
    const float sampleRates[] = {44100.0f, 3e38f, 1e-30f};
    for (int bin = 0; bin < Analyzer::kSpectrumBins; ++bin) {
        analyzer->channelSpectrum[bin % 2][bin] = oddValues[bin % 8];
        analyzer->combinedSpectrum[bin] = oddValues[(bin / 3) % 8];
    }
    for (int bin = 0; bin < Analyzer::kHistogramBins; ++bin)
        analyzer->levelHistogram[bin % 2][bin] = oddCounts[bin % 5];
    analyzer->analysedFrames = std::numeric_limits<std::int64_t>::min();
    for (int round = 0; round < 12; ++round) {
        analyzer->setSampleRate(sampleRates[round % 3]);
        analyzer->zoomHistogram = (round & 1) != 0;
        analyzer->logFrequencyAxis = (round & 2) != 0;
        analyzer->slowEnergy[0] = NAN;
        analyzer->slowEnergy[1] = INFINITY;
        analyzer->fastEnergy[0] = -1.0f;
        analyzer->fastEnergy[1] = 3e38f;
        analyzer->slowLevelBlocks = analyzer->fastLevelBlocks = analyzer->slowSpectrumCount = kMaxCount;
        analyzer->fastSpectrumCount = kMinCount;
        render();
    }
    // The last round ran at 1e-30 Hz, where every positive counter is due: a
    // level that is not a number draws no bar, an infinite one stops at the edge.
    EXPECT_EQ(analyzer->slowLevelBlocks, 0);
    EXPECT_EQ(analyzer->slowSpectrumCount, 0);
    EXPECT_EQ(analyzer->fastSpectrumCount, kMinCount);
    for (const std::uint8_t* row : analyzer->levelHistoryImages) {
        EXPECT_TRUE(litColumns(row, kBlue).empty());
        EXPECT_EQ(litColumns(row, kGreen).size(), static_cast<std::size_t>(kPictureWidth));
    }
}

TEST_F(RenderFlow, MissingPictureChangesNothing)
{
    analyzer->fastLevelBlocks = 5;
    histogram.assign(kPictureBytes, 1);
    analyzer->renderGraphs(histogram.data(), spectrum.data(), nullptr, spectrogram.data());
    EXPECT_EQ(analyzer->fastLevelBlocks, 5);
    EXPECT_EQ(histogram[0], 1);
}

} // namespace

// The editor redraws only the pictures a rendering changed: a history
// picture changes when its history gains a row or another one is shown.
TEST_F(RenderFlow, ReportsWhichPicturesChanged)
{
    auto renderSnapshot = [&] {
        AnalysisSnapshot snapshot;
        analyzer->takeSnapshot(snapshot);
        return analyzer->renderGraphs(snapshot, histogram.data(), spectrum.data(), levelHistory.data(),
                                      spectrogram.data());
    };
    constexpr Analyzer::PictureChanges kAlwaysDrawn = 1 | 2;
    EXPECT_EQ(renderSnapshot(), kAlwaysDrawn | 4 | 8) << "first: the pictures take the histories";
    EXPECT_EQ(renderSnapshot(), kAlwaysDrawn) << "nothing new in the histories";
    analyzer->fastLevelBlocks = 5;
    EXPECT_EQ(renderSnapshot(), kAlwaysDrawn | 4) << "a fast level row";
    analyzer->fastSpectrumCount = 5;
    EXPECT_EQ(renderSnapshot(), kAlwaysDrawn | 8) << "a fast spectrogram row";
    analyzer->slowSpectrogram = true;
    EXPECT_EQ(renderSnapshot(), kAlwaysDrawn | 8) << "the slow spectrogram shown instead";
    analyzer->analysedFrames = 0;
    EXPECT_EQ(renderSnapshot(), 1u) << "nothing analysed: only the histogram is cleared";
}
