#include "analyze/plots/PlotAxis.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr int kTimeTicks = 12;
constexpr long kSecondsPerMinute = 60;
// From here on the axis counts minutes and seconds.
constexpr double kMinutesFrom = 120.0;
// Steps a reader can add up in their head, in seconds.
constexpr double kTimeSteps[] = {0.001, 0.002, 0.005, 0.01, 0.02, 0.05, 0.1, 0.2, 0.5,  1,    2,   5,
                                 10,    15,    30,    60,   120,  300,  600, 900, 1800, 3600, 7200};
constexpr double kFrequencyMultiples[] = {1.0, 2.0, 5.0};
// Leaves out ticks that fall a hair beyond the range through rounding.
constexpr double kTickTolerance = 1e-9;

std::string withDecimals(double value, int decimals)
{
    // A zero that rounding left negative would read "-0".
    if (std::fabs(value) < 0.5 * std::pow(10.0, -decimals))
        value = 0.0;
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

std::string minutesAndSeconds(double seconds)
{
    const long whole = std::lround(seconds);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld", whole / kSecondsPerMinute, whole % kSecondsPerMinute);
    return text;
}

std::string frequencyLabel(double hertz)
{
    constexpr double kKilo = 1000.0;
    if (hertz >= kKilo)
        return withDecimals(hertz / kKilo, 0) + "k";
    return withDecimals(hertz, 0);
}

} // namespace

double PlotAxis::position(double value) const
{
    if (logarithmic)
        return std::log(value / low) / std::log(high / low);
    return (value - low) / (high - low);
}

double PlotAxis::valueAt(double where) const
{
    if (logarithmic)
        return low * std::pow(high / low, where);
    return low + where * (high - low);
}

double roundStep(double span, int maxSteps)
{
    const double magnitude = std::pow(10.0, std::floor(std::log10(span / maxSteps)));
    for (const double multiple : {1.0, 2.0, 5.0, 10.0})
        if (span / (multiple * magnitude) <= maxSteps)
            return multiple * magnitude;
    return 10.0 * magnitude;
}

PlotAxis linearAxis(double low, double high, double step, int decimals, std::string label)
{
    PlotAxis axis{low, high, false, {}, std::move(label)};
    const double first = std::ceil(low / step - kTickTolerance);
    for (double i = first; i * step <= high + step * kTickTolerance; ++i)
        axis.ticks.push_back({i * step, withDecimals(i * step, decimals)});
    return axis;
}

PlotAxis timeAxis(double seconds)
{
    double step = kTimeSteps[0];
    for (const double candidate : kTimeSteps) {
        step = candidate;
        if (seconds / candidate <= kTimeTicks)
            break;
    }
    if (seconds < kMinutesFrom) {
        const int decimals = step < 1.0 ? static_cast<int>(std::ceil(-std::log10(step) - kTickTolerance)) : 0;
        return linearAxis(0.0, seconds, step, decimals, "time (s)");
    }
    PlotAxis axis = linearAxis(0.0, seconds, step, 0, "time (min:s)");
    for (AxisTick& tick : axis.ticks)
        tick.label = minutesAndSeconds(tick.value);
    return axis;
}

PlotAxis frequencyAxis(double low, double high)
{
    PlotAxis axis{low, high, true, {}, "frequency (Hz)"};
    for (double decade = std::pow(10.0, std::floor(std::log10(low))); decade <= high; decade *= 10.0)
        for (const double multiple : kFrequencyMultiples) {
            const double value = decade * multiple;
            if (value >= low * (1.0 - kTickTolerance) && value <= high * (1.0 + kTickTolerance))
                axis.ticks.push_back({value, frequencyLabel(value)});
        }
    return axis;
}
