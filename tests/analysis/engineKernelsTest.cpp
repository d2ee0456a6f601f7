#include "analysis/EngineKernels.h"
#include "analysis/fft.h"
#include "tests/analysis/analysisTestSupport.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <limits>
#include <thread>
#include <vector>

namespace {

using Sample = std::function<float(TestNoise& noise, int channel, int frame, int block)>;

struct Signal {
    const char* name;
    Sample sample;
    int channels; // 1 or 2, or 0 for mono and stereo blocks by turns
};

// Full mantissas, file-like quantised samples, values that make the order
// of additions matter, silence, and samples beyond full scale.
std::vector<Signal> signals()
{
    const float inf = std::numeric_limits<float>::infinity();
    return {
        {"noise", [](TestNoise& n, int, int, int) { return static_cast<float>(n.next() * 0.8137); }, 2},
        {"16-bit", [](TestNoise& n, int, int, int) { return static_cast<float>(std::round(n.next() * 9000) / 32768); },
         0},
        {"tiny steps", [](TestNoise& n, int c, int i, int b) {
             return i == 0 && c == 0 ? 1.0f : static_cast<float>(n.next() * std::ldexp(1.0, -40 - b % 20));
         }, 2},
        {"quiet then loud", [](TestNoise& n, int, int, int b) {
             return static_cast<float>(n.next() * (b < 14 ? 1e-5 : 0.5));
         }, 1},
        {"beyond full scale", [=](TestNoise& n, int, int i, int) {
             return i % 97 == 0 ? (i % 2 ? -inf : 3e30f) : static_cast<float>(n.next());
         }, 2},
    };
}

constexpr int kBlocks = 24;

int channelsOf(const Signal& signal, int block)
{
    return signal.channels ? signal.channels : 1 + block % 2;
}

void fill(BlockWork::Samples& samples, const Signal& signal, TestNoise& noise, int block)
{
    for (int c = 0; c < channelsOf(signal, block); ++c)
        for (int i = 0; i < Analyzer::kBlockFrames; ++i)
            samples[c][i] = signal.sample(noise, c, i, block);
}

// Every value the analysis keeps, byte for byte.
void expectSameState(const Analyzer& expected, const Analyzer& actual, const std::string& where)
{
    auto same = [&](const char* field, const void* a, const void* b, std::size_t size) {
        EXPECT_EQ(std::memcmp(a, b, size), 0) << field << " differs, " << where;
    };
#define ORVANE_SAME(field) same(#field, &expected.field, &actual.field, sizeof expected.field)
    ORVANE_SAME(measures);
    ORVANE_SAME(channelSpectrum);
    ORVANE_SAME(combinedSpectrum);
    ORVANE_SAME(levelHistogram);
    ORVANE_SAME(slowEnergy);
    ORVANE_SAME(fastEnergy);
    ORVANE_SAME(overallRms);
    ORVANE_SAME(channelRms);
    ORVANE_SAME(meanAbsolute);
    ORVANE_SAME(runningPeak);
    ORVANE_SAME(nearPeakCount);
    ORVANE_SAME(quietCount);
    ORVANE_SAME(analysedFrames);
    ORVANE_SAME(silentRun);
#undef ORVANE_SAME
}

// Three ways through the same blocks: block by block on the SSE2 kernels, on
// the AVX2 kernels, and as a file tool may go: every block's BlockWork made
// up front on another thread, then accumulated in order.
TEST(EngineKernels, EveryPathGivesTheSameBits)
{
    const EngineKernels* avx2 = avx2Kernels();
    if (!avx2)
        GTEST_SKIP() << "this processor has no AVX2";
    for (const Signal& signal : signals()) {
        auto sse2Analyzer = makeAnalyzer(), avx2Analyzer = makeAnalyzer(), laterAnalyzer = makeAnalyzer();
        sse2Analyzer->kernels = &sse2Kernels();
        avx2Analyzer->kernels = avx2;

        TestNoise noise;
        std::vector<BlockWork::Samples> blocks(kBlocks);
        for (int b = 0; b < kBlocks; ++b)
            fill(blocks[b], signal, noise, b);
        std::vector<BlockWork> work(kBlocks);
        std::thread worker([&] {
            for (int b = 0; b < kBlocks; ++b) {
                work[b].measure(*laterAnalyzer->kernels, blocks[b], channelsOf(signal, b));
                work[b].transform(*laterAnalyzer->kernels, blocks[b], channelsOf(signal, b),
                                  laterAnalyzer->hammingWindow);
            }
        });
        worker.join();

        AnalysisSnapshot snapshot;
        for (int b = 0; b < kBlocks; ++b) {
            const int channels = channelsOf(signal, b);
            for (Analyzer* analyzer : {sse2Analyzer.get(), avx2Analyzer.get()}) {
                std::memcpy(analyzer->blockBuffer, blocks[b], sizeof blocks[b]);
                analyzer->analyseBlock(channels);
            }
            laterAnalyzer->accumulateBlock(blocks[b], channels, work[b]);
            // History rows taken now and then, as an editor's refresh takes them.
            if (b % 5 == 4) {
                for (Analyzer* analyzer : {sse2Analyzer.get(), avx2Analyzer.get(), laterAnalyzer.get()})
                    analyzer->takeSnapshot(snapshot);
            }
            const std::string where = std::string(signal.name) + ", block " + std::to_string(b);
            expectSameState(*sse2Analyzer, *avx2Analyzer, where + ", AVX2");
            expectSameState(*sse2Analyzer, *laterAnalyzer, where + ", accumulated later");
        }
    }
}

TEST(EngineKernels, TransformsGiveTheSameBits)
{
    const EngineKernels* avx2 = avx2Kernels();
    if (!avx2)
        GTEST_SKIP() << "this processor has no AVX2";
    TestNoise source;
    for (std::uint32_t n = 2; n <= 8192; n *= 2) {
        for (int variant = 0; variant < 4; ++variant) {
            const bool inverse = variant & 1, withImag = variant & 2;
            const std::vector<float> real = source.samples(n), imag = source.samples(n);
            std::vector<float> sseReal(n), sseImag(n), avxReal(n), avxImag(n);
            fftWith(sse2Kernels(), n, inverse, real.data(), withImag ? imag.data() : nullptr, sseReal.data(),
                    sseImag.data());
            fftWith(*avx2, n, inverse, real.data(), withImag ? imag.data() : nullptr, avxReal.data(),
                    avxImag.data());
            ASSERT_EQ(std::memcmp(sseReal.data(), avxReal.data(), n * sizeof(float)), 0) << n << " " << variant;
            ASSERT_EQ(std::memcmp(sseImag.data(), avxImag.data(), n * sizeof(float)), 0) << n << " " << variant;
        }
    }
}

std::vector<const EngineKernels*> everyKernelTable()
{
    std::vector<const EngineKernels*> tables = {&sse2Kernels()};
    if (avx2Kernels())
        tables.push_back(avx2Kernels());
    return tables;
}

// The sums added lane by lane must have the bits of the in-order definition,
// also where the order matters (then the kernels fall back to it): after
// 1.0, a step of 2^-53 rounds away one by one but not when added up first.
TEST(EngineKernels, SumsKeepTheirOrder)
{
    for (const Signal& signal : signals()) {
        TestNoise noise;
        for (int b = 0; b < kBlocks; ++b) {
            BlockWork::Samples samples;
            fill(samples, signal, noise, b);
            const int channels = channelsOf(signal, b);
            double inOrder = 0.0;
            for (int i = 0; i < Analyzer::kBlockFrames; ++i)
                for (int c = 0; c < channels; ++c)
                    inOrder += std::fabs(samples[c][i]);
            for (const EngineKernels* kernels : everyKernelTable()) {
                BlockWork work;
                work.measure(*kernels, samples, channels);
                EXPECT_EQ(std::memcmp(&work.sumAbsolute, &inOrder, sizeof inOrder), 0)
                    << kernels->name << ", " << signal.name << ", block " << b;
            }
        }
    }

    float spectrum[Analyzer::kChannels][Analyzer::kSpectrumBins];
    TestNoise noise;
    for (bool roundsInOrder : {false, true}) {
        for (int c = 0; c < Analyzer::kChannels; ++c)
            for (float& value : spectrum[c])
                value = roundsInOrder ? 0x1p-53f : static_cast<float>(std::fabs(noise.next()) * 300.0);
        spectrum[0][0] = 1.0f;
        BandSums inOrder = {0.0, 0.0, 0.0};
        for (int k = 0; k < Analyzer::kSpectrumBins; ++k)
            for (int c = 0; c < Analyzer::kChannels; ++c) {
                inOrder.total += spectrum[c][k];
                inOrder.low += k < 11 ? spectrum[c][k] : 0.0;
                inOrder.high += k >= 162 ? spectrum[c][k] : 0.0;
            }
        for (const EngineKernels* kernels : everyKernelTable()) {
            const BandSums sums = kernels->bandSums(spectrum, Analyzer::kChannels, 11, 162);
            EXPECT_EQ(std::memcmp(&sums, &inOrder, sizeof sums), 0) << kernels->name << " " << roundsInOrder;
        }
    }
}

} // namespace
