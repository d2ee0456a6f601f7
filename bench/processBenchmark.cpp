// Nanoseconds per frame of processReplacing: 60 s of stereo 44.1 kHz audio in
// host calls of 512 frames, once with the debug log written and once with the
// log file unopenable, which leaves only a failed open per call.
#include "analysis/Analyzer.h"
#include "testhost/DemoSignal.h"

#include <sys/stat.h>
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

double nanosecondsPerFrame(const DemoSignal& signal)
{
    auto analyzer = std::make_unique<Analyzer>(nullptr);
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

double bestOf(const DemoSignal& signal)
{
    double best = nanosecondsPerFrame(signal);
    for (int run = 1; run < kRuns; ++run)
        best = std::min(best, nanosecondsPerFrame(signal));
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
    const double withLog = bestOf(signal);
    std::remove(kLogName);
    // A folder of the log's name makes every open fail at once.
    mkdir(kLogName, 0700);
    const double withoutLog = bestOf(signal);
    rmdir(kLogName);
    rmdir(folder);

    std::printf("processReplacing, %.0f s stereo at 44.1 kHz in calls of %d frames (best of %d):\n", kSeconds,
                kCallFrames, kRuns);
    std::printf("  with the debug log line   %8.2f ns per frame\n", withLog);
    std::printf("  log file unopenable       %8.2f ns per frame\n", withoutLog);
    std::printf("  the log line's share      %8.2f ns per frame (%.1f us per call)\n", withLog - withoutLog,
                (withLog - withoutLog) * kCallFrames / 1000.0);
    return 0;
}
