#pragma once

#include "analyze/FileReport.h"

#include <optional>

// One of the nine measures of a report, picked by the analysis's name for
// it; none when no block was analysed.
inline std::optional<float> panelValue(const FileReport& report, float AnalyzerMeasures::*measure)
{
    if (!report.measures)
        return std::nullopt;
    for (int i = 0; i < kPanelMeasureCount; ++i)
        if (kPanelMeasures[i].value == measure)
            return (*report.measures)[static_cast<std::size_t>(i)];
    return std::nullopt;
}
