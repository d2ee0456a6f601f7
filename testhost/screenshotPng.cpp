#include "testhost/screenshotPng.h"

#include <png.h>

bool writeScreenshotPng(const Screenshot& shot, const std::string& path)
{
    if (shot.width <= 0 || shot.height <= 0)
        return false;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(shot.width);
    image.height = static_cast<png_uint_32>(shot.height);
    image.format = PNG_FORMAT_BGR;
    const bool written = png_image_write_to_file(&image, path.c_str(), 0, shot.pixels.data(), 0, nullptr) != 0;
    png_image_free(&image);
    return written;
}
