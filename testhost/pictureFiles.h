#pragma once

#include "analysis/Analyzer.h"

#include <string>

// Renders the analyzer's four pictures and writes them as PNG files named
// <stem>-histogram.png, <stem>-spectrum.png, <stem>-levelhistory.png and
// <stem>-spectrogram.png into `folder`. False when a file cannot be written.
bool writePictures(Analyzer& analyzer, const std::string& folder, const std::string& stem);
