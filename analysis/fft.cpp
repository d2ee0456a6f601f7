#include "analysis/fft.h"

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

// Next value of a counter whose lowest bits run in reverse order, `top`
// being the highest of them: the carry runs from the top bit downwards.
void advanceReversed(std::uint32_t& counter, std::uint32_t top)
{
    std::uint32_t bit = top;
    while (counter & bit) {
        counter ^= bit;
        bit >>= 1;
    }
    counter |= bit;
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

// tr + i ti = twiddle x high; high = low - t; low = low + t.
inline void butterfly(float& realLow, float& imagLow, float& realHigh, float& imagHigh, float twiddleReal,
                      float twiddleImag)
{
    const float tr = twiddleReal * realHigh - twiddleImag * imagHigh;
    const float ti = twiddleReal * imagHigh + twiddleImag * realHigh;
    realHigh = realLow - tr;
    imagHigh = imagLow - ti;
    realLow += tr;
    imagLow += ti;
}

// The bit-reversed copy fused with the first stage, one pass instead of
// two: outputs 2g and 2g + 1 come from inputs r and r + n/2, where r is g
// with its bits reversed, and are combined by the first stage's one
// butterfly at once.
void copyWithFirstStage(std::uint32_t n, float twiddleReal, float twiddleImag, const float* realIn,
                        const float* imagIn, float* realOut, float* imagOut)
{
    const std::uint32_t half = n / 2;
    std::uint32_t r = 0;
    for (std::uint32_t g = 0; g < half; ++g) {
        float realLow = realIn[r];
        float realHigh = realIn[r + half];
        float imagLow = imagIn ? imagIn[r] : 0.0f;
        float imagHigh = imagIn ? imagIn[r + half] : 0.0f;
        butterfly(realLow, imagLow, realHigh, imagHigh, twiddleReal, twiddleImag);
        realOut[2 * g] = realLow;
        imagOut[2 * g] = imagLow;
        realOut[2 * g + 1] = realHigh;
        imagOut[2 * g + 1] = imagHigh;
        advanceReversed(r, half / 2);
    }
}

// The factors for offsets first ... first + count - 1 of every group of one
// stage. Butterflies within a stage are independent, so the order in which
// they run does not change any result.
struct StagePart {
    std::uint32_t blockSize;
    std::uint32_t first;
    std::uint32_t count;
    const float* twiddleReal;
    const float* twiddleImag;
};

// One group's butterflies for the part's offsets. The halves of a group and
// the factors never overlap; saying so lets the compiler use vector code.
void groupButterflies(float* __restrict realLow, float* __restrict imagLow, float* __restrict realHigh,
                      float* __restrict imagHigh, const float* __restrict twiddleReal,
                      const float* __restrict twiddleImag, std::uint32_t count)
{
    for (std::uint32_t m = 0; m < count; ++m)
        butterfly(realLow[m], imagLow[m], realHigh[m], imagHigh[m], twiddleReal[m], twiddleImag[m]);
}

void applyStagePart(StagePart part, std::uint32_t n, float* real, float* imag)
{
    const std::uint32_t half = part.blockSize / 2;
    for (std::uint32_t i = part.first; i < n; i += part.blockSize)
        groupButterflies(real + i, imag + i, real + i + half, imag + i + half, part.twiddleReal,
                         part.twiddleImag, part.count);
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

// One stage after the first: groups of blockSize elements, each combining
// its two halves. The recurrence restarts from the same values in every
// group, so all groups share one set of factors: it is made once per stage,
// a chunk at a time to keep the scratch small, or taken from the forward
// table.
void butterflyStage(std::uint32_t n, std::uint32_t blockSize, double angleNumerator, float* realOut,
                    float* imagOut)
{
    if (inForwardTable(angleNumerator, blockSize)) {
        applyStagePart(forwardTwiddleTable().stage(blockSize), n, realOut, imagOut);
        return;
    }
    const std::uint32_t half = blockSize / 2;
    TwiddleRecurrence recurrence(angleNumerator / blockSize);
    float twiddleReal[kTwiddleChunk];
    float twiddleImag[kTwiddleChunk];
    for (std::uint32_t first = 0; first < half; first += kTwiddleChunk) {
        const std::uint32_t count = std::min(kTwiddleChunk, half - first);
        recurrence.fill(twiddleReal, twiddleImag, count);
        applyStagePart(StagePart{blockSize, first, count, twiddleReal, twiddleImag}, n, realOut, imagOut);
    }
}

// The first stage's one factor comes from the table or the recurrence, like
// every other stage's.
void firstStage(std::uint32_t n, double angleNumerator, const float* realIn, const float* imagIn,
                float* realOut, float* imagOut)
{
    constexpr std::uint32_t kPairSize = 2;
    float twiddleReal;
    float twiddleImag;
    if (inForwardTable(angleNumerator, kPairSize)) {
        const StagePart part = forwardTwiddleTable().stage(kPairSize);
        twiddleReal = part.twiddleReal[0];
        twiddleImag = part.twiddleImag[0];
    } else {
        TwiddleRecurrence(angleNumerator / kPairSize).fill(&twiddleReal, &twiddleImag, 1);
    }
    copyWithFirstStage(n, twiddleReal, twiddleImag, realIn, imagIn, realOut, imagOut);
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
    const double angleNumerator = InverseTransform ? -kAngleNumerator : kAngleNumerator;
    checkPointer(RealIn, "RealIn");
    checkPointer(RealOut, "RealOut");
    checkPointer(ImagOut, "ImagOut");
    checkPowerOfTwo(NumSamples, NumberOfBitsNeeded(NumSamples));
    firstStage(NumSamples, angleNumerator, RealIn, ImagIn, RealOut, ImagOut);
    for (std::uint32_t blockSize = 4; blockSize <= NumSamples && blockSize != 0; blockSize *= 2)
        butterflyStage(NumSamples, blockSize, angleNumerator, RealOut, ImagOut);
    if (InverseTransform)
        divideBy(NumSamples, RealOut, ImagOut);
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
