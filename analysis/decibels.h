#pragma once

// Level shown for silence, and for anything else that is not above 0.
constexpr double kDecibelFloor = -96.0;

// 20 * log10(x) for x above 0, else the floor; not limited otherwise.
double toDecibels(float x);
