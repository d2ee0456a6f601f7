#include "analysis/EngineKernels.h"
#include "analysis/fft.h"
#include "tests/analysis/analysisTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

namespace {

constexpr std::uint32_t kPoints = 2048;

struct Spectrum {
    std::vector<float> real, imag;
};

Spectrum transform(const std::vector<float>& real, const std::vector<float>* imag, bool inverse = false)
{
    Spectrum out{std::vector<float>(real.size()), std::vector<float>(real.size())};
    fft_float(static_cast<std::uint32_t>(real.size()), inverse ? 1 : 0, real.data(),
              imag ? imag->data() : nullptr, out.real.data(), out.imag.data());
    return out;
}

// The transform written plainly, factors restarted in every group: the
// optimised one must give the very same bits.
void plainFft(std::uint32_t n, bool inverse, const float* realIn, const float* imagIn, float* realOut,
              float* imagOut)
{
    const double angleNumerator = inverse ? -6.283185307179586 : 6.283185307179586;
    std::uint32_t bits = 0;
    while ((1u << bits) < n)
        ++bits;
    for (std::uint32_t i = 0; i < n; ++i) {
        std::uint32_t j = 0;
        for (std::uint32_t b = 0, rest = i; b < bits; ++b, rest >>= 1)
            j = (j << 1) | (rest & 1u);
        realOut[j] = realIn[i];
        imagOut[j] = imagIn ? imagIn[i] : 0.0f;
    }
    for (std::uint32_t blockSize = 2, blockEnd = 1; blockSize <= n; blockEnd = blockSize, blockSize *= 2) {
        const double delta = angleNumerator / blockSize;
        const float sm2 = static_cast<float>(std::sin(-2 * delta)),
                    sm1 = static_cast<float>(std::sin(-delta));
        const float cm2 = static_cast<float>(std::cos(-2 * delta)),
                    cm1 = static_cast<float>(std::cos(-delta));
        const float w = 2 * cm1;
        for (std::uint32_t i = 0; i < n; i += blockSize) {
            float ar2 = cm2, ar1 = cm1, ai2 = sm2, ai1 = sm1;
            for (std::uint32_t m = 0; m < blockEnd; ++m) {
                const float ar0 = w * ar1 - ar2;
                ar2 = ar1;
                ar1 = ar0;
                const float ai0 = w * ai1 - ai2;
                ai2 = ai1;
                ai1 = ai0;
                const std::uint32_t j = i + m, k = j + blockEnd;
                const float tr = ar0 * realOut[k] - ai0 * imagOut[k];
                const float ti = ar0 * imagOut[k] + ai0 * realOut[k];
                realOut[k] = realOut[j] - tr;
                imagOut[k] = imagOut[j] - ti;
                realOut[j] += tr;
                imagOut[j] += ti;
            }
        }
    }
    for (std::uint32_t i = 0; inverse && i < n; ++i) {
        realOut[i] /= static_cast<float>(n);
        imagOut[i] /= static_cast<float>(n);
    }
}

TEST(NumberOfBitsNeeded, GivesTheLowestSetBit)
{
    EXPECT_EQ(NumberOfBitsNeeded(2), 1);
    EXPECT_EQ(NumberOfBitsNeeded(2048), 11);
    EXPECT_EQ(NumberOfBitsNeeded(0x80000000u), 31);
    EXPECT_EQ(NumberOfBitsNeeded(3), 0);
    EXPECT_EQ(NumberOfBitsNeeded(12), 2);
}

TEST(FftDeathTest, BadArgumentsPrintTheirMessageAndEndTheProcess)
{
    const auto exitsWith1 = testing::ExitedWithCode(1);
    EXPECT_EXIT(NumberOfBitsNeeded(1), exitsWith1,
                "^>>> Error in fftmisc: argument 1 to NumberOfBitsNeeded is too small\\.\n$");
    EXPECT_EXIT(NumberOfBitsNeeded(0), exitsWith1,
                "^>>> Error in fftmisc: argument 0 to NumberOfBitsNeeded is too small\\.\n$");
    float in[8] = {}, real[8], imag[8];
    EXPECT_EXIT(fft_float(8, 0, in, nullptr, nullptr, imag), exitsWith1,
                "^Error in fft_float\\(\\):  RealOut == NULL\n$");
    EXPECT_EXIT(fft_float(8, 0, nullptr, nullptr, nullptr, imag), exitsWith1,
                "^Error in fft_float\\(\\):  RealIn == NULL\n$");
    EXPECT_EXIT(fft_float(8, 0, in, in, real, nullptr), exitsWith1,
                "^Error in fft_float\\(\\):  ImagOut == NULL\n$");
    EXPECT_EXIT(fft_float(1, 0, in, nullptr, real, imag), exitsWith1, "argument 1 to NumberOfBitsNeeded");
    EXPECT_EXIT(fft_float(6, 0, in, nullptr, real, imag), exitsWith1,
                "^Error in fft_float\\(\\):  NumSamples == 6 is not a power of two\n$");
}

TEST(Fft, ImpulseGivesAllOnesExactly)
{
    std::vector<float> impulse(kPoints, 0.0f);
    impulse[0] = 1.0f;
    const Spectrum out = transform(impulse, nullptr);
    for (std::uint32_t k = 0; k < kPoints; ++k) {
        ASSERT_EQ(out.real[k], 1.0f) << "bin " << k;
        ASSERT_EQ(out.imag[k], 0.0f) << "bin " << k;
    }
}

// Largest error of any bin against a double-precision DFT, relative to the
// RMS of the exact output. The forward direction has the positive exponent
// (the twiddle recurrence runs through positive angles).
double relativeError(const std::vector<float>& real, const std::vector<float>& imag, bool inverse)
{
    const std::size_t n = real.size();
    const Spectrum out = transform(real, &imag, inverse);
    std::vector<std::complex<double>> x(n);
    for (std::size_t i = 0; i < n; ++i)
        x[i] = {real[i], imag[i]};
    const auto expected = naiveDft(x, inverse ? -1.0 : 1.0, inverse);
    double power = 0.0, worst = 0.0;
    for (std::size_t k = 0; k < n; ++k) {
        power += std::norm(expected[k]);
        worst = std::max(worst, std::abs(std::complex<double>(out.real[k], out.imag[k]) - expected[k]));
    }
    return worst / std::sqrt(power / static_cast<double>(n));
}

// The single-precision recurrence drifts by about a rounding step of angle
// per factor, so the error grows with n: bound 2.5e-6 n (observed 1.7e-6 n
// at 2048 points).
TEST(Fft, MatchesADoublePrecisionDft)
{
    TestNoise source;
    for (std::uint32_t n = 2; n <= kPoints; n *= 2) {
        for (bool inverse : {false, true}) {
            const std::vector<float> real = source.samples(n), imag = source.samples(n);
            EXPECT_LT(relativeError(real, imag, inverse), 2.5e-6 * n)
                << n << (inverse ? " inverse" : " forward");
        }
    }
}

// Bin 0 of the constant misses 2048 by two roundings; the 8-cycle cosine
// leaks up to 0.57 into other bins (observed), 65 dB below its peaks.
TEST(Fft, ConstantAndCosineLandInTheirBins)
{
    const Spectrum constant = transform(std::vector<float>(kPoints, 1.0f), nullptr);
    EXPECT_EQ(constant.real[0], 2047.99976f);
    std::vector<float> cosine(kPoints);
    for (std::uint32_t i = 0; i < kPoints; ++i)
        cosine[i] = static_cast<float>(std::cos(2.0 * kTestPi * 8.0 * i / kPoints));
    const Spectrum eight = transform(cosine, nullptr);
    EXPECT_NEAR(eight.real[8], 1024.0f, 0.05f);
    EXPECT_NEAR(eight.real[2040], 1024.0f, 0.05f);
    for (std::uint32_t k = 1; k < kPoints; ++k) {
        ASSERT_LT(std::hypot(constant.real[k], constant.imag[k]), 1e-3f) << "bin " << k;
        if (k != 8 && k != 2040) {
            ASSERT_LT(std::hypot(eight.real[k], eight.imag[k]), 1.0f) << "bin " << k;
        }
    }
}

// Complex noise in [-1, 1): back within 3e-3 (observed 2.2e-3; 1.8e-3 for
// real input).
TEST(Fft, RoundTripsGiveTheInputBack)
{
    TestNoise source;
    const std::vector<float> real = source.samples(kPoints), imag = source.samples(kPoints);
    const Spectrum forward = transform(real, &imag);
    const Spectrum back = transform(forward.real, &forward.imag, true);
    const Spectrum inverse = transform(real, &imag, true);
    const Spectrum again = transform(inverse.real, &inverse.imag);
    for (std::uint32_t i = 0; i < kPoints; ++i) {
        ASSERT_NEAR(back.real[i], real[i], 3e-3f) << i;
        ASSERT_NEAR(back.imag[i], imag[i], 3e-3f) << i;
        ASSERT_NEAR(again.real[i], real[i], 3e-3f) << i;
        ASSERT_NEAR(again.imag[i], imag[i], 3e-3f) << i;
    }
}

TEST(Fft, GivesTheSameBitsAsThePlainAlgorithm)
{
    TestNoise source;
    for (std::uint32_t n = 2; n <= 8192; n *= 2) {
        for (int variant = 0; variant < 4; ++variant) {
            const bool inverse = variant & 1, withImag = variant & 2;
            const std::vector<float> real = source.samples(n), imag = source.samples(n);
            const Spectrum out = transform(real, withImag ? &imag : nullptr, inverse);
            std::vector<float> plainReal(n), plainImag(n);
            plainFft(n, inverse, real.data(), withImag ? imag.data() : nullptr, plainReal.data(),
                     plainImag.data());
            ASSERT_EQ(std::memcmp(out.real.data(), plainReal.data(), n * sizeof(float)), 0)
                << n << " " << variant;
            ASSERT_EQ(std::memcmp(out.imag.data(), plainImag.data(), n * sizeof(float)), 0)
                << n << " " << variant;
        }
    }
}

// The analysis's own path (window applied on the way in, the last stage
// giving powers) against fft_float of the windowed samples, squared in
// double, for every size it takes and every kernel table.
TEST(Fft, PowerSpectrumHasTheBitsOfTheFullTransform)
{
    std::vector<const EngineKernels*> tables = {&sse2Kernels()};
    if (avx2Kernels())
        tables.push_back(avx2Kernels());
    TestNoise source;
    for (std::uint32_t n = 8; n <= kPoints; n *= 2) {
        const std::vector<float> samples = source.samples(n);
        std::vector<float> window(n), windowed(n);
        fillHammingWindow(n, window.data());
        for (std::uint32_t i = 0; i < n; ++i)
            windowed[i] = window[i] * samples[i];
        const Spectrum full = transform(windowed, nullptr);
        for (const EngineKernels* kernels : tables) {
            std::vector<double> power(n / 2 + 1, -1.0);
            powerSpectrum(*kernels, n, samples.data(), window.data(), power.data());
            for (std::uint32_t k = 0; k < n / 2; ++k) {
                const double re = full.real[k], im = full.imag[k];
                ASSERT_EQ(power[k], re * re + im * im) << kernels->name << " " << n << " bin " << k;
            }
            EXPECT_EQ(power[n / 2], -1.0) << kernels->name << " " << n << ": written past the end";
        }
    }
}

TEST(HammingWindow, UsesTheFactor6283)
{
    float window[kPoints + 1];
    window[kPoints] = -1.0f;
    fillHammingWindow(kPoints, window);
    EXPECT_EQ(window[0], 0.080000013f);
    EXPECT_EQ(window[2047], 0.080000021f);
    EXPECT_EQ(window[1023], 0.9999994f);
    EXPECT_EQ(window[1024], 0.9999995f);
    EXPECT_EQ(window[kPoints], -1.0f);
    fillHammingWindow(0, window);
    EXPECT_EQ(window[0], 0.080000013f);
    fillHammingWindow(1, window);
    EXPECT_EQ(window[0], 0.080000013f);
}

} // namespace
