// The editor's ten pictures as both plug-in DLLs carry them: loaded by the
// system the way the editor loads them, their stored headers, and the
// content the editor relies on (plain bases, no transparent colour in the
// backgrounds, light display fields, two distinct key states), and the
// project's own reader giving the same pixels from the BMP files.
#include "gui/BmpPicture.h"
#include "tests/support/resourceScript.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <ostream>
#include <string>
#include <tuple>
#include <vector>

namespace {

struct StoredBitmap {
    int id;
    LONG width;
    LONG height;
    WORD bitCount;
    DWORD compression;
};

void PrintTo(const StoredBitmap& bitmap, std::ostream* out)
{
    *out << "bitmap " << bitmap.id;
}

const StoredBitmap kBitmaps[] = {
    {101, 108, 204, 24, BI_RGB}, {102, 64, 16, 24, BI_RGB},   {103, 30, 32, 24, BI_RGB},
    {104, 518, 206, 24, BI_RGB}, {105, 200, 76, 4, BI_RGB},   {115, 60, 64, 8, BI_RGB},
    {119, 128, 32, 8, BI_RGB},   {120, 1036, 412, 8, BI_RGB}, {121, 400, 152, 8, BI_RLE8},
    {122, 216, 408, 8, BI_RGB},
};

const char* const kPlugins[] = {"orvane.dll", "orvane_x2.dll"};

std::string buildName(const char* file)
{
    return std::string(file) == "orvane.dll" ? "base" : "x2";
}

struct Rgb {
    std::uint8_t red, green, blue;
    bool operator==(const Rgb& other) const
    {
        return red == other.red && green == other.green && blue == other.blue;
    }
};

std::ostream& operator<<(std::ostream& out, const Rgb& colour)
{
    return out << '(' << int(colour.red) << ", " << int(colour.green) << ", " << int(colour.blue) << ')';
}

const Rgb kWhite{255, 255, 255};
const Rgb kPictureGrey{236, 236, 236};
// The editor leaves this colour out of the frame's background.
const Rgb kTransparentYellow{255, 255, 0};
// Black 12-pixel text must stay legible on a display's field.
const int kLightestDarkField = 180;

class Plugin {
public:
    explicit Plugin(const char* file) : module(LoadLibraryA(file)) {}
    ~Plugin()
    {
        if (module)
            FreeLibrary(module);
    }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    HMODULE module;
};

// A bitmap as the editor gets it (LoadBitmapA), read back as 24-bit pixels.
class LoadedPicture {
public:
    LoadedPicture(HMODULE module, int id) : handle(LoadBitmapA(module, MAKEINTRESOURCEA(id)))
    {
        BITMAP description{};
        if (handle && GetObjectA(handle, sizeof description, &description) == sizeof description) {
            width = description.bmWidth;
            height = description.bmHeight;
        }
    }
    ~LoadedPicture()
    {
        if (handle)
            DeleteObject(handle);
    }
    LoadedPicture(const LoadedPicture&) = delete;
    LoadedPicture& operator=(const LoadedPicture&) = delete;

    // Top row first; empty when the system cannot convert the bitmap.
    std::vector<Rgb> pixels() const
    {
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = width;
        format.bmiHeader.biHeight = -height;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 24;
        format.bmiHeader.biCompression = BI_RGB;
        const int stride = (3 * width + 3) & ~3;
        std::vector<std::uint8_t> rows(static_cast<std::size_t>(stride) * height);
        HDC screen = GetDC(nullptr);
        const int copied = GetDIBits(screen, handle, 0, height, rows.data(), &format, DIB_RGB_COLORS);
        ReleaseDC(nullptr, screen);
        std::vector<Rgb> result;
        if (copied != height)
            return result;
        for (int y = 0; y < height; ++y) {
            const std::uint8_t* row = rows.data() + static_cast<std::size_t>(y) * stride;
            for (int x = 0; x < width; ++x)
                result.push_back({row[3 * x + 2], row[3 * x + 1], row[3 * x]});
        }
        return result;
    }
    Rgb at(const std::vector<Rgb>& pixels, int x, int y) const { return pixels[y * width + x]; }

    HBITMAP handle;
    int width = 0;
    int height = 0;
};

// As 32-bit values, top row first: blue, green, red and 0, which is 0x00RRGGBB.
std::vector<std::uint32_t> systemPixels(const LoadedPicture& picture)
{
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = picture.width;
    format.bmiHeader.biHeight = -picture.height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(picture.width) * picture.height);
    HDC screen = GetDC(nullptr);
    const int copied =
        GetDIBits(screen, picture.handle, 0, picture.height, pixels.data(), &format, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    return copied == picture.height ? pixels : std::vector<std::uint32_t>{};
}

int countOf(const std::vector<Rgb>& pixels, const Rgb& colour)
{
    int count = 0;
    for (const Rgb& pixel : pixels)
        count += pixel == colour;
    return count;
}

int brightness(const Rgb& colour)
{
    return (299 * colour.red + 587 * colour.green + 114 * colour.blue) / 1000;
}

class BitmapResourceTest : public ::testing::TestWithParam<std::tuple<const char*, StoredBitmap>> {
protected:
    void SetUp() override { ASSERT_NE(plugin.module, nullptr) << std::get<0>(GetParam()); }
    const StoredBitmap& bitmap() const { return std::get<1>(GetParam()); }

