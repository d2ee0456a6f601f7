// The engine's vector loops, one table per instruction set: SSE2, which every
// build has, and AVX2, chosen at run time where the processor has it. Both
// tables are the same templates (fftKernels.h, blockKernels.h,
// spectrumKernels.h) built for four or for eight lanes, and every element
// goes through the same operations in the same order, so both give the same
// bits; only the speed differs.
#pragma once

#include "analysis/BlockWork.h"

#include <cstdint>

// One FFT stage's twiddle factors for the offsets first ... first + count - 1
// of every group of blockSize elements; real and imag start at offset first.
struct StagePart {
    std::uint32_t blockSize;
    std::uint32_t first;
    std::uint32_t count;
    const float* real;
    const float* imag;
};

// The one factor of the FFT's first stage and the two of its second.
struct FirstFactors {
    float real[3];
    float imag[3];
};

struct BandSums {
    double total;
    double low;
    double high;
};

struct EngineKernels {
    const char* name;

    // The FFT's passes over n points (fft.cpp plans them). The first is the
    // bit-reversed copy with the first two stages, for n of at least 4;
    // realIn is multiplied by `window` on the way where that is not null, and
    // a null imagIn counts as zeros.
    void (*firstPass)(std::uint32_t n, const FirstFactors& factors, const float* window, const float* realIn,
                      const float* imagIn, float* realOut, float* imagOut);
    // One stage part, then two whole stages in one pass (the second's factors
    // for four times the first's half-size); half-sizes of at least 4.
    void (*stagePart)(const StagePart& part, std::uint32_t n, float* real, float* imag);
    void (*stagePair)(const StagePart& first, const StagePart& second, std::uint32_t n, float* real, float* imag);
    // The last stage of n points, keeping only its lower half's outputs, as
    // powers in double: power[k] = re * re + im * im.
    void (*lastStagePower)(const StagePart& last, const float* real, const float* imag, double* power);

    // BlockWork::measure.
    void (*measureBlock)(const BlockWork::Samples& samples, int channels, BlockWork& work);

    // A block's powers folded into a channel's RMS spectrum over `blocks`
    // earlier blocks, and into the combined spectrum's two running means;
    // power1 is null for a mono block.
    void (*blendChannelSpectrum)(const double* power, double blocks, float* spectrum);
    void (*blendCombinedSpectrum)(const double* power0, const double* power1, double slowBlocks,
                                  double fastBlocks, float* combined);

    // The spectrum's sums for the band shares: all bins, those below lowEnd,
    // those from highStart on, over the first `channels` channels; each with
    // the bits of adding bin by bin, channel by channel.
    BandSums (*bandSums)(const float (&spectrum)[kAnalysisChannels][kSpectrumBinCount], int channels,
                         int lowEnd, int highStart);
};

const EngineKernels& sse2Kernels();
// Null where the processor (or the system) lacks AVX2.
const EngineKernels* avx2Kernels();
// AVX2 where there is, else SSE2.
const EngineKernels& fastestKernels();
// The AVX2 table itself, for avx2Kernels: never to be called without AVX2.
const EngineKernels& avx2KernelTable();
