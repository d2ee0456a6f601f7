// A frame's window on Windows: a visible child window "Window" of the host's
// window, of the process's class "Plugin" + the module handle in hex
// (registered while any such window exists), whose WM_PAINT and button
// presses go to the frame through a Win32DrawContext, with an OLE drop
// target while drops are enabled and a 20 ms refresh timer.
#pragma once

#include "gui/FrameWindow.h"

#include <windows.h>

class Win32FrameWindow : public FrameWindow {
public:
    explicit Win32FrameWindow(Frame& frame);
    ~Win32FrameWindow() override;
    Win32FrameWindow(const Win32FrameWindow&) = delete;
    Win32FrameWindow& operator=(const Win32FrameWindow&) = delete;

    bool create(void* parent) override;
    void* handle() const override { return window; }
    void* parentHandle() const override { return parentWindow; }
    void withDrawContext(const std::function<void(DrawContext&)>& work) override;
    void handleEvents() override;
    void dispatchPendingPaint() override;
    void invalidate() override;
    Point mousePosition() const override;
    void chooseCursor(std::int32_t kind) override;
    bool enableDrop(bool enable) override;
    int eventDescriptor() const override;
    void leaveTimerToHost() override;

    // The process's window class name.
    static const char* windowClassName();

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void registerWindowClass();
    static void releaseWindowClass();
    void paint();

    Frame& frame;
    HWND parentWindow = nullptr;
    HWND window = nullptr;
    HCURSOR defaultCursor = nullptr;
};
