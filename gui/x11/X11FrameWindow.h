// A frame's window on X11: a window of its own X connection, a child of the
// host's window (or a top-level window when the host gives none), exactly
// the frame's size. The views draw into a picture of the window in memory,
// which is copied to the window where they drew. Its events wait in the
// connection until the host's idle call asks for them; a thread of its own
// runs the refresh timer every 20 ms and also answers exposures, taking its
// turn through the owner's user-interface lock, and never handles a press
// (presses call the host, which only its own thread may do). A host with a
// run loop of its own watches the connection and runs the timer itself
// instead, and the thread stops.
// Drops from other programs need the XDND protocol, which this window does
// not speak: it takes no drops.
#pragma once

#include "gui/FrameWindow.h"

#include "gui/x11/xlib.h"
#include <cairo/cairo.h>

#include <condition_variable>
#include <mutex>
#include <thread>

class X11FrameWindow : public FrameWindow {
public:
    explicit X11FrameWindow(Frame& frame);
    ~X11FrameWindow() override;
    X11FrameWindow(const X11FrameWindow&) = delete;
    X11FrameWindow& operator=(const X11FrameWindow&) = delete;

    // `parent` is the host's window id; null makes a top-level window.
    bool create(void* parent) override;
    void* handle() const override;
    void* parentHandle() const override;
    void withDrawContext(const std::function<void(DrawContext&)>& work) override;
    void handleEvents() override;
    void dispatchPendingPaint() override;
    void invalidate() override;
    Point mousePosition() const override;
    void chooseCursor(std::int32_t kind) override;
    bool enableDrop(bool enable) override;
    // The window's own X connection.
    int eventDescriptor() const override;
    void leaveTimerToHost() override;

    // The window's own connection to the X server; null before `create`.
    Display* getDisplay() const { return display; }

private:
    bool openWindow(Window parentWindow);
    void handleEvent(const XEvent& event);
    void addDamage(const XExposeEvent& expose);
    void paintDamage();
    void show(const Rect& area);
    void runTimer();
    void stopTimer();

    Frame& frame;
    Display* display = nullptr;
    Window window = 0;
    Window parent = 0;
    Visual* visual = nullptr;
    int depth = 0;
    GC graphics = nullptr;
    // The window's picture in memory, where every context draws.
    cairo_surface_t* picture = nullptr;
    bool windowAlive = false;
    bool handlingEvents = false;
    bool eraseBeforePaint = false;
    Rect damage{};
    bool damaged = false;
    Cursor cursors[6] = {};

    std::thread timer;
    std::mutex timerLock;
    std::condition_variable timerWake;
    bool timerStopping = false;
};
