// Lanes: four or eight floats, two or four doubles, handled side by side with
// SSE2, which every build has (x86-64, and the 32-bit builds with -msse2), or
// with AVX2, for which one source file is built and which runs where the
// processor has it. The arithmetic operators act lane by lane with exactly
// the scalar operation and nothing here fuses or reorders operations, so
// vector code gives every element the very bits the scalar code gives it.
//
// Everything here and in the kernel headers built on it has internal
// linkage: the SSE2 and the AVX2 copy of one function must never be merged
// by the linker, or a processor without AVX2 could be handed the AVX2 one.
#pragma once

#include <immintrin.h>

#include <cstdint>

namespace {

// The vector types without the SSE types' may-alias attribute, so that they
// can be template arguments; the intrinsics take them as they are.
using Floats4 = float __attribute__((vector_size(16)));
using Doubles2 = double __attribute__((vector_size(16)));

template <typename V> struct Lane;
template <typename D> struct DoubleLane;

// One float: the same templates then run element by element.
template <> struct Lane<float> {
    static constexpr int kCount = 1;

    static float load(const float* p) { return *p; }
    static void store(float* p, float value) { *p = value; }
    static float splat(float x) { return x; }
    static float zero() { return 0.0f; }
};

template <> struct Lane<Floats4> {
    static constexpr int kCount = 4;
    using Doubles = Doubles2;
    using Ints = __m128i;

    static Floats4 load(const float* p) { return _mm_loadu_ps(p); }
    static void store(float* p, Floats4 value) { _mm_storeu_ps(p, value); }
    static Floats4 splat(float x) { return _mm_set1_ps(x); }
    static Floats4 zero() { return _mm_setzero_ps(); }
    static Floats4 magnitude(Floats4 x) { return _mm_andnot_ps(_mm_set1_ps(-0.0f), x); }
    // a > b ? a : b and a < b ? a : b in every lane: b where a is not a number.
    static Floats4 larger(Floats4 a, Floats4 b) { return _mm_max_ps(a, b); }
    static Floats4 smaller(Floats4 a, Floats4 b) { return _mm_min_ps(a, b); }
    // All ones where true.
    static Ints below(Floats4 a, Floats4 b) { return _mm_castps_si128(_mm_cmplt_ps(a, b)); }
    static Ints above(Floats4 a, Floats4 b) { return _mm_castps_si128(_mm_cmpgt_ps(a, b)); }
    static Ints equal(Floats4 a, Floats4 b) { return _mm_castps_si128(_mm_cmpeq_ps(a, b)); }
    static Ints bits(Floats4 x) { return _mm_castps_si128(x); }
    static Floats4 fromBits(Ints x) { return _mm_castsi128_ps(x); }
    static Ints truncated(Floats4 x) { return _mm_cvttps_epi32(x); }
    static Ints splatInt(std::int32_t x) { return _mm_set1_epi32(x); }
    static Ints zeroInts() { return _mm_setzero_si128(); }
    static Ints add(Ints a, Ints b) { return _mm_add_epi32(a, b); }
    static Ints subtract(Ints a, Ints b) { return _mm_sub_epi32(a, b); }
    static Ints both(Ints a, Ints b) { return _mm_and_si128(a, b); }
    static Ints lessThan(Ints a, Ints b) { return _mm_cmplt_epi32(a, b); }
    static Ints laneIndices() { return _mm_setr_epi32(0, 1, 2, 3); }
    // x where the mask is set, else zero; and the other way round.
    static Floats4 keep(Ints mask, Floats4 x) { return _mm_and_ps(_mm_castsi128_ps(mask), x); }
    static Floats4 drop(Ints mask, Floats4 x) { return _mm_andnot_ps(_mm_castsi128_ps(mask), x); }
    static Floats4 select(Ints mask, Floats4 ifSet, Floats4 ifClear)
    {
        return _mm_or_ps(keep(mask, ifSet), drop(mask, ifClear));
    }
    static void storeInts(std::int32_t* p, Ints value) { _mm_storeu_si128(reinterpret_cast<__m128i*>(p), value); }
    // Each lane exactly widened to double.
    static Doubles2 lowerHalf(Floats4 x) { return _mm_cvtps_pd(x); }
    static Doubles2 upperHalf(Floats4 x) { return _mm_cvtps_pd(_mm_movehl_ps(x, x)); }

    // Rows become columns.
    static void transpose(Floats4 (&rows)[4]) { _MM_TRANSPOSE4_PS(rows[0], rows[1], rows[2], rows[3]); }
    // After a transpose, row l of four floats goes to p + offset[l].
    static void storeRows(float* p, const std::uint32_t (&offset)[kCount], const Floats4 (&rows)[4])
    {
        for (int l = 0; l < kCount; ++l)
            store(p + offset[l], rows[l]);
    }
};

template <> struct DoubleLane<Doubles2> {
    static constexpr int kCount = 2;

    static Doubles2 load(const double* p) { return _mm_loadu_pd(p); }
    static void store(double* p, Doubles2 value) { _mm_storeu_pd(p, value); }
    static Doubles2 splat(double x) { return _mm_set1_pd(x); }
    // kCount floats, each widened to double.
    static Doubles2 loadWidened(const float* p)
    {
        return _mm_cvtps_pd(_mm_castsi128_ps(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p))));
    }
    // Each lane rounded to float, as a scalar conversion rounds it.
    static void storeNarrowed(float* p, Doubles2 value)
    {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), _mm_castps_si128(_mm_cvtpd_ps(value)));
    }
    static Doubles2 roundedToFloat(Doubles2 value) { return _mm_cvtps_pd(_mm_cvtpd_ps(value)); }
    static Doubles2 squareRoot(Doubles2 value) { return _mm_sqrt_pd(value); }
};

