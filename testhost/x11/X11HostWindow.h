// A host's window for a plug-in's editor on X11, as a Linux VST host makes
// one: a top-level window of its own X connection whose size is the editor's
// rectangle, handed to the editor by effEditOpen, and the host's idle calls.
// One thread (the caller's) is the user-interface thread.
#pragma once

#include "host/AEffect.h"
#include "testhost/Screenshot.h"

#include <X11/Xlib.h>

#undef LineSolid

#include <chrono>

class X11HostWindow {
public:
    // Opens the effect's editor in a new mapped window; `opened()` tells
    // whether the editor accepted it.
    explicit X11HostWindow(AEffect* effect);
    ~X11HostWindow();
    X11HostWindow(const X11HostWindow&) = delete;
    X11HostWindow& operator=(const X11HostWindow&) = delete;

    bool opened() const { return editorOpen; }
    ERect editorRect() const { return rect; }
    Display* display() const { return connection; }
    Window handle() const { return window; }
    // The editor's own window, a child of ours; 0 when there is none.
    Window editorWindow() const;

    void closeEditor();
    void reopenEditor();
    // The host's idle: effEditIdle at most every 20 ms, and this window's events.
    void idle();
    void idleFor(std::chrono::milliseconds duration);
    // What the editor's window shows now.
    Screenshot capture() const;

private:
    AEffect* effect;
    Display* connection = nullptr;
    Window window = 0;
    ERect rect = {};
    bool editorOpen = false;
    std::chrono::steady_clock::time_point lastIdle{};
};
