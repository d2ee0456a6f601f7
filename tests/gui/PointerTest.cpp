// Mouse and key state as the drawing context polls it. Under Wine and Xvfb,
// SetCursorPos and SendInput become X events, so the state is awaited with a
// bounded poll rather than read at once.
#include "gui/win32/Win32DrawContext.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr auto kPollLimit = std::chrono::seconds(3);
constexpr auto kPollStep = std::chrono::milliseconds(5);

// Polls until `done` holds or the limit passes; answers its last result.
bool awaitTrue(const std::function<bool()>& done)
{
    const auto limit = std::chrono::steady_clock::now() + kPollLimit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > limit) {
            return false;
        }
        std::this_thread::sleep_for(kPollStep);
    }
    return true;
}

INPUT keyInput(WORD virtualKey, DWORD flags)
{
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = virtualKey;
    input.ki.dwFlags = flags;
    return input;
}

INPUT buttonInput(DWORD flags)
{
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    return input;
}

struct HeldInput {
    WORD virtualKey; // 0 for a mouse button
    DWORD downFlags;
    DWORD upFlags;
};

const HeldInput kLeftButton{0, MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP};
const HeldInput kMiddleButton{0, MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP};
const HeldInput kRightButton{0, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP};
const HeldInput kShift{VK_SHIFT, 0, KEYEVENTF_KEYUP};
const HeldInput kControl{VK_CONTROL, 0, KEYEVENTF_KEYUP};

INPUT toInput(const HeldInput& held, bool down)
{
    const DWORD flags = down ? held.downFlags : held.upFlags;
    return held.virtualKey ? keyInput(held.virtualKey, flags) : buttonInput(flags);
}

// Presses the keys and buttons, and lets them go again however the test ends.
class Holding {
public:
    explicit Holding(std::vector<HeldInput> held) : held(std::move(held)) { send(true); }
    ~Holding() { send(false); }
    Holding(const Holding&) = delete;
    Holding& operator=(const Holding&) = delete;

private:
    void send(bool down)
    {
        std::vector<INPUT> inputs;
        for (const HeldInput& one : held) {
            inputs.push_back(toInput(one, down));
        }
        SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
    }

    std::vector<HeldInput> held;
};

struct HeldCase {
    const char* name;
    std::vector<HeldInput> held;
    std::int32_t expected;
};

const HeldCase kHeldCases[] = {
    {"left button and Shift", {kShift, kLeftButton}, ButtonLeft | ModifierShift},
    {"right button", {kRightButton}, ButtonRight},
    {"middle button and Control", {kControl, kMiddleButton}, ButtonMiddle | ModifierControl},
};

TEST(MouseStateTest, ReportsWhatIsHeldNow)
{
    Win32DrawContext context(nullptr, nullptr, nullptr);
    for (const HeldCase& heldCase : kHeldCases) {
        SCOPED_TRACE(heldCase.name);
        ASSERT_TRUE(awaitTrue([&] { return context.mouseState() == 0; })) << context.mouseState();
        {
            Holding holding(heldCase.held);
            EXPECT_TRUE(awaitTrue([&] { return context.mouseState() == heldCase.expected; }))
                << "last state " << context.mouseState();
        }
        EXPECT_TRUE(awaitTrue([&] { return context.mouseState() == 0; }))
            << "last state " << context.mouseState();
    }
}

constexpr char kWindowClass[] = "OrvanePointerTestWindow";
constexpr POINT kFirstPlace{100, 120};
constexpr POINT kSecondPlace{400, 300};
constexpr SIZE kWindowSize{200, 150};
constexpr POINT kCursor{300, 260};

class TopLevelWindow {
public:
    TopLevelWindow()
    {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = kWindowClass;
        RegisterClassA(&windowClass);
        window = CreateWindowExA(0, kWindowClass, "pointer test", WS_POPUP | WS_VISIBLE, kFirstPlace.x,
                                 kFirstPlace.y, kWindowSize.cx, kWindowSize.cy, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    }
    ~TopLevelWindow()
    {
        DestroyWindow(window);
        UnregisterClassA(kWindowClass, GetModuleHandleA(nullptr));
    }
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;

    HWND get() const { return window; }
    POINT place() const
    {
        RECT rect{};
        GetWindowRect(window, &rect);
        return {rect.left, rect.top};
    }

private:
    HWND window = nullptr;
};

bool cursorAt(const POINT& expected)
{
    POINT now{};
    return GetCursorPos(&now) && now.x == expected.x && now.y == expected.y;
}

TEST(CursorPositionTest, RelativeToWhereTheWindowWasWhenTheContextWasMade)
{
    TopLevelWindow window;
    ASSERT_NE(window.get(), nullptr);
    ASSERT_EQ(window.place().x, kFirstPlace.x);
    ASSERT_EQ(window.place().y, kFirstPlace.y);
    HDC deviceContext = GetDC(window.get());
    {
        Win32DrawContext context(nullptr, deviceContext, window.get());
        ASSERT_TRUE(SetCursorPos(kCursor.x, kCursor.y));
        ASSERT_TRUE(awaitTrue([] { return cursorAt(kCursor); }));
        Point where;
        context.cursorPosition(where);
        EXPECT_EQ(where.x, kCursor.x - kFirstPlace.x);
        EXPECT_EQ(where.y, kCursor.y - kFirstPlace.y);

        ASSERT_TRUE(SetWindowPos(window.get(), nullptr, kSecondPlace.x, kSecondPlace.y, 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER));
        ASSERT_EQ(window.place().x, kSecondPlace.x);
        ASSERT_EQ(window.place().y, kSecondPlace.y);
        context.cursorPosition(where);
        EXPECT_EQ(where.x, kCursor.x - kFirstPlace.x);
        EXPECT_EQ(where.y, kCursor.y - kFirstPlace.y);
    }
    ReleaseDC(window.get(), deviceContext);
    Win32DrawContext movedContext(nullptr, nullptr, window.get());
    Point where;
    movedContext.cursorPosition(where);
    EXPECT_EQ(where.x, kCursor.x - kSecondPlace.x);
    EXPECT_EQ(where.y, kCursor.y - kSecondPlace.y);
}

} // namespace
