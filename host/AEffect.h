// The effect record a VST 2.x host drives, and the few plain types that cross
// the host boundary with it. Written from the public description of the
// standard: integers are 32 bits, addresses are the platform's pointers; the
// record is exactly 144 bytes in the 32-bit plug-ins and 192 in the 64-bit ones.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32) && !defined(_WIN64)
#define ORVANE_CDECL __cdecl
#else
#define ORVANE_CDECL
#endif

// Integer as wide as an address: the standard passes addresses and sizes through
// the generic `value` argument and the results, so 64-bit hosts pass 64 bits there.
using VstIntPtr = std::intptr_t;

struct AEffect;

using audioMasterCallback = VstIntPtr(ORVANE_CDECL*)(AEffect* effect, std::int32_t opcode, std::int32_t index,
                                                     VstIntPtr value, void* ptr, float opt);
using AEffectDispatcherProc = VstIntPtr(ORVANE_CDECL*)(AEffect* effect, std::int32_t opcode,
                                                       std::int32_t index, VstIntPtr value, void* ptr,
                                                       float opt);
using AEffectProcessProc = void(ORVANE_CDECL*)(AEffect* effect, float** inputs, float** outputs,
                                               std::int32_t sampleFrames);
using AEffectSetParameterProc = void(ORVANE_CDECL*)(AEffect* effect, std::int32_t index, float value);
using AEffectGetParameterProc = float(ORVANE_CDECL*)(AEffect* effect, std::int32_t index);

// Four-character codes are int32 values with the first character in the top byte.
constexpr std::int32_t fourCharCode(char a, char b, char c, char d)
{
    return static_cast<std::int32_t>((static_cast<std::uint32_t>(static_cast<unsigned char>(a)) << 24) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(b)) << 16) |
                                     (static_cast<std::uint32_t>(static_cast<unsigned char>(c)) << 8) |
                                     static_cast<std::uint32_t>(static_cast<unsigned char>(d)));
}

constexpr std::int32_t kEffectMagic = fourCharCode('V', 's', 't', 'P');

enum EffectFlags : std::int32_t {
    effFlagsHasEditor = 0x001,
    effFlagsHasClip = 0x002,
    effFlagsHasVu = 0x004,
    effFlagsCanMono = 0x008,
    effFlagsCanReplacing = 0x010,
    effFlagsProgramChunks = 0x020,
    effFlagsIsSynth = 0x100,
    effFlagsNoSoundInStop = 0x200,
    effFlagsExtIsAsync = 0x400,
    effFlagsExtHasBuffer = 0x800,
};

struct AEffect {
    std::int32_t magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    std::int32_t numPrograms;
    std::int32_t numParams;
    std::int32_t numInputs;
    std::int32_t numOutputs;
    std::int32_t flags;
    VstIntPtr resvd1;
    VstIntPtr resvd2;
    std::int32_t initialDelay;
    std::int32_t realQualities;
    std::int32_t offQualities;
    float ioRatio;
    void* object;
    void* user;
    std::int32_t uniqueID;
    std::int32_t version;
    AEffectProcessProc processReplacing;
    // Zero up to the record's end: 60 bytes in 32-bit hosts, 64 in 64-bit ones.
    char reserved[sizeof(void*) == 8 ? 64 : 60];
};

#if UINTPTR_MAX == 0xFFFFFFFFu
// The host reads these offsets; a 32-bit build that moved one would load and misbehave.
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 4);
static_assert(offsetof(AEffect, process) == 8);
static_assert(offsetof(AEffect, setParameter) == 12);
static_assert(offsetof(AEffect, getParameter) == 16);
static_assert(offsetof(AEffect, numPrograms) == 20);
static_assert(offsetof(AEffect, numParams) == 24);
static_assert(offsetof(AEffect, numInputs) == 28);
static_assert(offsetof(AEffect, numOutputs) == 32);
static_assert(offsetof(AEffect, flags) == 36);
static_assert(offsetof(AEffect, resvd1) == 40);
static_assert(offsetof(AEffect, resvd2) == 44);
static_assert(offsetof(AEffect, initialDelay) == 48);
static_assert(offsetof(AEffect, realQualities) == 52);
static_assert(offsetof(AEffect, offQualities) == 56);
static_assert(offsetof(AEffect, ioRatio) == 60);
static_assert(offsetof(AEffect, object) == 64);
static_assert(offsetof(AEffect, user) == 68);
static_assert(offsetof(AEffect, uniqueID) == 72);
static_assert(offsetof(AEffect, version) == 76);
static_assert(offsetof(AEffect, processReplacing) == 80);
static_assert(offsetof(AEffect, reserved) == 84);
static_assert(sizeof(AEffect) == 144);
#elif UINTPTR_MAX == 0xFFFFFFFFFFFFFFFFu
// 64-bit hosts read pointer-sized pointers and reserved fields; the integers stay 32-bit.
static_assert(offsetof(AEffect, magic) == 0);
static_assert(offsetof(AEffect, dispatcher) == 8);
static_assert(offsetof(AEffect, process) == 16);
static_assert(offsetof(AEffect, setParameter) == 24);
static_assert(offsetof(AEffect, getParameter) == 32);
static_assert(offsetof(AEffect, numPrograms) == 40);
static_assert(offsetof(AEffect, numParams) == 44);
static_assert(offsetof(AEffect, numInputs) == 48);
static_assert(offsetof(AEffect, numOutputs) == 52);
static_assert(offsetof(AEffect, flags) == 56);
static_assert(offsetof(AEffect, resvd1) == 64);
static_assert(offsetof(AEffect, resvd2) == 72);
static_assert(offsetof(AEffect, initialDelay) == 80);
static_assert(offsetof(AEffect, realQualities) == 84);
static_assert(offsetof(AEffect, offQualities) == 88);
static_assert(offsetof(AEffect, ioRatio) == 92);
static_assert(offsetof(AEffect, object) == 96);
static_assert(offsetof(AEffect, user) == 104);
static_assert(offsetof(AEffect, uniqueID) == 112);
static_assert(offsetof(AEffect, version) == 116);
static_assert(offsetof(AEffect, processReplacing) == 120);
static_assert(offsetof(AEffect, reserved) == 128);
static_assert(sizeof(AEffect) == 192);
#else
#error "The effect record has a layout only for 32-bit and 64-bit addresses"
#endif

// The key record the dispatcher builds for the editor's key opcodes.
struct VstKeyCode {
    std::int32_t character;
    unsigned char virt;
    unsigned char modifier;
};

// Editor rectangle as the host reads it: 16-bit signed, in this order.
struct ERect {
    std::int16_t top;
    std::int16_t left;
    std::int16_t bottom;
    std::int16_t right;
};
static_assert(sizeof(ERect) == 8);

// Size of the host's program-name buffer in the standard (23 characters and the terminator).
constexpr std::size_t kProgramNameBufferSize = 24;

// Records of the standard that this plug-in only passes between host and
// effect class; their layouts are the host's business.
struct VstEvents;
struct VstTimeInfo;
struct VstPinProperties;
struct VstAudioFile;
struct VstOfflineTask;
struct VstVariableIo;
struct VstSpeakerArrangement;
struct VstParameterProperties;
struct VstWindow;
struct VstFileSelect;
struct MidiProgramName;
struct MidiProgramCategory;
struct MidiKeyName;
