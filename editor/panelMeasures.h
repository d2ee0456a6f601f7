// The nine measures as the editor's panel shows them, from the top: the
// label beside each display, the unit and the hint the help picture gives,
// and which of the analysis's measures it is.
#pragma once

#include "analysis/AnalysisSnapshot.h"

struct PanelMeasure {
    const char* name;
    const char* unit;
    const char* hint;
    float AnalyzerMeasures::*value;
};

constexpr int kPanelMeasureCount = 9;

// The panel calls the band shares "<500Hz" and ">7kHz"; the bands end at
// about 250 Hz and begin at about 3.5 kHz (the README explains).
inline constexpr PanelMeasure kPanelMeasures[kPanelMeasureCount] = {
    {"time", "s", "", &AnalyzerMeasures::analysedSeconds},
    {"peak", "dB", "", &AnalyzerMeasures::peakDb},
    {"rms", "dB", "", &AnalyzerMeasures::rmsDb},
    {"r/l", "dB", "", &AnalyzerMeasures::balanceDb},
    {"rms/ave", "dB", "", &AnalyzerMeasures::rmsToMeanDb},
    {"low", "%", "<-36dB", &AnalyzerMeasures::quietPercent},
    {"high", "%", ">Peak-3dB", &AnalyzerMeasures::nearPeakPercent},
    {"<500Hz", "%", "", &AnalyzerMeasures::lowBandPercent},
    {">7kHz", "%", "", &AnalyzerMeasures::highBandPercent},
};
