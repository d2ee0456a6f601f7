#include "editor/ImageBitmap.h"

#include "analysis/displayScale.h"

namespace {

constexpr WORD kBitsPerPixel = 24;

HBITMAP makeSection(void** pixels)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = kPictureWidth;
    // Positive: rows bottom-up, as the renderer writes them.
    info.bmiHeader.biHeight = kPictureHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = kBitsPerPixel;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, pixels, nullptr, 0);
}

// The loaded picture, stretched over the whole section.
void copyScaled(HBITMAP from, std::int32_t width, std::int32_t height, HBITMAP to)
{
    HDC source = CreateCompatibleDC(nullptr);
    HDC target = CreateCompatibleDC(nullptr);
    HGDIOBJ oldSource = SelectObject(source, from);
    HGDIOBJ oldTarget = SelectObject(target, to);
    if (oldSource && oldTarget)
        StretchBlt(target, 0, 0, kPictureWidth, kPictureHeight, source, 0, 0, width, height, SRCCOPY);
    if (oldSource)
        SelectObject(source, oldSource);
    if (oldTarget)
        SelectObject(target, oldTarget);
    DeleteDC(source);
    DeleteDC(target);
}

} // namespace

ImageBitmap::ImageBitmap(std::int32_t resourceId) : Bitmap(resourceId)
{
    void* pixels = nullptr;
    HBITMAP section = makeSection(&pixels);
    if (section && getImage())
        copyScaled(getImage(), getWidth(), getHeight(), section);
    GdiFlush();
    // The loaded picture is not needed once the section replaces it.
    replaceImage(section);
}

std::uint8_t* ImageBitmap::getPixels() const
{
    BITMAP description = {};
    if (!getImage() || GetObjectA(getImage(), sizeof description, &description) != sizeof description)
        return nullptr;
    return static_cast<std::uint8_t*>(description.bmBits);
}
