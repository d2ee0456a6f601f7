// The test host's view of a plug-in DLL: loads it the way a host does and
// calls its exported `main`. Windows only.
#pragma once

#include "host/AEffect.h"

#include <string>

class PluginLibrary {
public:
    explicit PluginLibrary(const std::string& path);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    bool loaded() const { return entry != nullptr; }
    // Calls `main` with the host callback; null when the plug-in refuses.
    AEffect* instantiate(audioMasterCallback host) const;

private:
    using MainProc = AEffect*(ORVANE_CDECL*)(audioMasterCallback);
    void* module = nullptr;
    MainProc entry = nullptr;
};

// The dispatcher call as a host makes it.
VstIntPtr dispatch(AEffect* effect, std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0,
                   void* ptr = nullptr, float opt = 0.0f);
