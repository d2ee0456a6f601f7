#include "tests/render/RenderFixture.h"

#include <algorithm>

namespace {

using Columns = std::vector<int>;
constexpr float kBright = 10.0f; // beyond the colour map's last entry
constexpr Pixel kWhite{255, 254, 255};

class Spectrum : public RenderTest {
protected:
    // Every row of column x carries a line's gradient from `base` in `byte`.
    void expectLine(int x, int byte, int base)
    {
        for (int j = 0; j < kPictureHeight; ++j)
            ASSERT_EQ(pixelOf(spectrum.data(), x, j)[byte], rising(base, j, kPictureHeight))
                << x << ", " << j;
    }

    const std::uint8_t* renderFastSpectrogramRow(bool logAxis)
    {
        analyzer->fastSpectrumCount = 5;
        render();
        return analyzer->spectrogramImages[logAxis ? 3 : 2];
    }
};

TEST_F(Spectrum, FrequencyLinesAt44100Hertz)
{
    render();
    const Columns fiveKilohertz = kBase ? Columns{46, 91, 137, 182} : Columns{92, 182, 273, 363};
    EXPECT_EQ(litColumns(spectrum.data(), kRed), fiveKilohertz);
    EXPECT_EQ(litColumns(spectrum.data(), kGreen)[0], kBase ? 10 : 19);
    EXPECT_EQ(litColumns(spectrum.data(), kGreen).size(), 17u) << "every other kilohertz up to 22 kHz";
    EXPECT_TRUE(litColumns(spectrum.data(), kBlue).empty()) << "no bars while every bin is silent";
    expectLine(fiveKilohertz[0], kRed, 200);
    expectLine(kBase ? 10 : 19, kGreen, 150);

    analyzer->logFrequencyAxis = true;
    render();
    const Columns hundreds = kBase ? Columns{47, 67, 77, 85, 92, 97, 101, 105, 108}
                                   : Columns{93, 133, 153, 170, 184, 193, 202, 210, 216};
    EXPECT_EQ(litColumns(spectrum.data(), kRed), hundreds);
    EXPECT_EQ(litColumns(spectrum.data(), kGreen)[0], kBase ? 112 : 223);
    expectLine(hundreds[0], kRed, 150);
    expectLine(kBase ? 112 : 223, kGreen, 150);
}

TEST_F(Spectrum, BarsAreLinearInDecibelsFromQuietestToLoudest)
{
    std::fill(analyzer->channelSpectrum[0], analyzer->channelSpectrum[0] + Analyzer::kSpectrumBins, 1.0f);
    const int greenLine = kBase ? 10 : 19;
    const int shownBin = Analyzer::kSpectrumBins * greenLine / kPictureWidth;
    analyzer->channelSpectrum[0][shownBin] = analyzer->channelSpectrum[1][shownBin] = 0.5f; // -6.02 dB
    render();
    const int rows = kBase ? 90 : 180; // of -96 dB (channel 1's silence) to 0 dB
    for (int j = 0; j < kPictureHeight; ++j) {
        const int bar = j < rows ? rising(200, j, kPictureHeight) : 0;
        // Channel 1's bar overwrites the green line below its top.
        const Pixel expected{bar, j < rows ? bar : rising(150, j, kPictureHeight), bar};
        ASSERT_EQ(pixelOf(spectrum.data(), greenLine, j), expected) << "row " << j;
        ASSERT_EQ(pixelOf(spectrum.data(), 0, j)[kBlue], rising(200, j, kPictureHeight));
    }
}

TEST_F(Spectrum, SpectrogramRowsShowLinearAndLogarithmicBins)
{
    analyzer->combinedSpectrum[Analyzer::kSpectrumBins / 2] = kBright;
    analyzer->combinedSpectrum[1] = kBright;
    EXPECT_EQ(litColumns(renderFastSpectrogramRow(false), kRed), Columns{kPictureWidth / 2});
    // 1024^(x / width) stays below 2 up to column 20 (40 in the x2 build).
    EXPECT_EQ(litColumns(analyzer->spectrogramImages[3], kRed).size(), 20u * kDisplayScale + 1);

    // Column 20 k (40 k) shows bin 2^k - 1, just below each power of two.
    for (int k = 2; k < 10; ++k) {
        analyzer->combinedSpectrum[(1 << k) - 1] = kBright;
        EXPECT_EQ(pixelOf(renderFastSpectrogramRow(true), 20 * kDisplayScale * k, 0), kWhite) << k;
        analyzer->combinedSpectrum[(1 << k) - 1] = 0.0f;
    }
    analyzer->combinedSpectrum[kBase ? 989 : 1006] = kBright;
    EXPECT_EQ(pixelOf(renderFastSpectrogramRow(true), kPictureWidth - 1, 0), kWhite);
}

} // namespace
