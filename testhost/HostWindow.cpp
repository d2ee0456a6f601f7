#include "testhost/HostWindow.h"

#include "host/opcodes.h"
#include "testhost/PluginLibrary.h"
#include "testhost/windowCaptureWin32.h"

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

HWND makeHostWindow(const char* title, std::int32_t width, std::int32_t height)
{
    registerHostClass();
    RECT frame = {0, 0, width, height};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    AdjustWindowRect(&frame, style, FALSE);
    return CreateWindowExA(0, kClassName, title, style, 0, 0, frame.right - frame.left,
                           frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
}

HostWindow::HostWindow(AEffect* effect) : effect(effect)
{
    ERect* editorRect = nullptr;
    if (dispatch(effect, effEditGetRect, 0, 0, &editorRect) && editorRect)
        rect = *editorRect;
    window = makeHostWindow("Orvane test host", rect.right - rect.left, rect.bottom - rect.top);
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
    return captureWindow(editorWindow());
}

POINT HostWindow::toScreen(std::int32_t x, std::int32_t y) const
{
    POINT point = {x, y};
    if (HWND editor = editorWindow())
        ClientToScreen(editor, &point);
    return point;
}
