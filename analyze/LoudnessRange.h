// Loudness range after EBU Tech 3342 (2016): the spread between the 10th and
// the 95th percentile of the short-term loudness values, taken at 10 Hz,
// that pass an absolute gate at -70 LUFS and a relative gate 20 LU below
// their own mean loudness. (libebur128 1.2.6 takes them only once a second,
// the rule before 2016, which on fades and swells gives a range up to about
// 1 LU apart.)
#pragma once

#include "analyze/LoudnessHistogram.h"
#include "analyze/Reading.h"

class LoudnessRange {
public:
    // One short-term (3 s) value, as its mean K-weighted energy.
    void add(double shortTermEnergy) { values.add(shortTermEnergy); }
    // LU; none while fewer than two values pass the gates.
    Reading range() const;

private:
    LoudnessHistogram values;
};
