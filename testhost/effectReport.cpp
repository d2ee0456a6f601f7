#include "testhost/effectReport.h"

#include "host/opcodes.h"
#include "testhost/PluginLibrary.h"

#include <cstdio>
#include <utility>

namespace {

std::string fourChars(std::int32_t code)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8)
        s += static_cast<char>((code >> shift) & 0xFF);
    return s;
}

std::string flagNames(std::int32_t flags)
{
    const std::pair<std::int32_t, const char*> names[] = {{effFlagsHasEditor, "has editor"},
                                                          {effFlagsCanMono, "can mono"},
                                                          {effFlagsCanReplacing, "can replacing"}};
    std::string out;
    for (const auto& [bit, name] : names)
        if (flags & bit)
            out += (out.empty() ? "" : ", ") + std::string(name);
    return out;
}

} // namespace

std::string effectText(AEffect* effect, std::int32_t opcode)
{
    char buffer[256] = {};
    dispatch(effect, opcode, 0, 0, buffer);
    return buffer;
}

void describeEffect(AEffect* effect)
{
    std::printf("  effect name     %s\n", effectText(effect, effGetEffectName).c_str());
    std::printf("  vendor          %s\n", effectText(effect, effGetVendorString).c_str());
    std::printf("  product         %s\n", effectText(effect, effGetProductString).c_str());
    std::printf("  unique ID       '%s' (0x%08X)\n", fourChars(effect->uniqueID).c_str(),
                static_cast<unsigned>(effect->uniqueID));
    std::printf("  inputs/outputs  %d / %d\n", effect->numInputs, effect->numOutputs);
    std::printf("  flags           0x%02X (%s)\n", effect->flags, flagNames(effect->flags).c_str());
    std::printf("  programs        %d (\"%s\"), parameters %d\n", effect->numPrograms,
                effectText(effect, effGetProgramName).c_str(), effect->numParams);
    std::printf("  VST version     %d\n", static_cast<int>(dispatch(effect, effGetVstVersion)));
}
