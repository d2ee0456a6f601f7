#include "analysis/Analyzer.h"

void Analyzer::buildColourMap() {}
void Analyzer::colourFor(float, std::uint8_t*, std::uint8_t*, std::uint8_t*) {}
void Analyzer::renderGraphs(std::uint8_t*, std::uint8_t*, std::uint8_t*, std::uint8_t*) {}
