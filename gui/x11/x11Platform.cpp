// Linux: one monotonic clock for both paces, and nothing to set up per
// thread (the windows take no drops from other programs).
#include "gui/Platform.h"

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
