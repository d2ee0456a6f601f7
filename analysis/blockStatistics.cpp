#include "analysis/Analyzer.h"

void Analyzer::analyseBlock(std::int32_t) {}
