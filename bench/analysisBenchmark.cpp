// Speed of the analysis engine, for an optimised build without sanitizers:
//   (a) microseconds per 2048-point fft_float;
//   (b) the engine alone (block accumulation, statistics, spectra, measures;
//       no debug log, no editor) on 60 s of stereo 44.1 kHz noise, as a
//       multiple of real time.
// Each figure is the minimum and the median of several runs, beside its goal,
// for the vector kernels this processor runs and for SSE2, which every
// processor has. It also prints a checksum of everything the engine computed,
// so that two builds, or the two kernel tables, can be shown to give
// bit-identical results.
#include "analysis/Analyzer.h"
#include "analysis/EngineKernels.h"
#include "analysis/fft.h"
#include "testhost/WhiteNoise.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::uint32_t kFftPoints = 2048;
constexpr int kFftRuns = 20000;
constexpr double kSignalSeconds = 60.0;
constexpr float kSampleRate = 44100.0f;
// A typical host buffer; the accumulator copies it into the block.
constexpr int kHostFrames = 512;
constexpr int kRepeats = 5;
constexpr double kFftGoalMicroseconds = 2.5;
constexpr double kEngineGoalRealTime = 4000.0;

using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start)
{
    return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr std::uint32_t kNoiseSeed = 2024u;

// FNV-1a over the bytes of a value.
template <typename T> void mix(std::uint64_t& hash, const T& value)
{
    unsigned char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    for (unsigned char b : bytes)
        hash = (hash ^ b) * 1099511628211ull;
}

struct Figures {
    double best;
    double median;
};

Figures minimumAndMedian(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return Figures{values.front(), values[values.size() / 2]};
}

Figures fftMicroseconds(const EngineKernels& kernels, std::uint64_t& hash)
{
    WhiteNoise source(kNoiseSeed);
    const std::vector<float> realIn = source.samples(kFftPoints);
    std::vector<float> realOut(kFftPoints), imagOut(kFftPoints);
    std::vector<double> runs;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        const Clock::time_point start = Clock::now();
        for (int run = 0; run < kFftRuns; ++run)
            fftWith(kernels, kFftPoints, 0, realIn.data(), nullptr, realOut.data(), imagOut.data());
        runs.push_back(secondsSince(start) * 1e6 / kFftRuns);
    }
    for (std::uint32_t i = 0; i < kFftPoints; ++i) {
        mix(hash, realOut[i]);
        mix(hash, imagOut[i]);
    }
    return minimumAndMedian(runs);
}

// What the effect's accumulator does with a stereo host buffer, without the
// debug log: copy into the block and analyse every full one.
void feed(Analyzer& analyzer, const float* left, const float* right, int frames)
{
    int done = 0;
    while (done < frames) {
        const int n = std::min(Analyzer::kBlockFrames - analyzer.blockFill, frames - done);
        std::memcpy(&analyzer.blockBuffer[0][analyzer.blockFill], left + done, sizeof(float) * n);
        std::memcpy(&analyzer.blockBuffer[1][analyzer.blockFill], right + done, sizeof(float) * n);
        analyzer.blockFill += n;
        if (analyzer.blockFill == Analyzer::kBlockFrames) {
            analyzer.analyseBlock(Analyzer::kChannels);
            analyzer.blockFill = 0;
        }
        done += n;
    }
}

void mixAnalysis(std::uint64_t& hash, const Analyzer& analyzer)
{
    mix(hash, analyzer.measures);
    mix(hash, analyzer.channelSpectrum);
    mix(hash, analyzer.combinedSpectrum);
    mix(hash, analyzer.levelHistogram);
    mix(hash, analyzer.slowEnergy);
    mix(hash, analyzer.fastEnergy);
}

// Seconds per run of the signal.
Figures engineSeconds(const EngineKernels& kernels, std::uint64_t& hash)
{
    const auto frames = static_cast<std::size_t>(kSignalSeconds * kSampleRate);
    WhiteNoise source(kNoiseSeed);
    const std::vector<float> left = source.samples(frames);
    const std::vector<float> right = source.samples(frames);
    auto analyzer = std::make_unique<Analyzer>(nullptr);
    analyzer->setSampleRate(kSampleRate);
    analyzer->kernels = &kernels;
    std::vector<double> runs;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        analyzer->reset();
        const Clock::time_point start = Clock::now();
        for (std::size_t at = 0; at < frames; at += kHostFrames) {
            const int n = static_cast<int>(std::min<std::size_t>(kHostFrames, frames - at));
            feed(*analyzer, left.data() + at, right.data() + at, n);
        }
        runs.push_back(secondsSince(start));
    }
    mixAnalysis(hash, *analyzer);
    return minimumAndMedian(runs);
}

void report(const EngineKernels& kernels, bool withGoals)
{
    std::uint64_t fftHash = 14695981039346656037ull;
    std::uint64_t engineHash = fftHash;
    const Figures fft = fftMicroseconds(kernels, fftHash);
    const Figures engine = engineSeconds(kernels, engineHash);
    const double blocks = kSignalSeconds * kSampleRate / Analyzer::kBlockFrames;
    std::printf("%s kernels (best and median of %d runs):\n", kernels.name, kRepeats);
    std::printf("  fft_float, %u points: %.2f us, median %.2f us per transform", kFftPoints, fft.best, fft.median);
    if (withGoals)
        std::printf(" (goal: at most %.1f us)", kFftGoalMicroseconds);
    std::printf("\n  engine, %.0f s of stereo %.0f Hz noise: %.0f x, median %.0f x real time (%.1f us per block)",
                kSignalSeconds, static_cast<double>(kSampleRate), kSignalSeconds / engine.best,
                kSignalSeconds / engine.median, 1e6 * engine.best / blocks);
    if (withGoals)
        std::printf(" (goal: at least %.0f x)", kEngineGoalRealTime);
    std::printf("\n  checksums: fft %016llx, engine %016llx\n", static_cast<unsigned long long>(fftHash),
                static_cast<unsigned long long>(engineHash));
}

} // namespace

int main()
{
    const EngineKernels& fastest = fastestKernels();
    report(fastest, true);
    if (&fastest != &sse2Kernels())
        report(sse2Kernels(), false);
    return 0;
}
