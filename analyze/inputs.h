#pragma once

#include <string>
#include <vector>

// One file to analyse, in the order of the command line.
struct AnalysisInput {
    std::string path;
    // Names its pictures: the file name without its extension, made unique
    // within the call by a number (song, song-2, ...).
    std::string pictureStem;
    // Set when the argument cannot be analysed at all (an empty folder).
    std::string error;
};

// Files stay as given (a missing one fails when it is analysed); a folder
// gives the audio files below it by their extension, sorted by path.
std::vector<AnalysisInput> collectInputs(const std::vector<std::string>& arguments);
