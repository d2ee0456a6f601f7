#include "testhost/PluginLibrary.h"

#include <windows.h>

PluginLibrary::PluginLibrary(const std::string& path, std::initializer_list<const char*> entryNames)
{
    HMODULE handle = LoadLibraryA(path.c_str());
    module = handle;
    if (!handle)
        return;
    for (const char* name : entryNames) {
        entry = reinterpret_cast<MainProc>(reinterpret_cast<void*>(GetProcAddress(handle, name)));
        if (entry) {
            foundName = name;
            return;
        }
    }
}

PluginLibrary::~PluginLibrary()
{
    if (module)
        FreeLibrary(static_cast<HMODULE>(module));
}

AEffect* PluginLibrary::instantiate(audioMasterCallback host) const
{
    return entry ? entry(host) : nullptr;
}

VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                   float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}
