#include "analyze/TruePeakMeter.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kTargetRate = 192000;
constexpr int kLeastOversampling = 4;
// Fine steps per coarse step where a peak could hide.
constexpr int kRefinement = 8;
// Taps of each phase, centred on the interval being interpolated: 47
// samples before it, 49 from its start on.
constexpr int kTaps = 96;
constexpr int kTapsBefore = kTaps / 2 - 1;
// The sinc's cutoff as a share of the sample rate, and the Kaiser window's
// shape: together flat within 0.01 dB to 0.4535 of the rate, -3 dB at
// 0.475, -40 dB at 0.494.
constexpr double kCutoff = 0.479;
constexpr double kKaiserBeta = 5.0;
// Highest frequency, as a share of the sample rate, that the interpolated
// signal holds, with room for what the filter lets through above 0.5.
constexpr double kBandLimit = 0.55;
// Samples weighed together for the skip; more than the interpolator's reach
// plus a refined step on either side, so that a stretch's neighbours hold
// all the samples it needs.
constexpr int kStretch = 64;
static_assert(kStretch >= kTaps / 2 + 2, "a stretch's neighbours must cover the taps");
// Interpolated positions computed side by side: enough independent sums to
// keep the processor's adders busy.
constexpr int kLanes = 32;
static_assert(kStretch % kLanes == 0, "stretches hold whole groups of lanes");
// Single-precision sums of kTaps products stay within this factor of their
// magnitude bound.
constexpr double kRoundingAllowance = 1.0 + 1e-5;

double sinc(double x)
{
    return x == 0.0 ? 1.0 : std::sin(kPi * x) / (kPi * x);
}

double kaiser(double position)
{
    const double u = position / (kTaps / 2);
    if (std::fabs(u) >= 1.0)
        return 0.0;
    // The Bessel function goes through lgamma, which writes the C library's
    // global signgam: meters of files analysed side by side take turns.
    static std::mutex besselLock;
    const std::lock_guard<std::mutex> guard(besselLock);
    return std::cyl_bessel_i(0.0, kKaiserBeta * std::sqrt(1.0 - u * u)) / std::cyl_bessel_i(0.0, kKaiserBeta);
}

float magnitudePeak(const float* samples, int count)
{
    float peak = 0.0f;
    for (int i = 0; i < count; ++i)
        peak = std::max(peak, std::fabs(samples[i]));
    return peak;
}

// One phase at `count` positions from support + kTapsBefore, in whole
// groups of lanes (`values` has room for kStretch). Two builds of it: eight
// floats to a register where the processor has AVX2, four elsewhere. Each
// lane's sum is made in the same order in both, so both give the same bits.
void portablePhaseValues(const float* taps, const float* support, int count, float* values)
{
    for (int start = 0; start < count; start += kLanes) {
        float sums[kLanes] = {};
        for (int j = 0; j < kTaps; ++j)
            for (int i = 0; i < kLanes; ++i)
                sums[i] += taps[j] * support[start + i + j];
        for (int i = 0; i < kLanes; ++i)
            values[start + i] = sums[i];
    }
}

// GCC's vector extension, with the four sums named apart: so they stay in
// registers.
using Lanes = float __attribute__((vector_size(32)));
constexpr int kLanesPerVector = sizeof(Lanes) / sizeof(float);
static_assert(kLanes == 4 * kLanesPerVector, "four sums of eight lanes");

__attribute__((target("avx2"))) void avx2PhaseValues(const float* taps, const float* support, int count,
                                                     float* values)
{
    constexpr std::size_t kBytes = sizeof(Lanes);
    for (int start = 0; start < count; start += kLanes) {
        Lanes first = {}, second = {}, third = {}, fourth = {};
        for (int j = 0; j < kTaps; ++j) {
            const float* at = support + start + j;
            Lanes a, b, c, d;
            std::memcpy(&a, at, kBytes);
            std::memcpy(&b, at + kLanesPerVector, kBytes);
            std::memcpy(&c, at + 2 * kLanesPerVector, kBytes);
            std::memcpy(&d, at + 3 * kLanesPerVector, kBytes);
            first += taps[j] * a;
            second += taps[j] * b;
            third += taps[j] * c;
            fourth += taps[j] * d;
        }
        std::memcpy(values + start, &first, kBytes);
        std::memcpy(values + start + kLanesPerVector, &second, kBytes);
        std::memcpy(values + start + 2 * kLanesPerVector, &third, kBytes);
        std::memcpy(values + start + 3 * kLanesPerVector, &fourth, kBytes);
    }
}

