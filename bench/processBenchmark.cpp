// Nanoseconds per frame of processReplacing: 60 s of stereo 44.1 kHz audio in
// host calls of 512 frames, once with the debug log (counted on the audio
// thread, written by its own thread) and once without any log.
#include "analysis/Analyzer.h"
#include "testhost/DemoSignal.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr double kSeconds = 60.0;
constexpr int kCallFrames = 512;
constexpr int kRuns = 3;
// The analyzer appends to this file name; natively it is a file in the current folder.
constexpr const char* kLogName = "C:\\temp\\orvlog.txt";

double nanosecondsPerFrame(const DemoSignal& signal, DebugLog* log)
{
    auto analyzer = std::make_unique<Analyzer>(nullptr, log);
    std::vector<float> left = signal.left, right = signal.right;
    std::vector<float> outLeft(left.size()), outRight(right.size());
    const auto start = std::chrono::steady_clock::now();
    for (std::size_t i = 0; i + kCallFrames <= left.size(); i += kCallFrames) {
        float* inputs[2] = {left.data() + i, right.data() + i};
        float* outputs[2] = {outLeft.data() + i, outRight.data() + i};
        analyzer->processReplacing(inputs, outputs, kCallFrames);
    }
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / static_cast<double>(left.size());
}

double bestOf(const DemoSignal& signal, DebugLog* log)
{
    double best = nanosecondsPerFrame(signal, log);
    for (int run = 1; run < kRuns; ++run)
        best = std::min(best, nanosecondsPerFrame(signal, log));
    return best;
}

} // namespace

int main()
{
    char folder[] = "/tmp/orvane-bench-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) {
        std::perror("temporary folder");
        return 1;
    }
    const DemoSignal signal = DemoSignal::make(kSeconds);
    DebugLog log(kLogName);
    const double withLog = bestOf(signal, &log);
    const double withoutLog = bestOf(signal, nullptr);
    std::remove(kLogName);
    rmdir(folder);

    std::printf("processReplacing, %.0f s stereo at 44.1 kHz in calls of %d frames (best of %d):\n", kSeconds,
                kCallFrames, kRuns);
    std::printf("  with the debug log      %8.2f ns per frame\n", withLog);
    std::printf("  without a debug log     %8.2f ns per frame\n", withoutLog);
    return 0;
}
