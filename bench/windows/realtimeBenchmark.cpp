// What a low-latency host sees of a plug-in DLL: audio on a thread of its own,
// paced to real time in calls of 64 frames at 44.1 kHz for 10 s, while the
// user-interface thread serves the editor's window. Prints the time of each
// processReplacing call (mean, 99th percentile, worst) and the CPU time of
// the whole process, with the editor open and with it closed, three runs of
// each and the minimum and median of their 99th percentiles and worst calls
// beside the goals; and, for comparison, the CPU time of this host alone,
// pacing its audio thread the same way without calling the plug-in. Windows
// only.
// usage: realtimeBenchmark DLL...
#include "host/opcodes.h"
#include "testhost/DemoSignal.h"
#include "testhost/HostWindow.h"
#include "testhost/PluginLibrary.h"

#include <windows.h>

#include <mmsystem.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int kCallFrames = 64;
constexpr double kSeconds = 10.0;
constexpr double kPercentile = 0.99;
constexpr VstIntPtr kHostVersion = 2400;
constexpr int kRuns = 3;
constexpr double kPercentileGoalMicroseconds = 20.0;
constexpr double kWorstGoalMicroseconds = 100.0;

VstIntPtr ORVANE_CDECL quietHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? kHostVersion : 0;
}

double secondsNow()
{
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / frequency;
}

double processCpuSeconds()
{
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    auto seconds = [](const FILETIME& t) {
        return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

struct CallTimes {
    double percentile;
    double worst;
};

// The host's audio thread: each call starts when its frames are due, as a
// sound card's buffer would ask for them, and is timed on its own. It sleeps
// once per call, as a driver's thread waits once per buffer.
class PacedAudio {
public:
    PacedAudio(AEffect* effect, const DemoSignal& signal)
        : effect(effect), signal(signal), durations(static_cast<std::size_t>(calls())), outLeft(kCallFrames),
          outRight(kCallFrames), finished(CreateEventA(nullptr, TRUE, FALSE, nullptr))
    {
    }
    ~PacedAudio() { CloseHandle(finished); }
    void run()
    {
        const double start = secondsNow();
        for (std::size_t call = 0; call < durations.size(); ++call) {
            const double due = start + static_cast<double>(call * kCallFrames) / DemoSignal::kSampleRate;
            const double early = due - secondsNow();
            if (early > 0.0)
                Sleep(static_cast<DWORD>(std::ceil(1000.0 * early)));
            const std::size_t offset = call * kCallFrames;
            float* inputs[2] = {const_cast<float*>(signal.left.data()) + offset,
                                const_cast<float*>(signal.right.data()) + offset};
            float* outputs[2] = {outLeft.data(), outRight.data()};
            const double before = secondsNow();
            if (effect)
                effect->processReplacing(effect, inputs, outputs, kCallFrames);
            durations[call] = secondsNow() - before;
        }
        SetEvent(finished);
    }
    HANDLE doneEvent() const { return finished; }
    // Prints the run's line; gives its 99th percentile and worst call in us.
    CallTimes print(const char* label, double cpuShare) const
    {
        if (!effect) {
            std::printf("  %-14s %70s %5.2f %% of one core\n", label, "process CPU", 100.0 * cpuShare);
            return CallTimes{0.0, 0.0};
        }
        std::vector<double> sorted = durations;
        std::sort(sorted.begin(), sorted.end());
        double total = 0.0;
        for (double d : sorted)
            total += d;
        const std::size_t p99 = static_cast<std::size_t>(kPercentile * static_cast<double>(sorted.size() - 1));
        const CallTimes times{1e6 * sorted[p99], 1e6 * sorted.back()};
        std::printf("  %-14s mean %7.1f us   p99 %7.1f us   worst %8.1f us   process CPU %5.2f %% of one core\n",
                    label, 1e6 * total / static_cast<double>(sorted.size()), times.percentile, times.worst,
                    100.0 * cpuShare);
        return times;
    }
    static int calls() { return static_cast<int>(kSeconds * DemoSignal::kSampleRate) / kCallFrames; }

private:
    AEffect* effect;
    const DemoSignal& signal;
    std::vector<double> durations;
    std::vector<float> outLeft, outRight;
    HANDLE finished;
};

enum class Run { EditorOpen, EditorClosed, HostAlone };

// One run of the signal; the user-interface thread sleeps until a message
// for its windows arrives (paints, timers) and serves it, as any host does.
CallTimes measure(AEffect* effect, const DemoSignal& signal, Run run)
{
    std::unique_ptr<HostWindow> window;
    if (run == Run::EditorOpen)
        window = std::make_unique<HostWindow>(effect);
    PacedAudio audio(run == Run::HostAlone ? nullptr : effect, signal);
    const double cpuBefore = processCpuSeconds();
    const double wallBefore = secondsNow();
    std::thread audioThread([&] { audio.run(); });
    HANDLE done = audio.doneEvent();
    while (MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
        if (window)
            window->pump();
    }
    audioThread.join();
    const double cpuShare = (processCpuSeconds() - cpuBefore) / (secondsNow() - wallBefore);
    const char* const labels[] = {"editor open", "editor closed", "host alone"};
    return audio.print(labels[static_cast<int>(run)], cpuShare);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double minimum(const std::vector<double>& values)
{
    return *std::min_element(values.begin(), values.end());
}

// kRuns runs, then the minimum and median of their 99th percentiles and worst calls.
void measureRuns(AEffect* effect, const DemoSignal& signal, Run run, const char* label)
{
    std::vector<double> percentiles, worst;
    for (int i = 0; i < kRuns; ++i) {
        const CallTimes times = measure(effect, signal, run);
        percentiles.push_back(times.percentile);
        worst.push_back(times.worst);
    }
    std::printf("  %-14s p99 min %.1f, median %.1f us (goal: at most %.0f)   worst min %.1f, median %.1f us "
                "(goal: at most %.0f)\n",
                label, minimum(percentiles), median(percentiles), kPercentileGoalMicroseconds, minimum(worst),
                median(worst), kWorstGoalMicroseconds);
}

bool benchmark(const std::string& path, const DemoSignal& signal)
{
    PluginLibrary library(path);
    AEffect* effect = library.loaded() ? library.instantiate(quietHost) : nullptr;
    if (!effect) {
        std::printf("%s: could not load it or make an effect\n", path.c_str());
        return false;
    }
    dispatch(effect, effOpen);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, DemoSignal::kSampleRate);
    dispatch(effect, effSetBlockSize, 0, kCallFrames);
    dispatch(effect, effMainsChanged, 0, 1);
    std::printf("%s: %.0f s in calls of %d frames at %.0f Hz (%.2f ms each)\n", path.c_str(), kSeconds,
                kCallFrames, static_cast<double>(DemoSignal::kSampleRate),
                1000.0 * kCallFrames / DemoSignal::kSampleRate);
    measureRuns(effect, signal, Run::EditorOpen, "editor open");
    measureRuns(effect, signal, Run::EditorClosed, "editor closed");
    measure(effect, signal, Run::HostAlone);
    dispatch(effect, effMainsChanged, 0, 0);
    dispatch(effect, effClose);
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    // The debug log is written when its folder exists, as on a user's machine.
    CreateDirectoryA("C:\\temp", nullptr);
    timeBeginPeriod(1);
    const DemoSignal signal = DemoSignal::make(kSeconds);
    bool ok = true;
    for (int i = 1; i < argc; ++i)
        ok = benchmark(argv[i], signal) && ok;
    timeEndPeriod(1);
    return ok && argc > 1 ? 0 : 1;
}
