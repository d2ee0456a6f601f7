#include "gui/x11/X11FrameWindow.h"

#include "gui/Frame.h"
#include "gui/FrameOwner.h"
#include "gui/x11/CairoDrawContext.h"

#include <X11/Xutil.h>
#include <X11/cursorfont.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <new>
#include <vector>

namespace {

constexpr auto kRefreshInterval = std::chrono::milliseconds(20);
constexpr long kEventMask = ExposureMask | ButtonPressMask | StructureNotifyMask;
constexpr const char* kTopLevelTitle = "Orvane";
// What shows where no view draws: the button face of a Windows dialog.
constexpr double kBackgroundLevel = 240.0 / 255.0;
// The cursor shapes of chooseCursor's kinds 1-6: wait, then the five sizing ones.
constexpr unsigned int kCursorShapes[] = {XC_watch,  XC_sb_h_double_arrow,  XC_sb_v_double_arrow,
                                          XC_fleur,  XC_bottom_left_corner, XC_bottom_right_corner};
constexpr std::int32_t kCursorKindCount = sizeof kCursorShapes / sizeof kCursorShapes[0];
// The views' picture is copied to the window as it lies in memory: 32 bits a
// pixel, red, green and blue in the low three bytes.
constexpr unsigned long kRedMask = 0xFF0000;
constexpr unsigned long kGreenMask = 0x00FF00;
constexpr unsigned long kBlueMask = 0x0000FF;
constexpr int kTrueColourDepth = 24;
constexpr int kBitsPerPixel = 32;

// X errors on the windows' own connections (a window the host destroyed
// before the editor closed, say) must not end the host, which the default
// handler would do. Errors on any other connection go where they went before.
std::mutex ownDisplaysLock;
std::vector<Display*> ownDisplays;
XErrorHandler previousHandler = nullptr;

int handleError(Display* display, XErrorEvent* error)
{
    {
        const std::lock_guard<std::mutex> guard(ownDisplaysLock);
        if (std::find(ownDisplays.begin(), ownDisplays.end(), display) != ownDisplays.end())
            return 0;
    }
    return previousHandler ? previousHandler(display, error) : 0;
}

void adoptDisplay(Display* display)
{
    const std::lock_guard<std::mutex> guard(ownDisplaysLock);
    if (ownDisplays.empty())
        previousHandler = XSetErrorHandler(handleError);
    ownDisplays.push_back(display);
}

// With the last window gone the handler goes too: the host may unload the
// plug-in next. A handler the host set meanwhile stays.
void forgetDisplay(Display* display)
{
    const std::lock_guard<std::mutex> guard(ownDisplaysLock);
    ownDisplays.erase(std::remove(ownDisplays.begin(), ownDisplays.end(), display), ownDisplays.end());
    if (!ownDisplays.empty())
        return;
    const XErrorHandler current = XSetErrorHandler(previousHandler);
    if (current != handleError)
        XSetErrorHandler(current);
}

void* toHandle(Window window)
{
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

bool copiesAsItLies(const Visual* visual, int depth)
{
    return depth == kTrueColourDepth && visual->red_mask == kRedMask && visual->green_mask == kGreenMask &&
           visual->blue_mask == kBlueMask;
}

Rect unite(const Rect& a, const Rect& b)
{
    return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                std::max(a.bottom, b.bottom)};
}

} // namespace

FrameWindow* makeFrameWindow(Frame& frame)
{
    return new (std::nothrow) X11FrameWindow(frame);
}

X11FrameWindow::X11FrameWindow(Frame& frame) : frame(frame) {}

X11FrameWindow::~X11FrameWindow()
{
    stopTimer();
    if (display) {
        // Closing the connection destroys the window and cursors in the
        // server, without a request that could name a window the host has
        // destroyed already; the graphics context also has memory here.
        if (graphics)
            XFreeGC(display, graphics);
        XCloseDisplay(display);
        forgetDisplay(display);
    }
    if (picture)
        cairo_surface_destroy(picture);
}

