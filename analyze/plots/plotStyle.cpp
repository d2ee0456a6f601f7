#include "analyze/plots/plotStyle.h"

std::string channelName(int channel, int channels)
{
    if (channels == 1)
        return "mono";
    if (channels == 2)
        return channel == 0 ? "left" : "right";
    return "ch " + std::to_string(channel + 1);
}
