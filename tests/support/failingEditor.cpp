#include "analysis/Analyzer.h"

// Stands in for an editor whose allocation failed.
bool makeAnalyzerEditor(Analyzer&)
{
    return false;
}

void pacedEditorUpdate(Analyzer&) {}
