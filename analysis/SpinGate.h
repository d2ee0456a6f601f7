// A gate between the host's audio thread and the user-interface thread that
// never makes the audio thread wait on the user interface for long: the
// user-interface thread holds it only for short, bounded work and never
// waits for anything else while holding it.
#pragma once

#include <atomic>
#include <thread>

class SpinGate {
public:
    bool tryEnter() { return !busy.test_and_set(std::memory_order_acquire); }
    // For the side whose counterpart holds the gate only briefly.
    void enter()
    {
        while (!tryEnter())
            std::this_thread::yield();
    }
    void leave() { busy.clear(std::memory_order_release); }

private:
    std::atomic_flag busy = ATOMIC_FLAG_INIT;
};
