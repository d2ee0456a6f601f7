// The one object through which views draw. It keeps the current colours,
// line style and font, applies the toolkit's pixel rules (outlines cover the
// right and bottom coordinates, fills stop inside them, left-aligned text
// starts one pixel in), and answers which mouse buttons and modifier keys are
// held and where the cursor is. A platform's context (Win32DrawContext,
// CairoDrawContext) turns the settings into its own pens, brushes and fonts.
// Short-lived: made for one paint, press or redraw, on one thread, and never
// cached, so every context starts from the same defaults.
#pragma once

#include "gui/Color.h"
#include "gui/Geometry.h"

#include <cstdint>

class Frame;

enum LineStyle : std::int32_t { LineSolid = 0, LineDotted = 1 };

enum TextStyle : std::int32_t { TextBold = 1, TextItalic = 2, TextUnderline = 4 };

enum TextAlignment : std::int32_t { AlignLeft = 0, AlignCenter = 1, AlignRight = 2 };

// Bits of mouseState: buttons and modifier keys held at the moment of the call.
enum MouseState : std::int32_t {
    ButtonLeft = 1,
    ButtonMiddle = 2,
    ButtonRight = 4,
    ModifierShift = 8,
    ModifierControl = 16,
    ModifierAlt = 32,
};

// One of the toolkit's eight font ids, resolved: the face the platform should
// find (or its metric twin), size in pixels of a character, weight and style.
struct FontChoice {
    const char* face;
    std::int32_t size;
    bool bold;
    bool italic;
    bool underline;
    // The Windows pitch-and-family byte of the face: variable Swiss or symbol.
    std::uint8_t pitchAndFamily;
};

class DrawContext {
public:
    virtual ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    void moveTo(const Point& point);
    // The end point itself is not drawn.
    void lineTo(const Point& point);
    // Covers columns left..right and rows top..bottom.
    void outlineRect(const Rect& rect);
    // Fills (left + 1, top + 1) up to but excluding (right, bottom), so it
    // stays inside an outline of the same rectangle.
    void fillRect(const Rect& rect);

    void setLineStyle(std::int32_t style);
    void setLineColor(const Color& color);
    // Also the background of opaque text.
    void setFillColor(const Color& color);
    void setTextColor(const Color& color);
    // Font ids 0..7 (others fall back to 0); size 0 takes the id's default.
    void setFont(std::int32_t fontId, std::int32_t size, std::int32_t style);
    // One line, vertically centred; left-aligned text starts one pixel in.
    void drawText(const char* text, const Rect& rect, std::int16_t opaque, std::int32_t alignment);

    virtual std::int32_t mouseState() const = 0;
    // The cursor relative to where the window was when this context was made.
    virtual void cursorPosition(Point& where) const = 0;

    Frame* getFrame() const { return frame; }
    std::int32_t getFontSize() const { return fontSize; }
    std::int32_t getFontId() const { return fontId; }

protected:
    explicit DrawContext(Frame* frame);
    // For platform constructors that can draw: sets line colour, line style,
    // fill colour and text colour, in that order, to the defaults.
    void applyDefaults();

    // What the platform does with each setting or primitive; `inside` of a
    // fill is already inset, `area` of a text already shifted.
    virtual void movePen(const Point& point) = 0;
    virtual void drawLineTo(const Point& point) = 0;
    virtual void fillInside(const Rect& inside) = 0;
    virtual void applyPen() = 0;
    virtual void applyFillColor() = 0;
    virtual void applyTextColor() = 0;
    virtual void applyFont(const FontChoice& font) = 0;
    virtual void drawTextLine(const char* text, const Rect& area, bool opaque, std::int32_t alignment) = 0;

    std::int32_t lineWidth = 1;
    Color lineColor = ColorWhite;
    Color fillColor = ColorBlack;
    Color textColor = ColorWhite;
    std::int32_t lineStyle = LineSolid;

private:
    Frame* frame;
    std::int32_t fontSize = 0;
    std::int32_t fontId = 0;
};
