// Pixels of a window area as a test host captured them: rows top-down, 3
// bytes per pixel (blue, green, red).
#pragma once

#include <cstdint>
#include <vector>

struct Screenshot {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint8_t> pixels;

    const std::uint8_t* at(std::int32_t x, std::int32_t y) const { return &pixels[(y * width + x) * 3]; }
};
