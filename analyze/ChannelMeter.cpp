#include "analyze/ChannelMeter.h"

#include <algorithm>
#include <cmath>

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

// Four peaks and four sums side by side, which the compiler keeps in
// registers and works on at once (a peak is the same in any order). A chunk
// holding a sample that is not a finite number is measured again sample by
// sample, leaving such samples out.
void ChannelMeter::measureLevels(const float* samples, std::int64_t frames)
{
    constexpr int kSums = 4;
    float peaks[kSums] = {};
    double sums[kSums] = {};
    std::int64_t i = 0;
    for (; i + kSums <= frames; i += kSums)
        for (int k = 0; k < kSums; ++k) {
            const float magnitude = std::fabs(samples[i + k]);
            peaks[k] = magnitude > peaks[k] ? magnitude : peaks[k];
            sums[k] += static_cast<double>(samples[i + k]) * samples[i + k];
        }
    for (; i < frames; ++i) {
        peaks[0] = std::max(peaks[0], std::fabs(samples[i]));
        sums[0] += static_cast<double>(samples[i]) * samples[i];
    }
    const float chunkPeak = std::max(std::max(peaks[0], peaks[1]), std::max(peaks[2], peaks[3]));
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
