#include "tests/gui/Canvas.h"

#include <algorithm>

namespace {

constexpr WORD kBitsPerPixel = 32;
constexpr std::uint32_t kRgbMask = 0xFFFFFF;

// The section's pixels are blue, green, red and an unused byte, in memory order.
std::uint32_t toPixel(const Color& color)
{
    return color.blue | (color.green << 8) | (std::uint32_t{color.red} << 16);
}

} // namespace

Canvas::Canvas(std::int32_t width, std::int32_t height, const Color& background)
    : canvasWidth(width), canvasHeight(height), deviceContext(CreateCompatibleDC(nullptr))
{
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    // Negative height: rows top-down, so row y starts at y * width.
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    section = CreateDIBSection(deviceContext, &info, DIB_RGB_COLORS, &memory, nullptr, 0);
    bits = static_cast<std::uint32_t*>(memory);
    previousBitmap = SelectObject(deviceContext, section);
    fill(background);
}

Canvas::~Canvas()
{
    SelectObject(deviceContext, previousBitmap);
    DeleteObject(section);
    DeleteDC(deviceContext);
}

void Canvas::fill(const Color& color)
{
    GdiFlush();
    std::fill(bits, bits + canvasWidth * canvasHeight, toPixel(color));
}

Color Canvas::pixel(std::int32_t x, std::int32_t y) const
{
    // Drawing may be batched; the pixels are only current after a flush.
    GdiFlush();
    const std::uint32_t value = bits[y * canvasWidth + x];
    return {std::uint8_t(value >> 16), std::uint8_t(value >> 8), std::uint8_t(value), 0};
}

std::vector<std::uint32_t> Canvas::snapshot() const
{
    GdiFlush();
    std::vector<std::uint32_t> pixels(bits, bits + canvasWidth * canvasHeight);
    for (std::uint32_t& value : pixels) {
        value &= kRgbMask;
    }
    return pixels;
}

std::int32_t Canvas::countOther(const Color& color) const
{
    std::int32_t count = 0;
    for (std::uint32_t value : snapshot()) {
        count += value != toPixel(color);
    }
    return count;
}
