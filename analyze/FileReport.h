// What the analysis of one file found, or why it failed.
#pragma once

#include "analyze/AnalyzerSession.h"
#include "analyze/ChannelMeter.h"
#include "analyze/LoudnessMeter.h"
#include "analyze/Reading.h"
#include "analyze/plots/PlotImage.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct FileInfo {
    std::string format;
    int sampleRate = 0;
    int channels = 0;
    std::int64_t frames = 0;
    // The loudspeaker layout loudness weighs the channels by, as
    // ChannelLayout describes it; "none" when no layout fits.
    std::string layout;
    // One per channel: its position's short name, empty when the layout is
    // unknown.
    std::vector<std::string> channelNames;
};

struct Loudness {
    LoudnessFigures figures;
    // dBTP.
    Reading truePeak;
    // Peak-to-loudness ratio: true peak minus integrated loudness, LU; none,
    // with the reason, when either is.
    Reading plr() const
    {
        if (!truePeak.value)
            return truePeak;
        if (!figures.integrated.value)
            return figures.integrated;
        return Reading::of(*truePeak.value - *figures.integrated.value);
    }
};

struct FileReport {
    std::string path;
    // Set once the file opened as audio.
    std::optional<FileInfo> info;
    // Set once the whole file was read and measured.
    bool complete = false;
    // Set when at least one 2048-frame block was analysed.
    std::optional<PanelValues> measures;
    // Frames after the last complete block, which no host analyses either.
    std::int64_t unanalysedFrames = 0;
    std::optional<Loudness> loudness;
    // One per channel, over every frame of the file.
    std::vector<ChannelFigures> channels;
    // What a reader should know about how the file was read.
    std::vector<std::string> notes;
    std::vector<std::string> pictures;
    std::vector<PlotImage> plots;
    // Empty when everything asked for was done.
    std::string error;
};
