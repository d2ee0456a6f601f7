#include "analyze/pngFiles.h"

#include "analyze/AtomicFile.h"

#include <png.h>

namespace {

constexpr const char* kPictureNames[kPictureCount] = {"histogram", "spectrum", "levelhistory", "spectrogram"};
constexpr int kBytesPerPixel = 3;

// The pictures hold bottom-up rows of blue, green, red; the BGR format and a
// negative row stride have libpng store them as top-down RGB rows.
std::string writePng(const Picture& picture, const std::string& path)
{
    AtomicFile file(path);
    if (!file.stream())
        return file.error();
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(picture.width);
    image.height = static_cast<png_uint_32>(picture.height);
    image.format = PNG_FORMAT_BGR;
    const bool encoded = png_image_write_to_stdio(&image, file.stream(), 0, picture.pixels.data(),
                                                  -kBytesPerPixel * picture.width, nullptr) != 0;
    const std::string message = encoded ? "" : image.message;
    png_image_free(&image);
    if (!encoded)
        return "cannot encode " + path + ": " + message;
    return file.commit() ? "" : file.error();
}

} // namespace

std::string writePictures(const PictureSet& pictures, const std::string& folder, const std::string& stem,
                          std::vector<std::string>& written)
{
    for (int i = 0; i < kPictureCount; ++i) {
        const std::string path = folder + "/" + stem + "-" + kPictureNames[i] + ".png";
        if (const std::string error = writePng(pictures[static_cast<std::size_t>(i)], path); !error.empty())
            return error;
        written.push_back(path);
    }
    return {};
}
