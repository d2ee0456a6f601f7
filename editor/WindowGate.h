// Keeps the editor's window content (frame, views, bitmaps) to one thread at
// a time. The user-interface thread enters it to build, tear down, paint and
// track the mouse, and may wait: the audio thread holds it only for one
// refresh and never waits for anything while holding it. The audio thread
// only tries, and skips its refresh when the user interface has the window.
// Re-entrant for the holder: a paint dispatched inside mouse tracking
// enters again on the same thread.
#pragma once

#include <atomic>
#include <thread>

class WindowGate {
public:
    bool tryEnter();
    void enter();
    void leave();

    // Enters for one scope on the user-interface thread; a null gate is none.
    class Scope {
    public:
        explicit Scope(WindowGate* gate);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

    private:
        WindowGate* gate;
    };

private:
    std::atomic<std::thread::id> owner{};
    // Touched only by the owner.
    int depth = 0;
};
