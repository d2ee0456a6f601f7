#include "analyze/LoudnessHistogram.h"

#include "analyze/loudnessUnits.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kBinsPerLu = 100.0;
// Louder values (only float files go there) share the top bin; their
// energies still count in full.
constexpr double kHighestLoudness = 30.0;

} // namespace

LoudnessHistogram::LoudnessHistogram()
    : counts(static_cast<std::size_t>((kHighestLoudness - kAbsoluteGate) * kBinsPerLu) + 1, 0),
      energies(counts.size(), 0.0)
{
}

void LoudnessHistogram::add(double energy)
{
    const double loudness = loudnessOfEnergy(energy);
    if (!(loudness > kAbsoluteGate))
        return;
    const std::size_t bin = binOf(loudness);
    ++counts[bin];
    energies[bin] += energy;
}

std::size_t LoudnessHistogram::binOf(double loudness) const
{
    const double bin = std::floor((loudness - kAbsoluteGate) * kBinsPerLu);
    return static_cast<std::size_t>(std::clamp(bin, 0.0, static_cast<double>(counts.size() - 1)));
}

double LoudnessHistogram::loudnessOfBin(std::size_t bin) const
{
    return kAbsoluteGate + static_cast<double>(bin) / kBinsPerLu;
}

std::int64_t LoudnessHistogram::count(double from) const
{
    std::int64_t total = 0;
    for (std::size_t bin = binOf(std::max(from, kAbsoluteGate)); bin < counts.size(); ++bin)
        total += counts[bin];
    return total;
}

double LoudnessHistogram::meanLoudness(double from) const
{
    std::int64_t values = 0;
    double energy = 0.0;
    for (std::size_t bin = binOf(std::max(from, kAbsoluteGate)); bin < counts.size(); ++bin) {
        values += counts[bin];
        energy += energies[bin];
    }
    return values > 0 ? loudnessOfEnergy(energy / static_cast<double>(values)) : -HUGE_VAL;
}

double LoudnessHistogram::percentile(double from, double share) const
{
    const std::size_t first = binOf(std::max(from, kAbsoluteGate));
    const auto wanted = std::max<std::int64_t>(
        static_cast<std::int64_t>(std::ceil(share * static_cast<double>(count(from)))), 1);
    std::int64_t seen = 0;
    std::size_t bin = first;
    for (; bin < counts.size(); ++bin) {
        seen += counts[bin];
        if (seen >= wanted)
            break;
    }
    return loudnessOfBin(std::min(bin, counts.size() - 1));
}
