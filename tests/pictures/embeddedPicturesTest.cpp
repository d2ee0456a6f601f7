// The pictures a build without resources carries: the very files that
// orvane.rc names for Windows, under the same ids, and decoded to the sizes
// and colours the resource generator draws.
#include "resources/embeddedPictures.h"
#include "gui/BmpPicture.h"
#include "tests/support/resourceScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

struct PictureSize {
    std::int32_t id;
    std::int32_t width;
    std::int32_t height;
};

const PictureSize kSizes[] = {
    {101, 108, 204}, {102, 64, 16},  {103, 30, 32},    {104, 518, 206}, {105, 200, 76},
    {115, 60, 64},   {119, 128, 32}, {120, 1036, 412}, {121, 400, 152}, {122, 216, 408},
};

BmpPicture embedded(std::int32_t id)
{
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    return findEmbeddedPicture(id, &data, &size) ? decodeBmp(data, size) : BmpPicture{};
}

TEST(EmbeddedPictures, AreTheFilesOfTheResourceScript)
{
    const std::vector<BitmapResource> resources = bitmapResources(ORVANE_SOURCE_DIR);
    std::vector<std::int32_t> ids;
    for (const BitmapResource& resource : resources)
        ids.push_back(resource.id);
    std::vector<std::int32_t> expectedIds;
    for (const PictureSize& size : kSizes)
        expectedIds.push_back(size.id);
    EXPECT_EQ(ids, expectedIds);

    for (const BitmapResource& resource : resources) {
        SCOPED_TRACE(resource.file);
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        ASSERT_TRUE(findEmbeddedPicture(resource.id, &data, &size));
        const std::vector<std::uint8_t> file = fileBytes(ORVANE_SOURCE_DIR "/" + resource.file);
        ASSERT_FALSE(file.empty());
        EXPECT_TRUE(std::equal(file.begin(), file.end(), data, data + size));
    }
}

TEST(EmbeddedPictures, OtherIdsHaveNone)
{
    for (std::int32_t id : {0, -101, 100, 106, 114, 116, 118, 123}) {
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        EXPECT_FALSE(findEmbeddedPicture(id, &data, &size)) << id;
    }
}

TEST(EmbeddedPictures, DecodeToTheirSizes)
{
    for (const PictureSize& expected : kSizes) {
        const BmpPicture picture = embedded(expected.id);
        EXPECT_EQ(picture.width, expected.width) << expected.id;
        EXPECT_EQ(picture.height, expected.height) << expected.id;
        EXPECT_EQ(picture.pixels.size(), static_cast<std::size_t>(expected.width) * expected.height)
            << expected.id;
    }
}

constexpr std::uint32_t kWhite = 0xFFFFFF;
constexpr std::uint32_t kPictureGrey = 0xECECEC;
constexpr std::uint32_t kDisplayField = 0xDEE0E3;
constexpr std::uint32_t kPanelHighlight = 0xE8EBF0;
constexpr std::uint32_t kPanelShadow = 0x969BA4;
constexpr std::uint32_t kFieldShadow = 0xA0A4AB;
constexpr std::uint32_t kFieldLight = 0xF4F5F7;
// The editor leaves this colour out of the frame's background.
constexpr std::uint32_t kTransparentYellow = 0xFFFF00;

struct ColourCount {
    std::int32_t id;
    std::uint32_t colour;
    bool everywhere; // or nowhere
};

// The picture bases and the base build's display field are plain fills; the
// backgrounds must show through everywhere.
const ColourCount kColourCounts[] = {
    {105, kWhite, true},
    {121, kPictureGrey, true},
    {102, kDisplayField, true},
    {101, kTransparentYellow, false},
    {122, kTransparentYellow, false},
};

TEST(EmbeddedPictures, PlainPicturesAreOneColour)
{
    for (const ColourCount& test : kColourCounts) {
        const BmpPicture picture = embedded(test.id);
        ASSERT_FALSE(picture.empty()) << test.id;
        const auto count = std::count(picture.pixels.begin(), picture.pixels.end(), test.colour);
        EXPECT_EQ(count, test.everywhere ? static_cast<std::ptrdiff_t>(picture.pixels.size()) : 0) << test.id;
    }
}

struct KnownPixel {
    std::int32_t id;
    std::int32_t x;
    std::int32_t y;
    std::uint32_t colour;
};

// Bevelled edges, light at the top and left, dark at the bottom and right:
// the rows come out the right way up, at both scales and in 24 and 8 bits.
const KnownPixel kKnownPixels[] = {
    {101, 0, 0, kPanelHighlight}, {101, 0, 203, kPanelHighlight}, {101, 107, 203, kPanelShadow},
    {122, 1, 1, kPanelHighlight}, {122, 0, 407, kPanelHighlight}, {122, 215, 407, kPanelShadow},
    {119, 0, 0, kFieldShadow},    {119, 127, 31, kFieldLight},    {119, 64, 16, kDisplayField},
};

TEST(EmbeddedPictures, EdgesHaveTheirColours)
{
    for (const KnownPixel& test : kKnownPixels) {
        const BmpPicture picture = embedded(test.id);
        ASSERT_FALSE(picture.empty()) << test.id;
        EXPECT_EQ(picture.pixels[static_cast<std::size_t>(test.y * picture.width + test.x)], test.colour)
            << test.id << " at " << test.x << ", " << test.y;
    }
}

} // namespace
