#include "gui/x11/CairoDrawContext.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// The toolkit names Windows faces; these are their metric twins on Linux.
struct FaceSubstitute {
    const char* windowsFace;
    const char* linuxFace;
};
constexpr FaceSubstitute kFaces[] = {{"Arial", "Liberation Sans"}, {"Symbol", "Standard Symbols PS"}};

const char* linuxFace(const char* face)
{
    for (const FaceSubstitute& substitute : kFaces)
        if (std::strcmp(substitute.windowsFace, face) == 0)
            return substitute.linuxFace;
    return face;
}

double channel(std::uint8_t value)
{
    return value / 255.0;
}

struct MouseBit {
    std::int32_t bit;
    unsigned int mask;
};

constexpr MouseBit kMouseBits[] = {
    {ButtonLeft, Button1Mask},  {ButtonMiddle, Button2Mask},    {ButtonRight, Button3Mask},
    {ModifierShift, ShiftMask}, {ModifierControl, ControlMask}, {ModifierAlt, Mod1Mask},
};

// A dotted pen draws every other pixel, starting with the first.
constexpr std::int32_t kDotPeriod = 2;

} // namespace

CairoDrawContext::CairoDrawContext(Frame* frame, cairo_t* cairo, Display* display, Window window)
    : DrawContext(frame), cairo(cairo), display(display), window(window)
{
    if (display && window) {
        Window child;
        XTranslateCoordinates(display, window, DefaultRootWindow(display), 0, 0, &windowPosition.x,
                              &windowPosition.y, &child);
    }
    if (cairo) {
        cairo_save(cairo);
        cairo_set_antialias(cairo, CAIRO_ANTIALIAS_NONE);
        applyDefaults();
    }
}

CairoDrawContext::~CairoDrawContext()
{
    if (cairo)
        cairo_restore(cairo);
}

void CairoDrawContext::touch(const Rect& area)
{
    if (area.right <= area.left || area.bottom <= area.top)
        return;
    if (!drewAnything) {
        drawn = area;
        drewAnything = true;
        return;
    }
    drawn.left = std::min(drawn.left, area.left);
    drawn.top = std::min(drawn.top, area.top);
    drawn.right = std::max(drawn.right, area.right);
    drawn.bottom = std::max(drawn.bottom, area.bottom);
}

void CairoDrawContext::setSource(const Color& color)
{
    cairo_set_source_rgb(cairo, channel(color.red), channel(color.green), channel(color.blue));
}

// Pixels left..right-1 by top..bottom-1, whole pixels only.
void CairoDrawContext::fillPixels(std::int32_t left, std::int32_t top, std::int32_t right, std::int32_t bottom)
{
    if (right <= left || bottom <= top)
        return;
    cairo_rectangle(cairo, left, top, right - left, bottom - top);
    cairo_fill(cairo);
    touch(Rect{left, top, right, bottom});
}

void CairoDrawContext::plot(std::int32_t x, std::int32_t y)
{
    fillPixels(x, y, x + 1, y + 1);
}

void CairoDrawContext::paintImage(cairo_surface_t* image, const Rect& destination, const Point& source)
{
    if (!cairo || destination.right <= destination.left || destination.bottom <= destination.top)
        return;
    cairo_set_source_surface(cairo, image, destination.left - source.x, destination.top - source.y);
    cairo_rectangle(cairo, destination.left, destination.top, destination.width(), destination.height());
    cairo_fill(cairo);
    touch(destination);
}

void CairoDrawContext::movePen(const Point& point)
{
    pen = point;
}

