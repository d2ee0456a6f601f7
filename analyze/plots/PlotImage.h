#pragma once

#include <string>
#include <vector>

// One whole-file plot of a file: which it is, where it was written (empty
// when it was not) and, when a report embeds it, its PNG bytes.
struct PlotImage {
    std::string kind;
    std::string path;
    std::vector<unsigned char> png;
};
