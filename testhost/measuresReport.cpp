#include "testhost/measuresReport.h"

namespace {

struct MeasureLine {
    const char* name;
    float AnalyzerMeasures::*value;
    const char* unit;
};

// In the order of the editor's displays.
constexpr MeasureLine kLines[] = {
    {"analysed time", &AnalyzerMeasures::analysedSeconds, "s"},
    {"peak level", &AnalyzerMeasures::peakDb, "dB"},
    {"RMS level", &AnalyzerMeasures::rmsDb, "dB"},
    {"balance (right vs left)", &AnalyzerMeasures::balanceDb, "dB"},
    {"RMS to mean absolute", &AnalyzerMeasures::rmsToMeanDb, "dB"},
    {"quiet samples (< -36 dB)", &AnalyzerMeasures::quietPercent, "%"},
    {"near peak (within 3 dB)", &AnalyzerMeasures::nearPeakPercent, "%"},
    {"low band (< 250 Hz)", &AnalyzerMeasures::lowBandPercent, "%"},
    {"high band (> 3.5 kHz)", &AnalyzerMeasures::highBandPercent, "%"},
};

} // namespace

void printMeasures(const AnalyzerMeasures& measures, std::FILE* out)
{
    for (const MeasureLine& line : kLines)
        std::fprintf(out, "%-26s %9.2f %s\n", line.name, static_cast<double>(measures.*line.value),
                     line.unit);
}
