#pragma once

#include "analyze/AnalyzerSession.h"

#include <optional>
#include <string>
#include <vector>

struct Options {
    std::vector<std::string> files;
    bool json = false;
    // The report's file; standard output when empty.
    std::string output;
    std::string pictureFolder;
    std::string plotFolder;
    // The HTML report's file; none when empty.
    std::string htmlReport;
    int scale = 1;
    DisplayOptions display;
    bool loudness = true;
    unsigned jobs = 1;
    bool quiet = false;
};

// Exit statuses.
constexpr int kAllAnalysed = 0;
constexpr int kSomeFailed = 1;
constexpr int kUsageError = 2;

// Fills `options` from the command line. When the program should end at
// once (--help, --version, a usage error), prints what is due and returns
// the exit status.
std::optional<int> parseOptions(int argc, char** argv, Options& options);
