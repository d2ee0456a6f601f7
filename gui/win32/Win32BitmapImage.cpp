#include "gui/win32/Win32BitmapImage.h"

#include "gui/win32/MemorySurface.h"
#include "gui/win32/Win32DrawContext.h"
#include "host/entryPoints.h"

#include <new>

namespace {

constexpr UINT kMaskPlanes = 1;
constexpr UINT kMaskBitsPerPixel = 1;

HBITMAP makeMonochrome(std::int32_t width, std::int32_t height)
{
    return CreateBitmap(width, height, kMaskPlanes, kMaskBitsPerPixel, nullptr);
}

constexpr WORD kPictureBitsPerPixel = 24;

HBITMAP makeSection(std::int32_t width, std::int32_t height, void** pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    // Positive: rows bottom-up, as the renderer writes them.
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kPictureBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, pixels, nullptr, 0);
}

// `from`, stretched over the whole of `to`.
void copyScaled(HBITMAP from, std::int32_t fromWidth, std::int32_t fromHeight, HBITMAP to, std::int32_t width,
                std::int32_t height)
{
    HDC source = CreateCompatibleDC(nullptr);
    HDC target = CreateCompatibleDC(nullptr);
    HGDIOBJ oldSource = SelectObject(source, from);
    HGDIOBJ oldTarget = SelectObject(target, to);
    if (oldSource && oldTarget)
        StretchBlt(target, 0, 0, width, height, source, 0, 0, fromWidth, fromHeight, SRCCOPY);
    if (oldSource)
        SelectObject(source, oldSource);
    if (oldTarget)
        SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
}

HDC deviceContextOf(DrawContext& context)
{
    return static_cast<Win32DrawContext&>(context).getDeviceContext();
}

} // namespace

BitmapImage* loadBitmapImage(std::int32_t resourceId)
{
    HBITMAP image = LoadBitmapA(static_cast<HINSTANCE>(moduleInstance), MAKEINTRESOURCEA(resourceId));
    return image ? new (std::nothrow) Win32BitmapImage(image) : nullptr;
}

BitmapImage* makePictureImage(BitmapImage* start, std::int32_t width, std::int32_t height)
{
    void* pixels = nullptr;
    HBITMAP section = makeSection(width, height, &pixels);
    if (!section)
        return nullptr;
    if (auto* startImage = static_cast<Win32BitmapImage*>(start))
        copyScaled(startImage->handle(), startImage->width(), startImage->height(), section, width, height);
    GdiFlush();
    return new (std::nothrow) Win32BitmapImage(section, static_cast<std::uint8_t*>(pixels));
}

Win32BitmapImage::Win32BitmapImage(HBITMAP image, std::uint8_t* pixels) : image(image), pixels(pixels)
{
    BITMAP description;
    if (GetObjectA(image, sizeof description, &description)) {
        imageWidth = description.bmWidth;
        imageHeight = description.bmHeight;
    }
}

Win32BitmapImage::~Win32BitmapImage()
{
    if (HDC kept = imageContext.exchange(nullptr)) {
        DeleteDC(kept);
    }
    if (image) {
        DeleteObject(image);
    }
    if (mask) {
        DeleteObject(mask);
    }
}

std::uint8_t* Win32BitmapImage::writablePixels()
{
    // Drawing still queued on the section must finish before its pixels change.
    if (pixels) {
        GdiFlush();
    }
    return pixels;
}

Win32BitmapImage::ImageContext::ImageContext(Win32BitmapImage& owner, HDC reference)
    : owner(owner), deviceContext(owner.takeImageContext(reference))
{
}

Win32BitmapImage::ImageContext::~ImageContext()
{
    if (deviceContext) {
        owner.imageContext.store(deviceContext, std::memory_order_release);
    }
}

HDC Win32BitmapImage::takeImageContext(HDC reference)
{
    if (HDC kept = imageContext.exchange(nullptr, std::memory_order_acquire)) {
        return kept;
    }
    // Made by the first draw; a later null means another draw has it.
    if (imageContextMade.exchange(true)) {
        return nullptr;
    }
    HDC made = CreateCompatibleDC(reference);
    if (made && SelectObject(made, image)) {
        return made;
    }
    if (made) {
        DeleteDC(made);
    }
    imageContextMade = false;
    return nullptr;
}

