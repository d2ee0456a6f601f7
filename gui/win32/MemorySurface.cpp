#include "gui/win32/MemorySurface.h"

MemorySurface::MemorySurface(HDC reference, HBITMAP bitmap, Ownership ownership)
    : deviceContext(CreateCompatibleDC(reference)), bitmap(bitmap), ownership(ownership)
{
    if (deviceContext && bitmap) {
        previousBitmap = SelectObject(deviceContext, bitmap);
    }
}

MemorySurface::~MemorySurface()
{
    if (previousBitmap) {
        SelectObject(deviceContext, previousBitmap);
    }
    if (deviceContext) {
        DeleteDC(deviceContext);
    }
    if (ownership == Owned && bitmap) {
        DeleteObject(bitmap);
    }
}