void phaseValues(const float* taps, const float* support, int count, float* values)
{
    static const bool avx2 = __builtin_cpu_supports("avx2");
    (avx2 ? avx2PhaseValues : portablePhaseValues)(taps, support, count, values);
}

// In eight partial sums, added pairwise, so that the products can be
// summed side by side.
float dot(const float* taps, const float* support)
{
    constexpr int kParts = 8;
    static_assert(kTaps % kParts == 0, "whole groups of taps");
    float parts[kParts] = {};
    for (int j = 0; j < kTaps; j += kParts)
        for (int i = 0; i < kParts; ++i)
            parts[i] += taps[j + i] * support[j + i];
    return ((parts[0] + parts[1]) + (parts[2] + parts[3])) + ((parts[4] + parts[5]) + (parts[6] + parts[7]));
}

} // namespace

int TruePeakMeter::oversamplingFor(int sampleRate)
{
    if (sampleRate >= kTargetRate)
        return kLeastOversampling;
    return std::max(kLeastOversampling, (kTargetRate + sampleRate - 1) / sampleRate);
}

TruePeakMeter::TruePeakMeter(int sampleRate)
    : oversampling(oversamplingFor(sampleRate)), finePhases(oversampling * kRefinement),
      coarseValues(static_cast<std::size_t>(oversampling) * kStretch), held(kStretch, 0.0f),
      heldFrom(-kStretch)
{
    // Each phase is normalised to a gain of 1 at 0 Hz.
    for (int phase = 0; phase < finePhases; ++phase) {
        const double offset = static_cast<double>(phase) / finePhases;
        double taps[kTaps];
        double sum = 0.0;
        for (int j = 0; j < kTaps; ++j) {
            const double t = offset - (j - kTapsBefore);
            taps[j] = sinc(2.0 * kCutoff * t) * kaiser(t);
            sum += taps[j];
        }
        double magnitudes = 0.0;
        for (const double tap : taps) {
            phases.push_back(static_cast<float>(tap / sum));
            magnitudes += std::fabs(phases.back());
        }
        reach = std::max(reach, magnitudes * kRoundingAllowance);
    }
    // Near a peak P a signal of bandwidth B falls no faster than
    // P (1 - (2 pi B t)^2 / 2), and the coarse grid has a point within half
    // a step of every peak.
    const double halfStep = kPi * kBandLimit / oversampling;
    gridShare = 1.0 - halfStep * halfStep / 2.0;
}

const float* TruePeakMeter::taps(int finePhase) const
{
    return &phases[static_cast<std::size_t>(finePhase) * kTaps];
}

void TruePeakMeter::add(const float* samples, std::int64_t frames)
{
    held.insert(held.end(), samples, samples + frames);
    received += frames;
    std::int64_t consumed = 0;
    runningPeak = scan(held, heldFrom, received - 1, runningPeak, consumed, true);
    held.erase(held.begin(), held.begin() + consumed);
    heldFrom += consumed;
}

double TruePeakMeter::peak() const
{
    std::vector<float> ending = held;
    ending.resize((ending.size() / kStretch + 3) * kStretch, 0.0f);
    std::int64_t consumed = 0;
    return scan(ending, heldFrom, received - 1, runningPeak, consumed, false);
}

void TruePeakMeter::reportOvers(double level, OverListener listener)
{
    overLevel = level;
    overListener = std::move(listener);
}

