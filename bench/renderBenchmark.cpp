// Microseconds per renderGraphs call for this build's display scale, with all
// six histories due on every call (the most work a refresh can do). Run it
// from an optimised build without sanitizers.
#include "analysis/Analyzer.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kBatches = 40;
constexpr int kCallsPerBatch = 250;
// At 44100 Hz this many blocks make every history due.
constexpr std::int32_t kDueBlocks = 108;

// A plausible mix: sample counts falling off with level, a spectrum falling
// off with frequency, one louder channel.
void fillState(Analyzer& analyzer)
{
    for (int channel = 0; channel < Analyzer::kChannels; ++channel) {
        const double gain = channel == 0 ? 1.0 : 0.5;
        for (int bin = 0; bin < Analyzer::kHistogramBins; ++bin)
            analyzer.levelHistogram[channel][bin] =
                static_cast<std::int32_t>(gain * 1e6 * std::exp(-bin / 9.0));
        for (int bin = 0; bin < Analyzer::kSpectrumBins; ++bin)
            analyzer.channelSpectrum[channel][bin] = static_cast<float>(gain * 400.0 / (1.0 + bin));
    }
    for (int bin = 0; bin < Analyzer::kSpectrumBins; ++bin)
        analyzer.combinedSpectrum[bin] = static_cast<float>(8.0 / (1.0 + 0.05 * bin));
    analyzer.analysedFrames = static_cast<std::int64_t>(kDueBlocks) * Analyzer::kBlockFrames;
}

void makeEveryHistoryDue(Analyzer& analyzer)
{
    analyzer.slowLevelBlocks = analyzer.fastLevelBlocks = kDueBlocks;
    analyzer.slowSpectrumCount = analyzer.fastSpectrumCount = kDueBlocks;
    const float energy = 0.05f * kDueBlocks * Analyzer::kBlockFrames;
    analyzer.slowEnergy[0] = analyzer.fastEnergy[0] = energy;
    analyzer.slowEnergy[1] = analyzer.fastEnergy[1] = energy / 4;
}

} // namespace

int main()
{
    auto analyzer = std::make_unique<Analyzer>(nullptr);
    fillState(*analyzer);
    std::vector<std::vector<std::uint8_t>> pictures(4, std::vector<std::uint8_t>(kPictureBytes));

    double best = 1e300;
    double total = 0.0;
    for (int batch = 0; batch <= kBatches; ++batch) {
        const auto start = std::chrono::steady_clock::now();
        for (int call = 0; call < kCallsPerBatch; ++call) {
            makeEveryHistoryDue(*analyzer);
            analyzer->renderGraphs(pictures[0].data(), pictures[1].data(), pictures[2].data(),
                                   pictures[3].data());
        }
        const std::chrono::duration<double, std::micro> elapsed = std::chrono::steady_clock::now() - start;
        const double perCall = elapsed.count() / kCallsPerBatch;
        if (batch == 0)
            continue; // warm-up
        best = std::min(best, perCall);
        total += perCall;
    }
    std::printf("renderGraphs, display scale %d (%d x %d), all histories due: %.1f us per call "
                "(mean of %d batches), best batch %.1f us\n",
                kDisplayScale, kPictureWidth, kPictureHeight, total / kBatches, kBatches, best);
    return 0;
}
