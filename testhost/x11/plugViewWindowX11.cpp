// The VST 3 host window on X11: a top-level window of its own connection,
// handed to the view as an X11EmbedWindowID, and a run loop that polls the
// descriptors the view registers and fires its timers.
#include "testhost/PlugViewWindow.h"

#include "gui/x11/xlib.h"
#include "testhost/screenshotPng.h"
#include "testhost/x11/windowCapture.h"
#include "vst3/Counted.h"

#include <X11/extensions/XTest.h>
#include <poll.h>

#undef LineSolid

#include <algorithm>
#include <cstdint>
#include <dirent.h>
#include <thread>
#include <vector>

using namespace vst3;

namespace {

constexpr auto kHoldTime = std::chrono::milliseconds(100);
constexpr auto kSettleTime = std::chrono::milliseconds(30);
constexpr const char* kTitle = "Orvane VST 3 test host";
using Clock = std::chrono::steady_clock;

// The host's frame, offering its run loop when asked to. Lives on the
// host's side: counted references never delete it.
class HostFrame final : public IPlugFrame, public IRunLoop {
public:
    explicit HostFrame(bool offerRunLoop) : offerRunLoop(offerRunLoop) {}

    tresult ORVANE_VST3_CALL queryInterface(const TUID iid, void** object) override
    {
        if (sameUid(iid, FUnknown::iid) || sameUid(iid, IPlugFrame::iid))
            return answerInterface(static_cast<IPlugFrame*>(this), object);
        if (offerRunLoop && sameUid(iid, IRunLoop::iid))
            return answerInterface(static_cast<IRunLoop*>(this), object);
        return noInterface(object);
    }
    std::uint32_t ORVANE_VST3_CALL addRef() override { return 1; }
    std::uint32_t ORVANE_VST3_CALL release() override { return 1; }
    tresult ORVANE_VST3_CALL resizeView(IPlugView*, ViewRect*) override { return kResultFalse; }

    tresult ORVANE_VST3_CALL registerEventHandler(IEventHandler* handler, FileDescriptor fd) override
    {
        if (!handler || fd < 0)
            return kInvalidArgument;
        handlers.push_back({handler, fd});
        return kResultOk;
    }
    tresult ORVANE_VST3_CALL unregisterEventHandler(IEventHandler* handler) override
    {
        handlers.erase(std::remove_if(handlers.begin(), handlers.end(),
                                      [&](const Handler& entry) { return entry.handler == handler; }),
                       handlers.end());
        return kResultOk;
    }
    tresult ORVANE_VST3_CALL registerTimer(ITimerHandler* handler, TimerInterval milliseconds) override
    {
        if (!handler || milliseconds == 0)
            return kInvalidArgument;
        const auto interval = std::chrono::milliseconds(milliseconds);
        timers.push_back({handler, interval, Clock::now() + interval});
        return kResultOk;
    }
    tresult ORVANE_VST3_CALL unregisterTimer(ITimerHandler* handler) override
    {
        timers.erase(std::remove_if(timers.begin(), timers.end(),
                                    [&](const Timer& entry) { return entry.handler == handler; }),
                     timers.end());
        return kResultOk;
    }

    // One turn of the loop; a handler may unregister itself or others meanwhile.
    void runOnce()
    {
        for (const Handler& entry : std::vector<Handler>(handlers)) {
            pollfd watched{entry.fd, POLLIN, 0};
            if (poll(&watched, 1, 0) > 0 && isRegistered(entry.handler))
                entry.handler->onFDIsSet(entry.fd);
        }
        const Clock::time_point now = Clock::now();
        for (const Timer& entry : std::vector<Timer>(timers)) {
            if (now < entry.due)
                continue;
            for (Timer& timer : timers)
                if (timer.handler == entry.handler)
                    timer.due = now + timer.interval;
            entry.handler->onTimer();
        }
    }

    int descriptorCount() const { return static_cast<int>(handlers.size()); }
    int timerCount() const { return static_cast<int>(timers.size()); }

private:
    struct Handler {
        IEventHandler* handler;
        FileDescriptor fd;
    };
    struct Timer {
        ITimerHandler* handler;
        std::chrono::milliseconds interval;
        Clock::time_point due;
    };
    bool isRegistered(IEventHandler* handler) const
    {
        return std::any_of(handlers.begin(), handlers.end(),
                           [&](const Handler& entry) { return entry.handler == handler; });
    }

