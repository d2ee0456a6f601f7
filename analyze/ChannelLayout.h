// Where each channel of a file plays, and so how much it weighs in its
// loudness (ITU-R BS.1770-4): front channels 1.0, the LFE channel nothing,
// surround, side and back channels 1.41. The positions come from the file's
// own channel map where it has one, else from the usual layout for the count
// in the order WAV and FLAC use.
#pragma once

#include <string>
#include <vector>

class ChannelLayout {
public:
    // `map` holds libsndfile's SF_CHANNEL_MAP_* positions, or is empty when
    // the file names none.
    ChannelLayout(int channels, const std::vector<int>& map);

    // Empty when loudness can be weighted; else why not.
    const std::string& refusal() const { return reason; }
    // One per channel; the short names ffmpeg uses ("FL", "LFE", "BL", "M").
    const std::vector<std::string>& names() const { return channelNames; }
    // One per channel; 0 for channels loudness leaves out.
    const std::vector<double>& weights() const { return channelWeights; }
    // "5.1 (L R C LFE BL BR), usual for 6 channels" or "L R C LFE SL SR,
    // from the file's channel map"; what the report names.
    std::string description() const;

private:
    void takePositions(const std::vector<int>& positions);

    std::string name;
    std::string source;
    std::vector<std::string> channelNames;
    std::vector<double> channelWeights;
    std::string reason;
};