#ifdef __AVX2__
using Floats8 = float __attribute__((vector_size(32)));
using Doubles4 = double __attribute__((vector_size(32)));

template <> struct Lane<Floats8> {
    static constexpr int kCount = 8;
    using Doubles = Doubles4;
    using Ints = __m256i;

    static Floats8 load(const float* p) { return _mm256_loadu_ps(p); }
    static void store(float* p, Floats8 value) { _mm256_storeu_ps(p, value); }
    static Floats8 splat(float x) { return _mm256_set1_ps(x); }
    static Floats8 zero() { return _mm256_setzero_ps(); }
    static Floats8 magnitude(Floats8 x) { return _mm256_andnot_ps(_mm256_set1_ps(-0.0f), x); }
    static Floats8 larger(Floats8 a, Floats8 b) { return _mm256_max_ps(a, b); }
    static Floats8 smaller(Floats8 a, Floats8 b) { return _mm256_min_ps(a, b); }
    static Ints below(Floats8 a, Floats8 b) { return _mm256_castps_si256(_mm256_cmp_ps(a, b, _CMP_LT_OQ)); }
    static Ints above(Floats8 a, Floats8 b) { return _mm256_castps_si256(_mm256_cmp_ps(a, b, _CMP_GT_OQ)); }
    static Ints equal(Floats8 a, Floats8 b) { return _mm256_castps_si256(_mm256_cmp_ps(a, b, _CMP_EQ_OQ)); }
    static Ints bits(Floats8 x) { return _mm256_castps_si256(x); }
    static Floats8 fromBits(Ints x) { return _mm256_castsi256_ps(x); }
    static Ints truncated(Floats8 x) { return _mm256_cvttps_epi32(x); }
    static Ints splatInt(std::int32_t x) { return _mm256_set1_epi32(x); }
    static Ints zeroInts() { return _mm256_setzero_si256(); }
    static Ints add(Ints a, Ints b) { return _mm256_add_epi32(a, b); }
    static Ints subtract(Ints a, Ints b) { return _mm256_sub_epi32(a, b); }
    static Ints both(Ints a, Ints b) { return _mm256_and_si256(a, b); }
    static Ints lessThan(Ints a, Ints b) { return _mm256_cmpgt_epi32(b, a); }
    static Ints laneIndices() { return _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7); }
    static Floats8 keep(Ints mask, Floats8 x) { return _mm256_and_ps(_mm256_castsi256_ps(mask), x); }
    static Floats8 select(Ints mask, Floats8 ifSet, Floats8 ifClear)
    {
        return _mm256_blendv_ps(ifClear, ifSet, _mm256_castsi256_ps(mask));
    }
    static void storeInts(std::int32_t* p, Ints value) { _mm256_storeu_si256(reinterpret_cast<__m256i*>(p), value); }
    static Doubles4 lowerHalf(Floats8 x) { return _mm256_cvtps_pd(_mm256_castps256_ps128(x)); }
    static Doubles4 upperHalf(Floats8 x) { return _mm256_cvtps_pd(_mm256_extractf128_ps(x, 1)); }

    // Transposes the 4 x 4 blocks of both halves at once: row l then holds
    // lane l's four values in its lower half and lane l + 4's in its upper.
    static void transpose(Floats8 (&rows)[4])
    {
        const __m256 t0 = _mm256_unpacklo_ps(rows[0], rows[1]), t1 = _mm256_unpacklo_ps(rows[2], rows[3]);
        const __m256 t2 = _mm256_unpackhi_ps(rows[0], rows[1]), t3 = _mm256_unpackhi_ps(rows[2], rows[3]);
        rows[0] = _mm256_shuffle_ps(t0, t1, _MM_SHUFFLE(1, 0, 1, 0));
        rows[1] = _mm256_shuffle_ps(t0, t1, _MM_SHUFFLE(3, 2, 3, 2));
        rows[2] = _mm256_shuffle_ps(t2, t3, _MM_SHUFFLE(1, 0, 1, 0));
        rows[3] = _mm256_shuffle_ps(t2, t3, _MM_SHUFFLE(3, 2, 3, 2));
    }
    static void storeRows(float* p, const std::uint32_t (&offset)[kCount], const Floats8 (&rows)[4])
    {
        for (int l = 0; l < 4; ++l) {
            _mm_storeu_ps(p + offset[l], _mm256_castps256_ps128(rows[l]));
            _mm_storeu_ps(p + offset[l + 4], _mm256_extractf128_ps(rows[l], 1));
        }
    }
};

template <> struct DoubleLane<Doubles4> {
    static constexpr int kCount = 4;

    static Doubles4 load(const double* p) { return _mm256_loadu_pd(p); }
    static void store(double* p, Doubles4 value) { _mm256_storeu_pd(p, value); }
    static Doubles4 splat(double x) { return _mm256_set1_pd(x); }
    static Doubles4 loadWidened(const float* p) { return _mm256_cvtps_pd(_mm_loadu_ps(p)); }
    static void storeNarrowed(float* p, Doubles4 value) { _mm_storeu_ps(p, _mm256_cvtpd_ps(value)); }
    static Doubles4 roundedToFloat(Doubles4 value) { return _mm256_cvtps_pd(_mm256_cvtpd_ps(value)); }
    static Doubles4 squareRoot(Doubles4 value) { return _mm256_sqrt_pd(value); }
};
#endif

} // namespace
