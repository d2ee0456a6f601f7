#include "testhost/Vst3Module.h"

#include "testhost/sharedLibrary.h"

namespace {

#if defined(_WIN32)
constexpr const char* kSeparator = "\\";
constexpr const char* kPlatformFolder = sizeof(void*) == 8 ? "x86_64-win" : "x86-win";
constexpr const char* kExtension = ".vst3";
constexpr const char* kEntryName = "InitDll";
constexpr const char* kExitName = "ExitDll";
using EntryFunction = bool (*)();
#else
constexpr const char* kSeparator = "/";
constexpr const char* kPlatformFolder = "x86_64-linux";
constexpr const char* kExtension = ".so";
constexpr const char* kEntryName = "ModuleEntry";
constexpr const char* kExitName = "ModuleExit";
using EntryFunction = bool (*)(void*);
#endif
using ExitFunction = bool (*)();
using FactoryFunction = vst3::IPluginFactory* (*)();

bool callEntry(void* function, void* library)
{
#if defined(_WIN32)
    (void)library;
    return reinterpret_cast<EntryFunction>(function)();
#else
    return reinterpret_cast<EntryFunction>(function)(library);
#endif
}

} // namespace

std::string Vst3Module::stemOf(const std::string& bundle)
{
    std::string name = bundle;
    while (!name.empty() && (name.back() == '/' || name.back() == '\\'))
        name.pop_back();
    name = name.substr(name.find_last_of("/\\") + 1);
    return name.substr(0, name.rfind('.'));
}

Vst3Module::Vst3Module(const std::string& bundle)
{
    binary = bundle + kSeparator + "Contents" + kSeparator + kPlatformFolder + kSeparator + stemOf(bundle) +
             kExtension;
    library = openSharedLibrary(binary);
    if (!library) {
        failure = "the binary does not load";
        return;
    }
    void* entry = findExport(library, kEntryName);
    auto* getFactory = reinterpret_cast<FactoryFunction>(findExport(library, "GetPluginFactory"));
    if (!entry || !getFactory || !findExport(library, kExitName)) {
        failure = std::string("it lacks ") + kEntryName + ", " + kExitName + " or GetPluginFactory";
        return;
    }
    entered = callEntry(entry, library);
    pluginFactory = entered ? getFactory() : nullptr;
    if (!pluginFactory)
        failure = entered ? "GetPluginFactory answered null" : std::string(kEntryName) + " refused";
}

Vst3Module::~Vst3Module()
{
    if (pluginFactory)
        pluginFactory->release();
    if (entered)
        reinterpret_cast<ExitFunction>(findExport(library, kExitName))();
    if (library)
        closeSharedLibrary(library);
}
