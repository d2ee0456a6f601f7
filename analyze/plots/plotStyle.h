// The look every plot shares: its size, the channels' colours and names.
#pragma once

#include <string>

struct PlotColour {
    double red;
    double green;
    double blue;
};

constexpr int kPlotWidth = 1200;
constexpr int kPlotHeight = 400;

// Left blue and right orange, as near the editor's blue and yellow as a
// white page allows; further channels in colours of their own.
constexpr PlotColour kChannelColours[] = {
    {0.12, 0.37, 0.75}, {0.90, 0.50, 0.00}, {0.16, 0.62, 0.23}, {0.78, 0.20, 0.20},
    {0.50, 0.25, 0.69}, {0.55, 0.34, 0.29}, {0.82, 0.31, 0.60}, {0.44, 0.44, 0.44},
};
constexpr int kChannelColourCount = sizeof kChannelColours / sizeof kChannelColours[0];

inline PlotColour channelColour(int channel)
{
    return kChannelColours[channel % kChannelColourCount];
}

// "left" and "right" for stereo, "mono" for one channel, else "ch 1", "ch 2" ...
std::string channelName(int channel, int channels);

constexpr PlotColour kLoudnessColour = {0.10, 0.10, 0.10};
constexpr PlotColour kOverColour = {0.85, 0.05, 0.05};
