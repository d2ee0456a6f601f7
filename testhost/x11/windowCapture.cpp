#include "testhost/x11/windowCapture.h"

#include <X11/Xutil.h>

#include <cstdint>

namespace {
constexpr int kBytesPerPixel = 3;
constexpr int kGreenShift = 8;
constexpr int kRedShift = 16;
} // namespace

// The windows are true colour with 8 bits a colour, red in the high byte.
Screenshot captureWindow(Display* display, Window window)
{
    Screenshot shot;
    XWindowAttributes attributes;
    if (!window || !XGetWindowAttributes(display, window, &attributes))
        return shot;
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(attributes.width),
                              static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
    if (!image)
        return shot;
    shot.width = attributes.width;
    shot.height = attributes.height;
    shot.pixels.resize(static_cast<std::size_t>(shot.width) * shot.height * kBytesPerPixel);
    for (std::int32_t y = 0; y < shot.height; ++y) {
        for (std::int32_t x = 0; x < shot.width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            std::uint8_t* out = &shot.pixels[(static_cast<std::size_t>(y) * shot.width + x) * kBytesPerPixel];
            out[0] = static_cast<std::uint8_t>(pixel & image->blue_mask);
            out[1] = static_cast<std::uint8_t>((pixel & image->green_mask) >> kGreenShift);
            out[2] = static_cast<std::uint8_t>((pixel & image->red_mask) >> kRedShift);
        }
    }
    XDestroyImage(image);
    return shot;
}
