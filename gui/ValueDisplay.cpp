#include "gui/ValueDisplay.h"

#include "gui/DrawContext.h"

#include <cstdio>

namespace {
const char kValueFormat[] = "%2.2f";
// "Arial", 12 pixels.
constexpr std::int32_t kDefaultFontId = 3;
// Size 0 asks the drawing context for the font's own size.
constexpr std::int32_t kFontDefaultSize = 0;
constexpr std::int32_t kShadowDistance = 1;

Rect shifted(const Rect& rect, std::int32_t distance)
{
    return Rect{rect.left + distance, rect.top + distance, rect.right + distance, rect.bottom + distance};
}
} // namespace

ValueDisplay::ValueDisplay(const Rect& size, Bitmap* background, std::int32_t style)
    : Control(size, nullptr, 0, background), alignment(AlignCenter), style(style), fontId(kDefaultFontId)
{
    if (style & StyleHidden)
        setDirty(false);
}

ValueDisplay::~ValueDisplay() = default;

void ValueDisplay::formatValue(char (&text)[kValueTextSize]) const
{
    text[0] = '\0';
    if (toTextWithData)
        toTextWithData(getValue(), text, userData);
    else if (toText)
        toText(getValue(), text);
    else
        std::snprintf(text, sizeof(text), kValueFormat, static_cast<double>(getValue()));
}

void ValueDisplay::draw(DrawContext& context)
{
    char text[kValueTextSize];
    formatValue(text);
    drawText(context, text);
}

void ValueDisplay::drawText(DrawContext& context, const char* text)
{
    setDirty(false);
    if (style & StyleHidden)
        return;
    if (getBackground())
        drawBackground(context, getSize(), backgroundOffset);
    else if (!getTransparentDraw())
        drawPlainBackground(context);
    if (style & (StyleSunken | StyleRaised))
        drawEdges(context);
    if (style & StyleHideText)
        return;
    context.setFont(fontId, kFontDefaultSize, textStyle);
    const auto opaque = static_cast<std::int16_t>(!transparentText);
    if (style & StyleShadow) {
        context.setTextColor(shadowColor);
        context.drawText(text, shifted(getSize(), kShadowDistance), opaque, alignment);
    }
    context.setTextColor(textColor);
    context.drawText(text, getSize(), opaque, alignment);
}

void ValueDisplay::drawPlainBackground(DrawContext& context)
{
    context.setFillColor(fillColor);
    context.fillRect(getSize());
    // 3D edges replace the plain border.
    if (!(style & (StyleSunken | StyleRaised))) {
        context.setLineColor(borderColor);
        context.outlineRect(getSize());
    }
}

void ValueDisplay::drawEdges(DrawContext& context)
{
    const Rect& size = getSize();
    const bool sunken = (style & StyleSunken) != 0;
    // Sunken: light top and left, dark bottom and right; raised the other way round.
    context.setLineColor(sunken ? fillColor : borderColor);
    context.moveTo(Point{size.left, size.bottom});
    context.lineTo(Point{size.left, size.top});
    context.lineTo(Point{size.right + 1, size.top});
    context.setLineColor(sunken ? borderColor : fillColor);
    context.moveTo(Point{size.right, size.top + 1});
    context.lineTo(Point{size.right, size.bottom});
    context.lineTo(Point{size.left, size.bottom});
}

void ValueDisplay::changeColor(Color& field, const Color& color)
{
    if (!field.sameRgb(color))
        setDirty(true);
    field = color;
}

void ValueDisplay::setFont(std::int32_t newFontId)
{
    if (newFontId != fontId)
        setDirty(true);
    fontId = newFontId;
}

void ValueDisplay::setTextColor(const Color& color)
{
    changeColor(textColor, color);
}

void ValueDisplay::setFillColor(const Color& color)
{
    changeColor(fillColor, color);
}

void ValueDisplay::setBorderColor(const Color& color)
{
    changeColor(borderColor, color);
}

void ValueDisplay::setShadowColor(const Color& color)
{
    changeColor(shadowColor, color);
}

void ValueDisplay::setAlignment(std::int32_t newAlignment)
{
    if (newAlignment != alignment)
        setDirty(true);
    alignment = newAlignment;
}

void ValueDisplay::setBackgroundOffset(const Point& offset)
{
    backgroundOffset = offset;
}

void ValueDisplay::setFormatter(ValueToTextWithData conversion, void* data)
{
    toTextWithData = conversion;
    userData = data;
}

void ValueDisplay::setFormatter(ValueToText conversion)
{
    toText = conversion;
}

void ValueDisplay::setParser(TextToValue conversion)
{
    fromText = conversion;
}

void ValueDisplay::setStyle(std::int32_t newStyle)
{
    if (newStyle != style)
        setDirty(true);
    style = newStyle;
}

void ValueDisplay::setTextStyle(std::int32_t newTextStyle)
{
    if (newTextStyle != textStyle)
        setDirty(true);
    textStyle = newTextStyle;
}

void ValueDisplay::setTransparentText(bool state)
{
    transparentText = state;
}
