#include "gui/x11/X11BitmapImage.h"

#include "gui/BmpPicture.h"
#include "gui/x11/CairoDrawContext.h"
#include "resources/embeddedPictures.h"

#include <cstring>
#include <new>

namespace {

constexpr int kPictureBytesPerPixel = 3;
constexpr std::uint32_t kOpaque = 0xFF000000u;
constexpr std::uint32_t kColourBits = 0x00FFFFFFu;

std::uint32_t rgbOf(const Color& color)
{
    return std::uint32_t{color.red} << 16 | std::uint32_t{color.green} << 8 | color.blue;
}

std::uint32_t* rowOf(cairo_surface_t* surface, std::int32_t y)
{
    return reinterpret_cast<std::uint32_t*>(cairo_image_surface_get_data(surface) +
                                            static_cast<std::size_t>(y) * cairo_image_surface_get_stride(surface));
}

cairo_surface_t* makeSurface(cairo_format_t format, std::int32_t width, std::int32_t height)
{
    return cairo_image_surface_create(format, width, height);
}

} // namespace

BitmapImage* loadBitmapImage(std::int32_t resourceId)
{
    const std::uint8_t* data = nullptr;
    std::size_t size = 0;
    if (!findEmbeddedPicture(resourceId, &data, &size))
        return nullptr;
    const BmpPicture picture = decodeBmp(data, size);
    return picture.empty() ? nullptr : new (std::nothrow) X11BitmapImage(picture);
}

BitmapImage* makePictureImage(BitmapImage* start, std::int32_t width, std::int32_t height)
{
    return new (std::nothrow) X11BitmapImage(static_cast<X11BitmapImage*>(start), width, height);
}

X11BitmapImage::X11BitmapImage(const BmpPicture& decoded)
    : imageWidth(decoded.width), imageHeight(decoded.height),
      image(makeSurface(CAIRO_FORMAT_RGB24, decoded.width, decoded.height))
{
    cairo_surface_flush(image);
    for (std::int32_t y = 0; y < imageHeight; ++y)
        std::memcpy(rowOf(image, y), &decoded.pixels[static_cast<std::size_t>(y) * imageWidth],
                    sizeof(std::uint32_t) * static_cast<std::size_t>(imageWidth));
    cairo_surface_mark_dirty(image);
}

// Nearest pixel: the resource pictures behind the editor's pictures are plain.
X11BitmapImage::X11BitmapImage(const X11BitmapImage* start, std::int32_t width, std::int32_t height)
    : imageWidth(width), imageHeight(height), image(makeSurface(CAIRO_FORMAT_RGB24, width, height)),
      picture(static_cast<std::size_t>(width) * height * kPictureBytesPerPixel)
{
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            std::uint32_t rgb = 0;
            if (start && start->imageWidth > 0 && start->imageHeight > 0)
                rgb = rowOf(start->image, y * start->imageHeight / height)[x * start->imageWidth / width];
            std::uint8_t* pixel =
                &picture[(static_cast<std::size_t>(height - 1 - y) * width + x) * kPictureBytesPerPixel];
            pixel[0] = static_cast<std::uint8_t>(rgb);
            pixel[1] = static_cast<std::uint8_t>(rgb >> 8);
            pixel[2] = static_cast<std::uint8_t>(rgb >> 16);
        }
    }
    pictureWritten = true;
}

X11BitmapImage::~X11BitmapImage()
{
    if (cutOut)
        cairo_surface_destroy(cutOut);
    cairo_surface_destroy(image);
}

std::uint8_t* X11BitmapImage::writablePixels()
{
    if (picture.empty())
        return nullptr;
    pictureWritten = true;
    return picture.data();
}

void X11BitmapImage::convertPicture()
{
    cairo_surface_flush(image);
    for (std::int32_t y = 0; y < imageHeight; ++y) {
        const std::uint8_t* from =
            &picture[static_cast<std::size_t>(imageHeight - 1 - y) * imageWidth * kPictureBytesPerPixel];
        std::uint32_t* to = rowOf(image, y);
        for (std::int32_t x = 0; x < imageWidth; ++x, from += kPictureBytesPerPixel)
            to[x] = std::uint32_t{from[2]} << 16 | std::uint32_t{from[1]} << 8 | from[0];
    }
    cairo_surface_mark_dirty(image);
    pictureWritten = false;
}

cairo_surface_t* X11BitmapImage::surface()
{
    if (pictureWritten)
        convertPicture();
    return image;
}

void X11BitmapImage::draw(DrawContext& context, const Rect& destination, const Point& source)
{
    static_cast<CairoDrawContext&>(context).paintImage(surface(), destination, source);
}

void X11BitmapImage::drawTransparent(DrawContext& context, const Rect& destination, const Point& source,
                                     const Color& transparent)
{
    if (!cutOut) {
        cairo_surface_t* opaque = surface();
        cutOut = makeSurface(CAIRO_FORMAT_ARGB32, imageWidth, imageHeight);
        cairo_surface_flush(cutOut);
        const std::uint32_t leftOut = rgbOf(transparent);
        for (std::int32_t y = 0; y < imageHeight; ++y) {
            const std::uint32_t* from = rowOf(opaque, y);
            std::uint32_t* to = rowOf(cutOut, y);
            for (std::int32_t x = 0; x < imageWidth; ++x)
                to[x] = (from[x] & kColourBits) == leftOut ? 0u : (from[x] | kOpaque);
        }
        cairo_surface_mark_dirty(cutOut);
    }
    static_cast<CairoDrawContext&>(context).paintImage(cutOut, destination, source);
}
