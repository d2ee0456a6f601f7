// BS.1770's loudness of a mean K-weighted energy and back:
// loudness = -0.691 + 10 log10(energy).
#pragma once

#include <cmath>

constexpr double kLoudnessOffset = -0.691;
constexpr double kLoudnessDecibelsPerDecade = 10.0;

// Minus infinity for no energy.
inline double loudnessOfEnergy(double energy)
{
    return energy > 0.0 ? kLoudnessOffset + kLoudnessDecibelsPerDecade * std::log10(energy) : -HUGE_VAL;
}

// No energy for minus infinity.
inline double energyOfLoudness(double loudness)
{
    return std::isfinite(loudness) ? std::pow(10.0, (loudness - kLoudnessOffset) / kLoudnessDecibelsPerDecade)
                                   : 0.0;
}
