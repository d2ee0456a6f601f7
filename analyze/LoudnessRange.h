// Loudness range after EBU Tech 3342 (2016): the spread between the 10th and
// the 95th percentile of the short-term loudness values, taken at 10 Hz,
// that pass an absolute gate at -70 LUFS and a relative gate 20 LU below
// their own mean loudness. libebur128 1.2.6 takes them only once a second,
// the rule before 2016, which on fades and swells gives a range up to about
// 1 LU apart. Values are kept in 0.01 LU bins, so memory does not grow with
// the file.
#pragma once

#include <cstdint>
#include <vector>

class LoudnessRange {
public:
    LoudnessRange();

    // One short-term (3 s) loudness value, LUFS.
    void add(double shortTermLoudness);
    // LU; 0 while fewer than two values pass the gates.
    double range() const;

private:
    std::size_t binOf(double loudness) const;
    double loudnessOfBin(std::size_t bin) const;

    std::vector<std::int64_t> counts;
    double gatedEnergy = 0.0;
    std::int64_t gatedValues = 0;
};
