#include "host/textConversions.h"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kTextWidth = 8;
// The digit loops divide by multiplying with the double nearest to one tenth.
constexpr double kTenth = 0.1;

char digitOf(double v)
{
    return static_cast<char>('0' + static_cast<int>(std::trunc(std::fmod(v, 10.0))));
}

} // namespace

void formatReal(float value, char* text)
{
    double v = value;
    const bool negative = v < 0.0;
    int count = negative ? 1 : 0;
    if (negative)
        v = -v;
    // Eight characters hold seven integer digits and the point, one fewer with a
    // sign; longer integer parts would lose their leading digits, so they and
    // values that are not numbers show the overflow text.
    const double limit = negative ? 1000000.0 : 10000000.0;
    if (!(v < limit)) {
        std::strcpy(text, kOverflowText);
        return;
    }

    char buffer[kTextWidth + 1];
    int start = kTextWidth;
    buffer[--start] = '.';
    double n = std::floor(v);
    buffer[--start] = digitOf(n);
    n *= kTenth;
    count += 2;
    while (n >= 1.0 && count < kTextWidth) {
        buffer[--start] = digitOf(n);
        n *= kTenth;
        ++count;
    }
    if (negative)
        buffer[--start] = '-';

    char* out = text;
    for (int i = start; i < kTextWidth; ++i)
        *out++ = buffer[i];
    if (count < kTextWidth) {
        const int digits = kTextWidth - count;
        double m = std::fmod(v, 1.0) * std::pow(10.0, digits);
        for (int i = digits - 1; i >= 0; --i) {
            if (m <= 0.0) {
                out[i] = '0';
            } else {
                out[i] = digitOf(m);
                m *= kTenth;
            }
        }
        out += digits;
    }
    *out = '\0';
}

void formatInteger(std::int32_t value, char* text)
{
    if (value >= 100000000) {
        std::strcpy(text, kOverflowText);
        return;
    }
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%7d", static_cast<int>(value));
    std::memcpy(text, buffer, kTextWidth);
    text[kTextWidth] = '\0';
}

void formatDecibels(float value, char* text)
{
    if (!(value > 0.0f)) {
        std::strcpy(text, "  -oo   ");
        return;
    }
    formatReal(static_cast<float>(20.0 * (std::log10(2.0) * std::log2(static_cast<double>(value)))), text);
}
