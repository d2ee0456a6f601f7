// The drawing context on a real device context: pixel coverage, the objects
// it selects and reads back, text placement, and what it leaves behind.
#include "gui/win32/Win32DrawContext.h"
#include "tests/gui/Canvas.h"
#include "tests/support/GdiObjects.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <vector>

namespace {

constexpr std::int32_t kCanvasWidth = 40;
constexpr std::int32_t kCanvasHeight = 32;
constexpr Color kBackground{10, 20, 30, 0};
constexpr Color kDrawn{200, 100, 50, 0};

Color fromPlatform(COLORREF value)
{
    return {GetRValue(value), GetGValue(value), GetBValue(value), 0};
}

class DrawContextTest : public ::testing::Test {
protected:
    Canvas canvas{kCanvasWidth, kCanvasHeight, kBackground};
};

TEST_F(DrawContextTest, FreshContextDefaults)
{
    // The opposite of every default first, so that each one is seen being set.
    SetBkMode(canvas.get(), OPAQUE);
    SetTextColor(canvas.get(), RGB(1, 2, 3));
    SetBkColor(canvas.get(), RGB(4, 5, 6));
    Win32DrawContext context(nullptr, canvas.get(), nullptr);

    LOGPEN pen{};
    ASSERT_EQ(GetObjectA(GetCurrentObject(canvas.get(), OBJ_PEN), sizeof pen, &pen), int(sizeof pen));
    EXPECT_EQ(pen.lopnStyle, UINT(PS_SOLID));
    EXPECT_EQ(pen.lopnWidth.x, 1);
    EXPECT_EQ(fromPlatform(pen.lopnColor), ColorWhite);
    LOGBRUSH brush{};
    ASSERT_EQ(GetObjectA(GetCurrentObject(canvas.get(), OBJ_BRUSH), sizeof brush, &brush), int(sizeof brush));
    EXPECT_EQ(brush.lbStyle, UINT(BS_SOLID));
    EXPECT_EQ(fromPlatform(brush.lbColor), ColorBlack);
    EXPECT_EQ(fromPlatform(GetTextColor(canvas.get())), ColorWhite);
    EXPECT_EQ(fromPlatform(GetBkColor(canvas.get())), ColorBlack);
    EXPECT_EQ(GetBkMode(canvas.get()), TRANSPARENT);
    EXPECT_EQ(context.getFontId(), 0);
    EXPECT_EQ(context.getFontSize(), 0);
}

TEST_F(DrawContextTest, ChangesReachTheDeviceContext)
{
    Win32DrawContext context(nullptr, canvas.get(), nullptr);
    context.setLineColor(kDrawn);
    context.setLineStyle(LineDotted);
    context.setFillColor(ColorCyan);
    context.setTextColor(ColorMagenta);

    LOGPEN pen{};
    ASSERT_EQ(GetObjectA(GetCurrentObject(canvas.get(), OBJ_PEN), sizeof pen, &pen), int(sizeof pen));
    EXPECT_EQ(pen.lopnStyle, UINT(PS_DOT));
    EXPECT_EQ(fromPlatform(pen.lopnColor), kDrawn);
    LOGBRUSH brush{};
    ASSERT_EQ(GetObjectA(GetCurrentObject(canvas.get(), OBJ_BRUSH), sizeof brush, &brush), int(sizeof brush));
    EXPECT_EQ(fromPlatform(brush.lbColor), ColorCyan);
    EXPECT_EQ(fromPlatform(GetBkColor(canvas.get())), ColorCyan);
    EXPECT_EQ(fromPlatform(GetTextColor(canvas.get())), ColorMagenta);

    context.setLineStyle(LineSolid);
    ASSERT_EQ(GetObjectA(GetCurrentObject(canvas.get(), OBJ_PEN), sizeof pen, &pen), int(sizeof pen));
    EXPECT_EQ(pen.lopnStyle, UINT(PS_SOLID));
}

struct Coverage {
    const char* name;
    std::function<void(DrawContext&)> draw;
    // Whether pixel (x, y) must carry the drawn colour; every other pixel keeps the background.
    std::function<bool(std::int32_t, std::int32_t)> covered;
};

bool inRange(std::int32_t value, std::int32_t first, std::int32_t last)
{
    return value >= first && value <= last;
}

const Rect kSquare{10, 10, 20, 20};
const Rect kTextBox{2, 4, 38, 28};

const Coverage kCoverages[] = {
    {"fill inset on top and left, short of right and bottom",
     [](DrawContext& context) { context.fillRect(kSquare); },
     [](std::int32_t x, std::int32_t y) { return inRange(x, 11, 19) && inRange(y, 11, 19); }},
    {"outline on all four coordinates", [](DrawContext& context) { context.outlineRect(kSquare); },
     [](std::int32_t x, std::int32_t y) {
         return ((y == 10 || y == 20) && inRange(x, 10, 20)) || ((x == 10 || x == 20) && inRange(y, 10, 20));
     }},
    {"fill one pixel wide draws nothing",
     [](DrawContext& context) {
         context.fillRect({10, 10, 11, 20});
     },
     [](std::int32_t, std::int32_t) { return false; }},
    {"fill one pixel high draws nothing",
     [](DrawContext& context) {
         context.fillRect({10, 10, 20, 11});
     },
     [](std::int32_t, std::int32_t) { return false; }},
    {"line stops before its end pixel",
     [](DrawContext& context) {
         context.moveTo({5, 3});
         context.lineTo({15, 3});
     },
     [](std::int32_t x, std::int32_t y) { return y == 3 && inRange(x, 5, 14); }},
};

TEST_F(DrawContextTest, ExactPixelCoverage)
{
    for (const Coverage& coverage : kCoverages) {
        SCOPED_TRACE(coverage.name);
        canvas.fill(kBackground);
        {
            Win32DrawContext context(nullptr, canvas.get(), nullptr);
            context.setLineColor(kDrawn);
            context.setFillColor(kDrawn);
            coverage.draw(context);
        }
        for (std::int32_t y = 0; y < kCanvasHeight; ++y) {
            for (std::int32_t x = 0; x < kCanvasWidth; ++x) {
                ASSERT_EQ(canvas.pixel(x, y), coverage.covered(x, y) ? kDrawn : kBackground)
                    << "at (" << x << ", " << y << ")";
            }
        }
    }
}

TEST_F(DrawContextTest, FillStaysInsideTheOutlineAndKeepsThePen)
{
    Win32DrawContext context(nullptr, canvas.get(), nullptr);
    context.setLineColor(ColorRed);
    context.setFillColor(ColorBlue);
    const HGDIOBJ pen = GetCurrentObject(canvas.get(), OBJ_PEN);
    context.outlineRect(kSquare);
    context.fillRect(kSquare);
    EXPECT_EQ(GetCurrentObject(canvas.get(), OBJ_PEN), pen);
    for (std::int32_t i = 10; i <= 20; ++i) {
        EXPECT_EQ(canvas.pixel(i, 10), ColorRed) << i;
        EXPECT_EQ(canvas.pixel(10, i), ColorRed) << i;
        EXPECT_EQ(canvas.pixel(i, 20), ColorRed) << i;
        EXPECT_EQ(canvas.pixel(20, i), ColorRed) << i;
    }
    EXPECT_EQ(canvas.pixel(11, 11), ColorBlue);
    EXPECT_EQ(canvas.pixel(19, 19), ColorBlue);
}

struct FontCase {
    std::int32_t id;
    std::int32_t size;
    std::int32_t style;
    std::int32_t expectedId;
    const char* face;
    LONG height;
    LONG weight;
    bool italic;
    bool underline;
    BYTE pitchAndFamily;
};

const FontCase kFontCases[] = {
    {9, 0, 0, 0, "Arial", 12, FW_BOLD, false, false, 0x22},
    {-1, 0, TextItalic, 0, "Arial", 12, FW_BOLD, true, false, 0x22},
    {0, 15, 0, 0, "Arial", 15, FW_BOLD, false, false, 0x22},
    {1, 0, TextItalic, 1, "Arial", 18, FW_NORMAL, true, false, 0x22},
    {2, 0, TextBold, 2, "Arial", 14, FW_BOLD, false, false, 0x22},
    {3, 0, TextUnderline, 3, "Arial", 12, FW_NORMAL, false, true, 0x22},
    {4, 0, 0, 4, "Arial", 11, FW_NORMAL, false, false, 0x22},
    {5, 0, TextBold | TextItalic | TextUnderline, 5, "Arial", 10, FW_BOLD, true, true, 0x22},
    {6, 0, 0, 6, "Arial", 9, FW_NORMAL, false, false, 0x22},
    {7, 0, 0, 7, "Symbol", 13, FW_NORMAL, false, false, 0x50},
    {7, 20, TextBold, 7, "Symbol", 20, FW_BOLD, false, false, 0x50},
    {8, 0, 0, 0, "Arial", 12, FW_BOLD, false, false, 0x22},
};

void expectFont(const Canvas& canvas, const FontCase& expected)
{
    Win32DrawContext context(nullptr, canvas.get(), nullptr);
    context.setFont(expected.id, expected.size, expected.style);
    EXPECT_EQ(context.getFontId(), expected.expectedId);
    EXPECT_EQ(context.getFontSize(), expected.height);

    LOGFONTA font{};
    ASSERT_EQ(GetObjectA(GetCurrentObject(canvas.get(), OBJ_FONT), sizeof font, &font), int(sizeof font));
    EXPECT_STREQ(font.lfFaceName, expected.face);
    // A negative height asks for the character height, not the cell height.
    EXPECT_EQ(font.lfHeight, -expected.height);
    EXPECT_EQ(font.lfWidth, 0);
    EXPECT_EQ(font.lfEscapement, 0);
    EXPECT_EQ(font.lfOrientation, 0);
    EXPECT_EQ(font.lfWeight, expected.weight);
    EXPECT_EQ(font.lfItalic != 0, expected.italic);
    EXPECT_EQ(font.lfUnderline != 0, expected.underline);
    EXPECT_EQ(font.lfStrikeOut, 0);
    EXPECT_EQ(font.lfCharSet, ANSI_CHARSET);
    EXPECT_EQ(font.lfOutPrecision, OUT_STRING_PRECIS);
    EXPECT_EQ(font.lfClipPrecision, CLIP_STROKE_PRECIS);
    EXPECT_EQ(font.lfQuality, DEFAULT_QUALITY);
    EXPECT_EQ(font.lfPitchAndFamily, expected.pitchAndFamily);
}

TEST_F(DrawContextTest, SelectsTheDescribedFont)
{
    for (const FontCase& expected : kFontCases) {
        SCOPED_TRACE(::testing::Message()
                     << "id " << expected.id << " size " << expected.size << " style " << expected.style);
        expectFont(canvas, expected);
    }
}

constexpr char kText[] = "Hi&8";
constexpr UINT kTextFormat = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
// Centred text moves with a one-pixel change of the box only for one parity of
// the free width, so each case runs in two boxes differing by one pixel.
const Rect kTextBoxes[] = {{2, 4, 38, 28}, {2, 4, 39, 28}};

struct Placement {
    std::int32_t alignment;
    UINT format;
    LONG shift;
    // Right-aligned text does not depend on the box's left edge at all.
    bool leftEdgeMatters;
};

const Placement kPlacements[] = {
    {AlignLeft, DT_LEFT, 1, true},
    {AlignCenter, DT_CENTER, 0, true},
    {AlignRight, DT_RIGHT, 0, false},
    // Unknown alignments behave as left.
    {7, DT_LEFT, 1, true},
};

// Text as the platform places it in `box` with the left edge moved right by
// `shift`, in the font and colour the context uses.
std::vector<std::uint32_t> platformText(const Rect& box, LONG shift, UINT alignmentFormat)
{
    Canvas reference(kCanvasWidth, kCanvasHeight, kBackground);
    Win32DrawContext context(nullptr, reference.get(), nullptr);
    context.setFont(2, 0, 0);
    RECT area{box.left + shift, box.top, box.right, box.bottom};
    DrawTextA(reference.get(), kText, int(std::strlen(kText)), &area, kTextFormat | alignmentFormat);
    return reference.snapshot();
}

void expectPlacement(const Placement& placement)
{
    bool shiftShows = false;
    for (const Rect& box : kTextBoxes) {
        Canvas canvas(kCanvasWidth, kCanvasHeight, kBackground);
        {
            Win32DrawContext context(nullptr, canvas.get(), nullptr);
            context.setFont(2, 0, 0);
            context.drawText(kText, box, 0, placement.alignment);
        }
        ASSERT_GT(canvas.countOther(kBackground), 0);
        EXPECT_EQ(canvas.snapshot(), platformText(box, placement.shift, placement.format))
            << "box right " << box.right;
        shiftShows =
            shiftShows || platformText(box, 0, placement.format) != platformText(box, 1, placement.format);
    }
    // Otherwise the comparison could not tell a shifted text from an unshifted one.
    EXPECT_EQ(shiftShows, placement.leftEdgeMatters);
}

TEST(TextPlacementTest, MatchesThePlatformWithTheLeftShift)
{
    for (const Placement& placement : kPlacements) {
        SCOPED_TRACE(::testing::Message() << "alignment " << placement.alignment);
        expectPlacement(placement);
    }
}

std::int32_t countPixels(const Canvas& canvas, const Color& color)
{
    return canvas.width() * canvas.height() - canvas.countOther(color);
}

TEST_F(DrawContextTest, OpaqueTextIsBackedByTheFillColourThenTransparentAgain)
{
    Win32DrawContext context(nullptr, canvas.get(), nullptr);
    context.setFont(1, 0, 0);
    context.setFillColor(ColorYellow);
    context.setTextColor(ColorBlue);
    context.drawText("o", kTextBox, 0, AlignCenter);
    EXPECT_GT(countPixels(canvas, ColorBlue), 0);
    EXPECT_EQ(countPixels(canvas, ColorYellow), 0);

    canvas.fill(kBackground);
    // Only the low 16 bits of the flag count; any of them makes the text opaque.
    context.drawText("o", kTextBox, std::int16_t(0x100), AlignCenter);
    EXPECT_GT(countPixels(canvas, ColorBlue), 0);
    EXPECT_GT(countPixels(canvas, ColorYellow), 0);
    EXPECT_EQ(GetBkMode(canvas.get()), TRANSPARENT);
}

TEST_F(DrawContextTest, DestructionPutsTheDeviceContextsObjectsBack)
{
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(1, 2, 3));
    HBRUSH brush = CreateSolidBrush(RGB(4, 5, 6));
    HFONT font = CreateFontA(-20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SelectObject(canvas.get(), pen);
    SelectObject(canvas.get(), brush);
    SelectObject(canvas.get(), font);
    {
        Win32DrawContext context(nullptr, canvas.get(), nullptr);
        context.setFont(3, 0, TextBold);
        context.setLineColor(ColorRed);
        context.setFillColor(ColorGreen);
        EXPECT_NE(GetCurrentObject(canvas.get(), OBJ_PEN), pen);
        EXPECT_NE(GetCurrentObject(canvas.get(), OBJ_BRUSH), brush);
        EXPECT_NE(GetCurrentObject(canvas.get(), OBJ_FONT), font);
    }
    EXPECT_EQ(GetCurrentObject(canvas.get(), OBJ_PEN), pen);
    EXPECT_EQ(GetCurrentObject(canvas.get(), OBJ_BRUSH), brush);
    EXPECT_EQ(GetCurrentObject(canvas.get(), OBJ_FONT), font);
    SelectObject(canvas.get(), GetStockObject(BLACK_PEN));
    SelectObject(canvas.get(), GetStockObject(WHITE_BRUSH));
    SelectObject(canvas.get(), GetStockObject(SYSTEM_FONT));
    DeleteObject(pen);
    DeleteObject(brush);
    DeleteObject(font);
}

TEST(DrawContextWithoutDeviceContext, MakesNoPlatformObjects)
{
    const std::int64_t before = liveGdiObjects();
    {
        Win32DrawContext context(nullptr, nullptr, nullptr);
        context.setFont(7, 0, 0);
        context.setFillColor(ColorRed);
        context.setLineColor(ColorRed);
        EXPECT_EQ(liveGdiObjects(), before);
        context.fillRect(kSquare);
        context.outlineRect(kSquare);
        context.drawText("x", kTextBox, 1, AlignLeft);
        EXPECT_EQ(context.getFontId(), 7);
        EXPECT_EQ(context.getFontSize(), 13);
    }
    EXPECT_EQ(liveGdiObjects(), before);
}

} // namespace
