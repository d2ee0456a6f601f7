// A host's window for a plug-in's editor, as a VST host makes one: a
// top-level window whose client area takes the editor's rectangle, handed
// to the editor by effEditOpen. Windows only; one thread (the caller's) is
// the user-interface thread.
#pragma once

#include "host/AEffect.h"
#include "testhost/Screenshot.h"

#include <windows.h>

#include <cstdint>
#include <vector>

// A visible top-level window whose client area is `width` x `height`, as the
// test hosts make them; null when Windows refuses.
HWND makeHostWindow(const char* title, std::int32_t width, std::int32_t height);

class HostWindow {
public:
    // Opens the effect's editor in a new visible window; `opened()` tells
    // whether the editor accepted it.
    explicit HostWindow(AEffect* effect);
    ~HostWindow();
    HWND handle() const { return window; }
    bool opened() const { return editorOpen; }
    ERect editorRect() const { return rect; }
    // The editor's own child window, or null.
    HWND editorWindow() const;

    void closeEditor();
    void reopenEditor();
    // Delivers every waiting message (paints, presses).
    void pump();
    // Delivers messages for `milliseconds`.
    void pumpFor(DWORD milliseconds);
    // What the editor's window shows now.
    Screenshot capture() const;
    // The screen position of a point in the editor's client coordinates.
    POINT toScreen(std::int32_t x, std::int32_t y) const;

private:
    AEffect* effect;
    HWND window = nullptr;
    ERect rect = {};
    bool editorOpen = false;
};
