#include "analysis/fft.h"

#include "analysis/EngineKernels.h"
#include "analysis/fftKernels.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr double kAngleNumerator = 6.283185307179586; // 2 pi
constexpr float kHammingOffset = 0.54f;
constexpr float kHammingAmplitude = 0.46f;
constexpr double kHammingAngleFactor = 6.283;
constexpr int kErrorExitStatus = 1;
constexpr std::uint32_t kTwiddleChunk = 256;
// The analysis transforms 2048 points.
constexpr std::uint32_t kTablePoints = 2048;

[[noreturn]] void endProcess()
{
    std::exit(kErrorExitStatus);
}

// n has its lowest set bit at `bits`; any other set bit makes the
// butterflies index past the arrays.
void checkPowerOfTwo(std::uint32_t n, std::int32_t bits)
{
    if (n != std::uint32_t{1} << bits) {
        std::fprintf(stderr, "Error in fft_float():  NumSamples == %lu is not a power of two\n",
                     static_cast<unsigned long>(n));
        endProcess();
    }
}

// Twiddle factors e^(i m delta), m = 0, 1, 2, ..., from a single-precision
// three-term recurrence started at the angles -2 delta and -delta: no
// trigonometric call runs inside the loops.
class TwiddleRecurrence {
public:
    explicit TwiddleRecurrence(double delta)
        : ar2(static_cast<float>(std::cos(-2.0 * delta))), ar1(static_cast<float>(std::cos(-delta))),
          ai2(static_cast<float>(std::sin(-2.0 * delta))), ai1(static_cast<float>(std::sin(-delta))),
          w(2.0f * ar1)
    {
    }

    void fill(float* real, float* imag, std::uint32_t count)
    {
        for (std::uint32_t m = 0; m < count; ++m) {
            const float ar0 = w * ar1 - ar2;
            ar2 = ar1;
            ar1 = ar0;
            const float ai0 = w * ai1 - ai2;
            ai2 = ai1;
            ai1 = ai0;
            real[m] = ar0;
            imag[m] = ai0;
        }
    }

private:
    float ar2, ar1, ai2, ai1;
    const float w;
};

// Two points: the bit-reversed copy is the identity and there is one stage.
void twoPoints(float twiddleReal, float twiddleImag, const float* realIn, const float* imagIn, float* realOut,
               float* imagOut)
{
    float realLow = realIn[0], realHigh = realIn[1];
    float imagLow = imagIn ? imagIn[0] : 0.0f, imagHigh = imagIn ? imagIn[1] : 0.0f;
    butterfly(realLow, imagLow, realHigh, imagHigh, twiddleReal, twiddleImag);
    realOut[0] = realLow;
    realOut[1] = realHigh;
    imagOut[0] = imagLow;
    imagOut[1] = imagHigh;
}

// The forward transform's factors for every stage up to kTablePoints, made
// once per process by the same recurrence, so they are exactly the values a
// call would make. The stage with half-size h keeps its h factors from
// index h - 1 on.
class ForwardTwiddleTable {
public:
    ForwardTwiddleTable()
    {
        for (std::uint32_t blockSize = 2; blockSize <= kTablePoints; blockSize *= 2) {
            const std::uint32_t half = blockSize / 2;
            TwiddleRecurrence(kAngleNumerator / blockSize).fill(real + half - 1, imag + half - 1, half);
        }
    }

    StagePart stage(std::uint32_t blockSize) const
    {
        const std::uint32_t half = blockSize / 2;
        return StagePart{blockSize, 0, half, real + half - 1, imag + half - 1};
    }

private:
    float real[kTablePoints - 1];
    float imag[kTablePoints - 1];
};

// Built on first use; the language makes that initialisation thread-safe,
// and the table is never written afterwards.
const ForwardTwiddleTable& forwardTwiddleTable()
{
    static const ForwardTwiddleTable table;
    return table;
}

bool inForwardTable(double angleNumerator, std::uint32_t blockSize)
{
    return angleNumerator == kAngleNumerator && blockSize <= kTablePoints;
}

// The factors of one stage's first `count` offsets, from the table or the
// recurrence.
void stageFactors(double angleNumerator, std::uint32_t blockSize, std::uint32_t count, float* real, float* imag)
{
    if (inForwardTable(angleNumerator, blockSize)) {
        const StagePart part = forwardTwiddleTable().stage(blockSize);
        std::copy(part.real, part.real + count, real);
        std::copy(part.imag, part.imag + count, imag);
    } else {
        TwiddleRecurrence(angleNumerator / blockSize).fill(real, imag, count);
    }
}

// A stage after the first two whose factors are not in the table: the
// recurrence restarts from the same values in every group, so all groups
// share one set of factors, made a chunk at a time to keep the scratch small.
void butterflyStage(const EngineKernels& kernels, std::uint32_t n, std::uint32_t blockSize,
                    double angleNumerator, float* real, float* imag)
{
    const std::uint32_t half = blockSize / 2;
    TwiddleRecurrence recurrence(angleNumerator / blockSize);
    float twiddleReal[kTwiddleChunk];
    float twiddleImag[kTwiddleChunk];
    for (std::uint32_t first = 0; first < half; first += kTwiddleChunk) {
        const std::uint32_t count = std::min(kTwiddleChunk, half - first);
        recurrence.fill(twiddleReal, twiddleImag, count);
        kernels.stagePart(StagePart{blockSize, first, count, twiddleReal, twiddleImag}, n, real, imag);
    }
}

