// The four whole-file plots, each a PNG picture of kPlotWidth x kPlotHeight
// pixels with a title, labelled axes and a legend: level over time, the
// level histogram, the long-term spectrum and the spectrogram.
#pragma once

#include "analyze/plots/FileTimeline.h"

#include <optional>
#include <string>
#include <vector>

// What the plots say about a file besides its timeline.
struct PlotCaption {
    std::string fileName;
    // Loudness figures for the level plot's title line; empty for none.
    std::string loudnessSummary;
    // The analysis's figures, once a block was analysed: its peak (dB) and
    // its shares of quiet and of near-peak samples (percent).
    std::optional<float> peakDb;
    std::optional<float> quietPercent;
    std::optional<float> nearPeakPercent;
};

using PngBytes = std::vector<unsigned char>;

PngBytes drawLevelPlot(const FileTimeline& timeline, const PlotCaption& caption);
PngBytes drawHistogramPlot(const FileTimeline& timeline, const PlotCaption& caption);
PngBytes drawSpectrumPlot(const FileTimeline& timeline, const PlotCaption& caption);
PngBytes drawSpectrogramPlot(const FileTimeline& timeline, const PlotCaption& caption);

// The level plot's range, dBFS: quieter levels are drawn at its foot.
constexpr double kLevelPlotFloorDb = -60.0;
constexpr double kLevelPlotCeilingDb = 3.0;
// True peaks above this are overs, dBTP.
constexpr double kOverThresholdDbtp = 0.0;
// The spectrogram's room on the right of its plot area, for its colour scale.
constexpr double kSpectrogramScaleMargin = 110.0;
// The analysis's quiet threshold and its near-peak distance, dB.
constexpr double kQuietBelowDb = -36.0;
constexpr double kNearPeakWithinDb = 3.0;
