// Audio processing: the speaker arrangements of the buses, the setup before
// processing, and the buffers of every process call.
#pragma once

#include "vst3/FUnknown.h"

namespace vst3 {

using SpeakerArrangement = uint64;
using Sample32 = float;
using Sample64 = double;

// One bit per speaker; an arrangement is the set of its speakers.
constexpr SpeakerArrangement kSpeakerL = 1 << 0;
constexpr SpeakerArrangement kSpeakerR = 1 << 1;
constexpr SpeakerArrangement kSpeakerC = 1 << 2;
constexpr SpeakerArrangement kSpeakerM = 1 << 19;
constexpr SpeakerArrangement kMono = kSpeakerM;
constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;

enum SymbolicSampleSizes : int32 { kSample32 = 0, kSample64 };
enum ProcessModes : int32 { kRealtime = 0, kPrefetch, kOffline };
enum ComponentFlags : uint32 { kDistributable = 1 << 0, kSimpleModeSupported = 1 << 1 };
constexpr uint32 kNoTail = 0;
constexpr const char* kVstAudioEffectClass = "Audio Module Class";

struct ProcessSetup {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 maxSamplesPerBlock;
    double sampleRate;
};

struct AudioBusBuffers {
    int32 numChannels;
    // Bit c set: channel c is known to be silent (all zero).
    uint64 silenceFlags;
    union {
        Sample32** channelBuffers32;
        Sample64** channelBuffers64;
    };
};

// Only named here: this plug-in has no parameters, events or transport use.
class IParameterChanges;
class IEventList;
struct ProcessContext;

struct ProcessData {
    int32 processMode;
    int32 symbolicSampleSize;
    int32 numSamples;
    int32 numInputs;
    int32 numOutputs;
    AudioBusBuffers* inputs;
    AudioBusBuffers* outputs;
    IParameterChanges* inputParameterChanges;
    IParameterChanges* outputParameterChanges;
    IEventList* inputEvents;
    IEventList* outputEvents;
    ProcessContext* processContext;
};

class IAudioProcessor : public FUnknown {
public:
    // The host proposes one arrangement per bus; kResultFalse keeps ours.
    virtual tresult ORVANE_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, int32 numIns,
                                                        SpeakerArrangement* outputs, int32 numOuts) = 0;
    virtual tresult ORVANE_VST3_CALL getBusArrangement(int32 direction, int32 index,
                                                       SpeakerArrangement& arrangement) = 0;
    virtual tresult ORVANE_VST3_CALL canProcessSampleSize(int32 symbolicSampleSize) = 0;
    virtual uint32 ORVANE_VST3_CALL getLatencySamples() = 0;
    virtual tresult ORVANE_VST3_CALL setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult ORVANE_VST3_CALL setProcessing(TBool state) = 0;
    // The host's audio thread.
    virtual tresult ORVANE_VST3_CALL process(ProcessData& data) = 0;
    virtual uint32 ORVANE_VST3_CALL getTailSamples() = 0;

    static constexpr Uid iid = makeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

protected:
    ~IAudioProcessor() = default;
};

} // namespace vst3
