#include "testhost/PlugViewWindow.h"

#include <thread>

namespace {
constexpr auto kServeStep = std::chrono::milliseconds(1);
}

bool PlugViewWindow::attached() const
{
    return isAttached;
}

vst3::ViewRect PlugViewWindow::size() const
{
    return rect;
}

void PlugViewWindow::reattach()
{
    detach();
    attach();
}

void PlugViewWindow::serveFor(std::chrono::milliseconds duration)
{
    const auto end = std::chrono::steady_clock::now() + duration;
    do {
        serve();
        std::this_thread::sleep_for(kServeStep);
    } while (std::chrono::steady_clock::now() < end);
}