// The pixels a one-pixel Windows pen sets from the pen position to `point`,
// leaving the end point itself out: Bresenham's line.
void CairoDrawContext::drawLineTo(const Point& point)
{
    const Point from = pen;
    pen = point;
    if (!cairo)
        return;
    setSource(lineColor);
    const std::int32_t dx = std::abs(point.x - from.x);
    const std::int32_t dy = -std::abs(point.y - from.y);
    const std::int32_t stepX = from.x < point.x ? 1 : -1;
    const std::int32_t stepY = from.y < point.y ? 1 : -1;
    std::int32_t error = dx + dy;
    std::int32_t x = from.x;
    std::int32_t y = from.y;
    for (std::int32_t index = 0; x != point.x || y != point.y; ++index) {
        if (lineStyle != LineDotted || index % kDotPeriod == 0)
            plot(x, y);
        const std::int32_t twice = 2 * error;
        if (twice >= dy) {
            error += dy;
            x += stepX;
        }
        if (twice <= dx) {
            error += dx;
            y += stepY;
        }
    }
}

void CairoDrawContext::fillInside(const Rect& inside)
{
    if (!cairo)
        return;
    setSource(fillColor);
    fillPixels(inside.left, inside.top, inside.right, inside.bottom);
}

// Pens, fills and text colours are applied when drawn with.
void CairoDrawContext::applyPen() {}

void CairoDrawContext::applyFillColor() {}

void CairoDrawContext::applyTextColor() {}

void CairoDrawContext::applyFont(const FontChoice& font)
{
    fontFace = linuxFace(font.face);
    underline = font.underline;
    if (!cairo)
        return;
    cairo_select_font_face(cairo, fontFace, font.italic ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
                           font.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    // The character height, as the Windows font's negative height asks.
    cairo_set_font_size(cairo, font.size);
}

// One line, vertically centred in `area` by its cell (ascent and descent),
// clipped to `area`; opaque text is backed by the fill colour over its cell.
void CairoDrawContext::drawTextLine(const char* text, const Rect& area, bool opaque, std::int32_t alignment)
{
    if (!cairo)
        return;
    cairo_save(cairo);
    cairo_rectangle(cairo, area.left, area.top, area.width(), area.height());
    cairo_clip(cairo);
    cairo_set_antialias(cairo, CAIRO_ANTIALIAS_DEFAULT);
    cairo_font_extents_t font;
    cairo_font_extents(cairo, &font);
    cairo_text_extents_t extents;
    cairo_text_extents(cairo, text, &extents);
    const auto cell = static_cast<std::int32_t>(font.ascent + font.descent + 0.5);
    const auto width = static_cast<std::int32_t>(extents.x_advance + 0.5);
    std::int32_t left = area.left;
    if (alignment == AlignCenter)
        left += (area.width() - width) / 2;
    else if (alignment == AlignRight)
        left = area.right - width;
    const std::int32_t top = area.top + (area.height() - cell) / 2;
    if (opaque) {
        setSource(fillColor);
        cairo_rectangle(cairo, left, top, width, cell);
        cairo_fill(cairo);
    }
    setSource(textColor);
    const double baseline = top + font.ascent;
    cairo_move_to(cairo, left, baseline);
    cairo_show_text(cairo, text);
    if (underline) {
        cairo_rectangle(cairo, left, baseline + 1, width, 1);
        cairo_fill(cairo);
    }
    cairo_restore(cairo);
    touch(area);
}

std::int32_t CairoDrawContext::mouseState() const
{
    if (!display)
        return 0;
    Window root, child;
    int rootX, rootY, windowX, windowY;
    unsigned int mask = 0;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
    std::int32_t state = 0;
    for (const MouseBit& bit : kMouseBits)
        if (mask & bit.mask)
            state |= bit.bit;
    return state;
}

void CairoDrawContext::cursorPosition(Point& where) const
{
    if (!display) {
        where = Point{};
        return;
    }
    Window root, child;
    int rootX = 0, rootY = 0, windowX, windowY;
    unsigned int mask;
    XQueryPointer(display, DefaultRootWindow(display), &root, &child, &rootX, &rootY, &windowX, &windowY, &mask);
    where = Point{rootX - windowPosition.x, rootY - windowPosition.y};
}
