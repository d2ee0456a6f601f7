// The one build-time choice: DISPLAY_SCALE is 1 for orvane and 2 for
// orvane_x2. It scales the editor and every picture; the analysis is the same.
#pragma once

#include <cstddef>

#ifndef DISPLAY_SCALE
#define DISPLAY_SCALE 1
#endif

constexpr int kDisplayScale = DISPLAY_SCALE;
static_assert(kDisplayScale == 1 || kDisplayScale == 2, "DISPLAY_SCALE is 1 or 2");

// Pictures are 24-bit, bottom-up, blue-green-red, rows without padding.
constexpr int kPictureWidth = 200 * kDisplayScale;
constexpr int kPictureHeight = 96 * kDisplayScale;
constexpr int kBytesPerPixel = 3;
constexpr int kPictureRowBytes = kBytesPerPixel * kPictureWidth;
constexpr std::size_t kPictureBytes = static_cast<std::size_t>(kPictureRowBytes) * kPictureHeight;
