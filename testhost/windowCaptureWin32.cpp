#include "testhost/windowCaptureWin32.h"

Screenshot captureWindow(HWND source)
{
    Screenshot shot;
    RECT client = {};
    if (!source || !GetClientRect(source, &client))
        return shot;
    shot.width = client.right;
    shot.height = client.bottom;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = shot.width;
    info.bmiHeader.biHeight = -shot.height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!section)
        return Screenshot{};
    HDC windowContext = GetDC(source);
    HDC memory = CreateCompatibleDC(windowContext);
    HGDIOBJ old = SelectObject(memory, section);
    BitBlt(memory, 0, 0, shot.width, shot.height, windowContext, 0, 0, SRCCOPY);
    GdiFlush();
    shot.pixels.resize(static_cast<std::size_t>(shot.width) * shot.height * 3);
    const auto* in = static_cast<const std::uint8_t*>(bits);
    for (std::size_t i = 0; i < static_cast<std::size_t>(shot.width) * shot.height; ++i)
        for (int byte = 0; byte < 3; ++byte)
            shot.pixels[i * 3 + byte] = in[i * 4 + byte];
    SelectObject(memory, old);
    DeleteDC(memory);
    ReleaseDC(source, windowContext);
    DeleteObject(section);
    return shot;
}
