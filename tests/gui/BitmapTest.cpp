// Bitmaps loaded from this program's resources (testBitmaps.rc), drawn onto
// canvases whose pixels are read back exactly.
#include "tests/support/PlatformHandles.h"
#include "gui/Bitmap.h"
#include "gui/win32/Win32DrawContext.h"
#include "tests/gui/Canvas.h"
#include "tests/gui/testBitmaps.h"
#include "tests/support/GdiObjects.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace {

// The letters and grids of makeTestBitmaps.py.
const std::map<char, Color> kLetterColors = {
    {'W', {255, 255, 255, 0}}, {'w', {254, 255, 255, 0}}, {'v', {255, 254, 255, 0}},
    {'u', {255, 255, 254, 0}}, {'K', {0, 0, 0, 0}},       {'R', {255, 0, 0, 0}},
    {'G', {0, 255, 0, 0}},     {'B', {0, 0, 255, 0}},     {'M', {255, 0, 255, 0}},
    {'Y', {255, 255, 0, 0}},
};

using Grid = std::vector<std::string>;

const Grid kPattern = {
    "WWRRGGBB", "WwKKMMWW", "RGBWWYYv", "MMWWKKGu", "wWBBRRWM", "KWMWYWGW",
};
const Grid kFirstImage = {"RRRRRR", "RWWWWR", "RWKKWR", "RRRRRR"};
const Grid kSecondImage = {"BBBBBB", "BGGGGB", "BGYYGB", "BBBBBB"};
constexpr std::int32_t kBlankWidth = 5;
constexpr std::int32_t kBlankHeight = 3;

constexpr std::int32_t kCanvasSide = 24;
constexpr Color kScreen{10, 20, 30, 0};
const Point kPlace{5, 7};
const Point kNoOffset{0, 0};

Rect placed(const Grid& grid, const Point& at)
{
    return {at.x, at.y, at.x + std::int32_t(grid[0].size()), at.y + std::int32_t(grid.size())};
}

// Checks the whole canvas: inside the grid's place each pixel shows the grid's
// colour, or the screen where `leftOut` says so; outside it the screen stays.
void expectCanvas(const Canvas& canvas, const Grid& grid, const Point& at, const Color* leftOut)
{
    const Rect area = placed(grid, at);
    for (std::int32_t y = 0; y < canvas.height(); ++y) {
        for (std::int32_t x = 0; x < canvas.width(); ++x) {
            Color expected = kScreen;
            if (x >= area.left && x < area.right && y >= area.top && y < area.bottom) {
                const Color image = kLetterColors.at(grid[y - at.y][x - at.x]);
                expected = leftOut && image == *leftOut ? kScreen : image;
            }
            ASSERT_EQ(canvas.pixel(x, y), expected) << "at (" << x << ", " << y << ")";
        }
    }
}

// The bitmap's first reference, given back at the end of the test.
class HeldBitmap {
public:
    explicit HeldBitmap(std::int32_t resourceId) : bitmap(new Bitmap(resourceId)) {}
    ~HeldBitmap() { bitmap->release(); }
    HeldBitmap(const HeldBitmap&) = delete;
    HeldBitmap& operator=(const HeldBitmap&) = delete;
    Bitmap* operator->() const { return bitmap; }
    Bitmap& operator*() const { return *bitmap; }

private:
    Bitmap* bitmap;
};

class BitmapTest : public ::testing::Test {
protected:
    Canvas canvas{kCanvasSide, kCanvasSide, kScreen};
    Win32DrawContext context{nullptr, canvas.get(), nullptr};
};

struct Loaded {
    std::int32_t resourceId;
    std::int32_t width;
    std::int32_t height;
};

const Loaded kLoaded[] = {
    {PATTERN_BITMAP, 8, 6},
    {TWO_IMAGES_BITMAP, 6, 8},
    {BLANK_BITMAP, kBlankWidth, kBlankHeight},
    // Only the low 16 bits name the resource.
    {0x30000 | PATTERN_BITMAP, 8, 6},
    {MISSING_BITMAP, 0, 0},
};

