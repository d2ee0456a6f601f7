// The drawing context on X11: cairo over the frame window's picture in
// memory, with the toolkit's pixel rules kept exactly (no anti-aliasing for
// lines and fills; one-pixel lines cover what the Windows pen covers) and
// text in the Arial faces' metric twin, Liberation Sans. The mouse comes from
// the X server at the moment of asking. Without a cairo context it stores
// what it is given and draws nothing.
#pragma once

#include "gui/DrawContext.h"

#include "gui/x11/xlib.h"
#include <cairo/cairo.h>

class CairoDrawContext : public DrawContext {
public:
    // `cairo` draws on the window's picture; `display` and `window` answer
    // the mouse questions. Each may be null (window 0).
    CairoDrawContext(Frame* frame, cairo_t* cairo, Display* display, Window window);
    ~CairoDrawContext() override;

    std::int32_t mouseState() const override;
    void cursorPosition(Point& where) const override;

    // Copies destination-sized pixels of `image` from `source` (its pixels
    // that are not fully transparent), not clipped to the image.
    void paintImage(cairo_surface_t* image, const Rect& destination, const Point& source);

    // What the context has drawn on so far, for the window to show.
    const Rect& drawnArea() const { return drawn; }

protected:
    void movePen(const Point& point) override;
    void drawLineTo(const Point& point) override;
    void fillInside(const Rect& inside) override;
    void applyPen() override;
    void applyFillColor() override;
    void applyTextColor() override;
    void applyFont(const FontChoice& font) override;
    void drawTextLine(const char* text, const Rect& area, bool opaque, std::int32_t alignment) override;

private:
    void setSource(const Color& color);
    void fillPixels(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom);
    void plot(std::int32_t x, std::int32_t y);
    void touch(const Rect& area);

    cairo_t* cairo;
    Display* display;
    Window window;
    Point windowPosition;
    Point pen;
    const char* fontFace = nullptr;
    bool underline = false;
    Rect drawn{};
    bool drewAnything = false;
};