bool X11FrameWindow::create(void* parentHandle)
{
    if (display)
        return false;
    display = connectToXServer();
    if (!display)
        return false;
    adoptDisplay(display);
    const Window parentWindow =
        parentHandle ? static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentHandle)) : DefaultRootWindow(display);
    if (!openWindow(parentWindow)) {
        XCloseDisplay(display);
        forgetDisplay(display);
        display = nullptr;
        return false;
    }
    // Without an owner nobody could take turns with the timer thread.
    if (frame.getEditor())
        timer = std::thread(&X11FrameWindow::runTimer, this);
    return true;
}

bool X11FrameWindow::openWindow(Window parentWindow)
{
    const int screen = DefaultScreen(display);
    visual = DefaultVisual(display, screen);
    depth = DefaultDepth(display, screen);
    const Rect& size = frame.getSize();
    if (!copiesAsItLies(visual, depth) || size.width() <= 0 || size.height() <= 0)
        return false;
    picture = cairo_image_surface_create(CAIRO_FORMAT_RGB24, size.width(), size.height());
    if (cairo_surface_status(picture) != CAIRO_STATUS_SUCCESS)
        return false;
    cairo_t* cairo = cairo_create(picture);
    cairo_set_source_rgb(cairo, kBackgroundLevel, kBackgroundLevel, kBackgroundLevel);
    cairo_paint(cairo);
    cairo_destroy(cairo);

    // Visual, colour map and border named explicitly, so that a parent of
    // another visual (a compositing host's, say) accepts the child.
    XSetWindowAttributes attributes{};
    attributes.colormap = DefaultColormap(display, screen);
    attributes.border_pixel = 0;
    attributes.event_mask = kEventMask;
    window = XCreateWindow(display, parentWindow, 0, 0, static_cast<unsigned>(size.width()),
                           static_cast<unsigned>(size.height()), 0, depth, InputOutput, visual,
                           CWColormap | CWBorderPixel | CWEventMask, &attributes);
    if (!window)
        return false;
    if (parentWindow == DefaultRootWindow(display))
        XStoreName(display, window, kTopLevelTitle);
    else
        parent = parentWindow;
    graphics = XCreateGC(display, window, 0, nullptr);
    XMapWindow(display, window);
    XFlush(display);
    windowAlive = true;
    return true;
}

void* X11FrameWindow::handle() const
{
    return windowAlive ? toHandle(window) : nullptr;
}

void* X11FrameWindow::parentHandle() const
{
    return toHandle(parent);
}

void X11FrameWindow::withDrawContext(const std::function<void(DrawContext&)>& work)
{
    if (!windowAlive) {
        CairoDrawContext context(&frame, nullptr, display, 0);
        work(context);
        return;
    }
    cairo_t* cairo = cairo_create(picture);
    Rect drawn;
    {
        CairoDrawContext context(&frame, cairo, display, window);
        work(context);
        drawn = context.drawnArea();
    }
    cairo_destroy(cairo);
    show(drawn);
}

// The part of the picture in memory that the views drew, onto the window.
void X11FrameWindow::show(const Rect& area)
{
    const Rect& size = frame.getSize();
    const Rect clipped{std::max(area.left, 0), std::max(area.top, 0), std::min(area.right, size.width()),
                       std::min(area.bottom, size.height())};
    if (!windowAlive || clipped.right <= clipped.left || clipped.bottom <= clipped.top)
        return;
    cairo_surface_flush(picture);
    XImage* image = XCreateImage(display, visual, static_cast<unsigned>(depth), ZPixmap, 0,
                                 reinterpret_cast<char*>(cairo_image_surface_get_data(picture)),
                                 static_cast<unsigned>(size.width()), static_cast<unsigned>(size.height()),
                                 kBitsPerPixel, cairo_image_surface_get_stride(picture));
    if (!image)
        return;
    image->byte_order = LSBFirst;
    XPutImage(display, window, graphics, image, clipped.left, clipped.top, clipped.left, clipped.top,
              static_cast<unsigned>(clipped.width()), static_cast<unsigned>(clipped.height()));
    // The pixels are cairo's: the image must not free them.
    image->data = nullptr;
    XDestroyImage(image);
    XFlush(display);
}

void X11FrameWindow::addDamage(const XExposeEvent& expose)
{
    const Rect area{expose.x, expose.y, expose.x + expose.width, expose.y + expose.height};
    damage = damaged ? unite(damage, area) : area;
    damaged = true;
}

