// The one object through which views draw: wraps a device context that the
// caller obtained (BeginPaint or GetDC) and releases, keeps the current
// colours, line style and font as platform objects selected into it, and puts
// the device context's own objects back when destroyed. Short-lived: made for
// one paint, press or redraw, on one thread, and never cached.
#pragma once

#include "gui/Color.h"
#include "gui/Geometry.h"

#include <windows.h>

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

class DrawContext {
public:
    // Without a device context the context stores what it is given but
    // creates, selects and draws nothing.
    DrawContext(Frame* frame, HDC deviceContext, HWND window);
    virtual ~DrawContext();
    DrawContext(const DrawContext&) = delete;
    DrawContext& operator=(const DrawContext&) = delete;

    void moveTo(const Point& point);
    void lineTo(const Point& point);
    // Covers columns left..right and rows top..bottom.
    void outlineRect(const Rect& rect);
    // Fills (left + 1, top + 1) up to but excluding (right, bottom), so it
    // stays inside an outline of the same rectangle.
    void fillRect(const Rect& rect);

    void setLineStyle(std::int32_t style);
    void setLineColor(const Color& color);
    void setFillColor(const Color& color);
    void setTextColor(const Color& color);
    // Font ids 0..7 (others fall back to 0); size 0 takes the id's default.
    void setFont(std::int32_t fontId, std::int32_t size, std::int32_t style);
    // One line, vertically centred; left-aligned text starts one pixel in.
    void drawText(const char* text, const Rect& rect, std::int16_t opaque, std::int32_t alignment);

    std::int32_t mouseState() const;
    // The cursor relative to where the window was when this context was made.
    void cursorPosition(Point& where) const;

    HDC getDeviceContext() const { return deviceContext; }
    HWND getWindow() const { return window; }
    Frame* getFrame() const { return frame; }
    std::int32_t getFontSize() const { return fontSize; }
    std::int32_t getFontId() const { return fontId; }

private:
    void rebuildPen();

    Point windowPosition;
    HDC deviceContext;
    HWND window;
    Frame* frame;
    std::int32_t fontSize = 0;
    std::int32_t fontId = 0;
    Color textColor = ColorWhite;
    std::int32_t lineWidth = 1;
    Color lineColor = ColorWhite;
    Color fillColor = ColorBlack;
    std::int32_t lineStyle = LineSolid;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
    HGDIOBJ savedBrush = nullptr;
    HGDIOBJ savedPen = nullptr;
    HGDIOBJ savedFont = nullptr;
    UINT penStyle = PS_SOLID;
};
