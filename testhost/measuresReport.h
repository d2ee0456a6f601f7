#pragma once

#include "analysis/Analyzer.h"

#include <cstdio>

// Prints the nine measures with their names and units, one per line.
void printMeasures(const AnalyzerMeasures& measures, std::FILE* out);
