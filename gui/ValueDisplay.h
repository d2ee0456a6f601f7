// Shows a control's value as one line of text, "%2.2f" or from a conversion
// function, over its background bitmap or a filled rectangle, with an
// optional border, 3D edges and a shadow. Setters that change how it looks
// mark it dirty; colours count as changed only when red, green or blue do.
#pragma once

#include "gui/Color.h"
#include "gui/Control.h"

#include <cstdint>

enum ValueDisplayStyle : std::int32_t {
    StyleShadow = 0x4,
    StyleSunken = 0x80,
    StyleRaised = 0x100,
    StyleHideText = 0x800,
    StyleHidden = 0x1000,
};

// Conversions write into a buffer of kValueTextSize characters that starts
// out empty.
using ValueToText = void (*)(float value, char* text);
using ValueToTextWithData = void (*)(float value, char* text, void* userData);
using TextToValue = float (*)(const char* text, void* userData);

class ValueDisplay : public Control {
public:
    static constexpr int kValueTextSize = 256;

    // No listener, tag 0; takes a reference to `background` when given.
    ValueDisplay(const Rect& size, Bitmap* background, std::int32_t style);

    void draw(DrawContext& context) override;

    virtual void setFont(std::int32_t fontId);
    virtual void setTextColor(const Color& color);
    virtual void setFillColor(const Color& color);
    virtual void setBorderColor(const Color& color);
    virtual void setShadowColor(const Color& color);
    virtual void setAlignment(std::int32_t alignment);
    virtual void setBackgroundOffset(const Point& offset);
    // The conversion with data wins over the plain one when both are set.
    virtual void setFormatter(ValueToTextWithData conversion, void* userData);
    virtual void setFormatter(ValueToText conversion);
    // Kept for whoever edits values as text; the display itself never parses.
    virtual void setParser(TextToValue conversion);
    virtual void setStyle(std::int32_t newStyle);
    virtual void setTextStyle(std::int32_t newTextStyle);
    // Transparent text has no backing rectangle.
    virtual void setTransparentText(bool state);

    std::int32_t getFont() const { return fontId; }
    const Color& getTextColor() const { return textColor; }
    const Color& getFillColor() const { return fillColor; }
    const Color& getBorderColor() const { return borderColor; }
    const Color& getShadowColor() const { return shadowColor; }
    std::int32_t getAlignment() const { return alignment; }
    std::int32_t getStyle() const { return style; }
    std::int32_t getTextStyle() const { return textStyle; }
    TextToValue getParser() const { return fromText; }
    // The text `draw` shows for the current value.
    void formatValue(char (&text)[kValueTextSize]) const;

protected:
    ~ValueDisplay() override;

private:
    void drawText(DrawContext& context, const char* text);
    void drawPlainBackground(DrawContext& context);
    void drawEdges(DrawContext& context);
    // Marks the display dirty when the colour's red, green or blue change.
    void changeColor(Color& field, const Color& color);

    ValueToText toText = nullptr;
    ValueToTextWithData toTextWithData = nullptr;
    TextToValue fromText = nullptr;
    void* userData = nullptr;
    std::int32_t alignment;
    std::int32_t style;
    std::int32_t fontId;
    std::int32_t textStyle = 0;
    Color textColor = ColorWhite;
    Color fillColor = ColorBlack;
    Color borderColor = ColorBlack;
    Color shadowColor = ColorRed;
    Point backgroundOffset;
    bool transparentText = true;
};
