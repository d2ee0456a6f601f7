// Linux: one monotonic clock for both paces, nothing to set up per thread
// (the windows take no drops from other programs), and the connections to
// the X server.
#include "gui/Platform.h"
#include "gui/x11/xlib.h"

#include <chrono>
#include <thread>

namespace platform {

namespace {
std::uint32_t monotonicMilliseconds()
{
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}
} // namespace

std::uint32_t idleClockMilliseconds()
{
    return monotonicMilliseconds();
}

std::uint32_t refreshClockMilliseconds()
{
    return monotonicMilliseconds();
}

void sleepMilliseconds(std::uint32_t milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void attachEditorThread() {}

void detachEditorThread() {}

} // namespace platform

namespace {
constexpr int kConnectAttempts = 20;
constexpr auto kConnectRetryDelay = std::chrono::milliseconds(5);
} // namespace

Display* connectToXServer()
{
    // Without a display named there is nothing to wait for.
    const char* name = XDisplayName(nullptr);
    const int attempts = name && *name ? kConnectAttempts : 1;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        if (Display* display = XOpenDisplay(nullptr))
            return display;
        std::this_thread::sleep_for(kConnectRetryDelay);
    }
    return nullptr;
}
