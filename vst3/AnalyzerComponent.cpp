#include "vst3/AnalyzerComponent.h"

#include "analysis/Analyzer.h"
#include "host/entryPoints.h"
#include "host/opcodes.h"
#include "vst3/AnalyzerView.h"
#include "vst3/viewState.h"

#include <algorithm>
#include <cstring>
#include <new>

using namespace vst3;

namespace {

constexpr std::int32_t kMaxChannels = Analyzer::kChannels;

#if DISPLAY_SCALE == 1
constexpr Uid kClassId = makeUid(0x78ED6D8A, 0xBF40409B, 0x82080509, 0x3100E595);
#else
constexpr Uid kClassId = makeUid(0xFEE142DF, 0xF9D247A1, 0x9BB21547, 0xE991BF42);
#endif

void copyName(const char* text, String128 name)
{
    std::size_t n = 0;
    for (; text[n] != '\0' && n + 1 < sizeof(String128) / sizeof(char16_t); ++n)
        name[n] = static_cast<char16_t>(text[n]);
    name[n] = u'\0';
}

std::int32_t channelsOf(SpeakerArrangement arrangement)
{
    return arrangement == kMono ? 1 : 2;
}

bool isMainAudioBus(MediaType type, BusDirection direction, std::int32_t index)
{
    return type == kAudio && (direction == kInput || direction == kOutput) && index == 0;
}

// The host's channel pointers of a bus, as the analyzer takes them: null
// where the bus has no such channel.
void channelsOfBus(const AudioBusBuffers* bus, float* (&channels)[kMaxChannels])
{
    for (std::int32_t c = 0; c < kMaxChannels; ++c)
        channels[c] =
            bus && bus->channelBuffers32 && c < bus->numChannels ? bus->channelBuffers32[c] : nullptr;
}

} // namespace

const Uid AnalyzerComponent::classId = kClassId;

AnalyzerComponent* AnalyzerComponent::make()
{
    Analyzer* analyzer = newAnalyzer(nullptr);
    if (!analyzer)
        return nullptr;
    auto* component = new (std::nothrow) AnalyzerComponent(analyzer);
    if (!component)
        delete static_cast<PluginEffect*>(analyzer);
    return component;
}

AnalyzerComponent::AnalyzerComponent(Analyzer* analyzer) : analyzer(analyzer) {}

AnalyzerComponent::~AnalyzerComponent()
{
    delete static_cast<PluginEffect*>(analyzer);
}

tresult AnalyzerComponent::queryInterface(const TUID iid, void** object)
{
    if (!object)
        return kInvalidArgument;
    if (sameUid(iid, FUnknown::iid) || sameUid(iid, IPluginBase::iid) || sameUid(iid, IComponent::iid))
        return answerInterface(static_cast<IComponent*>(this), object);
    if (sameUid(iid, IAudioProcessor::iid))
        return answerInterface(static_cast<IAudioProcessor*>(this), object);
    if (sameUid(iid, IEditController::iid))
        return answerInterface(static_cast<IEditController*>(this), object);
    return noInterface(object);
}

// Everything is made with the object, so that a host learns of a lack of
// memory from createInstance.
tresult AnalyzerComponent::initialize(FUnknown*)
{
    return kResultOk;
}

tresult AnalyzerComponent::terminate()
{
    return kResultOk;
}

tresult AnalyzerComponent::setState(IBStream* state)
{
    std::uint32_t options = 0;
    if (!state || !viewState::read(*state, options))
        return kResultFalse;
    analyzer->requestViewOptions(options);
    return kResultOk;
}

tresult AnalyzerComponent::getState(IBStream* state)
{
    return state && viewState::write(*state, analyzer->viewOptions()) ? kResultOk : kResultFalse;
}

tresult AnalyzerComponent::getControllerClassId(TUID)
{
    return kResultFalse;
}

tresult AnalyzerComponent::setIoMode(IoMode)
{
    return kResultOk;
}

std::int32_t AnalyzerComponent::getBusCount(MediaType type, BusDirection direction)
{
    return isMainAudioBus(type, direction, 0) ? 1 : 0;
}

tresult AnalyzerComponent::getBusInfo(MediaType type, BusDirection direction, std::int32_t index,
                                      BusInfo& bus)
{
    if (!isMainAudioBus(type, direction, index))
        return kInvalidArgument;
    bus.mediaType = kAudio;
    bus.direction = direction;
    bus.channelCount = channelsOf(arrangement);
    copyName(direction == kInput ? "Input" : "Output", bus.name);
    bus.busType = kMain;
    bus.flags = BusInfo::kDefaultActive;
    return kResultOk;
}

// One bus each way: nothing to route.
tresult AnalyzerComponent::getRoutingInfo(RoutingInfo&, RoutingInfo&)
{
    return kResultFalse;
}

tresult AnalyzerComponent::activateBus(MediaType type, BusDirection direction, std::int32_t index, TBool)
{
    return isMainAudioBus(type, direction, index) ? kResultOk : kInvalidArgument;
}

