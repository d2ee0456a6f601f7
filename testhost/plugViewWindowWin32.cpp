// The VST 3 host window on Windows: a top-level window whose client area
// takes the view, handed to it as an HWND. Windows hosts have no run loop to
// offer: the view's window gets its messages by itself.
#include "testhost/PlugViewWindow.h"

#include "testhost/HostWindow.h"
#include "testhost/screenshotFile.h"
#include "testhost/windowCaptureWin32.h"
#include "vst3/Counted.h"

#include <tlhelp32.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <thread>

using namespace vst3;

namespace {

constexpr const char* kTitle = "Orvane VST 3 test host";
constexpr DWORD kHoldMs = 80;
constexpr auto kSettleTime = std::chrono::milliseconds(60);
constexpr auto kServeStep = std::chrono::milliseconds(1);

class HostFrame final : public IPlugFrame {
public:
    tresult ORVANE_VST3_CALL queryInterface(const TUID iid, void** object) override
    {
        if (sameUid(iid, FUnknown::iid) || sameUid(iid, IPlugFrame::iid))
            return answerInterface(static_cast<IPlugFrame*>(this), object);
        return noInterface(object);
    }
    std::uint32_t ORVANE_VST3_CALL addRef() override { return 1; }
    std::uint32_t ORVANE_VST3_CALL release() override { return 1; }
    tresult ORVANE_VST3_CALL resizeView(IPlugView*, ViewRect*) override { return kResultFalse; }
};

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
    HostFrame frame;
    HWND window = nullptr;
};

PlugViewWindow::PlugViewWindow(IPlugView* view, bool) : view(view), platform(std::make_unique<Platform>())
{
    if (view->getSize(&rect) != kResultOk)
        return;
    platform->window =
        makeHostWindow(kTitle, std::max(rect.right - rect.left, 1), std::max(rect.bottom - rect.top, 1));
    attach();
}

PlugViewWindow::~PlugViewWindow()
{
    detach();
    if (platform->window)
        DestroyWindow(platform->window);
    serve();
}

void PlugViewWindow::attach()
{
    if (!platform->window)
        return;
    view->setFrame(&platform->frame);
    isAttached = view->attached(platform->window, kPlatformTypeHWND) == kResultOk;
}

void PlugViewWindow::detach()
{
    if (isAttached)
        view->removed();
    view->setFrame(nullptr);
    isAttached = false;
}

void PlugViewWindow::serve()
{
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
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
    return captureWindow(isAttached ? GetWindow(platform->window, GW_CHILD) : nullptr);
}

std::string PlugViewWindow::saveCapture(const std::string& folder, const std::string& stem) const
{
    const std::string file = folder + "\\" + stem + "-vst3-editor.bmp";
    return writeScreenshot(capture(), file) ? file : std::string();
}

void PlugViewWindow::click(int x, int y)
{
    if (!isAttached)
        return;
    POINT where = {x, y};
    ClientToScreen(GetWindow(platform->window, GW_CHILD), &where);
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
