// The editor's pictures where no system reads BMP files for us: a reader of
// the Windows BMP format, plain C++ over memory. The caller keeps the file's
// bytes; the picture owns its pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// A decoded picture: width x height pixels, rows top-down, each pixel a
// 32-bit value 0x00RRGGBB (the layout of cairo's RGB24 images).
struct BmpPicture {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::vector<std::uint32_t> pixels;
    bool empty() const { return pixels.empty(); }
};

// Decodes a Windows BMP file held in memory: 1-, 4-, 8- and 24-bit
// uncompressed and 8-bit run-length-encoded, bottom-up or top-down rows.
// Anything else, or data that is cut short or inconsistent, gives an empty picture;
// so does a picture wider or taller than 16384 pixels, larger than 4096 x 4096
// pixels in all, or one there is no memory for.
// Pixels a run-length-encoded file never reaches take palette entry 0, as on
// Windows; palette indices past the file's palette are black.
BmpPicture decodeBmp(const std::uint8_t* data, std::size_t size);
