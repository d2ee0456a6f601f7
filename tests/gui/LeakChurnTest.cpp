// Many short-lived contexts and bitmaps, as paints and refreshes make them:
// every platform object they create must be gone afterwards.
#include "gui/Bitmap.h"
#include "gui/win32/Win32DrawContext.h"
#include "tests/gui/Canvas.h"
#include "tests/gui/testBitmaps.h"
#include "tests/support/GdiObjects.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr int kCycles = 1000;
constexpr std::int32_t kCanvasSide = 40;
constexpr Color kScreen{10, 20, 30, 0};
const Rect kBox{4, 4, 36, 24};
const Rect kImagePlace{20, 26, 28, 32};
const Point kNoOffset{0, 0};
constexpr std::int32_t kFontIds = 8;
constexpr std::int32_t kAlignments = 3;
// Pen, brush and font of the context; image, mask and the image's own device
// context of the bitmap.
constexpr std::int64_t kObjectsPerCycle = 6;

// One context and one fresh bitmap, used the way a view draws; `during`
// sees the live count while both exist.
void drawCycle(HDC deviceContext, int cycle, std::int64_t& during)
{
    Win32DrawContext context(nullptr, deviceContext, nullptr);
    context.setFont(cycle % kFontIds, 0, cycle & TextBold);
    context.setLineStyle(cycle % 2 == 0 ? LineSolid : LineDotted);
    context.setLineColor(ColorYellow);
    context.setFillColor(ColorBlue);
    context.setTextColor(ColorRed);
    context.fillRect(kBox);
    context.outlineRect(kBox);
    context.drawText("12.34 dB", kBox, std::int16_t(cycle % 2), cycle % kAlignments);
    auto* bitmap = new Bitmap(PATTERN_BITMAP);
    bitmap->drawTransparent(context, kImagePlace, kNoOffset);
    bitmap->draw(context, {kImagePlace.left, 0, kImagePlace.right, kImagePlace.top - 20}, kNoOffset);
    during = liveGdiObjects();
    bitmap->release();
}

TEST(LeakChurnTest, ContextsAndBitmapsLeaveNothingBehind)
{
    Canvas canvas(kCanvasSide, kCanvasSide, kScreen);
    std::int64_t during = 0;
    // The platform keeps a few objects of its own after the first use.
    drawCycle(canvas.get(), 0, during);
    const std::int64_t before = liveGdiObjects();
    for (int cycle = 0; cycle < kCycles; ++cycle) {
        drawCycle(canvas.get(), cycle, during);
        ASSERT_EQ(during, before + kObjectsPerCycle) << "cycle " << cycle;
    }
    EXPECT_EQ(liveGdiObjects(), before);
    // The last cycle's transparent draw really drew: a black pattern pixel
    // over the screen, and the white one left out.
    EXPECT_EQ(canvas.pixel(kImagePlace.left, kImagePlace.top + 5), ColorBlack);
    EXPECT_EQ(canvas.pixel(kImagePlace.left + 1, kImagePlace.top + 5), kScreen);
}

} // namespace
