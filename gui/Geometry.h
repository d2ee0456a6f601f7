// Pixel coordinates in the client area of the editor's window.
#pragma once

#include <cstdint>

struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Left and top are inside; whether right and bottom are depends on the
// operation (outlines cover them, fills stop before them).
struct Rect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;

    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
    // Edges included: hit tests and drops count a point on the border as inside.
    bool contains(const Point& point) const
    {
        return point.x >= left && point.x <= right && point.y >= top && point.y <= bottom;
    }
};
