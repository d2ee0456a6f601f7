// Shared by the view, frame, control and editor-base tests: a view that
// records what reaches it, an effect and an editor of the tests' own, a host
// window for frames to live in, an image bitmap made in memory, and real
// mouse and key input through the platform.
#pragma once

#include "editor/EditorBase.h"
#include "gui/Bitmap.h"
#include "gui/win32/Win32BitmapImage.h"
#include "gui/win32/Win32DrawContext.h"
#include "gui/win32/Win32FrameWindow.h"
#include "gui/Frame.h"
#include "gui/View.h"
#include "host/ExtendedEffect.h"
#include "tests/gui/Canvas.h"
#include "tests/toolkit/RecordingView.h"
#include "tests/support/RecordingHost.h"

#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>
#include <vector>

class TestEffect : public ExtendedEffect {
public:
    explicit TestEffect(audioMasterCallback host = RecordingHost::callback) : ExtendedEffect(host, 1, 0) {}
    void process(float**, float**, std::int32_t) override {}
};

// An editor whose `open` makes a frame of its rectangle in the given window.
class TestEditor : public EditorBase {
public:
    explicit TestEditor(ExtendedEffect* effect, const Rect& size = Rect{0, 0, 516, 204}) : EditorBase(effect)
    {
        editorRect = ERect{static_cast<std::int16_t>(size.top), static_cast<std::int16_t>(size.left),
                           static_cast<std::int16_t>(size.bottom), static_cast<std::int16_t>(size.right)};
    }

    std::int32_t open(void* parentWindow) override
    {
        EditorBase::open(parentWindow);
        const Rect size{editorRect.left, editorRect.top, editorRect.right, editorRect.bottom};
        frame = new Frame(size, parentWindow, this);
        return 1;
    }
    void close() override { deleteFrame(); }
    void idle() override
    {
        ++idleCalls;
        EditorBase::idle();
    }
    void updateDisplay() override { ++displayUpdates; }

    std::uint32_t getNextIdleTime() const { return nextIdleTime; }
    void setNextIdleTime(std::uint32_t time) { nextIdleTime = time; }
    bool waitingForHost() const { return inIdle; }

    int idleCalls = 0;
    int displayUpdates = 0;
};

// A plain top-level window standing in for the host's editor window.
class ParentWindow {
public:
    ParentWindow(int x, int y, int width, int height)
    {
        static const char* className = registerClass();
        handle = CreateWindowExA(WS_EX_TOPMOST, className, "Host", WS_POPUP, x, y, width, height, nullptr,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        // Shown without activation: Wine then leaves the window to no window
        // manager and destroys it at once, instead of waiting two seconds for
        // one that Xvfb does not have.
        ShowWindow(handle, SW_SHOWNOACTIVATE);
        UpdateWindow(handle);
    }
    ~ParentWindow()
    {
        if (IsWindow(handle))
            DestroyWindow(handle);
    }
    ParentWindow(const ParentWindow&) = delete;
    ParentWindow& operator=(const ParentWindow&) = delete;

    HWND get() const { return handle; }

private:
    // Clicks do not activate it: under Wine an activation resyncs the
    // modifier keys from the X server, which knows nothing of keys pressed
    // through SendInput.
    static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_MOUSEACTIVATE)
            return MA_NOACTIVATE;
        return DefWindowProcA(window, message, wParam, lParam);
    }
    static const char* registerClass()
    {
        static const char name[] = "OrvaneTestHostWindow";
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        windowClass.lpszClassName = name;
        RegisterClassA(&windowClass);
        return name;
    }

    HWND handle;
};

// Dispatches every message waiting for this thread's windows.
inline void pumpMessages()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&message);
}

// Pumps messages until `done` holds or the time runs out; true when it held.
inline bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 5000)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        pumpMessages();
        Sleep(2);
    }
    return true;
}

// Handles messages for a while, so that the window system's own events
// (mapping, focus, key state) are all through before real input is sent.
inline void settle(int durationMs = 200)
{
    pumpUntil([] { return false; }, durationMs);
}

// Pixels of `color` inside `area` (right and bottom excluded).
inline int countIn(const Canvas& canvas, const Color& color, const Rect& area)
{
    int found = 0;
    for (int y = area.top; y < area.bottom; ++y) {
        for (int x = area.left; x < area.right; ++x)
            found += canvas.pixel(x, y).sameRgb(color) ? 1 : 0;
    }
    return found;
}

// A bitmap whose image is made in memory: the top `splitRow` rows in one
// colour, the rest in another, so that drawing from a source offset shows
// which part was copied.
class TwoColourBitmap : public Bitmap {
public:
    TwoColourBitmap(int width, int height, int splitRow, const Color& upper, const Color& lower)
        : Bitmap(kNoResource)
    {
        HDC screen = GetDC(nullptr);
        HBITMAP image = CreateCompatibleBitmap(screen, width, height);
        HDC paint = CreateCompatibleDC(screen);
        HGDIOBJ previous = SelectObject(paint, image);
        fill(paint, RECT{0, 0, width, splitRow}, upper);
        fill(paint, RECT{0, splitRow, width, height}, lower);
        SelectObject(paint, previous);
        DeleteDC(paint);
        ReleaseDC(nullptr, screen);
        replaceImage(new Win32BitmapImage(image));
    }

private:
    static constexpr std::int32_t kNoResource = 0x7fff;

    static void fill(HDC paint, const RECT& area, const Color& color)
    {
        HBRUSH brush = CreateSolidBrush(color.toPlatform());
        FillRect(paint, &area, brush);
        DeleteObject(brush);
    }
};

// Real input through the platform: under Xvfb, Wine turns these into events
// of the X server, and the key state the controls poll follows them.
namespace realInput {
inline void moveTo(POINT screen)
{
    SetCursorPos(screen.x, screen.y);
}

inline void mouse(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

inline void key(WORD virtualKey, bool down)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
    SendInput(1, &input, sizeof(INPUT));
}

// Screen position of a point in a window's client area.
inline POINT onScreen(HWND window, const Point& client)
{
    POINT point{client.x, client.y};
    ClientToScreen(window, &point);
    return point;
}
} // namespace realInput

// Holds the left button down, away from our windows (a press there reaches
// none of them), so that a press handler called directly sees it held.
class HeldLeftButton {
public:
    HeldLeftButton()
    {
        realInput::moveTo(POINT{1200, 1000});
        realInput::mouse(MOUSEEVENTF_LEFTDOWN);
        held = pumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; });
    }
    ~HeldLeftButton()
    {
        realInput::mouse(MOUSEEVENTF_LEFTUP);
        pumpUntil([] { return (GetAsyncKeyState(VK_LBUTTON) & 0x8000) == 0; });
    }
    bool held;
};
