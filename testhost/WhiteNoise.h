// Deterministic white noise in [-1, 1) for the demo signal, the benchmarks
// and the tests: the same seed always gives the same samples.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class WhiteNoise {
public:
    explicit WhiteNoise(std::uint32_t seed) : state(seed) {}

    double next()
    {
        state = state * 1664525u + 1013904223u;
        return static_cast<double>(state >> 8) / 8388608.0 - 1.0;
    }

    std::vector<float> samples(std::size_t count)
    {
        std::vector<float> values(count);
        for (float& v : values)
            v = static_cast<float>(next());
        return values;
    }

private:
    std::uint32_t state;
};
