#include "testhost/PluginLibrary.h"

#include "testhost/sharedLibrary.h"

PluginLibrary::PluginLibrary(const std::string& path, std::initializer_list<const char*> entryNames)
    : module(openSharedLibrary(path))
{
    if (!module)
        return;
    for (const char* name : entryNames) {
        entry = reinterpret_cast<MainProc>(findExport(module, name));
        if (entry) {
            foundName = name;
            return;
        }
    }
}

PluginLibrary::~PluginLibrary()
{
    if (module)
        closeSharedLibrary(module);
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