void X11FrameWindow::paintDamage()
{
    if (!damaged || !windowAlive)
        return;
    damaged = false;
    const Rect area = damage;
    cairo_t* cairo = cairo_create(picture);
    if (eraseBeforePaint) {
        eraseBeforePaint = false;
        cairo_set_source_rgb(cairo, kBackgroundLevel, kBackgroundLevel, kBackgroundLevel);
        cairo_rectangle(cairo, area.left, area.top, area.width(), area.height());
        cairo_fill(cairo);
    }
    {
        CairoDrawContext context(&frame, cairo, display, window);
        frame.paint(context, area);
    }
    cairo_destroy(cairo);
    show(area);
}

void X11FrameWindow::handleEvent(const XEvent& event)
{
    switch (event.type) {
    case Expose:
        addDamage(event.xexpose);
        if (event.xexpose.count == 0)
            paintDamage();
        break;
    case ButtonPress:
        if (event.xbutton.button >= Button1 && event.xbutton.button <= Button3) {
            const Point where{event.xbutton.x, event.xbutton.y};
            withDrawContext([&](DrawContext& context) { frame.press(context, where); });
        }
        break;
    case DestroyNotify:
        if (event.xdestroywindow.window == window) {
            // The host destroyed its window first: nothing may name ours again.
            frame.windowDestroyed();
            windowAlive = false;
            parent = 0;
        }
        break;
    default:
        break;
    }
}

void X11FrameWindow::handleEvents()
{
    // A press handled below runs its own loop, which comes back here.
    if (!display || handlingEvents)
        return;
    handlingEvents = true;
    while (windowAlive && XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
        handleEvent(event);
    }
    handlingEvents = false;
}

void X11FrameWindow::dispatchPendingPaint()
{
    if (!windowAlive)
        return;
    XEvent event;
    while (XCheckTypedWindowEvent(display, window, Expose, &event))
        addDamage(event.xexpose);
    paintDamage();
}

void X11FrameWindow::invalidate()
{
    if (!windowAlive)
        return;
    eraseBeforePaint = true;
    // An exposure of the whole window, painted when the events are next handled.
    XClearArea(display, window, 0, 0, 0, 0, True);
    XFlush(display);
}

Point X11FrameWindow::mousePosition() const
{
    if (!display)
        return Point{};
    Window root, child;
    int rootX, rootY, windowX = 0, windowY = 0;
    unsigned int mask;
    XQueryPointer(display, windowAlive ? window : DefaultRootWindow(display), &root, &child, &rootX, &rootY,
                  &windowX, &windowY, &mask);
    return Point{windowX, windowY};
}

void X11FrameWindow::chooseCursor(std::int32_t kind)
{
    if (!windowAlive)
        return;
    if (kind > 0 && kind <= kCursorKindCount) {
        Cursor& cursor = cursors[kind - 1];
        if (!cursor)
            cursor = XCreateFontCursor(display, kCursorShapes[kind - 1]);
        XDefineCursor(display, window, cursor);
    } else if (kind == 0) {
        XUndefineCursor(display, window);
    }
    XFlush(display);
}

bool X11FrameWindow::enableDrop(bool)
{
    return false;
}

int X11FrameWindow::eventDescriptor() const
{
    return display ? ConnectionNumber(display) : -1;
}

// Everything then happens on the host's thread, as in a host that idles
// often; exposures wait for the host's next call like presses do.
void X11FrameWindow::leaveTimerToHost()
{
    stopTimer();
}

void X11FrameWindow::runTimer()
{
    std::unique_lock<std::mutex> guard(timerLock);
    while (!timerStopping) {
        timerWake.wait_for(guard, kRefreshInterval, [this] { return timerStopping; });
        if (timerStopping)
            break;
        guard.unlock();
        {
            // Skipped while a host request has the editor; it never waits.
            std::unique_lock<std::recursive_mutex> userInterface(frame.getEditor()->userInterfaceLock(),
                                                                 std::try_to_lock);
            if (userInterface.owns_lock()) {
                dispatchPendingPaint();
                frame.timerFired();
            }
        }
        guard.lock();
    }
}

void X11FrameWindow::stopTimer()
{
    if (!timer.joinable())
        return;
    {
        const std::lock_guard<std::mutex> guard(timerLock);
        timerStopping = true;
    }
    timerWake.notify_one();
    timer.join();
}
