#include "testhost/measuresReport.h"

void printMeasures(const AnalyzerMeasures&, std::FILE*) {}
