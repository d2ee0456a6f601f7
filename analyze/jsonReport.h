#pragma once

#include "analyze/FileReport.h"

#include <string>

// One file as a JSON object: file, format, sample rate, channels, the
// loudspeaker layout, frames, duration, the nine measures under their panel
// names, the loudness figures and each channel's peak, RMS and true peak,
// each as {"value", "unit"}, notes on how it was read, the pictures
// written, and "error" (null when all went well). A figure that could not
// be measured has a null value and a "reason". Text that is not valid UTF-8
// (a file name, say) has its invalid bytes replaced by U+FFFD.
std::string jsonReport(const FileReport& report);
