#include "host/PluginEffect.h"

#include "editor/PluginEditor.h"
#include "host/entryPoints.h"
#include "host/opcodes.h"
#include "host/textConversions.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

constexpr std::int32_t kDefaultUniqueId = fourCharCode('N', 'o', 'E', 'f');
constexpr std::int32_t kIdentifyAnswer = fourCharCode('N', 'v', 'E', 'f');
constexpr double kVuScale = 32767.0;

// Truncation toward zero that a host's odd float cannot turn into undefined behaviour.
std::int32_t truncateToInt32(double v)
{
    if (!(v > std::numeric_limits<std::int32_t>::min() - 1.0))
        return v < 0.0 ? std::numeric_limits<std::int32_t>::min() : 0;
    if (!(v < std::numeric_limits<std::int32_t>::max() + 1.0))
        return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

void writeEmpty(char* text)
{
    text[0] = '\0';
}

} // namespace

PluginEffect::PluginEffect(audioMasterCallback audioMaster, std::int32_t numPrograms, std::int32_t numParams)
    : audioMaster(audioMaster), numPrograms(numPrograms), numParams(numParams)
{
    std::memset(&effectRecord, 0, sizeof effectRecord);
    effectRecord.magic = kEffectMagic;
    effectRecord.dispatcher = dispatchEntry;
    effectRecord.process = processEntry;
    effectRecord.setParameter = setParameterEntry;
    effectRecord.getParameter = getParameterEntry;
    effectRecord.processReplacing = processReplacingEntry;
    effectRecord.numPrograms = numPrograms;
    effectRecord.numParams = numParams;
    effectRecord.numInputs = 1;
    effectRecord.numOutputs = 2;
    effectRecord.ioRatio = 1.0f;
    effectRecord.object = this;
    effectRecord.uniqueID = kDefaultUniqueId;
    effectRecord.version = 1;
}

PluginEffect::~PluginEffect()
{
    delete editor;
}

PluginEffect* PluginEffect::fromRecord(AEffect* record)
{
    return static_cast<PluginEffect*>(record->object);
}

void PluginEffect::setParameter(std::int32_t, float) {}

float PluginEffect::getParameter(std::int32_t)
{
    return 0.0f;
}

void PluginEffect::automateParameter(std::int32_t index, float value)
{
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void PluginEffect::processReplacing(float**, float**, std::int32_t) {}

VstIntPtr PluginEffect::dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                   float opt)
{
    // Opcodes that read or write through ptr answer 0 for a null ptr instead of faulting.
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram: {
        // A program number is 32 bits in either width; compare what will be stored.
        const auto program = static_cast<std::int32_t>(value);
        if (program < numPrograms)
            setProgram(program);
        return 0;
    }
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (text)
            setProgramName(text);
        return 0;
    case effGetProgramName:
        if (text)
            getProgramName(text);
        return 0;
    case effGetParamLabel:
        if (text)
            getParameterLabel(index, text);
        return 0;
    case effGetParamDisplay:
        if (text)
            getParameterDisplay(index, text);
        return 0;
    case effGetParamName:
        if (text)
            getParameterName(index, text);
        return 0;
    case effGetVu:
        return truncateToInt32(static_cast<double>(getVu()) * kVuScale);
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<std::int32_t>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        return editor && ptr ? editor->getRect(static_cast<ERect**>(ptr)) : 0;
    case effEditOpen:
        return editor ? editor->open(ptr) : 0;
    case effEditClose:
        if (editor)
            editor->close();
        return 0;
    case effEditIdle:
        if (editor)
            editor->idle();
        return 0;
    case effIdentify:
        return kIdentifyAnswer;
    case effGetChunk:
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        return setChunk(ptr, static_cast<std::int32_t>(value), index != 0);
    default:
        return 0;
    }
}

void PluginEffect::open() {}

void PluginEffect::close() {}

std::int32_t PluginEffect::getProgram()
{
    return curProgram;
}

void PluginEffect::setProgram(std::int32_t program)
{
    curProgram = program;
}

void PluginEffect::setProgramName(char* name)
{
    writeEmpty(name);
}

void PluginEffect::getProgramName(char* name)
{
    writeEmpty(name);
}

void PluginEffect::getParameterLabel(std::int32_t, char* label)
{
    writeEmpty(label);
}

