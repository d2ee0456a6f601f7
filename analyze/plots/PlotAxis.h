// One axis of a plot: its range, linear or logarithmic, and its ticks with
// their labels. position() maps a value to 0 at the axis's start and 1 at
// its end; values outside fall outside 0 ... 1.
#pragma once

#include <string>
#include <vector>

struct AxisTick {
    double value;
    std::string label;
};

struct PlotAxis {
    double low = 0.0;
    double high = 1.0;
    bool logarithmic = false;
    std::vector<AxisTick> ticks;
    std::string label;

    double position(double value) const;
    // The inverse of position.
    double valueAt(double position) const;
};

// Every `step` from the first multiple at or above `low` to `high`, labelled
// with `decimals` decimals.
PlotAxis linearAxis(double low, double high, double step, int decimals, std::string label);
// A time axis over `seconds`, with about ten round steps, in seconds or as
// minutes and seconds for longer files.
PlotAxis timeAxis(double seconds);
// Frequencies from `low` to `high` Hz on a logarithmic axis, ticks at 1, 2
// and 5 times powers of ten.
PlotAxis frequencyAxis(double low, double high);
// The step among 1, 2 and 5 times powers of ten that divides `span` into at
// most `maxSteps` steps.
double roundStep(double span, int maxSteps);