TEST_F(BitmapTest, SizeFromTheResource)
{
    for (const Loaded& loaded : kLoaded) {
        SCOPED_TRACE(loaded.resourceId);
        HeldBitmap bitmap(loaded.resourceId);
        EXPECT_EQ(bitmap->getResourceId(), loaded.resourceId);
        EXPECT_EQ(bitmap->getWidth(), loaded.width);
        EXPECT_EQ(bitmap->getHeight(), loaded.height);
        EXPECT_EQ(bitmap->getImage() != nullptr, loaded.width != 0);
        EXPECT_EQ(bitmap->getReferenceCount(), 1);
    }
}

TEST_F(BitmapTest, MissingResourceDrawsNothing)
{
    HeldBitmap bitmap(MISSING_BITMAP);
    bitmap->draw(context, {0, 0, 8, 8}, kNoOffset);
    bitmap->drawTransparent(context, {0, 0, 8, 8}, kNoOffset);
    EXPECT_EQ(canvas.countOther(kScreen), 0);
}

TEST_F(BitmapTest, OpaqueDrawCopiesEveryPixel)
{
    HeldBitmap bitmap(PATTERN_BITMAP);
    bitmap->draw(context, placed(kPattern, kPlace), kNoOffset);
    expectCanvas(canvas, kPattern, kPlace, nullptr);
}

TEST_F(BitmapTest, TransparentDrawLeavesOutExactlyWhite)
{
    HeldBitmap bitmap(PATTERN_BITMAP);
    bitmap->drawTransparent(context, placed(kPattern, kPlace), kNoOffset);
    expectCanvas(canvas, kPattern, kPlace, &ColorTransparent);
}

TEST_F(BitmapTest, TransparentDrawLeavesTheImageAsItWas)
{
    HeldBitmap bitmap(PATTERN_BITMAP);
    bitmap->drawTransparent(context, placed(kPattern, kPlace), kNoOffset);
    canvas.fill(kScreen);
    bitmap->draw(context, placed(kPattern, kPlace), kNoOffset);
    expectCanvas(canvas, kPattern, kPlace, nullptr);
}

TEST_F(BitmapTest, ColourSetBeforeTheFirstTransparentDraw)
{
    HeldBitmap bitmap(PATTERN_BITMAP);
    bitmap->setTransparentColor(ColorMagenta);
    bitmap->drawTransparent(context, placed(kPattern, kPlace), kNoOffset);
    expectCanvas(canvas, kPattern, kPlace, &ColorMagenta);
}

TEST_F(BitmapTest, MaskIsMadeOnceAtTheFirstTransparentDraw)
{
    HeldBitmap bitmap(PATTERN_BITMAP);
    bitmap->drawTransparent(context, placed(kPattern, kPlace), kNoOffset);
    const std::int64_t withMask = liveGdiObjects();
    bitmap->setTransparentColor(ColorMagenta);
    canvas.fill(kScreen);
    bitmap->drawTransparent(context, placed(kPattern, kPlace), kNoOffset);
    expectCanvas(canvas, kPattern, kPlace, &ColorTransparent);
    EXPECT_EQ(liveGdiObjects(), withMask);
}

TEST_F(BitmapTest, AllTransparentBitmapLeavesTheScreen)
{
    HeldBitmap bitmap(BLANK_BITMAP);
    bitmap->drawTransparent(context, {2, 3, 2 + kBlankWidth, 3 + kBlankHeight}, kNoOffset);
    EXPECT_EQ(canvas.countOther(kScreen), 0);
    bitmap->draw(context, {2, 3, 2 + kBlankWidth, 3 + kBlankHeight}, kNoOffset);
    EXPECT_EQ(canvas.countOther(kScreen), kBlankWidth * kBlankHeight);
}

struct StackedCase {
    const char* name;
    bool transparent;
    std::int32_t sourceY;
    const Grid* shown;
};

const std::int32_t kImageHeight = std::int32_t(kFirstImage.size());
const StackedCase kStackedCases[] = {
    {"first image, opaque", false, 0, &kFirstImage},
    {"second image, opaque", false, kImageHeight, &kSecondImage},
    {"first image, transparent", true, 0, &kFirstImage},
    {"second image, transparent", true, kImageHeight, &kSecondImage},
};

TEST_F(BitmapTest, SourceOffsetPicksOneOfTwoStackedImages)
{
    HeldBitmap bitmap(TWO_IMAGES_BITMAP);
    for (const StackedCase& stacked : kStackedCases) {
        SCOPED_TRACE(stacked.name);
        canvas.fill(kScreen);
        const Rect destination = placed(*stacked.shown, kPlace);
        const Point source{0, stacked.sourceY};
        if (stacked.transparent) {
            bitmap->drawTransparent(context, destination, source);
        } else {
            bitmap->draw(context, destination, source);
        }
        expectCanvas(canvas, *stacked.shown, kPlace, stacked.transparent ? &ColorTransparent : nullptr);
    }
}

