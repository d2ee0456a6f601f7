// Speed of the analysis engine, for an optimised build without sanitizers:
//   (a) microseconds per 2048-point fft_float;
//   (b) the engine alone (block accumulation, statistics, spectra, measures;
//       no debug log, no editor) on 60 s of stereo 44.1 kHz noise, as a
//       multiple of real time.
// It also prints a checksum of everything the engine computed, so that two
// builds can be shown to give bit-identical results.
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

double fftMicroseconds(std::uint64_t& hash)
{
    WhiteNoise source(kNoiseSeed);
    const std::vector<float> realIn = source.samples(kFftPoints);
    std::vector<float> realOut(kFftPoints), imagOut(kFftPoints);
    double best = 1e30;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        const Clock::time_point start = Clock::now();
        for (int run = 0; run < kFftRuns; ++run)
            fft_float(kFftPoints, 0, realIn.data(), nullptr, realOut.data(), imagOut.data());
        best = std::min(best, secondsSince(start) * 1e6 / kFftRuns);
    }
    for (std::uint32_t i = 0; i < kFftPoints; ++i) {
        mix(hash, realOut[i]);
        mix(hash, imagOut[i]);
    }
    return best;
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

double engineRealTimeFactor(std::uint64_t& hash)
{
    const auto frames = static_cast<std::size_t>(kSignalSeconds * kSampleRate);
    WhiteNoise source(kNoiseSeed);
    const std::vector<float> left = source.samples(frames);
    const std::vector<float> right = source.samples(frames);
    auto analyzer = std::make_unique<Analyzer>(nullptr);
    analyzer->setSampleRate(kSampleRate);
    double best = 1e30;
    for (int repeat = 0; repeat < kRepeats; ++repeat) {
        analyzer->reset();
        const Clock::time_point start = Clock::now();
        for (std::size_t at = 0; at < frames; at += kHostFrames) {
            const int n = static_cast<int>(std::min<std::size_t>(kHostFrames, frames - at));
            feed(*analyzer, left.data() + at, right.data() + at, n);
        }
        best = std::min(best, secondsSince(start));
    }
    mixAnalysis(hash, *analyzer);
    return kSignalSeconds / best;
}

} // namespace

int main()
{
    std::uint64_t fftHash = 14695981039346656037ull;
    std::uint64_t engineHash = fftHash;
    const double fftTime = fftMicroseconds(fftHash);
    const double factor = engineRealTimeFactor(engineHash);
    std::printf("vector kernels: %s\n", fastestKernels().name);
    std::printf("fft_float, %u points: %.2f us per transform (best of %d x %d)\n", kFftPoints, fftTime,
                kRepeats, kFftRuns);
    std::printf("engine, %.0f s of stereo %.0f Hz noise: %.0f x real time (best of %d)\n", kSignalSeconds,
                static_cast<double>(kSampleRate), factor, kRepeats);
    std::printf("checksums: fft %016llx, engine %016llx\n", static_cast<unsigned long long>(fftHash),
                static_cast<unsigned long long>(engineHash));
    return 0;
}
