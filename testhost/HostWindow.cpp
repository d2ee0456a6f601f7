#include "testhost/HostWindow.h"

#include "host/opcodes.h"
#include "testhost/PluginLibrary.h"

namespace {

constexpr const char* kClassName = "OrvaneTestHost";

ATOM registerHostClass()
{
    static const ATOM atom = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass);
    }();
    return atom;
}

} // namespace

HostWindow::HostWindow(AEffect* effect) : effect(effect)
{
    registerHostClass();
    ERect* editorRect = nullptr;
    if (dispatch(effect, effEditGetRect, 0, 0, &editorRect) && editorRect)
        rect = *editorRect;
    RECT frame = {0, 0, rect.right - rect.left, rect.bottom - rect.top};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    AdjustWindowRect(&frame, style, FALSE);
    window = CreateWindowExA(0, kClassName, "Orvane test host", style, 0, 0, frame.right - frame.left,
                             frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    reopenEditor();
}

HostWindow::~HostWindow()
{
    closeEditor();
    if (window)
        DestroyWindow(window);
    pump();
}

HWND HostWindow::editorWindow() const
{
    return window ? GetWindow(window, GW_CHILD) : nullptr;
}

void HostWindow::closeEditor()
{
    if (editorOpen)
        dispatch(effect, effEditClose);
    editorOpen = false;
}

void HostWindow::reopenEditor()
{
    closeEditor();
    editorOpen = window && dispatch(effect, effEditOpen, 0, 0, window) != 0;
    pump();
}

void HostWindow::pump()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void HostWindow::pumpFor(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    do {
        pump();
        Sleep(1);
    } while (GetTickCount() - start < milliseconds);
}

Screenshot HostWindow::capture() const
{
    Screenshot shot;
    HWND source = editorWindow();
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

POINT HostWindow::toScreen(std::int32_t x, std::int32_t y) const
{
    POINT point = {x, y};
    if (HWND editor = editorWindow())
        ClientToScreen(editor, &point);
    return point;
}
