#pragma once

#include "analyze/FileReport.h"

#include <string>

// One file as a JSON object: file, format, sample rate, channels, frames,
// duration, the nine measures under their panel names and the loudness
// figures, each as {"value", "unit"}, the pictures written, and "error"
// (null when all went well). Figures that are minus infinity (the loudness
// of silence) are null. Text that is not valid UTF-8 (a file name, say)
// has its invalid bytes replaced by U+FFFD.
std::string jsonReport(const FileReport& report);
