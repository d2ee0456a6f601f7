#include "analyze/plots/plotData.h"

#include "analyze/plots/TimelineCollector.h"

#include <algorithm>
#include <cmath>

double amplitudeDecibels(double amplitude)
{
    return amplitude > 0.0 && std::isfinite(amplitude) ? 20.0 * std::log10(amplitude) : -HUGE_VAL;
}

double powerDecibels(double power)
{
    return power > 0.0 && std::isfinite(power) ? 10.0 * std::log10(power) : -HUGE_VAL;
}

SliceRange slicesInColumn(const TimeSlices& slices, std::int64_t frames, int column, int columns)
{
    const double start = static_cast<double>(frames) * column / columns;
    const double end = static_cast<double>(frames) * (column + 1) / columns;
    const auto sliceFrames = static_cast<double>(slices.sliceFrames);
    SliceRange range;
    range.first = static_cast<std::size_t>(start / sliceFrames);
    range.last = std::max(range.first + 1, static_cast<std::size_t>(std::ceil(end / sliceFrames)));
    range.last = std::min(range.last, slices.count());
    return range;
}

double durationOf(const FileTimeline& timeline)
{
    if (timeline.frames <= 0 || timeline.sampleRate <= 0)
        return 1.0;
    return static_cast<double>(timeline.frames) / timeline.sampleRate;
}

BinRange binsInRange(double binHz, int bins, double low, double high)
{
    // Clamped before the conversion: an open range ends at infinity.
    const auto firstAt = [&](double frequency) {
        return static_cast<int>(std::clamp(std::ceil(frequency / binHz), 1.0, static_cast<double>(bins)));
    };
    return BinRange{firstAt(low), firstAt(high)};
}

double spectrumTopDb(double highestDb)
{
    constexpr double kStep = 10.0;
    constexpr double kRoom = 3.0;
    if (!std::isfinite(highestDb))
        return 0.0;
    return kStep * std::ceil((highestDb + kRoom) / kStep);
}

double highestFrequency(const FileTimeline& timeline)
{
    return std::max(timeline.sampleRate / 2.0, 2.0 * kLowestFrequency);
}

std::string tooShortForSpectrum()
{
    return "no spectrum: shorter than " + std::to_string(TimelineCollector::kSpectrumFrames) + " frames";
}
