// The engine's vector loops, one table per instruction set: SSE2, which every
// build has, and AVX2, chosen at run time where the processor has it. Both
// tables are the same templates (fftKernels.h, blockKernels.h,
// accumulationKernels.h, spectrumKernels.h) built for four or for eight
// lanes, and every element goes through the same operations in the same
// order, so both give the same bits; only the speed differs.
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

// The running float sums a block's samples go into, each rounded after every
// addition, frame by frame: each channel's sum of squares (from zero) and the
// two history energies (from their running values); and the count of
// samples whose magnitude is above the near-peak level.
struct EnergySums {
    float sumSquares[kAnalysisChannels];
    float slowEnergy[kAnalysisChannels];
    float fastEnergy[kAnalysisChannels];
    std::int32_t nearPeak;
};

// The spectra a block that is not silent folds its powers into: each
// channel's RMS spectrum over `blocks` earlier blocks, and the combined
// spectrum's slow and fast running means. Null powers and spectra for
// channel 1 of a mono block.
struct SpectrumBlend {
    const double* power[kAnalysisChannels];
    float* channelSpectrum[kAnalysisChannels];
    float* combined;
    double blocks;
    double slowBlocks;
    double fastBlocks;
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

    // A block's samples into `sums` (energies in and out, the rest out),
    // and its powers into the spectra of `blend` where that is not null.
    void (*accumulateSamples)(const BlockWork::Samples& samples, int channels, float nearPeakLevel,
                              EnergySums& sums, const SpectrumBlend* blend);

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
