#include "analysis/Analyzer.h"

void Analyzer::updateMeasures(std::int32_t) {}
