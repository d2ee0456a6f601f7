// The nine measures as the editor's panel labels them, in its order, with
// the unit and the hint the help picture gives each.
#pragma once

#include "analyze/AnalyzerSession.h"

struct PanelMeasure {
    const char* name;
    const char* unit;
    const char* hint;
};

// The panel calls the band shares "<500Hz" and ">7kHz"; the bands end at
// about 250 Hz and begin at about 3.5 kHz (the README explains).
inline constexpr PanelMeasure kPanelMeasures[kPanelMeasureCount] = {
    {"time", "s", ""},          {"peak", "dB", ""},    {"rms", "dB", ""},
    {"r/l", "dB", ""},          {"rms/ave", "dB", ""}, {"low", "%", "<-36dB"},
    {"high", "%", ">Peak-3dB"}, {"<500Hz", "%", ""},   {">7kHz", "%", ""},
};
