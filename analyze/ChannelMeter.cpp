#include "analyze/ChannelMeter.h"

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

ChannelMeter::ChannelMeter(int channels, int index, std::optional<int> truePeakRate, std::string whyNot)
    : fileChannels(channels), channel(index), noTruePeak(std::move(whyNot))
{
    if (truePeakRate)
        truePeakMeter.emplace(*truePeakRate);
}

void ChannelMeter::add(const float* interleaved, std::int64_t frames)
{
    samples.resize(static_cast<std::size_t>(frames));
    for (std::int64_t i = 0; i < frames; ++i) {
        const float sample = interleaved[i * fileChannels + channel];
        samples[static_cast<std::size_t>(i)] = sample;
        if (!std::isfinite(sample)) {
            ++nonFinite;
            continue;
        }
        const double value = sample;
        peak = std::max(peak, std::fabs(value));
        sumOfSquares += value * value;
    }
    count += frames;
    if (truePeakMeter)
        truePeakMeter->add(samples.data(), frames);
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
    ChannelFigures figures{decibels(peak), decibels(std::sqrt(sumOfSquares / static_cast<double>(count))), {}};
    if (!truePeakMeter)
        figures.truePeak = Reading::none(noTruePeak);
    else if (const std::optional<double> level = truePeak())
        figures.truePeak = decibels(*level);
    else
        figures.truePeak = Reading::none("beyond the range of 32-bit floats when interpolated");
    return figures;
}
