// The test host's view of a plug-in DLL: loads it the way a host does and
// calls its exported entry point.
#pragma once

#include "host/AEffect.h"

#include <initializer_list>
#include <string>

class PluginLibrary {
public:
    // The entry names are tried in order; hosts look for VSTPluginMain first.
    explicit PluginLibrary(const std::string& path,
                           std::initializer_list<const char*> entryNames = {"VSTPluginMain", "main"});
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool loaded() const { return entry != nullptr; }
    // The export that was found, or null.
    const char* entryName() const { return foundName; }
    // Calls the entry point with the host callback; null when the plug-in refuses.
    AEffect* instantiate(audioMasterCallback host) const;

private:
    using MainProc = AEffect*(ORVANE_CDECL*)(audioMasterCallback);
    void* module = nullptr;
    MainProc entry = nullptr;
    const char* foundName = nullptr;
};

// The dispatcher call as a host makes it.
VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f);
