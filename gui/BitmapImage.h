// The platform's pixels behind a Bitmap: a picture of the plug-in's own
// (a BMP resource) or a picture in the renderer's format that the editor
// writes. Made by the platform layer through the two functions below; owned
// and deleted by the Bitmap that holds it.
#pragma once

#include "gui/Color.h"
#include "gui/Geometry.h"

#include <cstdint>

class DrawContext;

class BitmapImage {
public:
    virtual ~BitmapImage() = default;

    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
    // Both copy destination-sized pixels from `source`, not clipped to the
    // image, into a context of the same platform. A transparent draw leaves
    // out the pixels of `transparent`, as it was at the first such draw.
    virtual void draw(DrawContext& context, const Rect& destination, const Point& source) = 0;
    virtual void drawTransparent(DrawContext& context, const Rect& destination, const Point& source,
                                 const Color& transparent) = 0;
    // A picture's pixels (24 bits, blue-green-red, rows bottom-up, no gaps),
    // safe to write now that drawing queued on them is done; null for images
    // loaded from resources.
    virtual std::uint8_t* writablePixels() = 0;
};

// Resource `resourceId` of the plug-in; null when there is none.
BitmapImage* loadBitmapImage(std::int32_t resourceId);
// A picture of the given size, showing `start` stretched over it until
// written; null without memory.
BitmapImage* makePictureImage(BitmapImage* start, std::int32_t width, std::int32_t height);
