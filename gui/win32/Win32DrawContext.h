// The drawing context over a Windows device context that the caller obtained
// (BeginPaint or GetDC) and releases: each setting becomes a pen, brush or
// font selected into it, and the device context's own objects are put back
// when the context goes. Without a device context it stores what it is given
// but creates, selects and draws nothing.
#pragma once

#include "gui/DrawContext.h"

#include <windows.h>

class Win32DrawContext : public DrawContext {
public:
    Win32DrawContext(Frame* frame, HDC deviceContext, HWND window);
    ~Win32DrawContext() override;

    std::int32_t mouseState() const override;
    void cursorPosition(Point& where) const override;

    HDC getDeviceContext() const { return deviceContext; }
    HWND getWindow() const { return window; }

protected:
    void movePen(const Point& point) override;
    void drawLineTo(const Point& point) override;
    void fillInside(const Rect& inside) override;
    void applyPen() override;
    void applyFillColor() override;
    void applyTextColor() override;
    void applyFont(const FontChoice& font) override;
    void drawTextLine(const char* text, const Rect& area, bool opaque, std::int32_t alignment) override;

private:
    Point windowPosition;
    HDC deviceContext;
    HWND window;
    HBRUSH brush = nullptr;
    HPEN pen = nullptr;
    HFONT font = nullptr;
    HGDIOBJ savedBrush = nullptr;
    HGDIOBJ savedPen = nullptr;
    HGDIOBJ savedFont = nullptr;
};
