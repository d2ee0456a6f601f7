// The plain functions behind the record's pointers, and the entry point the
// host calls first. Each finds the effect through the record's `object`.
#pragma once

#include "host/AEffect.h"

#include <cstdint>

VstIntPtr ORVANE_CDECL dispatchEntry(AEffect* record, std::int32_t opcode, std::int32_t index,
                                     VstIntPtr value, void* ptr, float opt);
void ORVANE_CDECL processEntry(AEffect* record, float** inputs, float** outputs, std::int32_t sampleFrames);
void ORVANE_CDECL processReplacingEntry(AEffect* record, float** inputs, float** outputs,
                                        std::int32_t sampleFrames);
void ORVANE_CDECL setParameterEntry(AEffect* record, std::int32_t index, float value);
float ORVANE_CDECL getParameterEntry(AEffect* record, std::int32_t index);

class Analyzer;

// The one analyzer every form makes: null without memory, or when its editor
// could not be made (the effect is then discarded). `audioMaster` is null
// where no VST 2.x host is behind it; the effect then calls no host services.
Analyzer* newAnalyzer(audioMasterCallback audioMaster);

// Exported to the host under the plain name `main` (and, in the 64-bit plug-ins,
// also as `VSTPluginMain`) by the module-definition files: a C++ function cannot
// itself be called main with this signature.
extern "C" AEffect* ORVANE_CDECL pluginMain(audioMasterCallback audioMaster);

// Process-wide values of this layer, one copy per loaded library.
extern void* moduleInstance;      // the library's module handle, for window class and resources
extern unsigned char outOfMemory; // set when an effect's editor could not be made; never cleared
