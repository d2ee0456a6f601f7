// What a frame needs from the editor that owns it: idle work while a control
// tracks the mouse, the host's edit notifications, and the work of the
// window's refresh timer. The editor implements it; the toolkit knows no more
// of the editor than this.
#pragma once

#include <cstdint>
#include <mutex>

class FrameOwner {
public:
    // Called continuously by a control's mouse-tracking loop.
    virtual void trackingIdle() = 0;
    // The user starts or ends changing the value of the control `tag`.
    virtual void beginEdit(std::int32_t tag) = 0;
    virtual void endEdit(std::int32_t tag) = 0;
    // Every 20 ms while the window exists. On platforms whose windows run the
    // timer on a thread of their own it comes from that thread, so the owner
    // skips it while its lock is held elsewhere.
    virtual void refreshTimer() = 0;
    // Held by everything that reaches the editor and its window: the host's
    // requests and the window's own timer thread where there is one.
    virtual std::recursive_mutex& userInterfaceLock() = 0;

protected:
    ~FrameOwner() = default;
};