// Another device context holds the image, as while another thread draws it:
// the bitmap cannot select it, so it must copy nothing at all.
TEST_F(BitmapTest, ImageHeldElsewhereDrawsNothing)
{
    HeldBitmap bitmap(PATTERN_BITMAP);
    HDC elsewhere = CreateCompatibleDC(canvas.get());
    HGDIOBJ previous = SelectObject(elsewhere, imageOf(*bitmap));
    ASSERT_NE(previous, nullptr);
    const std::int64_t before = liveGdiObjects();
    const HGDIOBJ canvasBitmap = GetCurrentObject(canvas.get(), OBJ_BITMAP);

    bitmap->draw(context, placed(kPattern, kPlace), kNoOffset);
    bitmap->drawTransparent(context, placed(kPattern, kPlace), kNoOffset);
    EXPECT_EQ(canvas.countOther(kScreen), 0);
    // No mask was kept and no surface left behind.
    EXPECT_EQ(liveGdiObjects(), before);
    EXPECT_EQ(GetCurrentObject(canvas.get(), OBJ_BITMAP), canvasBitmap);

    SelectObject(elsewhere, previous);
    DeleteDC(elsewhere);
    bitmap->drawTransparent(context, placed(kPattern, kPlace), kNoOffset);
    expectCanvas(canvas, kPattern, kPlace, &ColorTransparent);
}

TEST(BitmapCountTest, FreedAtTheLastRelease)
{
    // The platform keeps some objects of its own after the first load.
    (new Bitmap(PATTERN_BITMAP))->release();
    const std::int64_t before = liveGdiObjects();
    auto* bitmap = new Bitmap(PATTERN_BITMAP);
    ASSERT_EQ(liveGdiObjects(), before + 1);
    bitmap->retain();
    bitmap->retain();
    EXPECT_EQ(bitmap->getReferenceCount(), 3);
    bitmap->release();
    bitmap->release();
    EXPECT_EQ(bitmap->getReferenceCount(), 1);
    EXPECT_EQ(liveGdiObjects(), before + 1);
    bitmap->release();
    EXPECT_EQ(liveGdiObjects(), before);
}

// A bitmap whose owner puts an image of its own in place of the loaded one.
class OwnImageBitmap : public Bitmap {
public:
    using Bitmap::Bitmap;
    using Bitmap::replaceImage;
};

HBITMAP solidImage(HDC reference, std::int32_t width, std::int32_t height, const Color& color)
{
    Canvas painted(width, height, color);
    HBITMAP image = CreateCompatibleBitmap(reference, width, height);
    HDC copier = CreateCompatibleDC(reference);
    HGDIOBJ previous = SelectObject(copier, image);
    BitBlt(copier, 0, 0, width, height, painted.get(), 0, 0, SRCCOPY);
    SelectObject(copier, previous);
    DeleteDC(copier);
    return image;
}

TEST_F(BitmapTest, ReplacedImageIsDrawnWithANewMaskAndDeleted)
{
    const std::int64_t before = liveGdiObjects();
    auto* bitmap = new OwnImageBitmap(PATTERN_BITMAP);
    bitmap->drawTransparent(context, placed(kPattern, kPlace), kNoOffset);
    HBITMAP own = solidImage(canvas.get(), bitmap->getWidth(), bitmap->getHeight(), ColorRed);
    bitmap->replaceImage(new Win32BitmapImage(own));
    EXPECT_EQ(imageOf(*bitmap), own);
    // The recorded size stays the loaded resource's.
    EXPECT_EQ(bitmap->getWidth(), 8);
    EXPECT_EQ(bitmap->getHeight(), 6);

    canvas.fill(kScreen);
    bitmap->drawTransparent(context, placed(kPattern, kPlace), kNoOffset);
    // A mask kept from the loaded image would leave out its white pixels.
    const Grid allRed(kPattern.size(), std::string(kPattern[0].size(), 'R'));
    expectCanvas(canvas, allRed, kPlace, &ColorTransparent);
    bitmap->release();
    EXPECT_EQ(liveGdiObjects(), before);
}

} // namespace
