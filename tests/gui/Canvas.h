// A drawing surface whose pixels the tests read back exactly, without a
// screen: a memory device context holding a 32-bit top-down DIB section.
#pragma once

#include "gui/Color.h"
#include "gui/Geometry.h"

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <vector>

class Canvas {
public:
    Canvas(std::int32_t width, std::int32_t height, const Color& background);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    HDC get() const { return deviceContext; }
    std::int32_t width() const { return canvasWidth; }
    std::int32_t height() const { return canvasHeight; }

    void fill(const Color& color);
    // The reserved byte is 0, as in the named colours.
    Color pixel(std::int32_t x, std::int32_t y) const;
    std::vector<std::uint32_t> snapshot() const;
    // Pixels that are not `color`.
    std::int32_t countOther(const Color& color) const;

private:
    std::int32_t canvasWidth;
    std::int32_t canvasHeight;
    HDC deviceContext;
    HBITMAP section = nullptr;
    HGDIOBJ previousBitmap = nullptr;
    std::uint32_t* bits = nullptr;
};

// Pixels read back compare and print by red, green and blue.
inline bool operator==(const Color& a, const Color& b)
{
    return a.sameRgb(b);
}

inline bool operator!=(const Color& a, const Color& b)
{
    return !a.sameRgb(b);
}

inline std::ostream& operator<<(std::ostream& out, const Color& color)
{
    return out << '(' << int(color.red) << ", " << int(color.green) << ", " << int(color.blue) << ')';
}
