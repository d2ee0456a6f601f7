#pragma once
#include <cstdint>
void fillHammingWindow(std::uint32_t n, float* out);
