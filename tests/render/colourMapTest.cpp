#include "tests/render/RenderFixture.h"

#include <cmath>

namespace {

using ColourMap = RenderTest;

TEST_F(ColourMap, EntriesAndMagnitudes)
{
    const auto entry = [&](int i) {
        const std::uint32_t v = analyzer->colourMap[i];
        return Pixel{static_cast<int>(v & 0xFF), static_cast<int>(v >> 8 & 0xFF), static_cast<int>(v >> 16)};
    };
    const auto colourOf = [&](float value) {
        std::uint8_t b = 1, g = 1, r = 1;
        analyzer->colourFor(value, &b, &g, &r);
        return Pixel{b, g, r};
    };
    const Pixel black{0, 0, 0};
    const Pixel last{255, 254, 255};
    // {blue, green, red}; the single-precision factors truncate entry 10 to blue 6.
    EXPECT_EQ(entry(10), (Pixel{6, 0, 0}));
    EXPECT_EQ(entry(255), (Pixel{178, 0, 0}));
    EXPECT_EQ(entry(256), (Pixel{178, 0, 0}));
    EXPECT_EQ(entry(511), (Pixel{0, 216, 0}));
    EXPECT_EQ(entry(512), (Pixel{0, 216, 0}));
    EXPECT_EQ(entry(600), (Pixel{0, 216, 88}));
    EXPECT_EQ(entry(767), (Pixel{0, 216, 255}));
    EXPECT_EQ(entry(800), (Pixel{32, 220, 255}));
    EXPECT_EQ(entry(1023), last);
    for (const std::uint32_t value : analyzer->colourMap)
        ASSERT_EQ(value >> 24, 0u);

    EXPECT_EQ(colourOf(0.0f), black);
    EXPECT_EQ(colourOf(1.0f), (Pixel{109, 83, 0}));     // 512 ln 2: entry 354
    EXPECT_EQ(colourOf(6.37f), (Pixel{254, 254, 255})); // entry 1022
    EXPECT_EQ(colourOf(6.38f), last);
    EXPECT_EQ(colourOf(INFINITY), last);
    EXPECT_EQ(colourOf(-0.5f), black);
    EXPECT_EQ(colourOf(-1.0f), black); // ln 0 is minus infinity
    // Below -1 the logarithm is not a number, which takes the last entry.
    EXPECT_EQ(colourOf(-2.0f), last);
    EXPECT_EQ(colourOf(NAN), last);
}

} // namespace
