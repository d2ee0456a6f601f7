// Audio processing: the speaker arrangements of the buses, the setup before
// processing, and the buffers of every process call.
#pragma once

#include "vst3/FUnknown.h"

namespace vst3 {

using SpeakerArrangement = std::uint64_t;
using Sample32 = float;
using Sample64 = double;

// One bit per speaker; an arrangement is the set of its speakers.
constexpr SpeakerArrangement kSpeakerL = 1 << 0;
constexpr SpeakerArrangement kSpeakerR = 1 << 1;
constexpr SpeakerArrangement kSpeakerC = 1 << 2;
constexpr SpeakerArrangement kSpeakerM = 1 << 19;
constexpr SpeakerArrangement kMono = kSpeakerM;
constexpr SpeakerArrangement kStereo = kSpeakerL | kSpeakerR;

enum SymbolicSampleSizes : std::int32_t { kSample32 = 0, kSample64 };
enum ProcessModes : std::int32_t { kRealtime = 0, kPrefetch, kOffline };
enum ComponentFlags : std::uint32_t { kDistributable = 1 << 0, kSimpleModeSupported = 1 << 1 };
constexpr std::uint32_t kNoTail = 0;
constexpr const char* kVstAudioEffectClass = "Audio Module Class";

struct ProcessSetup {
    std::int32_t processMode;
    std::int32_t symbolicSampleSize;
    std::int32_t maxSamplesPerBlock;
    double sampleRate;
};

struct AudioBusBuffers {
    std::int32_t numChannels;
    // Bit c set: channel c is known to be silent (all zero).
    std::uint64_t silenceFlags;
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
    std::int32_t processMode;
    std::int32_t symbolicSampleSize;
    std::int32_t numSamples;
    std::int32_t numInputs;
    std::int32_t numOutputs;
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
    virtual tresult ORVANE_VST3_CALL setBusArrangements(SpeakerArrangement* inputs, std::int32_t numIns,
                                                        SpeakerArrangement* outputs,
                                                        std::int32_t numOuts) = 0;
    virtual tresult ORVANE_VST3_CALL getBusArrangement(std::int32_t direction, std::int32_t index,
                                                       SpeakerArrangement& arrangement) = 0;
    virtual tresult ORVANE_VST3_CALL canProcessSampleSize(std::int32_t symbolicSampleSize) = 0;
    virtual std::uint32_t ORVANE_VST3_CALL getLatencySamples() = 0;
    virtual tresult ORVANE_VST3_CALL setupProcessing(ProcessSetup& setup) = 0;
    virtual tresult ORVANE_VST3_CALL setProcessing(TBool state) = 0;
    // The host's audio thread.
    virtual tresult ORVANE_VST3_CALL process(ProcessData& data) = 0;
    virtual std::uint32_t ORVANE_VST3_CALL getTailSamples() = 0;

    static constexpr Uid iid = makeUid(0x42043F99, 0xB7DA453C, 0xA569E79D, 0x9AAEC33D);

protected:
    ~IAudioProcessor() = default;
};

} // namespace vst3
