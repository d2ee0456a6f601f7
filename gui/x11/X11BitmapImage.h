// A bitmap's pixels on X11: a cairo image in memory, decoded from the BMP
// file embedded under the resource's id, or a picture in the renderer's
// format (24 bits, blue-green-red, rows bottom-up) that is turned into the
// cairo image when it is next drawn after being written. Leaving a colour out
// uses a copy with that colour made fully transparent, made once, at the
// first such draw.
#pragma once

#include "gui/BitmapImage.h"

#include <cairo/cairo.h>

#include <vector>

struct BmpPicture;

class X11BitmapImage : public BitmapImage {
public:
    // A picture of the plug-in's own; `picture` must not be empty.
    explicit X11BitmapImage(const BmpPicture& picture);
    // A picture the renderer writes, first showing `start` stretched over it.
    X11BitmapImage(const X11BitmapImage* start, std::int32_t width, std::int32_t height);
    ~X11BitmapImage() override;
    X11BitmapImage(const X11BitmapImage&) = delete;
    X11BitmapImage& operator=(const X11BitmapImage&) = delete;

    std::int32_t width() const override { return imageWidth; }
    std::int32_t height() const override { return imageHeight; }
    void draw(DrawContext& context, const Rect& destination, const Point& source) override;
    void drawTransparent(DrawContext& context, const Rect& destination, const Point& source,
                         const Color& transparent) override;
    std::uint8_t* writablePixels() override;

    // The image as cairo draws it, up to date with the picture's pixels.
    cairo_surface_t* surface();

private:
    void convertPicture();

    std::int32_t imageWidth;
    std::int32_t imageHeight;
    cairo_surface_t* image;
    // The transparent copy, made by the first transparent draw.
    cairo_surface_t* cutOut = nullptr;
    // A picture's own pixels; empty for resource pictures.
    std::vector<std::uint8_t> picture;
    // Set when the pixels may have been written since the image was made from them.
    bool pictureWritten = false;
};
