// A bitmap's pixels on Windows: a bitmap handle (a resource picture, or a
// device-independent section for the editor's pictures). Leaving a colour
// out uses a monochrome mask made once, at the first such draw, and offscreen
// surfaces that exist only during a draw. The image itself stays selected in
// a memory device context of its own from its first draw on: selecting a
// bitmap costs tens of microseconds on some systems, a copy less than one.
#pragma once

#include "gui/BitmapImage.h"

#include <windows.h>

#include <atomic>

class Win32BitmapImage : public BitmapImage {
public:
    // Takes over `image`; `pixels` is a section's pixel storage, or null.
    explicit Win32BitmapImage(HBITMAP image, std::uint8_t* pixels = nullptr);
    ~Win32BitmapImage() override;
    Win32BitmapImage(const Win32BitmapImage&) = delete;
    Win32BitmapImage& operator=(const Win32BitmapImage&) = delete;

    std::int32_t width() const override { return imageWidth; }
    std::int32_t height() const override { return imageHeight; }
    // A draw that finds the image selected in another device context (as while
    // another thread draws it) copies nothing.
    void draw(DrawContext& context, const Rect& destination, const Point& source) override;
    void drawTransparent(DrawContext& context, const Rect& destination, const Point& source,
                         const Color& transparent) override;
    std::uint8_t* writablePixels() override;

    HBITMAP handle() const { return image; }

private:
    // The image's own device context for the length of one draw; none while
    // another thread's draw has it.
    class ImageContext {
    public:
        ImageContext(Win32BitmapImage& owner, HDC reference);
        ~ImageContext();
        ImageContext(const ImageContext&) = delete;
        ImageContext& operator=(const ImageContext&) = delete;
        HDC get() const { return deviceContext; }

    private:
        Win32BitmapImage& owner;
        HDC deviceContext;
    };

    HDC takeImageContext(HDC reference);
    HBITMAP makeMask(HDC picture, const Color& transparent) const;
    // The mask, made now if there is none yet.
    HBITMAP currentMask(HDC picture, const Color& transparent);

    HBITMAP image;
    std::uint8_t* pixels;
    std::int32_t imageWidth = 0;
    std::int32_t imageHeight = 0;
    // Made by the first transparent draw.
    HBITMAP mask = nullptr;
    // Null while a draw has it or before the first draw made it.
    std::atomic<HDC> imageContext{nullptr};
    std::atomic<bool> imageContextMade{false};
};
