// What a Windows host calls in a VST 3 DLL, by name: InitDll after loading
// it, GetPluginFactory, and ExitDll before unloading it. The module handle
// the editor needs is kept by DllMain already (host/dllEntry.cpp), so there
// is nothing else to set up or tear down. The functions take no arguments,
// so the calling convention does not matter.
#include "vst3/AnalyzerFactory.h"

extern "C" bool InitDll()
{
    return true;
}

extern "C" bool ExitDll()
{
    return true;
}

extern "C" vst3::IPluginFactory* GetPluginFactory()
{
    return AnalyzerFactory::get();
}
