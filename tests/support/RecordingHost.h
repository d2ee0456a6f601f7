// A host callback for tests: records every call and answers from a table the
// test fills. One process-wide recorder, since the callback carries no context.
#pragma once

#include "host/AEffect.h"

#include <cstdint>
#include <map>
#include <vector>

struct HostCall {
    AEffect* effect;
    std::int32_t opcode;
    std::int32_t index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

class RecordingHost {
public:
    static VstIntPtr ORVANE_CDECL callback(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                           VstIntPtr value, void* ptr, float opt);

    // Forgets the calls and the answers; the version answer goes back to 2400.
    static void clear();
    static void answer(std::int32_t opcode, VstIntPtr result);
    static const std::vector<HostCall>& calls();
    static std::vector<HostCall> callsOf(std::int32_t opcode);
};
