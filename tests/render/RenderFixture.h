// Shared set-up for the picture tests: an analyzer that has analysed one block
// at 44100 Hz, four picture buffers to render into, and pixel readers.
#pragma once

#include "analysis/Analyzer.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

using Pixel = std::array<int, 3>; // blue, green, red
constexpr int kBlue = 0;
constexpr int kGreen = 1;
constexpr int kRed = 2;
constexpr bool kBase = kDisplayScale == 1;

inline Pixel pixelOf(const std::uint8_t* picture, int x, int row)
{
    const std::uint8_t* p = picture + row * kPictureRowBytes + x * kBytesPerPixel;
    return {p[kBlue], p[kGreen], p[kRed]};
}

// The brightness of a bar or line at `position` of `length`.
inline int rising(int base, int position, int length)
{
    return base + 55 * position / length;
}

// Columns of `row` where byte `byte` of the pixel is not 0.
inline std::vector<int> litColumns(const std::uint8_t* picture, int byte, int row = 0)
{
    std::vector<int> columns;
    for (int x = 0; x < kPictureWidth; ++x)
        if (pixelOf(picture, x, row)[byte] != 0)
            columns.push_back(x);
    return columns;
}

class RenderTest : public ::testing::Test {
protected:
    RenderTest() { analyzer->analysedFrames = Analyzer::kBlockFrames; }

    void render()
    {
        analyzer->renderGraphs(histogram.data(), spectrum.data(), levelHistory.data(), spectrogram.data());
    }

    std::unique_ptr<Analyzer> analyzer = std::make_unique<Analyzer>(nullptr);
    std::vector<std::uint8_t> histogram = std::vector<std::uint8_t>(kPictureBytes);
    std::vector<std::uint8_t> spectrum = std::vector<std::uint8_t>(kPictureBytes);
    std::vector<std::uint8_t> levelHistory = std::vector<std::uint8_t>(kPictureBytes);
    std::vector<std::uint8_t> spectrogram = std::vector<std::uint8_t>(kPictureBytes);
};
