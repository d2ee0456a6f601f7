// A VST 3 bundle loaded the way a host loads it: the binary for this system
// and width inside the bundle, its entry function (InitDll on Windows,
// ModuleEntry elsewhere), then GetPluginFactory; on the way out the factory
// is released, the exit function called and the library closed.
#pragma once

#include "vst3/IPluginFactory.h"

#include <string>

class Vst3Module {
public:
    explicit Vst3Module(const std::string& bundle);
    ~Vst3Module();
    Vst3Module(const Vst3Module&) = delete;
    Vst3Module& operator=(const Vst3Module&) = delete;

    // The binary the bundle has for this system and width.
    const std::string& binaryPath() const { return binary; }
    // Null when the binary did not load, lacks a function or refused.
    vst3::IPluginFactory* factory() const { return pluginFactory; }
    // What went wrong, for the report.
    const std::string& problem() const { return failure; }
    // The stem of the bundle's name ("orvane" for orvane.vst3).
    static std::string stemOf(const std::string& bundle);

private:
    void* library = nullptr;
    bool entered = false;
    vst3::IPluginFactory* pluginFactory = nullptr;
    std::string binary;
    std::string failure;
};
