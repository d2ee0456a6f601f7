// The VST 3 host window on Windows: a top-level window whose client area
// takes the view, handed to it as an HWND. Windows hosts have no run loop to
// offer: the view's window gets its messages by itself.
#include "testhost/PlugViewWindow.h"

#include "testhost/screenshotFile.h"
#include "testhost/windowCaptureWin32.h"
#include "vst3/References.h"

#include <tlhelp32.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace vst3;

namespace {

constexpr const char* kClassName = "OrvaneVst3TestHost";
constexpr const char* kTitle = "Orvane VST 3 test host";
constexpr DWORD kHoldMs = 80;
constexpr auto kSettleTime = std::chrono::milliseconds(60);
constexpr auto kServeStep = std::chrono::milliseconds(1);
using Clock = std::chrono::steady_clock;

class HostFrame final : public IPlugFrame {
public:
    tresult ORVANE_VST3_CALL queryInterface(const TUID iid, void** object) override
    {
        if (sameUid(iid, FUnknown::iid) || sameUid(iid, IPlugFrame::iid))
            return answerInterface(static_cast<IPlugFrame*>(this), object);
        return noInterface(object);
    }
    uint32 ORVANE_VST3_CALL addRef() override { return 1; }
    uint32 ORVANE_VST3_CALL release() override { return 1; }
    tresult ORVANE_VST3_CALL resizeView(IPlugView*, ViewRect*) override { return kResultFalse; }
};

void registerHostClass()
{
    static const ATOM atom = [] {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kClassName;
        return RegisterClassA(&windowClass);
    }();
    (void)atom;
}

void sendButton(DWORD flags)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    SendInput(1, &input, sizeof(INPUT));
}

} // namespace

const bool PlugViewWindow::kOffersRunLoop = false;

int PlugViewWindow::processThreads()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

struct PlugViewWindow::Platform {
    IPlugView* view = nullptr;
    HostFrame frame;
    HWND window = nullptr;
    ViewRect rect{};
    bool isAttached = false;

    void attach()
    {
        view->setFrame(&frame);
        isAttached = view->attached(window, kPlatformTypeHWND) == kResultOk;
    }
    void detach()
    {
        if (isAttached)
            view->removed();
        view->setFrame(nullptr);
        isAttached = false;
    }
    HWND viewWindow() const { return isAttached ? GetWindow(window, GW_CHILD) : nullptr; }
};

PlugViewWindow::PlugViewWindow(IPlugView* view, bool) : platform(std::make_unique<Platform>())
{
    Platform& p = *platform;
    p.view = view;
    if (view->getSize(&p.rect) != kResultOk)
        return;
    registerHostClass();
    RECT frame = {0, 0, static_cast<LONG>(std::max(p.rect.right - p.rect.left, 1)),
                  static_cast<LONG>(std::max(p.rect.bottom - p.rect.top, 1))};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    AdjustWindowRect(&frame, style, FALSE);
    p.window =
        CreateWindowExA(0, kClassName, kTitle, style, 0, 0, frame.right - frame.left,
                        frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (p.window)
        p.attach();
}

PlugViewWindow::~PlugViewWindow()
{
    platform->detach();
    if (platform->window)
        DestroyWindow(platform->window);
    serve();
}

bool PlugViewWindow::attached() const
{
    return platform->isAttached;
}

ViewRect PlugViewWindow::size() const
{
    return platform->rect;
}

void PlugViewWindow::reattach()
{
    if (!platform->window)
        return;
    platform->detach();
    platform->attach();
}

void PlugViewWindow::serve()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void PlugViewWindow::serveFor(std::chrono::milliseconds duration)
{
    const Clock::time_point end = Clock::now() + duration;
    do {
        serve();
        std::this_thread::sleep_for(kServeStep);
    } while (Clock::now() < end);
}

int PlugViewWindow::registeredDescriptors() const
{
    return 0;
}

int PlugViewWindow::registeredTimers() const
{
    return 0;
}

Screenshot PlugViewWindow::capture() const
{
    return captureWindow(platform->viewWindow());
}

std::string PlugViewWindow::saveCapture(const std::string& folder, const std::string& stem) const
{
    const std::string file = folder + "\\" + stem + "-vst3-editor.bmp";
    return writeScreenshot(capture(), file) ? file : std::string();
}

void PlugViewWindow::click(int x, int y)
{
    if (!platform->isAttached)
        return;
    POINT where = {x, y};
    ClientToScreen(platform->viewWindow(), &where);
    SetCursorPos(where.x, where.y);
    // The move reaches the window before the press, as a hand's would.
    serveFor(kSettleTime);
    std::atomic<bool> released{false};
    std::thread hand([&] {
        sendButton(MOUSEEVENTF_LEFTDOWN);
        Sleep(kHoldMs);
        sendButton(MOUSEEVENTF_LEFTUP);
        released = true;
    });
    while (!released)
        serveFor(kServeStep);
    hand.join();
    serveFor(kSettleTime);
}
