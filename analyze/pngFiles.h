#pragma once

#include "analyze/AnalyzerSession.h"

#include <string>
#include <vector>

// Writes the four pictures as <folder>/<stem>-histogram.png, -spectrum.png,
// -levelhistory.png and -spectrogram.png, each whole or not at all, and adds
// the written paths to `written`. Empty on success, else what went wrong.
std::string writePictures(const PictureSet& pictures, const std::string& folder, const std::string& stem,
                          std::vector<std::string>& written);
