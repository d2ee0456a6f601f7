// A host's window for a VST 3 plug-in's view, as a host makes one: a
// top-level window of the view's size, the host's frame (IPlugFrame) handed
// to the view and the view attached inside the window. On Linux the frame can
// also offer the host's run loop (IRunLoop), which this window then runs:
// the descriptors and timers the view registers are served with the window.
// One thread (the caller's) is the user-interface thread.
#pragma once

#include "testhost/Screenshot.h"
#include "vst3/IPlugView.h"

#include <chrono>
#include <memory>
#include <string>

class PlugViewWindow {
public:
    // Whether hosts of this system offer a run loop (Linux) or not (Windows).
    static const bool kOffersRunLoop;
    // The threads of this process now.
    static int processThreads();

    PlugViewWindow(vst3::IPlugView* view, bool offerRunLoop);
    // Removes the view first.
    ~PlugViewWindow();
    PlugViewWindow(const PlugViewWindow&) = delete;
    PlugViewWindow& operator=(const PlugViewWindow&) = delete;

    bool attached() const;
    vst3::ViewRect size() const;
    // The view removed and attached again, as when a host closes and reopens it.
    void reattach();
    // What waits now: window messages and, with a run loop, readable
    // descriptors and due timers.
    void serve();
    void serveFor(std::chrono::milliseconds duration);
    // What the view registered with the run loop now.
    int registeredDescriptors() const;
    int registeredTimers() const;
    // What the view's window shows now.
    Screenshot capture() const;
    // The capture as FOLDER/STEM-vst3-editor.bmp (Windows) or
    // FOLDER/STEM-vst3-linux-editor.png; the file written, or empty.
    std::string saveCapture(const std::string& folder, const std::string& stem) const;
    // A press and release of the left button at (x, y) of the view, as a
    // hand makes them, served meanwhile.
    void click(int x, int y);

    struct Platform;

private:
    // Per system: the frame and the window handed to the view (nothing
    // without a window), and taken back.
    void attach();
    void detach();

    vst3::IPlugView* view;
    vst3::ViewRect rect{};
    bool isAttached = false;
    std::unique_ptr<Platform> platform;
};
