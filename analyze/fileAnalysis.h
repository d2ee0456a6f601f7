#pragma once

#include "analyze/FileReport.h"
#include "analyze/plots/plotFiles.h"

#include <functional>
#include <string>

struct AnalysisSettings {
    int displayScale = 1;
    DisplayOptions options;
    bool loudness = true;
    // Where the pictures go; none when empty.
    std::string pictureFolder;
    // The whole-file plots: drawn when either is set; the request's stem is each file's own.
    std::string plotFolder;
    bool keepPlots = false;
    // Threads for one file: with 1 everything runs on the caller's; with
    // more, each of its meters runs on a thread of its own and the Analyzer's
    // blocks are spread over this many.
    int threads = 1;
};

// Called now and then with the share of the file read so far, 0 ... 1.
using ProgressReport = std::function<void(double)>;

// Reads the file once, streaming it through the plug-in's Analyzer and the
// loudness meters side by side, then writes its pictures and plots if asked.
// `pictureStem` names its picture and plot files.
FileReport analyseFile(const std::string& path, const std::string& pictureStem,
                       const AnalysisSettings& settings, const ProgressReport& progress);
