#include "tests/render/RenderFixture.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// At 44100 Hz, 10,240 frames exceed 0.2 s.
constexpr std::int32_t kFastDue = 5;
constexpr float kFullScale = kFastDue * Analyzer::kBlockFrames; // energy of rms 1.0

class LevelHistory : public RenderTest {
protected:
    LevelHistory()
    {
        for (std::size_t i = 0; i < kPictureBytes; ++i)
            before[i] = static_cast<std::uint8_t>(i * 7);
        std::memcpy(analyzer->levelHistoryImages[1], before, kPictureBytes);
    }

    const std::uint8_t* renderFastRow(float energy0, float energy1)
    {
        analyzer->fastLevelBlocks = kFastDue;
        analyzer->fastEnergy[0] = energy0;
        analyzer->fastEnergy[1] = energy1;
        render();
        return analyzer->levelHistoryImages[1];
    }

    std::uint8_t before[kPictureBytes]; // the fast history's rows
};

TEST_F(LevelHistory, RowsRunFromMinus96ToZeroDecibelsWithTicks)
{
    const std::vector<int> ticks =
        kBase ? std::vector<int>{13, 14,  34,  35,  55,  56,  75,  76,  77, 96,
                                 97, 117, 118, 138, 139, 159, 160, 180, 181}
              : std::vector<int>{25,  26,  27,  28,  29,  67,  68,  69,  70,  109, 110, 111, 112,
                                 150, 151, 152, 153, 154, 192, 193, 194, 195, 234, 235, 236, 237,
                                 275, 276, 277, 278, 279, 317, 318, 319, 320, 359, 360, 361, 362};
    const std::uint8_t* row = renderFastRow(0.0f, 0.0f); // -96 dB: only the ticks
    EXPECT_TRUE(litColumns(row, kBlue).empty());
    EXPECT_TRUE(litColumns(row, kGreen).empty());
    EXPECT_EQ(litColumns(row, kRed), ticks);
    EXPECT_EQ(std::memcmp(row + kPictureRowBytes, before, kPictureBytes - kPictureRowBytes), 0);
    EXPECT_EQ(levelHistory, std::vector<std::uint8_t>(row, row + kPictureBytes));

    row = renderFastRow(kFullScale, kFullScale / 4); // 0 dB and -6.02 dB
    for (int x = 0; x < kPictureWidth; ++x) {
        const int bright = rising(190, x, kPictureWidth);
        const int yellow = x < (kBase ? 188 : 375) ? bright : 0;
        const bool tick = std::find(ticks.begin(), ticks.end(), x) != ticks.end();
        ASSERT_EQ(pixelOf(row, x, 0), (Pixel{bright, yellow, tick ? 245 : yellow})) << "pixel " << x;
    }
}

// A level above 0 dB stops at the right edge instead of running into the next row.
TEST_F(LevelHistory, BarsAboveZeroDecibelsAreClippedAtTheEdge)
{
    const std::uint8_t* row = renderFastRow(4 * kFullScale, INFINITY);
    EXPECT_EQ(litColumns(row, kBlue).size(), static_cast<std::size_t>(kPictureWidth));
    EXPECT_EQ(litColumns(row, kGreen).size(), static_cast<std::size_t>(kPictureWidth));
    EXPECT_EQ(std::memcmp(row + kPictureRowBytes, before, kPictureRowBytes), 0);
}

} // namespace
