#include "gui/DrawContext.h"

namespace {

struct FontFace {
    const char* name;
    std::int32_t defaultSize;
    std::uint8_t pitchAndFamily;
};

// Variable pitch, Swiss family; default pitch, decorative (symbol) family.
constexpr std::uint8_t kVariableSwiss = 0x22;
constexpr std::uint8_t kDefaultDecorative = 0x50;

// Indexed by font id.
constexpr FontFace kFonts[] = {
    {"Arial", 12, kVariableSwiss}, {"Arial", 18, kVariableSwiss},      {"Arial", 14, kVariableSwiss},
    {"Arial", 12, kVariableSwiss}, {"Arial", 11, kVariableSwiss},      {"Arial", 10, kVariableSwiss},
    {"Arial", 9, kVariableSwiss},  {"Symbol", 13, kDefaultDecorative},
};
constexpr std::int32_t kFontCount = sizeof kFonts / sizeof kFonts[0];
// Id 0 is the bold label font whatever style is asked for.
constexpr std::int32_t kAlwaysBoldFontId = 0;

// Left-aligned text keeps one pixel clear of the rectangle's left edge.
constexpr std::int32_t kLeftTextInset = 1;

} // namespace

DrawContext::DrawContext(Frame* frame) : frame(frame) {}

DrawContext::~DrawContext() = default;

void DrawContext::applyDefaults()
{
    setLineColor(lineColor);
    setLineStyle(lineStyle);
    setFillColor(fillColor);
    setTextColor(textColor);
}

void DrawContext::moveTo(const Point& point)
{
    movePen(point);
}

void DrawContext::lineTo(const Point& point)
{
    drawLineTo(point);
}

void DrawContext::outlineRect(const Rect& rect)
{
    moveTo({rect.left, rect.top});
    lineTo({rect.right, rect.top});
    lineTo({rect.right, rect.bottom});
    lineTo({rect.left, rect.bottom});
    lineTo({rect.left, rect.top});
}

void DrawContext::fillRect(const Rect& rect)
{
    fillInside(Rect{rect.left + 1, rect.top + 1, rect.right, rect.bottom});
}

void DrawContext::setLineStyle(std::int32_t style)
{
    lineStyle = style;
    applyPen();
}

void DrawContext::setLineColor(const Color& color)
{
    lineColor = color;
    applyPen();
}

void DrawContext::setFillColor(const Color& color)
{
    fillColor = color;
    applyFillColor();
}

void DrawContext::setTextColor(const Color& color)
{
    textColor = color;
    applyTextColor();
}

void DrawContext::setFont(std::int32_t id, std::int32_t size, std::int32_t style)
{
    fontId = id >= 0 && id < kFontCount ? id : 0;
    const FontFace& face = kFonts[fontId];
    fontSize = size != 0 ? size : face.defaultSize;
    applyFont(FontChoice{face.name, fontSize, (style & TextBold) != 0 || fontId == kAlwaysBoldFontId,
                         (style & TextItalic) != 0, (style & TextUnderline) != 0, face.pitchAndFamily});
}

void DrawContext::drawText(const char* text, const Rect& rect, std::int16_t opaque, std::int32_t alignment)
{
    if (!text)
        return;
    Rect area = rect;
    if (alignment != AlignCenter && alignment != AlignRight)
        area.left += kLeftTextInset;
    drawTextLine(text, area, opaque != 0, alignment);
}
