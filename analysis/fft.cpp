#include "analysis/fft.h"

#include "analysis/lanes.h"

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
// The first pass on lanes takes one quad of outputs per lane.
constexpr std::uint32_t kVectorFirstPassPoints = 4 * kLanes;

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

// tr + i ti = twiddle x high; high = low - t; low = low + t. On lanes, each
// lane sees exactly these operations.
template <typename V>
inline void butterfly(V& realLow, V& imagLow, V& realHigh, V& imagHigh, V twiddleReal, V twiddleImag)
{
    const V tr = twiddleReal * realHigh - twiddleImag * imagHigh;
    const V ti = twiddleReal * imagHigh + twiddleImag * realHigh;
    realHigh = realLow - tr;
    imagHigh = imagLow - ti;
    realLow = realLow + tr;
    imagLow = imagLow + ti;
}

// One stage's factors for the offsets first ... first + count - 1 of every
// group; `real` and `imag` start at offset `first`. Butterflies within a
// stage are independent, so the order in which they run does not change any
// result.
struct StagePart {
    std::uint32_t blockSize;
    std::uint32_t first;
    std::uint32_t count;
    const float* real;
    const float* imag;
};

// The one factor of the first stage and the two of the second.
struct FirstFactors {
    float real[3];
    float imag[3];
};

// The four outputs 4q ... 4q + 3 of the first two stages come from the
// inputs at r, r + n/2, r + n/4 and r + 3n/4, r being q with its bits
// reversed: x holds them in that order, and they become the outputs in place.
template <typename V> struct Quad {
    V real[4];
    V imag[4];
};

template <typename V> void firstTwoStages(Quad<V>& x, const FirstFactors& f)
{
    const V w1r = splat<V>(f.real[0]), w1i = splat<V>(f.imag[0]);
    butterfly(x.real[0], x.imag[0], x.real[1], x.imag[1], w1r, w1i);
    butterfly(x.real[2], x.imag[2], x.real[3], x.imag[3], w1r, w1i);
    butterfly(x.real[0], x.imag[0], x.real[2], x.imag[2], splat<V>(f.real[1]), splat<V>(f.imag[1]));
    butterfly(x.real[1], x.imag[1], x.real[3], x.imag[3], splat<V>(f.real[2]), splat<V>(f.imag[2]));
}

// Where the four inputs of a quad lie, relative to its reversed index.
struct QuadInputs {
    std::uint32_t offset[4];
    explicit QuadInputs(std::uint32_t n) : offset{0, n / 2, n / 4, 3 * n / 4} {}
};

template <typename V>
void loadQuad(Quad<V>& x, const QuadInputs& at, std::uint32_t r, const float* realIn, const float* imagIn)
{
    for (int t = 0; t < 4; ++t) {
        x.real[t] = load<V>(realIn + r + at.offset[t]);
        x.imag[t] = imagIn ? load<V>(imagIn + r + at.offset[t]) : splat<V>(0.0f);
    }
}

// The bit-reversed copy fused with the first two stages, a quad at a time.
void firstPassScalar(std::uint32_t n, const FirstFactors& f, const float* realIn, const float* imagIn,
                     float* realOut, float* imagOut)
{
    const QuadInputs at(n);
    std::uint32_t r = 0;
    for (std::uint32_t q = 0; q < n / 4; ++q) {
        Quad<float> x;
        loadQuad(x, at, r, realIn, imagIn);
        firstTwoStages(x, f);
        for (int t = 0; t < 4; ++t) {
            realOut[4 * q + t] = x.real[t];
            imagOut[4 * q + t] = x.imag[t];
        }
        advanceReversed(r, n / 8);
    }
}

// The same on lanes: lane l holds the quad whose reversed index is r + l, so
// the loads are contiguous; after a transpose each lane's four outputs are
// one contiguous row, stored at 4q for its quad q. The quads of r + 1, r + 2
// and r + 3 lie n/8, n/16 and 3n/16 above the quad of r.
void firstPassVector(std::uint32_t n, const FirstFactors& f, const float* realIn, const float* imagIn,
                     float* realOut, float* imagOut)
{
    const QuadInputs at(n);
    const std::uint32_t rowOffset[kLanes] = {0, n / 2, n / 4, 3 * n / 4};
    std::uint32_t base = 0;
    for (std::uint32_t r = 0; r < n / 4; r += kLanes) {
        Quad<Lanes> x;
        loadQuad(x, at, r, realIn, imagIn);
        firstTwoStages(x, f);
        transpose(x.real[0], x.real[1], x.real[2], x.real[3]);
        transpose(x.imag[0], x.imag[1], x.imag[2], x.imag[3]);
        for (std::uint32_t l = 0; l < kLanes; ++l) {
            store(realOut + base + rowOffset[l], x.real[l]);
            store(imagOut + base + rowOffset[l], x.imag[l]);
        }
        advanceReversed(base, n / 8);
    }
}

// Two points: the bit-reversed copy is the identity and there is one stage.
void twoPoints(float twiddleReal, float twiddleImag, const float* realIn, const float* imagIn,
               float* realOut, float* imagOut)
{
    float realLow = realIn[0], realHigh = realIn[1];
    float imagLow = imagIn ? imagIn[0] : 0.0f, imagHigh = imagIn ? imagIn[1] : 0.0f;
    butterfly(realLow, imagLow, realHigh, imagHigh, twiddleReal, twiddleImag);
    realOut[0] = realLow;
    realOut[1] = realHigh;
    imagOut[0] = imagLow;
    imagOut[1] = imagHigh;
}

