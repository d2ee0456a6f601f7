// What the analysis of one file found, or why it failed.
#pragma once

#include "analyze/AnalyzerSession.h"
#include "analyze/LoudnessMeter.h"
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
};

struct Loudness {
    LoudnessFigures figures;
    // dBTP.
    double truePeak = 0.0;
    // Peak-to-loudness ratio: true peak minus integrated loudness, LU.
    double plr() const { return truePeak - figures.integrated; }
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
    std::vector<std::string> pictures;
    std::vector<PlotImage> plots;
    // Empty when everything asked for was done.
    std::string error;
};
