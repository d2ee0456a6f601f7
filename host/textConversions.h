// Fixed-width texts for parameter displays: at most eight characters and the
// terminator, so the caller's buffer must hold 9 bytes. Plain functions so the
// effect base and its tests share one implementation.
#pragma once

#include <cstdint>

// Shown for values whose digits do not fit into the eight characters.
constexpr const char* kOverflowText = " Huge!  ";

// Decimal text with the digits truncated, never rounded: 1.5 gives "1.500000".
void formatReal(float value, char* text);

// "%7d" cut to eight characters, or the overflow text from 100000000 on.
void formatInteger(std::int32_t value, char* text);

// 20 * log10(value) as formatReal does it, or "  -oo   " for values not above 0.
void formatDecibels(float value, char* text);
