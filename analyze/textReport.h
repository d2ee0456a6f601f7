#pragma once

#include "analyze/FileReport.h"

#include <string>

// A readable block for one analysed file: its format, the nine measures with
// the loudness figures beside them, and notes on what was left out. Nothing
// for a file that could not be read through; its error goes to standard error.
std::string textReport(const FileReport& report);
