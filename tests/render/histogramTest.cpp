#include "tests/render/RenderFixture.h"

namespace {

class Histogram : public RenderTest {
protected:
    // Columns whose top row has the grid's red, which no bar's top reaches here.
    std::vector<int> gridColumns()
    {
        std::vector<int> columns;
        for (int x = 0; x < kPictureWidth; ++x)
            if (pixelOf(histogram.data(), x, kPictureHeight - 1)[kRed] == 200)
                columns.push_back(x);
        return columns;
    }

    // Rows of column x lit in blue (channel 0) or green (channel 1).
    int barRows(int x, int channel)
    {
        int rows = 0;
        while (rows < kPictureHeight &&
               pixelOf(histogram.data(), x, rows)[channel == 0 ? kBlue : kGreen] != 0)
            ++rows;
        return rows;
    }
};

TEST_F(Histogram, GridAndBarsWithoutZoom)
{
    analyzer->zoomHistogram = false;
    analyzer->levelHistogram[0][36] = 1000;
    analyzer->levelHistogram[0][13] = 30;
    analyzer->levelHistogram[1][24] = 5;
    render();
    std::vector<int> grid;
    for (int bin = 10; bin < 100; bin += 10)
        grid.push_back(2 * kDisplayScale * bin);
    EXPECT_EQ(gridColumns(), grid);

    const int column = 2 * kDisplayScale;                // per bin
    EXPECT_EQ(barRows(13 * column, 0), kBase ? 48 : 96); // ln 31 / ln 1001 of the height
    EXPECT_EQ(barRows(24 * column, 1), kBase ? 25 : 50);
    EXPECT_EQ(barRows(24 * column, 0), 0);
    for (int j = 0; j < kPictureHeight; ++j) {
        ASSERT_EQ(pixelOf(histogram.data(), 36 * column, j), (Pixel{rising(200, j, kPictureHeight), 0, 0}));
        ASSERT_EQ(pixelOf(histogram.data(), grid[0], j), (Pixel{0, 0, 200}));
    }
}

// Zoom spreads the bins up to the highest one occupied in either channel, so a
// mono stream (channel 1 empty) and the louder of two channels keep their range.
TEST_F(Histogram, ZoomCoversTheWiderChannel)
{
    const std::vector<int> upToBin36 =
        kBase ? std::vector<int>{55, 109, 163} : std::vector<int>{109, 217, 325};
    const int highestBins[][2] = {{36, -1}, {19, 36}, {36, 19}, {36, 36}};
    for (const auto& highest : highestBins) {
        analyzer->reset();
        analyzer->analysedFrames = Analyzer::kBlockFrames;
        for (int channel = 0; channel < 2; ++channel)
            for (int bin = 0; bin <= highest[channel]; ++bin)
                analyzer->levelHistogram[channel][bin] = 3;
        const int louder = highest[0] == 36 ? 0 : 1;
        analyzer->levelHistogram[louder][36] = 1000;
        render();
        EXPECT_EQ(gridColumns(), upToBin36) << highest[0] << ", " << highest[1];
        EXPECT_EQ(barRows(kPictureWidth - 1, louder), kPictureHeight) << "the last column shows bin 36";
    }
    analyzer->reset();
    analyzer->analysedFrames = Analyzer::kBlockFrames;
    render();
    EXPECT_EQ(histogram, std::vector<std::uint8_t>(kPictureBytes, 0)) << "both channels empty";
}

} // namespace
