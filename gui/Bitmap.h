// The toolkit's image: a BITMAP resource of the plug-in library, shared by
// reference count, drawn opaquely or with one colour left out. Leaving the
// colour out uses a monochrome mask made once, at the first such draw, and
// offscreen surfaces that exist only during a draw. The image itself stays
// selected in a memory device context of its own from its first draw on:
// selecting a bitmap costs tens of microseconds on some systems, a copy less
// than one.
#pragma once

#include "gui/Color.h"
#include "gui/Geometry.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

class DrawContext;

class Bitmap {
public:
    // Loads resource `resourceId` (low 16 bits) of the plug-in library; a
    // resource that does not load leaves a 0 x 0 bitmap that draws nothing.
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
    HBITMAP getImage() const { return image; }

protected:
    virtual ~Bitmap();
    // For images the owner makes itself in place of the loaded one; the
    // bitmap owns and deletes whatever handle it holds. A mask made from the
    // old image goes with it. Call it before any thread draws the bitmap.
    void replaceImage(HBITMAP newImage);

private:
    // The image's own device context for the length of one draw; none while
    // another thread's draw has it.
    class ImageContext {
    public:
        ImageContext(Bitmap& bitmap, HDC reference);
        ~ImageContext();
        ImageContext(const ImageContext&) = delete;
        ImageContext& operator=(const ImageContext&) = delete;
        HDC get() const { return deviceContext; }

    private:
        Bitmap& bitmap;
        HDC deviceContext;
    };

    HDC takeImageContext(HDC reference);
    void deleteImageContext();
    HBITMAP makeMask(HDC picture) const;
    // The mask, made now if there is none yet.
    HBITMAP currentMask(HDC picture);

    std::int32_t resourceId;
    std::int32_t referenceCount = 1;
    std::int32_t width = 0;
    std::int32_t height = 0;
    Color transparentColor = ColorTransparent;
    HBITMAP image = nullptr;
    // Made by the first transparent draw.
    HBITMAP mask = nullptr;
    // Null while a draw has it or before the first draw made it.
    std::atomic<HDC> imageContext{nullptr};
    std::atomic<bool> imageContextMade{false};
};
