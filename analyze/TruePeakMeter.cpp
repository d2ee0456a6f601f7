#include "analyze/TruePeakMeter.h"

#include <cmath>

namespace {

constexpr int kOneChannel = 1;
// Of amplitude.
constexpr double kDecibelsPerDecade = 20.0;

} // namespace

TruePeakMeter::TruePeakMeter(int fileChannels, int sampleRate, int channel)
    : fileChannels(fileChannels), channel(channel),
      state(makeEbur128State(kOneChannel, sampleRate, EBUR128_MODE_TRUE_PEAK, reason))
{
}

void TruePeakMeter::add(const float* interleaved, std::int64_t frames)
{
    if (!state)
        return;
    samples.resize(static_cast<std::size_t>(frames));
    for (std::int64_t i = 0; i < frames; ++i)
        samples[static_cast<std::size_t>(i)] = interleaved[i * fileChannels + channel];
    ebur128_add_frames_float(state.get(), samples.data(), samples.size());
}

double TruePeakMeter::truePeakDb() const
{
    double peak = 0.0;
    if (!state || ebur128_true_peak(state.get(), 0, &peak) != EBUR128_SUCCESS || !(peak > 0.0))
        return -HUGE_VAL;
    return kDecibelsPerDecade * std::log10(peak);
}

double TruePeakMeter::lastTruePeakDb() const
{
    double peak = 0.0;
    if (!state || ebur128_prev_true_peak(state.get(), 0, &peak) != EBUR128_SUCCESS || !(peak > 0.0))
        return -HUGE_VAL;
    return kDecibelsPerDecade * std::log10(peak);
}
