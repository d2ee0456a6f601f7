// The FFT's passes on lanes (see EngineKernels): one butterfly per lane, each
// with exactly the operations of the radix-2 algorithm, so that the order in
// which butterflies run, and how many run side by side, changes no bit.
#pragma once

#include "analysis/EngineKernels.h"
#include "analysis/lanes.h"

namespace {

// tr + i ti = twiddle x high; high = low - t; low = low + t.
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

// Next value of a counter whose lowest bits run in reverse order, `top`
// being the highest of them: the carry runs from the top bit downwards.
inline void advanceReversed(std::uint32_t& counter, std::uint32_t top)
{
    std::uint32_t bit = top;
    while (counter & bit) {
        counter ^= bit;
        bit >>= 1;
    }
    counter |= bit;
}

// The four outputs 4q ... 4q + 3 of the first two stages come from the inputs
// at r, r + n/2, r + n/4 and r + 3n/4, r being q with its bits reversed: the
// quad holds them in that order, and they become the outputs in place.
template <typename V> struct Quad {
    V real[4];
    V imag[4];
};

template <typename V>
inline void loadQuad(Quad<V>& x, std::uint32_t n, std::uint32_t r, const float* window, const float* realIn,
                     const float* imagIn)
{
    using L = Lane<V>;
    const std::uint32_t offset[4] = {0, n / 2, n / 4, 3 * n / 4};
    for (int t = 0; t < 4; ++t) {
        const std::uint32_t at = r + offset[t];
        x.real[t] = window ? L::load(window + at) * L::load(realIn + at) : L::load(realIn + at);
        x.imag[t] = imagIn ? L::load(imagIn + at) : L::zero();
    }
}

template <typename V> inline void firstTwoStages(Quad<V>& x, const FirstFactors& f)
{
    using L = Lane<V>;
    const V w1r = L::splat(f.real[0]), w1i = L::splat(f.imag[0]);
    butterfly(x.real[0], x.imag[0], x.real[1], x.imag[1], w1r, w1i);
    butterfly(x.real[2], x.imag[2], x.real[3], x.imag[3], w1r, w1i);
    butterfly(x.real[0], x.imag[0], x.real[2], x.imag[2], L::splat(f.real[1]), L::splat(f.imag[1]));
    butterfly(x.real[1], x.imag[1], x.real[3], x.imag[3], L::splat(f.real[2]), L::splat(f.imag[2]));
}

// A quad at a time, for sizes too small to fill the lanes.
inline void firstPassOneByOne(std::uint32_t n, const FirstFactors& f, const float* window, const float* realIn,
                              const float* imagIn, float* realOut, float* imagOut)
{
    std::uint32_t r = 0;
    for (std::uint32_t q = 0; q < n / 4; ++q) {
        Quad<float> x;
        loadQuad(x, n, r, window, realIn, imagIn);
        firstTwoStages(x, f);
        for (int t = 0; t < 4; ++t) {
            realOut[4 * q + t] = x.real[t];
            imagOut[4 * q + t] = x.imag[t];
        }
        advanceReversed(r, n / 8);
    }
}

// Lane l holds the quad whose reversed index is r + l, so the loads are
// contiguous; after a transpose each lane's four outputs are one contiguous
// row, stored at 4q for its quad q. Those rows lie at fixed offsets above
// the row of lane 0: 4 times l with its bits reversed.
template <typename V>
void firstPass(std::uint32_t n, const FirstFactors& f, const float* window, const float* realIn,
               const float* imagIn, float* realOut, float* imagOut)
{
    using L = Lane<V>;
    if (n < 4 * L::kCount) {
        firstPassOneByOne(n, f, window, realIn, imagIn, realOut, imagOut);
        return;
    }
    std::uint32_t rowOffset[L::kCount];
    std::uint32_t row = 0;
    for (int l = 0; l < L::kCount; ++l) {
        rowOffset[l] = row;
        advanceReversed(row, n / 2);
    }
    std::uint32_t base = 0;
    for (std::uint32_t r = 0; r < n / 4; r += L::kCount) {
        Quad<V> x;
        loadQuad(x, n, r, window, realIn, imagIn);
        firstTwoStages(x, f);
        L::transpose(x.real);
        L::transpose(x.imag);
        L::storeRows(realOut + base, rowOffset, x.real);
        L::storeRows(imagOut + base, rowOffset, x.imag);
        advanceReversed(base, n / (2 * L::kCount));
    }
}

template <typename V> void stagePartOnLanes(const StagePart& part, std::uint32_t n, float* real, float* imag)
{
    using L = Lane<V>;
    // Held apart from `part`: vector stores may alias anything, which would
    // make the compiler load the pointers again after each one.
    const float* const twiddleReal = part.real;
    const float* const twiddleImag = part.imag;
    const std::uint32_t count = part.count, blockSize = part.blockSize, half = blockSize / 2;
    for (std::uint32_t i = part.first; i < n; i += blockSize) {
        float* realLow = real + i;
        float* imagLow = imag + i;
        for (std::uint32_t m = 0; m < count; m += L::kCount) {
            V lr = L::load(realLow + m), li = L::load(imagLow + m);
            V hr = L::load(realLow + half + m), hi = L::load(imagLow + half + m);
            butterfly(lr, li, hr, hi, L::load(twiddleReal + m), L::load(twiddleImag + m));
            L::store(realLow + m, lr);
            L::store(imagLow + m, li);
            L::store(realLow + half + m, hr);
            L::store(imagLow + half + m, hi);
        }
    }
}

// Parts whose count does not fill the wide lanes take four.
template <typename V> void stagePart(const StagePart& part, std::uint32_t n, float* real, float* imag)
{
    if (part.count % Lane<V>::kCount != 0)
        stagePartOnLanes<Floats4>(part, n, real, imag);
    else
        stagePartOnLanes<V>(part, n, real, imag);
}

// The second stage's groups span four times the first's half-size; each
// element goes through both stages' butterflies in registers.
template <typename V>
void stagePairOnLanes(const StagePart& first, const StagePart& second, std::uint32_t n, float* real, float* imag)
{
    using L = Lane<V>;
    const float* const firstReal = first.real;
    const float* const firstImag = first.imag;
    const float* const secondReal = second.real;
    const float* const secondImag = second.imag;
    const std::uint32_t half = first.blockSize / 2, groupSize = second.blockSize;
    for (std::uint32_t i = 0; i < n; i += groupSize) {
        float* re = real + i;
        float* im = imag + i;
        for (std::uint32_t m = 0; m < half; m += L::kCount) {
            V ar = L::load(re + m), ai = L::load(im + m);
            V br = L::load(re + m + half), bi = L::load(im + m + half);
            V cr = L::load(re + m + 2 * half), ci = L::load(im + m + 2 * half);
            V dr = L::load(re + m + 3 * half), di = L::load(im + m + 3 * half);
            const V wr = L::load(firstReal + m), wi = L::load(firstImag + m);
            butterfly(ar, ai, br, bi, wr, wi);
            butterfly(cr, ci, dr, di, wr, wi);
            butterfly(ar, ai, cr, ci, L::load(secondReal + m), L::load(secondImag + m));
            butterfly(br, bi, dr, di, L::load(secondReal + m + half), L::load(secondImag + m + half));
            L::store(re + m, ar);
            L::store(im + m, ai);
            L::store(re + m + half, br);
            L::store(im + m + half, bi);
            L::store(re + m + 2 * half, cr);
            L::store(im + m + 2 * half, ci);
            L::store(re + m + 3 * half, dr);
            L::store(im + m + 3 * half, di);
        }
    }
}

#ifdef __AVX2__
// Halves a and c of one vector, b and d of another, from [a|b] and [c|d].
inline void exchangeHalves(Floats8& ab, Floats8& cd)
{
    const Floats8 ac = _mm256_permute2f128_ps(ab, cd, 0x20);
    cd = _mm256_permute2f128_ps(ab, cd, 0x31);
    ab = ac;
}

// Two stages with a first half-size of four on eight lanes: a group of 16
// holds quarters a, b, c, d. The first stage pairs a with b and c with d,
// all with its four factors; the second pairs a with c and b with d, with
// its factors 0-3 and 4-7, which are contiguous.
inline void stagePairOfFours(const StagePart& first, const StagePart& second, std::uint32_t n, float* real,
                             float* imag)
{
    using L = Lane<Floats8>;
    const Floats8 firstReal = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(first.real));
    const Floats8 firstImag = _mm256_broadcast_ps(reinterpret_cast<const __m128*>(first.imag));
    const Floats8 secondReal = L::load(second.real), secondImag = L::load(second.imag);
    for (std::uint32_t i = 0; i < n; i += second.blockSize) {
        Floats8 abReal = L::load(real + i), cdReal = L::load(real + i + 8);
        Floats8 abImag = L::load(imag + i), cdImag = L::load(imag + i + 8);
        exchangeHalves(abReal, cdReal);
        exchangeHalves(abImag, cdImag);
        butterfly(abReal, abImag, cdReal, cdImag, firstReal, firstImag);
        exchangeHalves(abReal, cdReal);
        exchangeHalves(abImag, cdImag);
        butterfly(abReal, abImag, cdReal, cdImag, secondReal, secondImag);
        L::store(real + i, abReal);
        L::store(real + i + 8, cdReal);
        L::store(imag + i, abImag);
        L::store(imag + i + 8, cdImag);
    }
}
#endif

