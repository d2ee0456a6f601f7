// Helpers for the analysis tests: an analyzer at a given rate, blocks filled
// from a formula, and a plain double-precision DFT to compare against.
#pragma once

#include "analysis/Analyzer.h"
#include "testhost/WhiteNoise.h"

#include <cmath>
#include <complex>
#include <cstdint>
#include <memory>
#include <vector>

constexpr double kTestPi = 3.14159265358979323846;

// Analyzers are large: on the heap, without a host.
inline std::unique_ptr<Analyzer> makeAnalyzer(float sampleRate = 44100.0f)
{
    auto analyzer = std::make_unique<Analyzer>(nullptr);
    analyzer->setSampleRate(sampleRate);
    return analyzer;
}

// Fills the block with sample(channel, frame) and analyses it, as the
// accumulator does when a block is full.
template <typename Sample> void analyse(Analyzer& analyzer, int channels, Sample sample)
{
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < Analyzer::kBlockFrames; ++i)
            analyzer.blockBuffer[c][i] = static_cast<float>(sample(c, i));
    analyzer.analyseBlock(channels);
}

inline auto constantSignal(double value)
{
    return [value](int, int) { return value; };
}

inline auto sineSignal(double hertz, double sampleRate = 44100.0)
{
    return [=](int, int i) { return std::sin(2.0 * kTestPi * hertz * i / sampleRate); };
}

// X[k] = sum x[m] e^(sign 2 pi i k m / n), divided by n when asked.
inline std::vector<std::complex<double>> naiveDft(const std::vector<std::complex<double>>& x, double sign,
                                                  bool divide)
{
    const std::size_t n = x.size();
    std::vector<std::complex<double>> result(n);
    for (std::size_t k = 0; k < n; ++k) {
        std::complex<double> sum = 0.0;
        for (std::size_t m = 0; m < n; ++m)
            sum += x[m] * std::polar(1.0, sign * 2.0 * kTestPi * static_cast<double>((k * m) % n) / n);
        result[k] = divide ? sum / static_cast<double>(n) : sum;
    }
    return result;
}

// The noise the tests draw their random input from.
class TestNoise : public WhiteNoise {
public:
    TestNoise() : WhiteNoise(7u) {}
};
