// What a Linux host calls in a VST 3 shared object, by name: ModuleEntry
// with the library's handle after loading it, GetPluginFactory, and
// ModuleExit before unloading it. The editor's pictures are compiled in, so
// the handle is not needed and there is nothing to set up or tear down.
#include "vst3/AnalyzerFactory.h"

#define ORVANE_EXPORT extern "C" __attribute__((visibility("default")))

ORVANE_EXPORT bool ModuleEntry(void*)
{
    return true;
}

ORVANE_EXPORT bool ModuleExit()
{
    return true;
}

ORVANE_EXPORT vst3::IPluginFactory* GetPluginFactory()
{
    return AnalyzerFactory::get();
}
