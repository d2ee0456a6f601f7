#include "analyze/ChannelLayout.h"

#include <sndfile.h>

#include <algorithm>
#include <iterator>

namespace {

constexpr double kFront = 1.0;
constexpr double kSurround = 1.41;
constexpr double kLeftOut = 0.0;

struct Position {
    int code;
    const char* name;
    double weight;
    // Ambisonic components are parts of a sound field, not loudspeaker feeds.
    bool loudspeaker = true;
};

// Elevated channels weigh as front ones; BS.1770-4 raises only those beside
// and behind the listener.
constexpr Position kPositions[] = {
    {SF_CHANNEL_MAP_MONO, "M", kFront},
    {SF_CHANNEL_MAP_LEFT, "L", kFront},
    {SF_CHANNEL_MAP_RIGHT, "R", kFront},
    {SF_CHANNEL_MAP_CENTER, "C", kFront},
    {SF_CHANNEL_MAP_FRONT_LEFT, "FL", kFront},
    {SF_CHANNEL_MAP_FRONT_RIGHT, "FR", kFront},
    {SF_CHANNEL_MAP_FRONT_CENTER, "FC", kFront},
    {SF_CHANNEL_MAP_REAR_CENTER, "BC", kSurround},
    {SF_CHANNEL_MAP_REAR_LEFT, "BL", kSurround},
    {SF_CHANNEL_MAP_REAR_RIGHT, "BR", kSurround},
    {SF_CHANNEL_MAP_LFE, "LFE", kLeftOut},
    {SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER, "FLC", kFront},
    {SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER, "FRC", kFront},
    {SF_CHANNEL_MAP_SIDE_LEFT, "SL", kSurround},
    {SF_CHANNEL_MAP_SIDE_RIGHT, "SR", kSurround},
    {SF_CHANNEL_MAP_TOP_CENTER, "TC", kFront},
    {SF_CHANNEL_MAP_TOP_FRONT_LEFT, "TFL", kFront},
    {SF_CHANNEL_MAP_TOP_FRONT_RIGHT, "TFR", kFront},
    {SF_CHANNEL_MAP_TOP_FRONT_CENTER, "TFC", kFront},
    {SF_CHANNEL_MAP_TOP_REAR_LEFT, "TBL", kFront},
    {SF_CHANNEL_MAP_TOP_REAR_RIGHT, "TBR", kFront},
    {SF_CHANNEL_MAP_TOP_REAR_CENTER, "TBC", kFront},
    {SF_CHANNEL_MAP_AMBISONIC_B_W, "W", kLeftOut, false},
    {SF_CHANNEL_MAP_AMBISONIC_B_X, "X", kLeftOut, false},
    {SF_CHANNEL_MAP_AMBISONIC_B_Y, "Y", kLeftOut, false},
    {SF_CHANNEL_MAP_AMBISONIC_B_Z, "Z", kLeftOut, false},
};

struct UsualLayout {
    const char* name;
    std::vector<int> positions;
};

// By channel count, in the order of WAVE_FORMAT_EXTENSIBLE's masks and FLAC.
const UsualLayout kUsualLayouts[] = {
    {"mono", {SF_CHANNEL_MAP_MONO}},
    {"stereo", {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT}},
    {"3.0", {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_CENTER}},
    {"quad",
     {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_REAR_LEFT, SF_CHANNEL_MAP_REAR_RIGHT}},
    {"5.0",
     {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_CENTER, SF_CHANNEL_MAP_REAR_LEFT,
      SF_CHANNEL_MAP_REAR_RIGHT}},
    {"5.1",
     {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_CENTER, SF_CHANNEL_MAP_LFE,
      SF_CHANNEL_MAP_REAR_LEFT, SF_CHANNEL_MAP_REAR_RIGHT}},
    {"6.1",
     {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_CENTER, SF_CHANNEL_MAP_LFE,
      SF_CHANNEL_MAP_REAR_CENTER, SF_CHANNEL_MAP_SIDE_LEFT, SF_CHANNEL_MAP_SIDE_RIGHT}},
    {"7.1",
     {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_CENTER, SF_CHANNEL_MAP_LFE,
      SF_CHANNEL_MAP_REAR_LEFT, SF_CHANNEL_MAP_REAR_RIGHT, SF_CHANNEL_MAP_SIDE_LEFT,
      SF_CHANNEL_MAP_SIDE_RIGHT}},
};

const Position* positionOf(int code)
{
    const auto found = std::find_if(std::begin(kPositions), std::end(kPositions),
                                    [code](const Position& position) { return position.code == code; });
    return found == std::end(kPositions) ? nullptr : found;
}

// A map that leaves a channel unnamed (a mask with fewer bits than channels)
// says too little to go by.
bool namesEveryChannel(const std::vector<int>& map)
{
    return !map.empty() &&
           std::all_of(map.begin(), map.end(), [](int code) { return positionOf(code) != nullptr; });
}

} // namespace

ChannelLayout::ChannelLayout(int channels, const std::vector<int>& map)
{
    if (namesEveryChannel(map) && static_cast<int>(map.size()) == channels) {
        const auto usual =
            std::find_if(std::begin(kUsualLayouts), std::end(kUsualLayouts),
                         [&map](const UsualLayout& layout) { return layout.positions == map; });
        if (usual != std::end(kUsualLayouts))
            name = usual->name;
        source = "from the file's channel map";
        takePositions(map);
        return;
    }
    if (channels < 1 || channels > static_cast<int>(std::size(kUsualLayouts))) {
        reason = "no usual loudspeaker layout for " + std::to_string(channels) +
                 " channels, and the file has no channel map";
        return;
    }
    const UsualLayout& usual = kUsualLayouts[channels - 1];
    name = usual.name;
    source = "usual for " + std::to_string(channels) + (channels == 1 ? " channel" : " channels");
    takePositions(usual.positions);
}

void ChannelLayout::takePositions(const std::vector<int>& positions)
{
    bool loudspeakers = true;
    for (const int code : positions) {
        const Position* position = positionOf(code);
        channelNames.push_back(position->name);
        channelWeights.push_back(position->weight);
        loudspeakers = loudspeakers && position->loudspeaker;
    }
    if (!loudspeakers)
        reason = "ambisonic B-format channels have no loudspeaker positions to weigh";
    else if (std::all_of(channelWeights.begin(), channelWeights.end(),
                         [](double w) { return w == kLeftOut; }))
        reason = "loudness leaves out LFE channels, and the file has no other";
}

std::string ChannelLayout::description() const
{
    std::string positions;
    for (const std::string& channel : channelNames)
        positions += (positions.empty() ? "" : " ") + channel;
    if (positions.empty())
        return "none";
    return (name.empty() ? positions : name + " (" + positions + ")") + ", " + source;
}
