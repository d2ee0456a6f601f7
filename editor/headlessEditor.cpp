#include "analysis/Analyzer.h"

// Builds without a window system (the native test build) run the effect
// without an editor, which is not a failure.
bool makeAnalyzerEditor(Analyzer&)
{
    return true;
}

void pacedEditorUpdate(Analyzer&) {}
