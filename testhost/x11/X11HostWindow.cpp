#include "testhost/x11/X11HostWindow.h"

#include "host/opcodes.h"
#include "testhost/PluginLibrary.h"
#include "testhost/x11/windowCapture.h"

#include <cstdint>
#include <thread>

namespace {

constexpr auto kIdleInterval = std::chrono::milliseconds(20);
constexpr auto kIdleStep = std::chrono::milliseconds(1);
constexpr const char* kTitle = "Orvane test host";

void* asHandle(Window window)
{
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(window));
}

} // namespace

X11HostWindow::X11HostWindow(AEffect* effect) : effect(effect), connection(XOpenDisplay(nullptr))
{
    if (!connection)
        return;
    ERect* editorRect = nullptr;
    if (dispatch(effect, effEditGetRect, 0, 0, &editorRect) && editorRect)
        rect = *editorRect;
    const unsigned width = static_cast<unsigned>(rect.right - rect.left);
    const unsigned height = static_cast<unsigned>(rect.bottom - rect.top);
    const int screen = DefaultScreen(connection);
    window = XCreateSimpleWindow(connection, DefaultRootWindow(connection), 0, 0, width > 0 ? width : 1,
                                 height > 0 ? height : 1, 0, BlackPixel(connection, screen),
                                 WhitePixel(connection, screen));
    XStoreName(connection, window, kTitle);
    XMapWindow(connection, window);
    // The editor's connection must find the window in the server.
    XSync(connection, False);
    reopenEditor();
}

X11HostWindow::~X11HostWindow()
{
    closeEditor();
    if (connection)
        XCloseDisplay(connection);
}

Window X11HostWindow::editorWindow() const
{
    if (!connection || !editorOpen)
        return 0;
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    Window editor = 0;
    if (XQueryTree(connection, window, &root, &parent, &children, &count) && count > 0)
        editor = children[0];
    if (children)
        XFree(children);
    return editor;
}

void X11HostWindow::closeEditor()
{
    if (editorOpen)
        dispatch(effect, effEditClose);
    editorOpen = false;
}

void X11HostWindow::reopenEditor()
{
    closeEditor();
    editorOpen = connection && dispatch(effect, effEditOpen, 0, 0, asHandle(window)) != 0;
    XSync(connection, False);
}

void X11HostWindow::idle()
{
    if (!connection)
        return;
    const auto now = std::chrono::steady_clock::now();
    if (editorOpen && now - lastIdle >= kIdleInterval) {
        lastIdle = now;
        dispatch(effect, effEditIdle);
    }
    while (XPending(connection) > 0) {
        XEvent event;
        XNextEvent(connection, &event);
    }
}

void X11HostWindow::idleFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        idle();
        std::this_thread::sleep_for(kIdleStep);
    } while (std::chrono::steady_clock::now() < end);
}

Screenshot X11HostWindow::capture() const
{
    return captureWindow(connection, editorWindow());
}
