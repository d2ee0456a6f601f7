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

void ChannelMeter::reportTruePeakOvers(double level, TruePeakMeter::OverListener listener)
{
    if (truePeakMeter)
        truePeakMeter->reportOvers(level, std::move(listener));
}

void ChannelMeter::add(const float* interleaved, std::int64_t frames)
{
    samples.resize(static_cast<std::size_t>(frames));
    for (std::int64_t i = 0; i < frames; ++i)
        samples[static_cast<std::size_t>(i)] = interleaved[i * fileChannels + channel];
    measureLevels(frames);
    count += frames;
    if (truePeakMeter)
        truePeakMeter->add(samples.data(), frames);
}

// In four sums side by side, which the compiler can keep in one register.
// A chunk holding a sample that is not a finite number is measured again
// sample by sample, leaving such samples out.
void ChannelMeter::measureLevels(std::int64_t frames)
{
    constexpr int kSums = 4;
    float chunkPeak = 0.0f;
    double sums[kSums] = {};
    std::int64_t i = 0;
    for (; i + kSums <= frames; i += kSums)
        for (int k = 0; k < kSums; ++k) {
            const float sample = samples[static_cast<std::size_t>(i + k)];
            chunkPeak = std::max(chunkPeak, std::fabs(sample));
            sums[k] += static_cast<double>(sample) * sample;
        }
    for (; i < frames; ++i) {
        const float sample = samples[static_cast<std::size_t>(i)];
        chunkPeak = std::max(chunkPeak, std::fabs(sample));
        sums[0] += static_cast<double>(sample) * sample;
    }
    const double sum = (sums[0] + sums[1]) + (sums[2] + sums[3]);
    if (std::isfinite(sum) && std::isfinite(chunkPeak)) {
        peak = std::max(peak, static_cast<double>(chunkPeak));
        sumOfSquares += sum;
        return;
    }
    for (i = 0; i < frames; ++i) {
        const float sample = samples[static_cast<std::size_t>(i)];
        if (!std::isfinite(sample)) {
            ++nonFinite;
            continue;
        }
        peak = std::max(peak, static_cast<double>(std::fabs(sample)));
        sumOfSquares += static_cast<double>(sample) * sample;
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