    Plugin plugin{std::get<0>(GetParam())};
};

TEST_P(BitmapResourceTest, LoadsWithItsSize)
{
    LoadedPicture picture(plugin.module, bitmap().id);
    ASSERT_NE(picture.handle, nullptr);
    EXPECT_EQ(picture.width, bitmap().width);
    EXPECT_EQ(picture.height, bitmap().height);
}

TEST_P(BitmapResourceTest, StoredHeaderAndDataAreComplete)
{
    HRSRC resource = FindResourceA(plugin.module, MAKEINTRESOURCEA(bitmap().id), RT_BITMAP);
    ASSERT_NE(resource, nullptr);
    const DWORD size = SizeofResource(plugin.module, resource);
    const auto* header =
        static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(plugin.module, resource)));
    ASSERT_NE(header, nullptr);
    ASSERT_GE(size, sizeof *header);
    EXPECT_EQ(header->biSize, sizeof *header);
    EXPECT_EQ(header->biWidth, bitmap().width);
    // Positive: rows stored bottom-up.
    EXPECT_EQ(header->biHeight, bitmap().height);
    EXPECT_EQ(header->biPlanes, 1);
    EXPECT_EQ(header->biBitCount, bitmap().bitCount);
    EXPECT_EQ(header->biCompression, bitmap().compression);

    const DWORD maxColours = bitmap().bitCount <= 8 ? 1u << bitmap().bitCount : 0;
    EXPECT_LE(header->biClrUsed, maxColours);
    const DWORD colours = header->biClrUsed != 0 ? header->biClrUsed : maxColours;
    const DWORD stride = ((bitmap().width * bitmap().bitCount + 31) / 32) * 4;
    const DWORD pixelBytes = bitmap().compression == BI_RLE8 ? header->biSizeImage : stride * bitmap().height;
    EXPECT_GT(pixelBytes, 0u);
    EXPECT_GE(size, sizeof *header + colours * sizeof(RGBQUAD) + pixelBytes);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, BitmapResourceTest,
                         ::testing::Combine(::testing::ValuesIn(kPlugins), ::testing::ValuesIn(kBitmaps)),
                         [](const ::testing::TestParamInfo<BitmapResourceTest::ParamType>& info) {
                             return buildName(std::get<0>(info.param)) + "_" +
                                    std::to_string(std::get<1>(info.param).id);
                         });

class PictureContentTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override { ASSERT_NE(plugin.module, nullptr) << GetParam(); }

    Plugin plugin{GetParam()};
};

TEST_P(PictureContentTest, PictureBasesArePlain)
{
    const struct {
        int id;
        Rgb colour;
    } bases[] = {{105, kWhite}, {121, kPictureGrey}};
    for (const auto& base : bases) {
        LoadedPicture picture(plugin.module, base.id);
        const std::vector<Rgb> pixels = picture.pixels();
        ASSERT_EQ(pixels.size(), static_cast<std::size_t>(picture.width) * picture.height) << base.id;
        EXPECT_EQ(countOf(pixels, base.colour), static_cast<int>(pixels.size()))
            << base.id << ": first pixel " << pixels[0];
    }
}

TEST_P(PictureContentTest, FrameBackgroundsLeaveNothingOut)
{
    for (int id : {101, 122}) {
        LoadedPicture picture(plugin.module, id);
        const std::vector<Rgb> pixels = picture.pixels();
        ASSERT_FALSE(pixels.empty()) << id;
        EXPECT_EQ(countOf(pixels, kTransparentYellow), 0) << id;
    }
}

TEST_P(PictureContentTest, DisplayFieldsAreLightUnderTheText)
{
    for (int id : {102, 119}) {
        LoadedPicture picture(plugin.module, id);
        const std::vector<Rgb> pixels = picture.pixels();
        ASSERT_FALSE(pixels.empty()) << id;
        // The text is centred; its band is the middle half of the field.
        for (int y = picture.height / 4; y < 3 * picture.height / 4; ++y)
            for (int x = picture.width / 8; x < 7 * picture.width / 8; ++x)
                ASSERT_GE(brightness(picture.at(pixels, x, y)), kLightestDarkField)
                    << id << " at " << x << ", " << y << ": " << picture.at(pixels, x, y);
    }
}

TEST_P(PictureContentTest, ResetKeysShowTwoDifferentStates)
{
    for (int id : {103, 115}) {
        LoadedPicture picture(plugin.module, id);
        const std::vector<Rgb> pixels = picture.pixels();
        ASSERT_FALSE(pixels.empty()) << id;
        const std::size_t half = pixels.size() / 2;
        const std::vector<Rgb> raised(pixels.begin(), pixels.begin() + half);
        const std::vector<Rgb> pressed(pixels.begin() + half, pixels.end());
        EXPECT_NE(raised, pressed) << id;
    }
}

// The Linux editor decodes the files orvane.rc names with the project's
// reader; it must show what the Windows editor shows.
TEST_P(PictureContentTest, ProjectReaderGivesTheSystemsPixels)
{
    const std::vector<BitmapResource> resources = bitmapResources(ORVANE_SOURCE_DIR);
    ASSERT_EQ(resources.size(), std::size(kBitmaps));
    for (const BitmapResource& resource : resources) {
        const std::vector<std::uint8_t> file = fileBytes(ORVANE_SOURCE_DIR "/" + resource.file);
        const BmpPicture ours = decodeBmp(file.data(), file.size());
        LoadedPicture picture(plugin.module, resource.id);
        const std::vector<std::uint32_t> system = systemPixels(picture);
        ASSERT_EQ(ours.width, picture.width) << resource.id;
        ASSERT_EQ(ours.pixels.size(), system.size()) << resource.id;
        const auto same = std::mismatch(ours.pixels.begin(), ours.pixels.end(), system.begin()).first;
        EXPECT_EQ(same - ours.pixels.begin(), static_cast<std::ptrdiff_t>(system.size()))
            << resource.id << ": pixels alike before the first difference";
    }
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, PictureContentTest, ::testing::ValuesIn(kPlugins),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             return buildName(info.param);
                         });

} // namespace
