// The analyzer as an LV2 plug-in: two audio inputs copied to two audio
// outputs (in place allowed) and measured, through the same Analyzer and the
// same processReplacing a VST 2.x host calls. The host's run() is its audio
// thread, as process is for a VST host.
#include "analysis/Analyzer.h"
#include "host/entryPoints.h"
#include "lv2/lv2Plugin.h"
#include "lv2/lv2Uris.h"

#include <lv2/core/lv2.h>

#include <cstdint>
#include <new>

namespace {

enum Port : std::uint32_t { InputLeft = 0, InputRight = 1, OutputLeft = 2, OutputRight = 3, PortCount = 4 };

struct Instance {
    Analyzer* analyzer;
    float* ports[PortCount] = {};
};

LV2_Handle instantiate(const LV2_Descriptor*, double sampleRate, const char*, const LV2_Feature* const*)
{
    Analyzer* analyzer = newAnalyzer(nullptr);
    if (!analyzer)
        return nullptr;
    analyzer->setSampleRate(static_cast<float>(sampleRate));
    auto* instance = new (std::nothrow) Instance{analyzer};
    if (!instance)
        delete static_cast<PluginEffect*>(analyzer);
    return instance;
}

void connectPort(LV2_Handle handle, std::uint32_t port, void* data)
{
    if (port < PortCount)
        static_cast<Instance*>(handle)->ports[port] = static_cast<float*>(data);
}

void run(LV2_Handle handle, std::uint32_t frames)
{
    auto* instance = static_cast<Instance*>(handle);
    float* inputs[2] = {instance->ports[InputLeft], instance->ports[InputRight]};
    float* outputs[2] = {instance->ports[OutputLeft], instance->ports[OutputRight]};
    instance->analyzer->processReplacing(inputs, outputs, static_cast<std::int32_t>(frames));
}

void cleanup(LV2_Handle handle)
{
    auto* instance = static_cast<Instance*>(handle);
    delete static_cast<PluginEffect*>(instance->analyzer);
    delete instance;
}

const LV2_Descriptor kDescriptor = {kLv2PluginUri, instantiate, connectPort, nullptr, run, nullptr, cleanup, nullptr};

} // namespace

// The user interface reaches the analysis through the instance it gets from
// the host (instance-access).
Analyzer* analyzerOfInstance(void* handle)
{
    return handle ? static_cast<Instance*>(handle)->analyzer : nullptr;
}

extern "C" LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(std::uint32_t index)
{
    return index == 0 ? &kDescriptor : nullptr;
}
