// The platform's window of a Frame: a child of the host's window at the
// frame's size, which hands paints and button presses back to the frame,
// draws through the platform's DrawContext, and knows the mouse, the cursor,
// drops from other programs and the refresh timer. Made by the platform layer
// through makeFrameWindow, before it has a window of its own; owned and
// deleted by the frame, which closes the window with it. Without a window it
// still answers: contexts without a device, the cursor on the screen.
#pragma once

#include "gui/Geometry.h"

#include <cstdint>
#include <functional>

class DrawContext;
class Frame;

class FrameWindow {
public:
    virtual ~FrameWindow() = default;

    // Opens the window inside `parent`; false without a parent or when the
    // platform refuses.
    virtual bool create(void* parent) = 0;
    // The platform's handle of the window, and of the host's window it lives in.
    virtual void* handle() const = 0;
    virtual void* parentHandle() const = 0;
    // Runs `work` with a context that draws on the window now.
    virtual void withDrawContext(const std::function<void(DrawContext&)>& work) = 0;
    // Where the platform delivers window events only when asked (X11), the
    // events waiting now; nothing where they arrive by themselves (Win32).
    virtual void handleEvents() = 0;
    // One waiting paint request, if any, so that the window stays drawn while
    // a control tracks the mouse.
    virtual void dispatchPendingPaint() = 0;
    // Everything is drawn again soon, over an erased window.
    virtual void invalidate() = 0;
    // The cursor relative to the window now.
    virtual Point mousePosition() const = 0;
    // 0: the cursor shown before the first call; 1-6: wait and sizing cursors.
    virtual void chooseCursor(std::int32_t kind) = 0;
    // Starts or stops taking drops from other programs; false when the
    // platform cannot take them at all.
    virtual bool enableDrop(bool enable) = 0;
    // For a host that runs the user-interface loop itself and calls the
    // editor's idle when told (a VST 3 host's run loop on Linux): the file
    // descriptor that becomes readable when window events wait, or -1 where
    // they arrive by themselves (Win32).
    virtual int eventDescriptor() const = 0;
    // Such a host's timer does the refresh timer's work from now on: a timer
    // thread of the window's own stops. Where the timer is a message of the
    // window (Win32) it stays, as it runs on the host's thread anyway.
    virtual void leaveTimerToHost() = 0;
};

// The platform window of `frame`, not yet open; null without memory.
FrameWindow* makeFrameWindow(Frame& frame);
