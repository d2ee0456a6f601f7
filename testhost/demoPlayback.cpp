#include "testhost/demoPlayback.h"

#include "host/opcodes.h"
#include "testhost/PluginLibrary.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

namespace {

constexpr int kHostBlockFrames = 512;
constexpr auto kWaitStep = std::chrono::milliseconds(1);
using Clock = std::chrono::steady_clock;

// Waits until the audio fed so far has had its real-time duration, keeping
// the window served meanwhile, as a host's clock would.
void keepRealTime(Clock::time_point start, std::size_t framesFed, const std::function<void()>& serveWindow)
{
    const auto due = start + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                                 static_cast<double>(framesFed) / DemoSignal::kSampleRate));
    do {
        serveWindow();
        if (Clock::now() < due)
            std::this_thread::sleep_for(kWaitStep);
    } while (Clock::now() < due);
}

} // namespace

bool playDemoSignal(AEffect* effect, const DemoSignal& signal, const std::function<void()>& serveWindow)
{
    const std::size_t frames = signal.left.size();
    std::vector<float> inLeft = signal.left, inRight = signal.right;
    std::vector<float> outLeft(frames), outRight(frames);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, DemoSignal::kSampleRate);
    dispatch(effect, effSetBlockSize, 0, kHostBlockFrames);
    dispatch(effect, effMainsChanged, 0, 1);
    long calls = 0;
    const Clock::time_point begin = Clock::now();
    for (std::size_t start = 0; start < frames; start += kHostBlockFrames, ++calls) {
        const auto n = static_cast<std::int32_t>(std::min<std::size_t>(kHostBlockFrames, frames - start));
        float* inputs[2] = {inLeft.data() + start, inRight.data() + start};
        float* outputs[2] = {outLeft.data() + start, outRight.data() + start};
        effect->processReplacing(effect, inputs, outputs, n);
        keepRealTime(begin, start + static_cast<std::size_t>(n), serveWindow);
    }
    dispatch(effect, effMainsChanged, 0, 0);
    const bool exact = std::memcmp(outLeft.data(), signal.left.data(), frames * sizeof(float)) == 0 &&
                       std::memcmp(outRight.data(), signal.right.data(), frames * sizeof(float)) == 0;
    std::printf("  pass-through    %s for %zu stereo frames in %ld calls of up to %d\n",
                exact ? "bit-exact" : "DIFFERS", frames, calls, kHostBlockFrames);
    return exact;
}
