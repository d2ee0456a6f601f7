// The Linux editor shows what the Windows editor shows: the project's BMP
// reader, given the files orvane.rc names, yields what the system makes of
// the same resources in the plug-in DLLs, pixel for pixel.
#include "gui/BmpPicture.h"
#include "tests/support/resourceScript.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace {

const char* const kPlugins[] = {"orvane.dll", "orvane_x2.dll"};
constexpr WORD kSystemBitsPerPixel = 32;

BmpPicture copyPixels(HBITMAP bitmap)
{
    BITMAP description{};
    if (GetObjectA(bitmap, sizeof description, &description) != sizeof description)
        return {};
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = description.bmWidth;
    // Negative: top row first, as the reader gives them.
    format.bmiHeader.biHeight = -description.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = kSystemBitsPerPixel;
    format.bmiHeader.biCompression = BI_RGB;
    BmpPicture picture;
    picture.width = description.bmWidth;
    picture.height = description.bmHeight;
    picture.pixels.resize(static_cast<std::size_t>(picture.width) * picture.height);
    HDC screen = GetDC(nullptr);
    const int rows =
        GetDIBits(screen, bitmap, 0, picture.height, picture.pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return rows == picture.height ? picture : BmpPicture{};
}

// The resource as the editor loads it (LoadBitmapA), read back by the system
// as 32-bit pixels: blue, green, red and a zero byte, which is 0x00RRGGBB.
BmpPicture systemPicture(HMODULE module, std::int32_t id)
{
    HBITMAP bitmap = LoadBitmapA(module, MAKEINTRESOURCEA(id));
    if (!bitmap)
        return {};
    BmpPicture picture = copyPixels(bitmap);
    DeleteObject(bitmap);
    return picture;
}

class PictureDecodingTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_NE(module, nullptr) << GetParam(); }
    void TearDown() override
    {
        if (module)
            FreeLibrary(module);
    }

    HMODULE module = LoadLibraryA(GetParam());
};

TEST_P(PictureDecodingTest, ReaderGivesWhatTheSystemGives)
{
    const std::vector<BitmapResource> resources = bitmapResources(ORVANE_SOURCE_DIR);
    ASSERT_FALSE(resources.empty());
    for (const BitmapResource& resource : resources) {
        SCOPED_TRACE(::testing::Message() << resource.id << " " << resource.file);
        const std::vector<std::uint8_t> file = fileBytes(ORVANE_SOURCE_DIR "/" + resource.file);
        const BmpPicture ours = decodeBmp(file.data(), file.size());
        const BmpPicture system = systemPicture(module, resource.id);
        ASSERT_FALSE(system.empty());
        ASSERT_EQ(ours.width, system.width);
        ASSERT_EQ(ours.height, system.height);
        ASSERT_EQ(ours.pixels.size(), system.pixels.size());
        const auto difference = std::mismatch(ours.pixels.begin(), ours.pixels.end(), system.pixels.begin());
        if (difference.first != ours.pixels.end()) {
            const auto at = difference.first - ours.pixels.begin();
            ADD_FAILURE() << "first difference at " << at % ours.width << ", " << at / ours.width << ": ours "
                          << std::hex << *difference.first << ", the system's " << *difference.second;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, PictureDecodingTest, ::testing::ValuesIn(kPlugins),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return std::string(info.param) == "orvane.dll" ? "base" : "x2";
                         });

} // namespace
