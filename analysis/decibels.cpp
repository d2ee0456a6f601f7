#include "analysis/decibels.h"

#include <cmath>

double toDecibels(float x)
{
    return x > 0.0f ? 20.0 * std::log10(static_cast<double>(x)) : kDecibelFloor;
}
