// The drawing rules every platform shares: what reaches the platform's
// primitives for rectangles, fonts and text, whatever draws the pixels.
#include "tests/toolkit/RecordingDrawContext.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

bool sameRect(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

TEST(DrawContextRules, FillsStayInsideTheOutlineOfTheSameRectangle)
{
    RecordingDrawContext context;
    context.fillRect(Rect{10, 10, 20, 20});
    context.fillRect(Rect{5, 3, 6, 9});
    ASSERT_EQ(context.fills.size(), 2u);
    EXPECT_TRUE(sameRect(context.fills[0], Rect{11, 11, 20, 20}));
    EXPECT_TRUE(sameRect(context.fills[1], Rect{6, 4, 6, 9})) << "one pixel wide: nothing left to fill";

    context.outlineRect(Rect{10, 10, 20, 20});
    const Point corners[] = {{20, 10}, {20, 20}, {10, 20}, {10, 10}};
    ASSERT_EQ(context.lineEnds.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(context.lineEnds[i].x, corners[i].x) << "corner " << i;
        EXPECT_EQ(context.lineEnds[i].y, corners[i].y) << "corner " << i;
    }
}

struct FontCase {
    std::int32_t id, size, style;
    const char* face;
    std::int32_t expectedId, expectedSize;
    bool bold, italic;
    std::uint8_t pitchAndFamily;
};

TEST(DrawContextRules, FontIdsSizesAndStylesResolveThroughTheTable)
{
    const FontCase cases[] = {
        {9, 0, 0, "Arial", 0, 12, true, false, 0x22},         // out of range: id 0, always bold
        {-1, 0, TextItalic, "Arial", 0, 12, true, true, 0x22}, // below range too
        {1, 0, TextItalic, "Arial", 1, 18, false, true, 0x22},
        {3, 0, 0, "Arial", 3, 12, false, false, 0x22},
        {6, 0, TextBold, "Arial", 6, 9, true, false, 0x22},
        {7, 20, TextBold, "Symbol", 7, 20, true, false, 0x50},
    };
    for (const FontCase& font : cases) {
        RecordingDrawContext context;
        context.setFont(font.id, font.size, font.style);
        ASSERT_EQ(context.fonts.size(), 1u);
        const FontChoice& chosen = context.fonts[0];
        EXPECT_STREQ(chosen.face, font.face) << "id " << font.id;
        EXPECT_EQ(chosen.size, font.expectedSize) << "id " << font.id;
        EXPECT_EQ(chosen.bold, font.bold) << "id " << font.id;
        EXPECT_EQ(chosen.italic, font.italic) << "id " << font.id;
        EXPECT_EQ(chosen.pitchAndFamily, font.pitchAndFamily) << "id " << font.id;
        EXPECT_EQ(context.getFontId(), font.expectedId);
        EXPECT_EQ(context.getFontSize(), font.expectedSize);
    }
}

TEST(DrawContextRules, LeftAlignedTextStartsOnePixelInAndOthersDoNot)
{
    const Rect box{40, 4, 104, 20};
    const struct {
        std::int32_t alignment;
        std::int32_t left;
    } cases[] = {{AlignLeft, 41}, {AlignCenter, 40}, {AlignRight, 40}, {7, 41}};
    for (const auto& aligned : cases) {
        RecordingDrawContext context;
        context.drawText("12.34", box, 1, aligned.alignment);
        context.drawText(nullptr, box, 0, aligned.alignment);
        ASSERT_EQ(context.texts.size(), 1u) << "no text, nothing drawn";
        EXPECT_EQ(context.texts[0].text, "12.34");
        EXPECT_EQ(context.texts[0].area.left, aligned.left) << "alignment " << aligned.alignment;
        EXPECT_EQ(context.texts[0].area.right, box.right);
        EXPECT_TRUE(context.texts[0].opaque);
    }
}

} // namespace