// Stretch r (from samples[r * kStretch]) is examined once its neighbours
// r - 1 and r + 1 are held. The loudest examinable stretch goes first, so
// that the running peak rises before the others are weighed against it.
double TruePeakMeter::scan(const std::vector<float>& samples, std::int64_t firstIndex, std::int64_t lastIndex,
                           double peak, std::int64_t& consumed, bool reporting) const
{
    consumed = 0;
    const int stretches = static_cast<int>(samples.size() / kStretch);
    if (stretches < 3)
        return peak;
    std::vector<double> stretchPeaks(static_cast<std::size_t>(stretches));
    for (int r = 0; r < stretches; ++r)
        stretchPeaks[static_cast<std::size_t>(r)] =
            magnitudePeak(&samples[static_cast<std::size_t>(r) * kStretch], kStretch);
    const auto peakOf = [&](int r) { return stretchPeaks[static_cast<std::size_t>(r)]; };

    const auto examine = [&](int r) {
        const double bound = reach * std::max({peakOf(r - 1), peakOf(r), peakOf(r + 1)});
        const std::int64_t start = firstIndex + static_cast<std::int64_t>(r) * kStretch;
        const auto count = static_cast<int>(std::min<std::int64_t>(kStretch, lastIndex + 1 - start));
        // A listener for overs needs every stretch that could pass its level,
        // even below the running peak; the extra ones cannot raise the peak.
        const bool listening = reporting && overListener;
        const double floor = listening ? std::min(peak, overLevel) : peak;
        if ((skipping && bound <= floor) || count <= 0)
            return;
        const double stretchPeak =
            interpolate(&samples[static_cast<std::size_t>(r) * kStretch], start, count, lastIndex, floor);
        if (listening && stretchPeak > overLevel)
            overListener(start, stretchPeak);
        peak = std::max(peak, stretchPeak);
    };
    int loudest = 1;
    for (int r = 2; r + 1 < stretches; ++r)
        if (peakOf(r) > peakOf(loudest))
            loudest = r;
    examine(loudest);
    for (int r = 1; r + 1 < stretches; ++r)
        if (r != loudest)
            examine(r);
    consumed = static_cast<std::int64_t>(stretches - 2) * kStretch;
    return peak;
}

double TruePeakMeter::interpolate(const float* first, std::int64_t firstIndex, int count,
                                  std::int64_t lastIndex, double peak) const
{
    std::vector<float>& coarse = coarseValues;
    for (int phase = 0; phase < oversampling; ++phase) {
        float* values = &coarse[static_cast<std::size_t>(phase) * kStretch];
        phaseValues(taps(phase * kRefinement), first - kTapsBefore, count, values);
        peak = std::max(peak, static_cast<double>(magnitudePeak(values, count)));
    }
    // A peak between coarse positions lies within half a step of the
    // larger of the two around it, which is then a local maximum of the
    // coarse values; around each such value that could hide a higher peak
    // the half steps on either side are interpolated finely. Values beyond
    // the stretch count as lower, so its edges are always examined; no
    // fine position lies before the first sample or past the last one.
    const double threshold = peak * gridShare;
    const auto magnitude = [&](int n, int phase) {
        if (phase < 0)
            --n, phase += oversampling;
        else if (phase >= oversampling)
            ++n, phase -= oversampling;
        return n < 0 || n >= count ? 0.0f : std::fabs(coarse[static_cast<std::size_t>(phase * kStretch + n)]);
    };
    for (int n = 0; n < count; ++n)
        for (int phase = 0; phase < oversampling; ++phase) {
            const float value = magnitude(n, phase);
            if (!(value >= threshold) || value < magnitude(n, phase - 1) || value < magnitude(n, phase + 1))
                continue;
            for (int step = -kRefinement / 2; step <= kRefinement / 2; ++step) {
                const int fine = phase * kRefinement + step;
                const int sample = n + (fine < 0 ? -1 : fine >= finePhases ? 1 : 0);
                const int finePhase = (fine + finePhases) % finePhases;
                if (step == 0 || firstIndex + sample < 0 || firstIndex + sample > lastIndex)
                    continue;
                peak = std::max(
                    peak, static_cast<double>(std::fabs(dot(taps(finePhase), first + sample - kTapsBefore))));
            }
        }
    return peak;
}
