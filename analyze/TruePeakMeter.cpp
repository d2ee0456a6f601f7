#include "analyze/TruePeakMeter.h"

#include <cmath>

namespace {

// Of amplitude.
constexpr double kDecibelsPerDecade = 20.0;

} // namespace

TruePeakMeter::TruePeakMeter(int channels, int sampleRate)
    : state(makeEbur128State(channels, sampleRate, EBUR128_MODE_TRUE_PEAK, reason))
{
}

void TruePeakMeter::add(const float* interleaved, std::int64_t frames)
{
    if (state)
        ebur128_add_frames_float(state.get(), interleaved, static_cast<std::size_t>(frames));
}

double TruePeakMeter::maxTruePeakDb() const
{
    double peak = 0.0;
    for (unsigned channel = 0; state && channel < state->channels; ++channel) {
        double channelPeak = 0.0;
        if (ebur128_true_peak(state.get(), channel, &channelPeak) == EBUR128_SUCCESS)
            peak = std::fmax(peak, channelPeak);
    }
    return peak > 0.0 ? kDecibelsPerDecade * std::log10(peak) : -HUGE_VAL;
}
