#pragma once

#include "analyze/FileReport.h"
#include "analyze/plots/FileTimeline.h"

#include <string>

struct PlotRequest {
    // Where the plots are written as <stem>-plot-level.png, -plot-histogram.png,
    // -plot-spectrum.png and -plot-spectrogram.png; nowhere when empty.
    std::string folder;
    std::string stem;
    // Keeps each plot's PNG bytes in the report, for a report that embeds them.
    bool keep = false;
};

// Draws the report's file's four plots from its timeline and adds them to
// `report.plots`; each file appears whole or not at all. Empty on success,
// else what went wrong.
std::string makePlots(const FileTimeline& timeline, const PlotRequest& request, FileReport& report);
