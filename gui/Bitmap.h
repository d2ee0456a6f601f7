// The toolkit's image: a BITMAP resource of the plug-in, shared by reference
// count, drawn opaquely or with one colour left out. The pixels and how they
// reach the screen are the platform's (BitmapImage).
#pragma once

#include "gui/Color.h"
#include "gui/Geometry.h"

#include <cstdint>

class BitmapImage;
class DrawContext;

class Bitmap {
public:
    // Loads resource `resourceId` (low 16 bits) of the plug-in; a resource
    // that does not load leaves a 0 x 0 bitmap that draws nothing.
    explicit Bitmap(std::int32_t resourceId);
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    void retain();
    // Frees the bitmap when the last reference goes; a count already at 0 is
    // left alone.
    void release();
    std::int32_t getReferenceCount() const { return referenceCount; }

    // Takes effect only before the first transparent draw, which fixes the mask.
    void setTransparentColor(const Color& color);
    // Both copy destination-sized pixels from `source`, not clipped to the image.
    // A draw that meets another thread's draw of the same bitmap copies nothing.
    void draw(DrawContext& context, const Rect& destination, const Point& source);
    void drawTransparent(DrawContext& context, const Rect& destination, const Point& source);

    std::int32_t getResourceId() const { return resourceId; }
    std::int32_t getWidth() const { return width; }
    std::int32_t getHeight() const { return height; }
    BitmapImage* getImage() const { return image; }

protected:
    virtual ~Bitmap();
    // For images the owner makes itself in place of the loaded one; the
    // bitmap owns and deletes whatever image it holds. The recorded size
    // stays the loaded one's. Call it before any thread draws the bitmap.
    void replaceImage(BitmapImage* newImage);

private:
    std::int32_t resourceId;
    std::int32_t referenceCount = 1;
    std::int32_t width = 0;
    std::int32_t height = 0;
    Color transparentColor = ColorTransparent;
    BitmapImage* image = nullptr;
};
