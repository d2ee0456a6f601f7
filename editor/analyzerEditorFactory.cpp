#include "analysis/Analyzer.h"
#include "editor/AnalyzerEditor.h"

#include <new>

// The editor registers itself with the analyzer, which owns it from then on.
bool makeAnalyzerEditor(Analyzer& analyzer)
{
    return new (std::nothrow) AnalyzerEditor(analyzer) != nullptr;
}

void pacedEditorUpdate(Analyzer& analyzer)
{
    if (PluginEditor* editor = analyzer.getEditor())
        static_cast<AnalyzerEditor*>(editor)->pacedUpdate();
}
