#include "analyze/KWeighting.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

// The analogue filters behind BS.1770's 48 kHz coefficients.
constexpr double kShelfFrequency = 1681.974450955533;
constexpr double kShelfGainDb = 3.999843853973347;
constexpr double kShelfQ = 0.7071752369554196;
// How far the shelf's band-edge gain sits between 1 and its full gain (in
// the exponent of the full gain).
constexpr double kShelfBandExponent = 0.4996667741545416;
constexpr double kHighPassFrequency = 38.13547087602444;
constexpr double kHighPassQ = 0.5003270373238773;

// After sound stops, the filters' state decays towards zero; held far below
// anything audible it is cleared before it reaches the slow denormal range.
constexpr double kNegligibleState = 1e-30;

} // namespace

double KWeighting::lowestRate()
{
    return 2.0 * kShelfFrequency;
}

KWeighting::KWeighting(double sampleRate)
{
    const double k = std::tan(kPi * kShelfFrequency / sampleRate);
    const double gain = std::pow(10.0, kShelfGainDb / 20.0);
    const double bandGain = std::pow(gain, kShelfBandExponent);
    const double a0 = 1.0 + k / kShelfQ + k * k;
    shelf = {(gain + bandGain * k / kShelfQ + k * k) / a0, 2.0 * (k * k - gain) / a0,
             (gain - bandGain * k / kShelfQ + k * k) / a0, 2.0 * (k * k - 1.0) / a0,
             (1.0 - k / kShelfQ + k * k) / a0};

    // The standard keeps the high-pass's numerator at 1, -2, 1 unscaled; its
    // loudness offset of -0.691 dB allows for that gain.
    const double h = std::tan(kPi * kHighPassFrequency / sampleRate);
    const double h0 = 1.0 + h / kHighPassQ + h * h;
    highPass = {1.0, -2.0, 1.0, 2.0 * (h * h - 1.0) / h0, (1.0 - h / kHighPassQ + h * h) / h0};
}

double KWeighting::sumOfSquares(const float* samples, std::int64_t frames, int stride, double sum)
{
    double s1 = shelfState[0], s2 = shelfState[1];
    double t1 = highPassState[0], t2 = highPassState[1];
    for (std::int64_t i = 0; i < frames; ++i) {
        const double x = samples[i * stride];
        const double y = shelf.b0 * x + s1;
        s1 = shelf.b1 * x - shelf.a1 * y + s2;
        s2 = shelf.b2 * x - shelf.a2 * y;
        const double z = highPass.b0 * y + t1;
        t1 = highPass.b1 * y - highPass.a1 * z + t2;
        t2 = highPass.b2 * y - highPass.a2 * z;
        sum += z * z;
    }
    if (std::fabs(s1) + std::fabs(s2) + std::fabs(t1) + std::fabs(t2) < kNegligibleState)
        s1 = s2 = t1 = t2 = 0.0;
    shelfState[0] = s1;
    shelfState[1] = s2;
    highPassState[0] = t1;
    highPassState[1] = t2;
    return sum;
}
