#include "gui/Frame.h"

#include "editor/EditorBase.h"
#include "gui/DrawContext.h"
#include "gui/DropTarget.h"
#include "host/ExtendedEffect.h"
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

// System cursors of the kinds 1-6 of chooseCursor.
const LPCSTR kCursorIds[] = {IDC_WAIT, IDC_SIZEWE, IDC_SIZENS, IDC_SIZEALL, IDC_SIZENESW, IDC_SIZENWSE};
constexpr std::int32_t kCursorKindCount = sizeof(kCursorIds) / sizeof(kCursorIds[0]);
constexpr std::int32_t kDefaultCursorKind = 0;

// The editor's own refresh work runs at least this often, also in hosts that
// never send an idle request.
constexpr UINT_PTR kRefreshTimerId = 1;
constexpr UINT kRefreshTimerMs = 20;

HINSTANCE instance()
{
    return static_cast<HINSTANCE>(moduleInstance);
}
} // namespace

Frame::Frame(const Rect& size, void* parentWindow, EditorBase* editor)
    : ViewContainer(size, this), editor(editor), parentWindow(static_cast<HWND>(parentWindow))
{
    OleInitialize(nullptr);
    createWindow(parentWindow);
}

Frame::~Frame()
{
    chooseCursor(kDefaultCursorKind);
    enableDrop(false);
    removeAllChildren(true);
    setBackground(nullptr);
    OleUninitialize();
    if (window) {
        // The window's WM_DESTROY must not reach a frame that is going away.
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        DestroyWindow(window);
        releaseWindowClass();
    }
}

const char* Frame::windowClassName()
{
    return className;
}

void Frame::registerWindowClass()
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

void Frame::releaseWindowClass()
{
    if (--classUseCount == 0)
        UnregisterClassA(className, instance());
}

bool Frame::createWindow(void* parent)
{
    if (!parent)
        return false;
    registerWindowClass();
    const Rect& size = getSize();
    window = CreateWindowExA(0, className, kWindowName, WS_CHILD | WS_VISIBLE, 0, 0, size.width(),
                             size.height(), static_cast<HWND>(parent), nullptr, instance(), nullptr);
    if (!window) {
        // Keep the class count true to the windows that exist.
        releaseWindowClass();
        return false;
    }
    // The pointer-sized slot: the plain 32-bit one would cut a 64-bit pointer.
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetTimer(window, kRefreshTimerId, kRefreshTimerMs, nullptr);
    enableDrop(true);
    return true;
}

LRESULT CALLBACK Frame::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* frame = reinterpret_cast<Frame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!frame)
        return DefWindowProcA(window, message, wParam, lParam);
    switch (message) {
    case WM_DESTROY:
        // Revoking needs the window, which exists only until this returns:
        // a host that destroys its window first would otherwise leak the target.
        frame->enableDrop(false);
        frame->windowOpen = false;
        frame->parentWindow = nullptr;
        break;
    case WM_TIMER:
        if (wParam == kRefreshTimerId && frame->editor) {
            frame->editor->refreshTimer();
            return 0;
        }
        break;
    case WM_PAINT:
        if (GetUpdateRect(window, nullptr, FALSE)) {
            frame->paint();
            return 0;
        }
        break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
        const Point where{LOWORD(lParam), HIWORD(lParam)};
        frame->withTemporaryContext([&](DrawContext& context) { frame->mouseDown(context, where); });
        return 0;
    }
    default:
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Frame::paint()
{
    PAINTSTRUCT paintStruct;
    HDC deviceContext = BeginPaint(window, &paintStruct);
    {
        DrawContext context(this, deviceContext, window);
        const RECT& damaged = paintStruct.rcPaint;
        drawArea(context, Rect{damaged.left, damaged.top, damaged.right, damaged.bottom});
    }
    EndPaint(window, &paintStruct);
}

template <typename Work> void Frame::withTemporaryContext(Work&& work)
{
    // Without a window there is nothing to draw on (GetDC would hand out the
    // whole screen): the views still run, over a context without a device.
    HDC deviceContext = window ? GetDC(window) : nullptr;
    {
        DrawContext context(this, deviceContext, window);
        work(context);
    }
    if (deviceContext)
        ReleaseDC(window, deviceContext);
}

void Frame::draw(DrawContext& context)
{
    firstPaintPending = false;
    ViewContainer::draw(context);
}

void Frame::drawArea(DrawContext& context, const Rect& area)
{
    firstPaintPending = false;
    ViewContainer::drawArea(context, area);
}

void Frame::update(DrawContext& context)
{
    if (windowOpen)
        ViewContainer::update(context);
}

bool Frame::onWheel(DrawContext* context, const Point&, float distance)
{
    View* target = childUnderMouse();
    if (!target)
        return false;
    auto turn = [&](DrawContext& turnContext) {
        Point where;
        mousePosition(where);
        return target->onWheel(&turnContext, where, distance);
    };
    if (context)
        return turn(*context);
    bool taken = false;
    withTemporaryContext([&](DrawContext& temporary) { taken = turn(temporary); });
    return taken;
}

EditorBase* Frame::getEditor() const
{
    return editor;
}

void Frame::drawView(View* view)
{
    withTemporaryContext([&](DrawContext& context) {
        if (view && hasChild(view))
            view->draw(context);
        else
            draw(context);
    });
}

void Frame::updateDirtyViews()
{
    if (!windowOpen || firstPaintPending || !hasDirtyViews())
        return;
    withTemporaryContext([&](DrawContext& context) { update(context); });
}

void Frame::idle()
{
    if (editor)
        editor->trackingIdle();
}

void Frame::beginEdit(std::int32_t tag)
{
    if (editor && editor->getEffect())
        editor->getEffect()->beginEdit(tag);
}

void Frame::endEdit(std::int32_t tag)
{
    if (editor && editor->getEffect())
        editor->getEffect()->endEdit(tag);
}

bool Frame::mousePosition(Point& where) const
{
    POINT cursor;
    GetCursorPos(&cursor);
    if (window) {
        RECT windowRect;
        GetWindowRect(window, &windowRect);
        cursor.x -= windowRect.left;
        cursor.y -= windowRect.top;
    }
    where = Point{cursor.x, cursor.y};
    return true;
}

void Frame::chooseCursor(std::int32_t kind)
{
    if (!defaultCursor)
        defaultCursor = GetCursor();
    if (kind == kDefaultCursorKind)
        SetCursor(defaultCursor);
    else if (kind > 0 && kind <= kCursorKindCount)
        SetCursor(LoadCursorA(nullptr, kCursorIds[kind - 1]));
}

bool Frame::enableDrop(bool enable)
{
    if (!dropActive && !enable)
        return true;
    if (!window)
        return false;
    if (enable) {
        auto* target = new (std::nothrow) DropTarget(this);
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
    dropActive = enable;
    return true;
}

View* Frame::childUnderMouse() const
{
    Point where;
    mousePosition(where);
    return childContaining(where);
}
