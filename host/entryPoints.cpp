#include "host/entryPoints.h"

#include "analysis/Analyzer.h"
#include "host/opcodes.h"

#include <new>

void* moduleInstance = nullptr;
unsigned char outOfMemory = 0;

VstIntPtr ORVANE_CDECL dispatchEntry(AEffect* record, std::int32_t opcode, std::int32_t index,
                                     VstIntPtr value, void* ptr, float opt)
{
    PluginEffect* effect = PluginEffect::fromRecord(record);
    if (opcode == effClose) {
        effect->dispatcher(opcode, index, value, ptr, opt);
        // The record lives inside the effect: the host must not touch it after this.
        delete effect;
        return 1;
    }
    return effect->dispatcher(opcode, index, value, ptr, opt);
}

void ORVANE_CDECL processEntry(AEffect* record, float** inputs, float** outputs, std::int32_t sampleFrames)
{
    PluginEffect::fromRecord(record)->process(inputs, outputs, sampleFrames);
}

void ORVANE_CDECL processReplacingEntry(AEffect* record, float** inputs, float** outputs,
                                        std::int32_t sampleFrames)
{
    PluginEffect::fromRecord(record)->processReplacing(inputs, outputs, sampleFrames);
}

void ORVANE_CDECL setParameterEntry(AEffect* record, std::int32_t index, float value)
{
    PluginEffect::fromRecord(record)->setParameter(index, value);
}

float ORVANE_CDECL getParameterEntry(AEffect* record, std::int32_t index)
{
    return PluginEffect::fromRecord(record)->getParameter(index);
}

Analyzer* newAnalyzer(audioMasterCallback audioMaster)
{
    Analyzer* effect = new (std::nothrow) Analyzer(audioMaster);
    if (effect && outOfMemory) {
        delete static_cast<PluginEffect*>(effect);
        return nullptr;
    }
    return effect;
}

extern "C" AEffect* ORVANE_CDECL pluginMain(audioMasterCallback audioMaster)
{
    // A host that does not report a version is not one we can talk to.
    if (audioMaster(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    Analyzer* effect = newAnalyzer(audioMaster);
    return effect ? effect->record() : nullptr;
}