// The stages from the third on, up to groups of lastBlockSize (their
// half-sizes are at least four): from the table two at a time, otherwise one
// by one.
void middleStages(const EngineKernels& kernels, std::uint32_t n, std::uint32_t lastBlockSize,
                  double angleNumerator, float* real, float* imag)
{
    std::uint32_t blockSize = 8;
    while (blockSize <= lastBlockSize && blockSize != 0) {
        const std::uint32_t next = blockSize * 2;
        if (next <= lastBlockSize && inForwardTable(angleNumerator, next)) {
            const ForwardTwiddleTable& table = forwardTwiddleTable();
            kernels.stagePair(table.stage(blockSize), table.stage(next), n, real, imag);
            blockSize = next * 2;
        } else if (inForwardTable(angleNumerator, blockSize)) {
            kernels.stagePart(forwardTwiddleTable().stage(blockSize), n, real, imag);
            blockSize = next;
        } else {
            butterflyStage(kernels, n, blockSize, angleNumerator, real, imag);
            blockSize = next;
        }
    }
}

// The bit-reversed copy and the first two stages (the first alone for two
// points), with realIn multiplied by the window where there is one.
void firstStages(const EngineKernels& kernels, std::uint32_t n, double angleNumerator, const float* window,
                 const float* realIn, const float* imagIn, float* realOut, float* imagOut)
{
    FirstFactors f;
    stageFactors(angleNumerator, 2, 1, f.real, f.imag);
    if (n == 2) {
        twoPoints(f.real[0], f.imag[0], realIn, imagIn, realOut, imagOut);
        return;
    }
    stageFactors(angleNumerator, 4, 2, f.real + 1, f.imag + 1);
    kernels.firstPass(n, f, window, realIn, imagIn, realOut, imagOut);
}

void divideBy(std::uint32_t n, float* realOut, float* imagOut)
{
    const float divisor = static_cast<float>(n);
    for (std::uint32_t i = 0; i < n; ++i) {
        realOut[i] /= divisor;
        imagOut[i] /= divisor;
    }
}

} // namespace

void fft_float(std::uint32_t NumSamples, std::int32_t InverseTransform, const float* RealIn,
               const float* ImagIn, float* RealOut, float* ImagOut)
{
    fftWith(fastestKernels(), NumSamples, InverseTransform, RealIn, ImagIn, RealOut, ImagOut);
}

void fftWith(const EngineKernels& kernels, std::uint32_t NumSamples, std::int32_t InverseTransform,
             const float* RealIn, const float* ImagIn, float* RealOut, float* ImagOut)
{
    const double angleNumerator = InverseTransform ? -kAngleNumerator : kAngleNumerator;
    checkPointer(RealIn, "RealIn");
    checkPointer(RealOut, "RealOut");
    checkPointer(ImagOut, "ImagOut");
    checkPowerOfTwo(NumSamples, NumberOfBitsNeeded(NumSamples));
    firstStages(kernels, NumSamples, angleNumerator, nullptr, RealIn, ImagIn, RealOut, ImagOut);
    middleStages(kernels, NumSamples, NumSamples, angleNumerator, RealOut, ImagOut);
    if (InverseTransform)
        divideBy(NumSamples, RealOut, ImagOut);
}

void powerSpectrum(const EngineKernels& kernels, std::uint32_t n, const float* samples, const float* window,
                   double* power)
{
    float real[kTablePoints];
    float imag[kTablePoints];
    firstStages(kernels, n, kAngleNumerator, window, samples, nullptr, real, imag);
    middleStages(kernels, n, n / 2, kAngleNumerator, real, imag);
    kernels.lastStagePower(forwardTwiddleTable().stage(n), real, imag, power);
}

std::int32_t NumberOfBitsNeeded(std::uint32_t n)
{
    if (n < 2) {
        std::fprintf(stderr, ">>> Error in fftmisc: argument %d to NumberOfBitsNeeded is too small.\n",
                     static_cast<int>(n));
        endProcess();
    }
    std::int32_t bit = 0;
    while ((n & (1u << bit)) == 0)
        ++bit;
    return bit;
}

void checkPointer(const void* p, const char* name)
{
    if (!p) {
        std::fprintf(stderr, "Error in fft_float():  %s == NULL\n", name);
        endProcess();
    }
}

void fillHammingWindow(std::uint32_t n, float* out)
{
    // A one-point window would divide by zero; it takes the window's first value.
    const double span = n > 1 ? static_cast<double>(n - 1) : 1.0;
    for (std::uint32_t i = 0; i < n; ++i) {
        const double angle = kHammingAngleFactor * static_cast<double>(i) / span;
        out[i] = static_cast<float>(kHammingOffset - kHammingAmplitude * std::cos(angle));
    }
}
