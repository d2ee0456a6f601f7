#include "analyze/ChannelMeter.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// Of amplitude.
constexpr double kDecibelsPerDecade = 20.0;

} // namespace

Reading ChannelMeter::decibels(double level)
{
    if (!(level > 0.0))
        return Reading::none("digital silence");
    return Reading::of(kDecibelsPerDecade * std::log10(level));
}

ChannelMeter::ChannelMeter(std::optional<int> truePeakRate, std::string whyNot)
    : noTruePeak(std::move(whyNot))
{
    if (truePeakRate)
        truePeakMeter.emplace(*truePeakRate);
}

void ChannelMeter::reportTruePeakOvers(double level, TruePeakMeter::OverListener listener)
{
    if (truePeakMeter)
        truePeakMeter->reportOvers(level, std::move(listener));
}

void ChannelMeter::add(const float* samples, std::int64_t frames)
{
    measureLevels(samples, frames);
    count += frames;
    if (truePeakMeter)
        truePeakMeter->add(samples, frames);
}

// Four peaks and four sums side by side, in registers of GCC's vector
// extension: each sum adds every fourth sample's square in order, and a peak
// is the same in any order. A chunk holding a sample that is not a finite
// number is measured again sample by sample, leaving such samples out.
void ChannelMeter::measureLevels(const float* samples, std::int64_t frames)
{
    using Floats = float __attribute__((vector_size(16)));
    using Doubles = double __attribute__((vector_size(16)));
    using Ints = std::int32_t __attribute__((vector_size(16)));
    constexpr std::int64_t kSums = sizeof(Floats) / sizeof(float);
    constexpr std::int32_t kMagnitudeBits = 0x7fffffff;

    Floats peaks = {};
    Doubles firstSums = {};
    Doubles secondSums = {};
    std::int64_t i = 0;
    for (; i + kSums <= frames; i += kSums) {
        Floats four;
        std::memcpy(&four, samples + i, sizeof four);
        const Floats magnitudes = reinterpret_cast<Floats>(reinterpret_cast<Ints>(four) & kMagnitudeBits);
        peaks = magnitudes > peaks ? magnitudes : peaks;
        const Doubles first = {four[0], four[1]};
        const Doubles second = {four[2], four[3]};
        firstSums += first * first;
        secondSums += second * second;
    }
    float chunkPeak = std::max(std::max(peaks[0], peaks[1]), std::max(peaks[2], peaks[3]));
    double sums[kSums] = {firstSums[0], firstSums[1], secondSums[0], secondSums[1]};
    for (; i < frames; ++i) {
        chunkPeak = std::max(chunkPeak, std::fabs(samples[i]));
        sums[0] += static_cast<double>(samples[i]) * samples[i];
    }
    const double sum = (sums[0] + sums[1]) + (sums[2] + sums[3]);
    if (std::isfinite(sum) && std::isfinite(chunkPeak)) {
        peak = std::max(peak, static_cast<double>(chunkPeak));
        sumOfSquares += sum;
        return;
    }
    for (i = 0; i < frames; ++i) {
        if (!std::isfinite(samples[i])) {
            ++nonFinite;
            continue;
        }
        peak = std::max(peak, static_cast<double>(std::fabs(samples[i])));
        sumOfSquares += static_cast<double>(samples[i]) * samples[i];
    }
}

std::optional<double> ChannelMeter::truePeak() const
{
    if (!truePeakMeter || nonFinite > 0)
        return std::nullopt;
    const double level = truePeakMeter->peak();
    return std::isfinite(level) ? std::optional<double>(level) : std::nullopt;
}

ChannelFigures ChannelMeter::figures() const
{
    if (nonFinite > 0) {
        const Reading none =
            Reading::none("holds samples that are not finite numbers (" + std::to_string(nonFinite) + ")");
        return {none, none, none};
    }
    ChannelFigures figures{
        decibels(peak), decibels(std::sqrt(sumOfSquares / static_cast<double>(count))), {}};
    if (!truePeakMeter)
        figures.truePeak = Reading::none(noTruePeak);
    else if (const std::optional<double> level = truePeak())
        figures.truePeak = decibels(*level);
    else
        figures.truePeak = Reading::none("beyond the range of 32-bit floats when interpolated");
    return figures;
}
