#include "testhost/pictureFiles.h"

#include <png.h>

#include <cstdint>
#include <vector>

namespace {

using Picture = std::vector<std::uint8_t>;

// The pictures hold bottom-up rows of blue, green, red. The BGR format and a
// negative row stride have libpng turn them into top-down RGB rows.
bool writePng(const std::string& path, const Picture& picture)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = kPictureWidth;
    image.height = kPictureHeight;
    image.format = PNG_FORMAT_BGR;
    const bool written =
        png_image_write_to_file(&image, path.c_str(), 0, picture.data(), -kPictureRowBytes, nullptr) != 0;
    png_image_free(&image);
    return written;
}

} // namespace

bool writePictures(Analyzer& analyzer, const std::string& folder, const std::string& stem)
{
    Picture histogram(kPictureBytes);
    Picture spectrum(kPictureBytes);
    Picture levelHistory(kPictureBytes);
    Picture spectrogram(kPictureBytes);
    analyzer.renderGraphs(histogram.data(), spectrum.data(), levelHistory.data(), spectrogram.data());

    const std::string base = folder + "/" + stem;
    // Every file is attempted, so one that cannot be written does not hide the others.
    bool written = writePng(base + "-histogram.png", histogram);
    written = writePng(base + "-spectrum.png", spectrum) && written;
    written = writePng(base + "-levelhistory.png", levelHistory) && written;
    written = writePng(base + "-spectrogram.png", spectrogram) && written;
    return written;
}
