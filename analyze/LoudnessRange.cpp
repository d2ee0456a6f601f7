#include "analyze/LoudnessRange.h"

#include "analyze/loudnessUnits.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kAbsoluteGate = -70.0;
constexpr double kRelativeGate = -20.0;
constexpr double kLowPercentile = 0.10;
constexpr double kHighPercentile = 0.95;
// Bins of 0.01 LU from the absolute gate up to +30 LUFS; louder values
// (only float files go there) share the top bin.
constexpr double kBinsPerLu = 100.0;
constexpr double kHighestLoudness = 30.0;
} // namespace

LoudnessRange::LoudnessRange()
    : counts(static_cast<std::size_t>((kHighestLoudness - kAbsoluteGate) * kBinsPerLu) + 1, 0)
{
}

void LoudnessRange::add(double shortTermLoudness)
{
    if (!(shortTermLoudness > kAbsoluteGate))
        return;
    ++counts[binOf(shortTermLoudness)];
    gatedEnergy += energyOfLoudness(shortTermLoudness);
    ++gatedValues;
}

std::size_t LoudnessRange::binOf(double loudness) const
{
    const double bin = std::floor((loudness - kAbsoluteGate) * kBinsPerLu);
    return static_cast<std::size_t>(std::clamp(bin, 0.0, static_cast<double>(counts.size() - 1)));
}

double LoudnessRange::loudnessOfBin(std::size_t bin) const
{
    return kAbsoluteGate + static_cast<double>(bin) / kBinsPerLu;
}

double LoudnessRange::range() const
{
    if (gatedValues == 0)
        return 0.0;
    const double relativeGate =
        loudnessOfEnergy(gatedEnergy / static_cast<double>(gatedValues)) + kRelativeGate;
    const std::size_t first = binOf(std::max(relativeGate, kAbsoluteGate));
    std::int64_t kept = 0;
    for (std::size_t bin = first; bin < counts.size(); ++bin)
        kept += counts[bin];
    if (kept < 2)
        return 0.0;
    // The value at each percentile is the first whose cumulative count reaches it.
    const auto percentileBin = [&](double share) {
        const auto wanted = static_cast<std::int64_t>(std::ceil(share * static_cast<double>(kept)));
        std::int64_t seen = 0;
        std::size_t bin = first;
        for (; bin < counts.size(); ++bin) {
            seen += counts[bin];
            if (seen >= std::max<std::int64_t>(wanted, 1))
                break;
        }
        return bin;
    };
    return loudnessOfBin(percentileBin(kHighPercentile)) - loudnessOfBin(percentileBin(kLowPercentile));
}