void Win32BitmapImage::draw(DrawContext& context, const Rect& destination, const Point& source)
{
    HDC target = deviceContextOf(context);
    if (!image || !target) {
        return;
    }
    ImageContext picture(*this, target);
    if (picture.get()) {
        BitBlt(target, destination.left, destination.top, destination.width(), destination.height(),
               picture.get(), source.x, source.y, SRCCOPY);
    }
}

HBITMAP Win32BitmapImage::makeMask(HDC picture, const Color& transparent) const
{
    BITMAP description;
    if (!GetObjectA(image, sizeof description, &description)) {
        return nullptr;
    }
    POINT size{description.bmWidth, description.bmHeight};
    DPtoLP(picture, &size, 1);
    HBITMAP made = makeMonochrome(size.x, size.y);
    bool copied = false;
    {
        MemorySurface maskSurface(picture, made, MemorySurface::Borrowed);
        // The colour-to-monochrome copy turns pixels of the background colour into 1, all others into 0.
        const COLORREF previousBackground = SetBkColor(picture, transparent.toPlatform());
        copied = maskSurface.ready() && BitBlt(maskSurface.get(), 0, 0, size.x, size.y, picture, 0, 0, SRCCOPY);
        SetBkColor(picture, previousBackground);
    }
    if (!copied) {
        DeleteObject(made);
        return nullptr;
    }
    return made;
}

// Only the holder of the image context gets here, so one thread at a time.
HBITMAP Win32BitmapImage::currentMask(HDC picture, const Color& transparent)
{
    if (!mask) {
        mask = makeMask(picture, transparent);
    }
    return mask;
}

void Win32BitmapImage::drawTransparent(DrawContext& context, const Rect& destination, const Point& source,
                                       const Color& transparent)
{
    HDC target = deviceContextOf(context);
    if (!image || !target) {
        return;
    }
    ImageContext picture(*this, target);
    // Image held by another thread's draw: copying now would use the wrong
    // pixels, so this draw leaves the screen alone.
    if (!picture.get()) {
        return;
    }
    HBITMAP maskImage = currentMask(picture.get(), transparent);
    if (!maskImage) {
        return;
    }
    const std::int32_t w = destination.width();
    const std::int32_t h = destination.height();
    const std::int32_t x = destination.left;
    const std::int32_t y = destination.top;
    const std::int32_t sx = source.x;
    const std::int32_t sy = source.y;

    MemorySurface inverseMask(target, makeMonochrome(w, h), MemorySurface::Owned);
    MemorySurface maskSurface(target, maskImage, MemorySurface::Borrowed);
    MemorySurface composition(target, CreateCompatibleBitmap(target, w, h), MemorySurface::Owned);
    MemorySurface saved(target, CreateCompatibleBitmap(target, w, h), MemorySurface::Owned);
    // Without memory for the surfaces nothing is drawn rather than half of it.
    if (!inverseMask.ready() || !maskSurface.ready() || !composition.ready() || !saved.ready()) {
        return;
    }
    // Monochrome-to-colour copies below use the fresh surfaces' black text and
    // white background: mask 1 keeps the destination, 0 clears it.
    BitBlt(saved.get(), 0, 0, w, h, picture.get(), sx, sy, SRCCOPY);
    BitBlt(inverseMask.get(), 0, 0, w, h, maskSurface.get(), sx, sy, NOTSRCCOPY);
    BitBlt(composition.get(), 0, 0, w, h, target, x, y, SRCCOPY);
    BitBlt(composition.get(), 0, 0, w, h, maskSurface.get(), sx, sy, SRCAND);
    BitBlt(picture.get(), sx, sy, w, h, inverseMask.get(), 0, 0, SRCAND);
    BitBlt(composition.get(), 0, 0, w, h, picture.get(), sx, sy, SRCPAINT);
    // The screen is written once, so the image never shows half composed.
    BitBlt(target, x, y, w, h, composition.get(), 0, 0, SRCCOPY);
    BitBlt(picture.get(), sx, sy, w, h, saved.get(), 0, 0, SRCCOPY);
}