tresult AnalyzerComponent::setActive(TBool state)
{
    analyzer->dispatcher(effMainsChanged, 0, state ? 1 : 0, nullptr, 0.0f);
    return kResultOk;
}

tresult AnalyzerComponent::setBusArrangements(SpeakerArrangement* inputs, std::int32_t numIns,
                                              SpeakerArrangement* outputs, std::int32_t numOuts)
{
    if (numIns != 1 || numOuts != 1 || !inputs || !outputs || inputs[0] != outputs[0] ||
        (inputs[0] != kStereo && inputs[0] != kMono))
        return kResultFalse;
    arrangement = inputs[0];
    return kResultTrue;
}

tresult AnalyzerComponent::getBusArrangement(std::int32_t direction, std::int32_t index,
                                             SpeakerArrangement& result)
{
    if (!isMainAudioBus(kAudio, direction, index))
        return kInvalidArgument;
    result = arrangement;
    return kResultOk;
}

// The analysis works on 32-bit floats; a host with 64-bit samples converts.
tresult AnalyzerComponent::canProcessSampleSize(std::int32_t symbolicSampleSize)
{
    return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

std::uint32_t AnalyzerComponent::getLatencySamples()
{
    return 0;
}

tresult AnalyzerComponent::setupProcessing(ProcessSetup& setup)
{
    if (setup.symbolicSampleSize != kSample32)
        return kResultFalse;
    // The effect keeps its last usable rate when this one is not.
    analyzer->dispatcher(effSetSampleRate, 0, 0, nullptr, static_cast<float>(setup.sampleRate));
    analyzer->dispatcher(effSetBlockSize, 0, setup.maxSamplesPerBlock, nullptr, 0.0f);
    return kResultOk;
}

tresult AnalyzerComponent::setProcessing(TBool)
{
    return kResultOk;
}

tresult AnalyzerComponent::process(ProcessData& data)
{
    if (data.symbolicSampleSize != kSample32)
        return kResultFalse;
    const AudioBusBuffers* input = data.numInputs > 0 ? data.inputs : nullptr;
    AudioBusBuffers* output = data.numOutputs > 0 ? data.outputs : nullptr;
    const std::int32_t frames = std::max(data.numSamples, 0);
    float* inputs[kMaxChannels];
    float* outputs[kMaxChannels];
    channelsOfBus(input, inputs);
    channelsOfBus(output, outputs);
    if (frames > 0)
        analyzer->processReplacing(inputs, outputs, frames);
    if (!output)
        return kResultOk;
    const std::int32_t copied =
        input && input->channelBuffers32 ? std::min(input->numChannels, kMaxChannels) : 0;
    std::uint64_t silence = input ? input->silenceFlags : 0;
    for (std::int32_t c = copied; c < output->numChannels && output->channelBuffers32; ++c) {
        if (output->channelBuffers32[c] && frames > 0)
            std::memset(output->channelBuffers32[c], 0, sizeof(float) * static_cast<std::size_t>(frames));
        if (c < 64)
            silence |= std::uint64_t{1} << c;
    }
    output->silenceFlags = silence;
    return kResultOk;
}

std::uint32_t AnalyzerComponent::getTailSamples()
{
    return kNoTail;
}

// The component's state is this object's own, already set through setState.
tresult AnalyzerComponent::setComponentState(IBStream*)
{
    return kResultOk;
}

std::int32_t AnalyzerComponent::getParameterCount()
{
    return 0;
}

tresult AnalyzerComponent::getParameterInfo(std::int32_t, ParameterInfo&)
{
    return kInvalidArgument;
}

tresult AnalyzerComponent::getParamStringByValue(ParamID, ParamValue, char16_t*)
{
    return kInvalidArgument;
}

tresult AnalyzerComponent::getParamValueByString(ParamID, TChar*, ParamValue&)
{
    return kInvalidArgument;
}

ParamValue AnalyzerComponent::normalizedParamToPlain(ParamID, ParamValue valueNormalized)
{
    return valueNormalized;
}

ParamValue AnalyzerComponent::plainParamToNormalized(ParamID, ParamValue plainValue)
{
    return plainValue;
}

ParamValue AnalyzerComponent::getParamNormalized(ParamID)
{
    return 0.0;
}

tresult AnalyzerComponent::setParamNormalized(ParamID, ParamValue)
{
    return kInvalidArgument;
}

// Nothing is ever reported to the host: there are no parameters.
tresult AnalyzerComponent::setComponentHandler(IComponentHandler*)
{
    return kResultOk;
}

IPlugView* AnalyzerComponent::createView(FIDString name)
{
    if (!name || std::strcmp(name, kEditor) != 0 || viewExists)
        return nullptr;
    auto* view = new (std::nothrow) AnalyzerView(*this);
    viewExists = view != nullptr;
    return view;
}
