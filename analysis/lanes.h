// Four floats or two doubles processed side by side with SSE2, the baseline
// of every build (x86-64, and the 32-bit builds compiled with -msse2). The
// arithmetic operators act lane by lane with exactly the scalar operation, so
// vector code gives each element the very bits the scalar code would.
#pragma once

#include <emmintrin.h>

#include <cstdint>

// The SSE types without their may-alias attribute, so that they can be
// template arguments; the intrinsics take them as they are.
using Lanes = float __attribute__((vector_size(16)));
using DoubleLanes = double __attribute__((vector_size(16)));
constexpr std::uint32_t kLanes = 4;
constexpr std::uint32_t kDoubleLanes = 2;

template <typename V> V load(const float* p);
template <> inline float load<float>(const float* p)
{
    return *p;
}
template <> inline Lanes load<Lanes>(const float* p)
{
    return _mm_loadu_ps(p);
}

inline void store(float* p, float value)
{
    *p = value;
}
inline void store(float* p, Lanes value)
{
    _mm_storeu_ps(p, value);
}

template <typename V> V splat(float x);
template <> inline float splat<float>(float x)
{
    return x;
}
template <> inline Lanes splat<Lanes>(float x)
{
    return _mm_set1_ps(x);
}

// Rows become columns.
inline void transpose(Lanes& row0, Lanes& row1, Lanes& row2, Lanes& row3)
{
    _MM_TRANSPOSE4_PS(row0, row1, row2, row3);
}