void PluginEffect::getParameterDisplay(std::int32_t, char* text)
{
    writeEmpty(text);
}

void PluginEffect::getParameterName(std::int32_t, char* text)
{
    writeEmpty(text);
}

float PluginEffect::getVu()
{
    return 0.0f;
}

std::int32_t PluginEffect::getChunk(void**, bool)
{
    return 0;
}

std::int32_t PluginEffect::setChunk(void*, std::int32_t, bool)
{
    return 0;
}

bool PluginEffect::isUsableSampleRate(float rate)
{
    return std::isfinite(rate) && rate > 0.0f;
}

void PluginEffect::setSampleRate(float newSampleRate)
{
    // A rate of 0, a negative one or a non-number would poison every later
    // division by it; the last usable rate stays in force instead.
    if (isUsableSampleRate(newSampleRate))
        sampleRate = newSampleRate;
}

void PluginEffect::setBlockSize(std::int32_t newBlockSize)
{
    blockSize = newBlockSize;
}

void PluginEffect::suspend() {}

void PluginEffect::resume() {}

void PluginEffect::setUniqueID(std::int32_t id)
{
    effectRecord.uniqueID = id;
}

void PluginEffect::setNumInputs(std::int32_t count)
{
    effectRecord.numInputs = count;
}

void PluginEffect::setNumOutputs(std::int32_t count)
{
    effectRecord.numOutputs = count;
}

void PluginEffect::setFlag(std::int32_t flag, bool state)
{
    if (state)
        effectRecord.flags |= flag;
    else
        effectRecord.flags &= ~flag;
}

void PluginEffect::setHasVu(bool state)
{
    setFlag(effFlagsHasVu, state);
}

void PluginEffect::setHasClip(bool state)
{
    setFlag(effFlagsHasClip, state);
}

void PluginEffect::setCanMono(bool state)
{
    setFlag(effFlagsCanMono, state);
}

void PluginEffect::setCanReplacing(bool state)
{
    setFlag(effFlagsCanReplacing, state);
}

void PluginEffect::setProgramChunks(bool state)
{
    setFlag(effFlagsProgramChunks, state);
}

void PluginEffect::setRealQualities(std::int32_t qualities)
{
    effectRecord.realQualities = qualities;
}

void PluginEffect::setOffQualities(std::int32_t qualities)
{
    effectRecord.offQualities = qualities;
}

void PluginEffect::setInitialDelay(std::int32_t delay)
{
    effectRecord.initialDelay = delay;
}

float PluginEffect::getSampleRate()
{
    return sampleRate;
}

std::int32_t PluginEffect::getBlockSize()
{
    return blockSize;
}

VstIntPtr PluginEffect::callHost(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                 float opt, VstIntPtr fallback)
{
    if (!audioMaster)
        return fallback;
    return audioMaster(&effectRecord, opcode, index, value, ptr, opt);
}

std::int32_t PluginEffect::masterVersion()
{
    const VstIntPtr answer = callHost(audioMasterVersion, 0, 0, nullptr, 0.0f, 1);
    return answer == 0 ? 1 : static_cast<std::int32_t>(answer);
}

std::int32_t PluginEffect::masterCurrentId()
{
    return static_cast<std::int32_t>(callHost(audioMasterCurrentId));
}

void PluginEffect::masterIdle()
{
    callHost(audioMasterIdle);
}

// The host answers 0 for a connected pin; without a host every pin counts as connected.
bool PluginEffect::isInputConnected(std::int32_t index)
{
    return callHost(audioMasterPinConnected, index, 0) == 0;
}

bool PluginEffect::isOutputConnected(std::int32_t index)
{
    return callHost(audioMasterPinConnected, index, 1) == 0;
}

void PluginEffect::decibelsToText(float value, char* text)
{
    formatDecibels(value, text);
}

void PluginEffect::frequencyToText(float samples, char* text)
{
    formatReal(samples == 0.0f ? 0.0f : getSampleRate() / samples, text);
}

void PluginEffect::millisecondsToText(float samples, char* text)
{
    formatReal(static_cast<float>(static_cast<double>(samples) * 1000.0 / getSampleRate()), text);
}

void PluginEffect::realToText(float value, char* text)
{
    formatReal(value, text);
}

void PluginEffect::integerToText(std::int32_t value, char* text)
{
    formatInteger(value, text);
}
