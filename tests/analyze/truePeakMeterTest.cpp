// The true-peak meter skips the stretches that cannot raise its reading and
// refines only around the values that could hide a higher peak; neither may
// change the reading, nor the overs it reports. On signals made to defeat a
// skip by a fixed margin (peaks several dB above their samples, after louder
// samples), the reading is the same as interpolating everything, however
// the channel is split into the calls that feed it. (That the peak is found at all, the tests
// against sox's reconstruction show.)
#include "analyze/TruePeakMeter.h"
#include "testhost/WhiteNoise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace {

constexpr double kPi = 3.14159265358979323846;

// A slow tone, then one at a quarter of the rate whose samples sit at 45
// degrees from its peaks: 3 dB below them, and below the slow tone's
// samples too, though its peaks are higher. Both fade in and out.
std::vector<float> toneBelowItsPeaks(int rate)
{
    std::vector<float> samples;
    const auto add = [&](double amplitude, double cyclesPerSample, double phase) {
        for (int n = 0; n < rate; ++n) {
            const double fade = std::min(1.0, std::min(n, rate - n) / (0.1 * rate));
            samples.push_back(
                static_cast<float>(fade * amplitude * std::sin(2.0 * kPi * cyclesPerSample * n + phase)));
        }
    };
    add(0.6, 100.0 / rate, 0.0);
    add(0.8, 0.25, kPi / 4.0);
    return samples;
}

// Near-Nyquist tone bursts, each louder than the last but sampled near its
// zero crossings, between stretches of louder-sampled noise.
std::vector<float> hiddenBursts(int rate)
{
    WhiteNoise noise(5u);
    std::vector<float> samples;
    for (int burst = 1; burst <= 8; ++burst) {
        for (int n = 0; n < rate / 20; ++n)
            samples.push_back(static_cast<float>(0.3 * noise.next()));
        const double amplitude = 0.1 * burst;
        for (int n = 0; n < 40; ++n)
            samples.push_back(static_cast<float>(amplitude * std::sin(0.9 * kPi * n + 0.05)));
    }
    return samples;
}

// Samples alternating in sign with one flip: between the two equal
// neighbours the band-limited signal rises well above them.
std::vector<float> alternationWithAFlip(int rate)
{
    std::vector<float> samples(static_cast<std::size_t>(rate), 0.0f);
    for (int n = 0; n < rate; ++n)
        samples[static_cast<std::size_t>(n)] =
            static_cast<float>((n % 2 ? 0.2 : -0.2) * (n < rate / 2 ? 1 : -1));
    return samples;
}

// A sweep up to the Nyquist frequency with a wandering level.
std::vector<float> sweep(int rate)
{
    WhiteNoise wander(9u);
    std::vector<float> samples;
    double phase = 0.0, level = 0.5;
    for (int n = 0; n < 2 * rate; ++n) {
        phase += kPi * n / (2.0 * rate);
        level = std::clamp(level + 0.01 * wander.next(), 0.1, 0.9);
        samples.push_back(static_cast<float>(level * std::sin(phase)));
    }
    return samples;
}

using Overs = std::map<std::int64_t, double>;

// With overs above `overLevel` reported into `overs` when it is given.
double reading(int rate, const std::vector<float>& samples, std::size_t call, bool everything,
               double overLevel = 0.0, Overs* overs = nullptr)
{
    TruePeakMeter meter(rate);
    if (everything)
        meter.interpolateEverything();
    if (overs)
        meter.reportOvers(overLevel, [overs](std::int64_t first, double peak) { (*overs)[first] = peak; });
    for (std::size_t start = 0; start < samples.size(); start += call)
        meter.add(samples.data() + start, static_cast<std::int64_t>(std::min(call, samples.size() - start)));
    return meter.peak();
}

struct Case {
    const char* name;
    std::function<std::vector<float>(int)> make;
};

TEST(TruePeakMeter, SkippingAndRefiningNeverChangeTheReadingOrTheOvers)
{
    const Case kCases[] = {{"tone below its peaks", toneBelowItsPeaks},
                           {"hidden bursts", hiddenBursts},
                           {"alternation with a flip", alternationWithAFlip},
                           {"sweep", sweep}};
    for (const int rate : {8000, 44100, 96000}) {
        for (const Case& signal : kCases) {
            SCOPED_TRACE(std::string(signal.name) + " at " + std::to_string(rate) + " Hz");
            const std::vector<float> samples = signal.make(rate);
            const double everything = reading(rate, samples, 16384, true);
            // Overs below the running peak need stretches the reading alone would skip.
            const double overLevel = everything / 2.0;
            Overs allOvers;
            reading(rate, samples, 16384, true, overLevel, &allOvers);
            EXPECT_FALSE(allOvers.empty());
            for (const std::size_t call : {1, 7, 64, 1000, 16384}) {
                EXPECT_EQ(reading(rate, samples, call, false), everything) << "calls of " << call;
                Overs overs;
                EXPECT_EQ(reading(rate, samples, call, false, overLevel, &overs), everything)
                    << "calls of " << call << ", reporting overs";
                EXPECT_EQ(overs, allOvers) << "calls of " << call;
            }
        }
    }
}

} // namespace
