// The demo's converter: the test host's 24-bit BMP screenshots to PNG.
// usage: bmpToPng IN.bmp OUT.png
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

std::uint32_t read32(const std::uint8_t* p)
{
    return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::vector<std::uint8_t> readFile(const char* path)
{
    std::vector<std::uint8_t> bytes;
    if (std::FILE* file = std::fopen(path, "rb")) {
        std::uint8_t chunk[65536];
        for (std::size_t n; (n = std::fread(chunk, 1, sizeof chunk, file)) > 0;)
            bytes.insert(bytes.end(), chunk, chunk + n);
        std::fclose(file);
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: bmpToPng IN.bmp OUT.png\n");
        return 2;
    }
    const std::vector<std::uint8_t> bmp = readFile(argv[1]);
    constexpr std::size_t kHeadersSize = 54;
    if (bmp.size() < kHeadersSize || bmp[0] != 'B' || bmp[1] != 'M' || bmp[28] != 24) {
        std::fprintf(stderr, "%s: not a 24-bit BMP file\n", argv[1]);
        return 1;
    }
    const std::uint32_t offset = read32(&bmp[10]);
    const auto width = static_cast<std::int32_t>(read32(&bmp[18]));
    const auto height = static_cast<std::int32_t>(read32(&bmp[22]));
    const std::int64_t rowBytes = (static_cast<std::int64_t>(width) * 3 + 3) & ~3;
    if (width <= 0 || height <= 0 || offset + rowBytes * height > static_cast<std::int64_t>(bmp.size())) {
        std::fprintf(stderr, "%s: truncated or bottom-up rows missing\n", argv[1]);
        return 1;
    }
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGR;
    // Bottom-up rows: a negative stride.
    const bool written = png_image_write_to_file(&image, argv[2], 0, &bmp[offset], -static_cast<png_int_32>(rowBytes),
                                                 nullptr) != 0;
    png_image_free(&image);
    if (!written) {
        std::fprintf(stderr, "could not write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
