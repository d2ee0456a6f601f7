// The pictures a build without resources carries: the very files orvane.rc
// names for Windows, under the same ids, with the sizes the editor expects
// and the plain colours the resource generator fills them with.
#include "resources/embeddedPictures.h"
#include "gui/BmpPicture.h"
#include "tests/support/resourceScript.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <utility>
#include <vector>

namespace {

const struct {
    std::int32_t id, width, height;
} kSizes[] = {{101, 108, 204}, {102, 64, 16},  {103, 30, 32},    {104, 518, 206}, {105, 200, 76},
              {115, 60, 64},   {119, 128, 32}, {120, 1036, 412}, {121, 400, 152}, {122, 216, 408}};

BmpPicture embedded(std::int32_t id)
{
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    return findEmbeddedPicture(id, &data, &size) ? decodeBmp(data, size) : BmpPicture{};
}

TEST(EmbeddedPictures, AreTheResourceScriptsFilesWithTheirSizes)
{
    const std::vector<BitmapResource> resources = bitmapResources(ORVANE_SOURCE_DIR);
    ASSERT_EQ(resources.size(), std::size(kSizes));
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    for (std::size_t i = 0; i < resources.size(); ++i) {
        SCOPED_TRACE(resources[i].file);
        ASSERT_EQ(resources[i].id, kSizes[i].id);
        ASSERT_TRUE(findEmbeddedPicture(resources[i].id, &data, &size));
        EXPECT_EQ(std::vector<std::uint8_t>(data, data + size),
                  fileBytes(ORVANE_SOURCE_DIR "/" + resources[i].file));
        const BmpPicture picture = decodeBmp(data, size);
        EXPECT_EQ(picture.width, kSizes[i].width);
        EXPECT_EQ(picture.height, kSizes[i].height);
    }
    for (std::int32_t id : {0, 100, 106, 114, 123})
        EXPECT_FALSE(findEmbeddedPicture(id, &data, &size)) << id;
}

TEST(EmbeddedPictures, PlainPicturesAreOneColour)
{
    // The picture bases, white and light grey, and the base build's display field.
    const std::pair<std::int32_t, std::uint32_t> plain[] = {
        {105, 0xFFFFFF}, {121, 0xECECEC}, {102, 0xDEE0E3}};
    for (const auto& [id, colour] : plain) {
        const BmpPicture picture = embedded(id);
        ASSERT_FALSE(picture.empty()) << id;
        EXPECT_TRUE(std::all_of(picture.pixels.begin(), picture.pixels.end(),
                                [colour = colour](std::uint32_t pixel) { return pixel == colour; }))
            << id;
    }
}

} // namespace
