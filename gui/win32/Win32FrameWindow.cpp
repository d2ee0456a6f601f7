#include "gui/win32/Win32FrameWindow.h"

#include "gui/Frame.h"
#include "gui/win32/DropTarget.h"
#include "gui/win32/Win32DrawContext.h"
#include "host/entryPoints.h"

#include <ole2.h>

#include <cstdint>
#include <cstdio>
#include <new>

namespace {
const char kWindowName[] = "Window";
const char kClassNameFormat[] = "Plugin%08x";

// Touched only from the user-interface thread.
char className[32];
std::int32_t classUseCount = 0;
// One waiting paint taken during mouse tracking, shared by every window.
MSG pendingPaint;

// System cursors of the kinds 1-6 of chooseCursor.
const LPCSTR kCursorIds[] = {IDC_WAIT, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENWSE};
constexpr std::int32_t kCursorKindCount = sizeof(kCursorIds) / sizeof(kCursorIds[0]);
constexpr std::int32_t kDefaultCursorKind = 0;

// The owner's refresh work runs at least this often, also in hosts that
// never send an idle request.
constexpr UINT_PTR kRefreshTimerId = 1;
constexpr UINT kRefreshTimerMs = 20;

HINSTANCE instance()
{
    return static_cast<HINSTANCE>(moduleInstance);
}
} // namespace

FrameWindow* makeFrameWindow(Frame& frame)
{
    return new (std::nothrow) Win32FrameWindow(frame);
}

Win32FrameWindow::Win32FrameWindow(Frame& frame) : frame(frame)
{
    OleInitialize(nullptr);
}

Win32FrameWindow::~Win32FrameWindow()
{
    OleUninitialize();
    if (window) {
        // The window's WM_DESTROY must not reach a frame that is going away.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        releaseWindowClass();
    }
}

const char* Win32FrameWindow::windowClassName()
{
    return className;
}

void Win32FrameWindow::registerWindowClass()
{
    if (++classUseCount != 1)
        return;
    std::snprintf(className, sizeof(className), kClassNameFormat,
                  static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(moduleInstance)));
    WNDCLASSA windowClass{};
    windowClass.style = CS_GLOBALCLASS;
    windowClass.lpfnWndProc = windowProcedure;
    windowClass.hInstance = instance();
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    windowClass.lpszClassName = className;
    RegisterClassA(&windowClass);
}

void Win32FrameWindow::releaseWindowClass()
{
    if (--classUseCount == 0)
        UnregisterClassA(className, instance());
}

bool Win32FrameWindow::create(void* parent)
{
    if (!parent)
        return false;
    parentWindow = static_cast<HWND>(parent);
    registerWindowClass();
    const Rect& size = frame.getSize();
    window = CreateWindowExA(0, className, kWindowName, WS_CHILD | WS_VISIBLE, 0, 0, size.width(),
                             size.height(), parentWindow, nullptr, instance(), nullptr);
    if (!window) {
        // Keep the class count true to the windows that exist.
        releaseWindowClass();
        return false;
    }
    // The frame, in the pointer-sized slot: the plain 32-bit one would cut a 64-bit pointer.
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&frame));
    SetTimer(window, kRefreshTimerId, kRefreshTimerMs, nullptr);
    return true;
}

LRESULT CALLBACK Win32FrameWindow::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!frame)
        return DefWindowProcA(window, message, wParam, lParam);
    auto* self = static_cast<Win32FrameWindow*>(frame->getPlatformWindow());
    switch (message) {
    case WM_DESTROY:
        // Revoking needs the window, which exists only until this returns:
        // a host that destroys its window first would otherwise leak the target.
        self->frame.windowDestroyed();
        self->parentWindow = nullptr;
        break;
    case WM_TIMER:
        if (wParam == kRefreshTimerId) {
            self->frame.timerFired();
            return 0;
        }
        break;
    case WM_PAINT:
        if (GetUpdateRect(window, nullptr, FALSE)) {
            self->paint();
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const Point where{LOWORD(lParam), HIWORD(lParam)};
        self->withDrawContext([&](DrawContext& context) { self->frame.press(context, where); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Win32FrameWindow::paint()
{
    PAINTSTRUCT paintStruct;
    HDC deviceContext = BeginPaint(window, &paintStruct);
    {
        Win32DrawContext context(&frame, deviceContext, window);
        const RECT& damaged = paintStruct.rcPaint;
        frame.paint(context, Rect{damaged.left, damaged.top, damaged.right, damaged.bottom});
    }
    EndPaint(window, &paintStruct);
}

void Win32FrameWindow::withDrawContext(const std::function<void(DrawContext&)>& work)
{
    // Without a window there is nothing to draw on (GetDC would hand out the
    // whole screen): the views still run, over a context without a device.
    HDC deviceContext = window ? GetDC(window) : nullptr;
    {
        Win32DrawContext context(&frame, deviceContext, window);
        work(context);
    }
    if (deviceContext)
        ReleaseDC(window, deviceContext);
}

// Messages reach the window through the host's own message loop.
void Win32FrameWindow::handleEvents() {}

void Win32FrameWindow::dispatchPendingPaint()
{
    if (PeekMessageA(&pendingPaint, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageA(&pendingPaint);
}

void Win32FrameWindow::invalidate()
{
    if (window)
        InvalidateRect(window, nullptr, TRUE);
}

Point Win32FrameWindow::mousePosition() const
{
    POINT cursor;
    GetCursorPos(&cursor);
    if (window) {
        RECT windowRect;
        GetWindowRect(window, &windowRect);
        cursor.x -= windowRect.left;
        cursor.y -= windowRect.top;
    }
    return Point{cursor.x, cursor.y};
}

void Win32FrameWindow::chooseCursor(std::int32_t kind)
{
    if (!defaultCursor)
        defaultCursor = GetCursor();
    if (kind == kDefaultCursorKind)
        SetCursor(defaultCursor);
    else if (kind > 0 && kind <= kCursorKindCount)
        SetCursor(LoadCursorA(nullptr, kCursorIds[kind - 1]));
}

bool Win32FrameWindow::enableDrop(bool enable)
{
    if (enable) {
        auto* target = new (std::nothrow) DropTarget(&frame);
        if (!target)
            return false;
        // A reference of our own across the registration: a target that OLE
        // refuses (the window already has one) is destroyed, not leaked.
        target->AddRef();
        RegisterDragDrop(window, target);
        target->Release();
    } else {
        RevokeDragDrop(window);
    }
    return true;
}

// Messages reach the window procedure by themselves.
int Win32FrameWindow::eventDescriptor() const
{
    return -1;
}

void Win32FrameWindow::leaveTimerToHost() {}