// One stage part on lanes; its count is a multiple of the lane count.
void applyStagePart(StagePart part, std::uint32_t n, float* real, float* imag)
{
    const std::uint32_t half = part.blockSize / 2;
    for (std::uint32_t i = part.first; i < n; i += part.blockSize) {
        float* realLow = real + i;
        float* imagLow = imag + i;
        for (std::uint32_t m = 0; m < part.count; m += kLanes) {
            Lanes lr = load<Lanes>(realLow + m), li = load<Lanes>(imagLow + m);
            Lanes hr = load<Lanes>(realLow + half + m), hi = load<Lanes>(imagLow + half + m);
            butterfly(lr, li, hr, hi, load<Lanes>(part.real + m), load<Lanes>(part.imag + m));
            store(realLow + m, lr);
            store(imagLow + m, li);
            store(realLow + half + m, hr);
            store(imagLow + half + m, hi);
        }
    }
}

// Two stages in one pass: the group of the second stage spans four times
// `half` (the first stage's half-size), and each element goes through both
// stages' butterflies in registers, with the factors stage by stage would use.
void applyStagePair(StagePart first, StagePart second, std::uint32_t n, float* real, float* imag)
{
    const std::uint32_t half = first.blockSize / 2;
    for (std::uint32_t i = 0; i < n; i += second.blockSize) {
        float* re = real + i;
        float* im = imag + i;
        for (std::uint32_t m = 0; m < half; m += kLanes) {
            Lanes ar = load<Lanes>(re + m), ai = load<Lanes>(im + m);
            Lanes br = load<Lanes>(re + m + half), bi = load<Lanes>(im + m + half);
            Lanes cr = load<Lanes>(re + m + 2 * half), ci = load<Lanes>(im + m + 2 * half);
            Lanes dr = load<Lanes>(re + m + 3 * half), di = load<Lanes>(im + m + 3 * half);
            const Lanes wr = load<Lanes>(first.real + m), wi = load<Lanes>(first.imag + m);
            butterfly(ar, ai, br, bi, wr, wi);
            butterfly(cr, ci, dr, di, wr, wi);
            butterfly(ar, ai, cr, ci, load<Lanes>(second.real + m), load<Lanes>(second.imag + m));
            butterfly(br, bi, dr, di, load<Lanes>(second.real + m + half), load<Lanes>(second.imag + m + half));
            store(re + m, ar);
            store(im + m, ai);
            store(re + m + half, br);
            store(im + m + half, bi);
            store(re + m + 2 * half, cr);
            store(im + m + 2 * half, ci);
            store(re + m + 3 * half, dr);
            store(im + m + 3 * half, di);
        }
    }
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
void butterflyStage(std::uint32_t n, std::uint32_t blockSize, double angleNumerator, float* real, float* imag)
{
    const std::uint32_t half = blockSize / 2;
    TwiddleRecurrence recurrence(angleNumerator / blockSize);
    float twiddleReal[kTwiddleChunk];
    float twiddleImag[kTwiddleChunk];
    for (std::uint32_t first = 0; first < half; first += kTwiddleChunk) {
        const std::uint32_t count = std::min(kTwiddleChunk, half - first);
        recurrence.fill(twiddleReal, twiddleImag, count);
        applyStagePart(StagePart{blockSize, first, count, twiddleReal, twiddleImag}, n, real, imag);
    }
}

// Stages from the third on (their half-sizes are at least four, a multiple
// of the lane count): from the table two at a time, otherwise one by one.
void laterStages(std::uint32_t n, double angleNumerator, float* real, float* imag)
{
    std::uint32_t blockSize = 8;
    while (blockSize <= n && blockSize != 0) {
        const std::uint32_t next = blockSize * 2;
        if (next <= n && inForwardTable(angleNumerator, next)) {
            const ForwardTwiddleTable& table = forwardTwiddleTable();
            applyStagePair(table.stage(blockSize), table.stage(next), n, real, imag);
            blockSize = next * 2;
        } else if (inForwardTable(angleNumerator, blockSize)) {
            applyStagePart(forwardTwiddleTable().stage(blockSize), n, real, imag);
            blockSize = next;
        } else {
            butterflyStage(n, blockSize, angleNumerator, real, imag);
            blockSize = next;
        }
    }
}

void firstStages(std::uint32_t n, double angleNumerator, const float* realIn, const float* imagIn,
                 float* realOut, float* imagOut)
{
    FirstFactors f;
    stageFactors(angleNumerator, 2, 1, f.real, f.imag);
    if (n == 2) {
        twoPoints(f.real[0], f.imag[0], realIn, imagIn, realOut, imagOut);
        return;
    }
    stageFactors(angleNumerator, 4, 2, f.real + 1, f.imag + 1);
    if (n >= kVectorFirstPassPoints)
        firstPassVector(n, f, realIn, imagIn, realOut, imagOut);
    else
        firstPassScalar(n, f, realIn, imagIn, realOut, imagOut);
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
    firstStages(NumSamples, angleNumerator, RealIn, ImagIn, RealOut, ImagOut);
    laterStages(NumSamples, angleNumerator, RealOut, ImagOut);
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
