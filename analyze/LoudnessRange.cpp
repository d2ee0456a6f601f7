#include "analyze/LoudnessRange.h"

namespace {

constexpr double kRelativeGate = -20.0;
constexpr double kLowPercentile = 0.10;
constexpr double kHighPercentile = 0.95;

} // namespace

Reading LoudnessRange::range() const
{
    const double gate = values.meanLoudness(LoudnessHistogram::kAbsoluteGate) + kRelativeGate;
    if (values.count(gate) < 2)
        return Reading::none("fewer than two 3 s windows above the gates");
    return Reading::of(values.percentile(gate, kHighPercentile) - values.percentile(gate, kLowPercentile));
}