    bool offerRunLoop;
    std::vector<Handler> handlers;
    std::vector<Timer> timers;
};

// The view's own window, a child of ours; 0 when there is none.
Window childOf(Display* display, Window window)
{
    Window root, parent, *children = nullptr;
    unsigned int count = 0;
    Window child = 0;
    if (display && window && XQueryTree(display, window, &root, &parent, &children, &count) && count > 0)
        child = children[0];
    if (children)
        XFree(children);
    return child;
}

} // namespace

const bool PlugViewWindow::kOffersRunLoop = true;

int PlugViewWindow::processThreads()
{
    DIR* tasks = opendir("/proc/self/task");
    if (!tasks)
        return -1;
    int count = 0;
    while (const dirent* entry = readdir(tasks))
        count += entry->d_name[0] != '.';
    closedir(tasks);
    return count;
}

struct PlugViewWindow::Platform {
    explicit Platform(bool offerRunLoop) : frame(offerRunLoop) {}

    HostFrame frame;
    Display* display = nullptr;
    Window window = 0;
};

PlugViewWindow::PlugViewWindow(IPlugView* view, bool offerRunLoop)
    : view(view), platform(std::make_unique<Platform>(offerRunLoop))
{
    Platform& p = *platform;
    p.display = connectToXServer();
    if (!p.display || view->getSize(&rect) != kResultOk)
        return;
    const int screen = DefaultScreen(p.display);
    p.window = XCreateSimpleWindow(p.display, DefaultRootWindow(p.display), 0, 0,
                                   static_cast<unsigned>(std::max(rect.right - rect.left, 1)),
                                   static_cast<unsigned>(std::max(rect.bottom - rect.top, 1)), 0,
                                   BlackPixel(p.display, screen), WhitePixel(p.display, screen));
    XStoreName(p.display, p.window, kTitle);
    XMapWindow(p.display, p.window);
    // The view's own connection must find the window in the server.
    XSync(p.display, False);
    attach();
}

PlugViewWindow::~PlugViewWindow()
{
    detach();
    if (platform->display)
        XCloseDisplay(platform->display);
}

void PlugViewWindow::attach()
{
    if (!platform->window)
        return;
    view->setFrame(&platform->frame);
    isAttached = view->attached(reinterpret_cast<void*>(static_cast<std::uintptr_t>(platform->window)),
                                kPlatformTypeX11EmbedWindowID) == kResultOk;
    XSync(platform->display, False);
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
    Display* display = platform->display;
    if (!display)
        return;
    while (XPending(display) > 0) {
        XEvent event;
        XNextEvent(display, &event);
    }
    platform->frame.runOnce();
}

int PlugViewWindow::registeredDescriptors() const
{
    return platform->frame.descriptorCount();
}

int PlugViewWindow::registeredTimers() const
{
    return platform->frame.timerCount();
}

Screenshot PlugViewWindow::capture() const
{
    return captureWindow(platform->display, isAttached ? childOf(platform->display, platform->window) : 0);
}

std::string PlugViewWindow::saveCapture(const std::string& folder, const std::string& stem) const
{
    const std::string file = folder + "/" + stem + "-vst3-linux-editor.png";
    return writeScreenshotPng(capture(), file) ? file : std::string();
}

void PlugViewWindow::click(int x, int y)
{
    if (!isAttached)
        return;
    Display* input = connectToXServer();
    if (!input)
        return;
    int screenX = 0, screenY = 0;
    Window child;
    XTranslateCoordinates(platform->display, childOf(platform->display, platform->window),
                          DefaultRootWindow(platform->display), x, y, &screenX, &screenY, &child);
    XTestFakeMotionEvent(input, DefaultScreen(input), screenX, screenY, CurrentTime);
    XSync(input, False);
    serveFor(kSettleTime);
    std::thread hand([input] {
        XTestFakeButtonEvent(input, 1, True, CurrentTime);
        XSync(input, False);
        std::this_thread::sleep_for(kHoldTime);
        XTestFakeButtonEvent(input, 1, False, CurrentTime);
        XSync(input, False);
    });
    serveFor(kHoldTime * 2);
    hand.join();
    serveFor(kSettleTime);
    XCloseDisplay(input);
}
