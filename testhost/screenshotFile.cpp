#include "testhost/screenshotFile.h"

#include <cstdio>

namespace {

void put16(std::FILE* file, std::uint32_t value)
{
    std::fputc(static_cast<int>(value & 0xFF), file);
    std::fputc(static_cast<int>((value >> 8) & 0xFF), file);
}

void put32(std::FILE* file, std::uint32_t value)
{
    put16(file, value & 0xFFFF);
    put16(file, value >> 16);
}

} // namespace

bool writeScreenshot(const Screenshot& shot, const std::string& path)
{
    if (shot.width <= 0 || shot.height <= 0)
        return false;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    constexpr std::uint32_t kHeadersSize = 14 + 40;
    const std::uint32_t rowBytes = (static_cast<std::uint32_t>(shot.width) * 3 + 3) & ~3u;
    const std::uint32_t imageBytes = rowBytes * static_cast<std::uint32_t>(shot.height);
    std::fputs("BM", file);
    put32(file, kHeadersSize + imageBytes);
    put32(file, 0);
    put32(file, kHeadersSize);
    put32(file, 40);
    put32(file, static_cast<std::uint32_t>(shot.width));
    put32(file, static_cast<std::uint32_t>(shot.height)); // bottom-up rows
    put16(file, 1);
    put16(file, 24);
    for (int field = 0; field < 6; ++field)
        put32(file, 0);
    const std::uint32_t padding = rowBytes - static_cast<std::uint32_t>(shot.width) * 3;
    for (std::int32_t y = shot.height - 1; y >= 0; --y) {
        std::fwrite(shot.at(0, y), 3, static_cast<std::size_t>(shot.width), file);
        for (std::uint32_t i = 0; i < padding; ++i)
            std::fputc(0, file);
    }
    return std::fclose(file) == 0;
}
