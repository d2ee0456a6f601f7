// Loudness values above the absolute gate of -70 LUFS, kept in 0.01 LU bins
// with the summed energy of each bin, so that gated means are exact and
// percentiles within 0.01 LU while memory stays the same however long the
// file is.
#pragma once

#include <cstdint>
#include <vector>

class LoudnessHistogram {
public:
    static constexpr double kAbsoluteGate = -70.0;

    LoudnessHistogram();

    // One value, as its mean K-weighted energy; ignored at or below the gate.
    void add(double energy);
    // Values at or above `from` LUFS (to the bin).
    std::int64_t count(double from) const;
    // The loudness of the mean energy of the values at or above `from`;
    // minus infinity when there are none.
    double meanLoudness(double from) const;
    // The value at `share` (0 ... 1) of those at or above `from`: the first
    // whose cumulative count reaches it.
    double percentile(double from, double share) const;

private:
    std::size_t binOf(double loudness) const;
    double loudnessOfBin(std::size_t bin) const;

    std::vector<std::int64_t> counts;
    std::vector<double> energies;
};
