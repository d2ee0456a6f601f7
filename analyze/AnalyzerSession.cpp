#include "analyze/AnalyzerSession.h"

std::unique_ptr<AnalyzerSession> makeAnalyzerSession(int displayScale, const SessionSettings& settings)
{
    switch (displayScale) {
    case 1:
        return makeAnalyzerSessionScale1(settings);
    case 2:
        return makeAnalyzerSessionScale2(settings);
    default:
        return nullptr;
    }
}