template <typename V>
void stagePair(const StagePart& first, const StagePart& second, std::uint32_t n, float* real, float* imag)
{
#ifdef __AVX2__
    if (Lane<V>::kCount == 8 && first.blockSize == 8) {
        stagePairOfFours(first, second, n, real, imag);
        return;
    }
#endif
    if ((first.blockSize / 2) % Lane<V>::kCount != 0)
        stagePairOnLanes<Floats4>(first, second, n, real, imag);
    else
        stagePairOnLanes<V>(first, second, n, real, imag);
}

template <typename V>
void lastStagePowerOnLanes(const StagePart& last, const float* real, const float* imag, double* power)
{
    using L = Lane<V>;
    using D = DoubleLane<typename L::Doubles>;
    const float* const twiddleReal = last.real;
    const float* const twiddleImag = last.imag;
    const std::uint32_t half = last.blockSize / 2;
    for (std::uint32_t m = 0; m < half; m += L::kCount) {
        V lr = L::load(real + m), li = L::load(imag + m);
        V hr = L::load(real + half + m), hi = L::load(imag + half + m);
        butterfly(lr, li, hr, hi, L::load(twiddleReal + m), L::load(twiddleImag + m));
        const typename L::Doubles reLow = L::lowerHalf(lr), imLow = L::lowerHalf(li);
        const typename L::Doubles reHigh = L::upperHalf(lr), imHigh = L::upperHalf(li);
        D::store(power + m, reLow * reLow + imLow * imLow);
        D::store(power + m + L::kCount / 2, reHigh * reHigh + imHigh * imHigh);
    }
}

template <typename V> void lastStagePower(const StagePart& last, const float* real, const float* imag, double* power)
{
    if ((last.blockSize / 2) % Lane<V>::kCount != 0)
        lastStagePowerOnLanes<Floats4>(last, real, imag, power);
    else
        lastStagePowerOnLanes<V>(last, real, imag, power);
}

} // namespace
