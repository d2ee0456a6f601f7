// Radix-2 complex FFT on single-precision arrays, and the analysis window.
//
// Calling: fft_float(n, inverse, realIn, imagIn, realOut, imagOut) with n a
// power of two of at least 2. Input and output are in natural order; imagIn
// may be null and then counts as all zeros. The output arrays must not
// overlap the inputs (no in-place transform).
//
// Memory: every array belongs to the caller and holds n floats. Nothing is
// allocated; only realOut and imagOut are written.
//
// Scaling and sign: the forward transform (inverse == 0) is unnormalised,
// X[k] = sum x[m] e^(+2 pi i k m / n): the twiddle recurrence runs through
// positive multiples of the angle. For real input this is the conjugate of
// the other usual convention, with the same magnitudes. The inverse uses the
// opposite sign and divides by n, so a forward then an inverse transform
// gives back the input within single-precision rounding.
//
// Errors: a null realIn, realOut or imagOut, or an n that is below 2 or not a
// power of two, prints a message on stderr and ends the process with status 1.
// Only pass valid arguments.
//
// Calls on different arrays are independent: the only data the module shares
// is a table of forward factors, made once on first use (thread-safe) and
// read-only afterwards.
//
// Speed: the butterflies run on SSE2 or AVX2 lanes (EngineKernels.h), the
// fastest the processor has; every element sees the operations of the plain
// radix-2 algorithm in the same order, so every path gives the same bits.
#pragma once

#include <cstdint>

struct EngineKernels;

void fft_float(std::uint32_t NumSamples, std::int32_t InverseTransform, const float* RealIn,
               const float* ImagIn, float* RealOut, float* ImagOut);

// fft_float through the given kernels.
void fftWith(const EngineKernels& kernels, std::uint32_t NumSamples, std::int32_t InverseTransform,
             const float* RealIn, const float* ImagIn, float* RealOut, float* ImagOut);

// What the analysis takes from a block: for k below n/2, power[k] = re * re +
// im * im in double, re and im being bin k of fft_float's forward transform
// of window[i] * samples[i], bit for bit. n is a power of two from 8 to 2048;
// the arrays are the caller's, n floats in and n/2 doubles out.
void powerSpectrum(const EngineKernels& kernels, std::uint32_t n, const float* samples, const float* window,
                   double* power);

// Base-2 logarithm of a power of two (in general, the index of n's lowest set
// bit). Ends the process for n below 2.
std::int32_t NumberOfBitsNeeded(std::uint32_t n);

// Ends the process, naming the argument, when p is null.
void checkPointer(const void* p, const char* name);

// out[i] = 0.54 - 0.46 cos(6.283 i / (n - 1)) for i below n. The factor is
// 6.283, not 2 pi, so the table is very slightly asymmetric.
void fillHammingWindow(std::uint32_t n, float* out);
