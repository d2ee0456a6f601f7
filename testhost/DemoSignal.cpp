#include "testhost/DemoSignal.h"
#include "testhost/WhiteNoise.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kSilenceSeconds = 0.75;
constexpr double kBeatSeconds = 0.5;
constexpr double kDrive = 1.6;

constexpr std::uint32_t kNoiseSeed = 12345u;

double kick(double t)
{
    const double inBeat = std::fmod(t, kBeatSeconds);
    const double phase = 2.0 * kPi * (50.0 * inBeat + 70.0 * (1.0 - std::exp(-inBeat * 30.0)) / 30.0);
    return 0.9 * std::exp(-inBeat * 9.0) * std::sin(phase);
}

double bass(double t)
{
    const double pump = 1.0 - 0.6 * std::exp(-std::fmod(t, kBeatSeconds) * 12.0);
    const double f = 55.0;
    return 0.35 * pump * (std::sin(2 * kPi * f * t) + 0.3 * std::sin(4 * kPi * f * t));
}

double chordVoice(double t, double f)
{
    return 0.08 * std::sin(2 * kPi * f * t) * (0.7 + 0.3 * std::sin(2 * kPi * 0.25 * t));
}

} // namespace

DemoSignal DemoSignal::make(double seconds)
{
    const auto frames = static_cast<std::size_t>(seconds * kSampleRate);
    const auto soundFrames =
        static_cast<std::size_t>(std::fmax(0.0, seconds - kSilenceSeconds) * kSampleRate);
    DemoSignal signal;
    signal.left.assign(frames, 0.0f);
    signal.right.assign(frames, 0.0f);
    WhiteNoise noise(kNoiseSeed);
    double previousNoise = 0.0;
    for (std::size_t i = 0; i < soundFrames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double white = noise.next();
        const double hiss = white - previousNoise; // first difference: a bright, hi-hat-like noise
        previousNoise = white;
        const double hat = 0.25 * std::exp(-std::fmod(t + 0.25, kBeatSeconds / 2) * 40.0) * hiss;
        const double centre = kick(t) + bass(t);
        const double left = centre + chordVoice(t, 220.0) + chordVoice(t, 329.63) + 0.6 * hat + 0.01 * white;
        const double right = centre + chordVoice(t, 277.18) + chordVoice(t, 440.0) + 0.9 * hat + 0.01 * white;
        // Saturation keeps every sample inside full scale, as a limiter would.
        signal.left[i] = static_cast<float>(std::tanh(kDrive * left));
        signal.right[i] = static_cast<float>(std::tanh(kDrive * right));
    }
    return signal;
}
