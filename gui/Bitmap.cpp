#include "gui/Bitmap.h"

#include "gui/DrawContext.h"
#include "gui/MemorySurface.h"
#include "host/entryPoints.h"

namespace {

constexpr std::int32_t kResourceIdMask = 0xFFFF;
constexpr UINT kMaskPlanes = 1;
constexpr UINT kMaskBitsPerPixel = 1;

HBITMAP makeMonochrome(std::int32_t width, std::int32_t height)
{
    return CreateBitmap(width, height, kMaskPlanes, kMaskBitsPerPixel, nullptr);
}

} // namespace

Bitmap::Bitmap(std::int32_t resourceId) : resourceId(resourceId)
{
    image =
        LoadBitmapA(static_cast<HINSTANCE>(moduleInstance), MAKEINTRESOURCEA(resourceId & kResourceIdMask));
    BITMAP description;
    if (image && GetObjectA(image, sizeof description, &description)) {
        width = description.bmWidth;
        height = description.bmHeight;
    }
}

Bitmap::~Bitmap()
{
    deleteImageContext();
    if (image) {
        DeleteObject(image);
    }
    if (mask) {
        DeleteObject(mask);
    }
}

void Bitmap::retain()
{
    ++referenceCount;
}

void Bitmap::release()
{
    if (referenceCount <= 0) {
        return;
    }
    if (--referenceCount == 0) {
        delete this;
    }
}

void Bitmap::setTransparentColor(const Color& color)
{
    transparentColor = color;
}

void Bitmap::replaceImage(HBITMAP newImage)
{
    deleteImageContext();
    if (image && image != newImage) {
        DeleteObject(image);
    }
    image = newImage;
    // A mask made from the old image would leave out the wrong pixels.
    if (mask) {
        DeleteObject(mask);
        mask = nullptr;
    }
}

Bitmap::ImageContext::ImageContext(Bitmap& bitmap, HDC reference)
    : bitmap(bitmap), deviceContext(bitmap.takeImageContext(reference))
{
}

Bitmap::ImageContext::~ImageContext()
{
    if (deviceContext) {
        bitmap.imageContext.store(deviceContext, std::memory_order_release);
    }
}

HDC Bitmap::takeImageContext(HDC reference)
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

// Only while no draw runs: the image is let go with the device context.
void Bitmap::deleteImageContext()
{
    if (HDC kept = imageContext.exchange(nullptr)) {
        DeleteDC(kept);
    }
    imageContextMade = false;
}

void Bitmap::draw(DrawContext& context, const Rect& destination, const Point& source)
{
    HDC target = context.getDeviceContext();
    if (!image || !target) {
        return;
    }
    ImageContext picture(*this, target);
    if (picture.get()) {
        BitBlt(target, destination.left, destination.top, destination.width(), destination.height(),
               picture.get(), source.x, source.y, SRCCOPY);
    }
}

HBITMAP Bitmap::makeMask(HDC picture) const
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
        const COLORREF previousBackground = SetBkColor(picture, transparentColor.toPlatform());
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
HBITMAP Bitmap::currentMask(HDC picture)
{
    if (!mask) {
        mask = makeMask(picture);
    }
    return mask;
}

void Bitmap::drawTransparent(DrawContext& context, const Rect& destination, const Point& source)
{
    HDC target = context.getDeviceContext();
    if (!image || !target) {
        return;
    }
    ImageContext picture(*this, target);
    // Image held by another thread's draw: copying now would use the wrong
    // pixels, so this draw leaves the screen alone.
    if (!picture.get()) {
        return;
    }
    HBITMAP maskImage = currentMask(picture.get());
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
