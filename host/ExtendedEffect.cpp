#include "host/ExtendedEffect.h"

#include "editor/PluginEditor.h"
#include "host/opcodes.h"

namespace {

constexpr std::int32_t kVstVersion = 2200;
constexpr std::int32_t kNoMidiProgram = -1;

VstIntPtr asResult(bool b)
{
    return b ? 1 : 0;
}

std::int32_t asInt32(VstIntPtr answer)
{
    return static_cast<std::int32_t>(answer);
}

// Key opcodes carry the modifier as a float; truncate it without trusting its range.
unsigned char modifierByte(float opt)
{
    if (!(opt > -1.0f && opt < 256.0f))
        return 0;
    return static_cast<unsigned char>(static_cast<int>(opt));
}

} // namespace

ExtendedEffect::ExtendedEffect(audioMasterCallback audioMaster, std::int32_t numPrograms,
                               std::int32_t numParams)
    : PluginEffect(audioMaster, numPrograms, numParams)
{
}

VstIntPtr ExtendedEffect::dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                     float opt)
{
    char* text = static_cast<char*>(ptr);
    switch (opcode) {
    case effProcessEvents:
        return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
        return asResult(canBeAutomated(index));
    case effString2Parameter:
        return text ? asResult(string2Parameter(index, text)) : 0;
    case effGetNumProgramCategories:
        return getNumProgramCategories();
    case effGetProgramNameIndexed:
        return text ? asResult(getProgramNameIndexed(static_cast<std::int32_t>(value), index, text)) : 0;
    case effCopyProgram:
        return asResult(copyProgram(index));
    case effConnectInput:
        connectInput(index, value != 0);
        return 1;
    case effConnectOutput:
        connectOutput(index, value != 0);
        return 1;
    case effGetInputProperties:
        return asResult(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
        return asResult(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetPlugCategory:
        return getPlugCategory();
    case effGetCurrentPosition:
        return getCurrentPosition();
    case effGetDestinationBuffer:
        return reinterpret_cast<VstIntPtr>(getDestinationBuffer());
    case effOfflineNotify:
        return asResult(
            offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<std::int32_t>(value), index != 0));
    case effOfflinePrepare:
        return asResult(offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<std::int32_t>(value)));
    case effOfflineRun:
        return asResult(offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<std::int32_t>(value)));
    case effProcessVarIo:
        return asResult(processVarIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
        return asResult(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                              static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBlockSizeAndSampleRate:
        setBlockSizeAndSampleRate(static_cast<std::int32_t>(value), opt);
        return 1;
    case effSetBypass:
        return asResult(setBypass(value != 0));
    case effGetEffectName:
        return text ? asResult(getEffectName(text)) : 0;
    case effGetErrorText:
        return text ? asResult(getErrorText(text)) : 0;
    case effGetVendorString:
        return text ? asResult(getVendorString(text)) : 0;
    case effGetProductString:
        return text ? asResult(getProductString(text)) : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return canDo(text);
    case effGetTailSize:
        return getTailSize();
    case effIdle:
        return effectIdle();
    case effGetIcon:
        return getIcon();
    case effSetViewPosition:
        return asResult(setViewPosition(index, static_cast<std::int32_t>(value)));
    case effGetParameterProperties:
        return asResult(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effKeysRequired:
        // The standard asks the question the other way round.
        return keysRequired() ? 0 : 1;
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp:
        return dispatchEditorKey(opcode, index, value, opt);
    case effSetEditKnobMode:
        return editor ? editor->setKnobMode(static_cast<std::int32_t>(value)) : 0;
    case effGetMidiProgramName:
        return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
        return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
        return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
        return asResult(hasMidiProgramsChanged(index));
    case effGetMidiKeyName:
        return asResult(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
    case effBeginSetProgram:
        return asResult(beginSetProgram());
    case effEndSetProgram:
        return asResult(endSetProgram());
    default:
        return PluginEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

VstIntPtr ExtendedEffect::dispatchEditorKey(std::int32_t opcode, std::int32_t index, VstIntPtr value,
                                            float opt)
{
    if (!editor)
        return 0;
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(value & 0xFF);
    key.modifier = modifierByte(opt);
    return opcode == effEditKeyDown ? editor->onKeyDown(&key) : editor->onKeyUp(&key);
}

PluginEditor* ExtendedEffect::getEditor()
{
    return editor;
}

std::int32_t ExtendedEffect::wantMidi(std::int32_t filter)
{
    return asInt32(callHost(audioMasterWantMidi, 0, filter));
}

VstTimeInfo* ExtendedEffect::getTime(std::int32_t filter)
{
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

std::int32_t ExtendedEffect::tempoAt(std::int32_t position)
{
    return asInt32(callHost(audioMasterTempoAt, 0, position));
}

std::int32_t ExtendedEffect::processEvents(VstEvents*)
{
    return 0;
}

std::int32_t ExtendedEffect::getNumAutomatableParameters()
{
    return asInt32(callHost(audioMasterGetNumAutomatableParameters));
}

std::int32_t ExtendedEffect::getParameterQuantization()
{
    return asInt32(callHost(audioMasterGetParameterQuantization));
}

bool ExtendedEffect::canBeAutomated(std::int32_t)
{
    return true;
}

bool ExtendedEffect::string2Parameter(std::int32_t, char*)
{
    return false;
}

float ExtendedEffect::reservedQuery(std::int32_t, std::int32_t)
{
    return 0.0f;
}

std::int32_t ExtendedEffect::getNumProgramCategories()
{
    return 1;
}

bool ExtendedEffect::getProgramNameIndexed(std::int32_t, std::int32_t, char*)
{
    return false;
}

bool ExtendedEffect::copyProgram(std::int32_t)
{
    return false;
}

bool ExtendedEffect::ioChanged()
{
    return callHost(audioMasterIOChanged) != 0;
}

bool ExtendedEffect::needIdle()
{
    return callHost(audioMasterNeedIdle) != 0;
}

bool ExtendedEffect::sizeWindow(std::int32_t width, std::int32_t height)
{
    return callHost(audioMasterSizeWindow, width, height) != 0;
}

// The host answers by calling setSampleRate or setBlockSize; its return value carries nothing.
float ExtendedEffect::updateSampleRate()
{
    callHost(audioMasterGetSampleRate);
    return sampleRate;
}

std::int32_t ExtendedEffect::updateBlockSize()
{
    callHost(audioMasterGetBlockSize);
    return blockSize;
}

std::int32_t ExtendedEffect::getInputLatency()
{
    return asInt32(callHost(audioMasterGetInputLatency));
}

std::int32_t ExtendedEffect::getOutputLatency()
{
    return asInt32(callHost(audioMasterGetOutputLatency));
}

AEffect* ExtendedEffect::getPreviousPlug(std::int32_t)
{
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* ExtendedEffect::getNextPlug(std::int32_t)
{
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

void ExtendedEffect::connectInput(std::int32_t, bool) {}

void ExtendedEffect::connectOutput(std::int32_t, bool) {}

bool ExtendedEffect::getInputProperties(std::int32_t, VstPinProperties*)
{
    return false;
}

bool ExtendedEffect::getOutputProperties(std::int32_t, VstPinProperties*)
{
    return false;
}

std::int32_t ExtendedEffect::getPlugCategory()
{
    return hasFlag(effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
}

std::int32_t ExtendedEffect::willReplaceOrAccumulate()
{
    return asInt32(callHost(audioMasterWillReplaceOrAccumulate));
}

std::int32_t ExtendedEffect::getCurrentProcessLevel()
{
    return asInt32(callHost(audioMasterGetCurrentProcessLevel));
}

std::int32_t ExtendedEffect::getAutomationState()
{
    return asInt32(callHost(audioMasterGetAutomationState));
}

void ExtendedEffect::setExtIsAsync(bool state)
{
    setFlag(effFlagsExtIsAsync, state);
}

void ExtendedEffect::setExtHasBuffer(bool state)
{
    setFlag(effFlagsExtHasBuffer, state);
}

std::int32_t ExtendedEffect::getCurrentPosition()
{
    return 0;
}

float* ExtendedEffect::getDestinationBuffer()
{
    return nullptr;
}

bool ExtendedEffect::offlineRead(VstOfflineTask* task, std::int32_t option, bool readSource)
{
    return callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, task) != 0;
}

bool ExtendedEffect::offlineWrite(VstOfflineTask* task, std::int32_t option)
{
    return callHost(audioMasterOfflineWrite, 0, option, task) != 0;
}

bool ExtendedEffect::offlineStart(VstAudioFile* files, std::int32_t numAudioFiles,
                                  std::int32_t numNewAudioFiles)
{
    return callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, files) != 0;
}

std::int32_t ExtendedEffect::offlineGetCurrentPass()
{
    return callHost(audioMasterOfflineGetCurrentPass) != 0 ? 1 : 0;
}

std::int32_t ExtendedEffect::offlineGetCurrentMetaPass()
{
    return callHost(audioMasterOfflineGetCurrentMetaPass) != 0 ? 1 : 0;
}

bool ExtendedEffect::offlineNotify(VstAudioFile*, std::int32_t, bool)
{
    return false;
}

bool ExtendedEffect::offlinePrepare(VstOfflineTask*, std::int32_t)
{
    return false;
}

bool ExtendedEffect::offlineRun(VstOfflineTask*, std::int32_t)
{
    return false;
}

std::int32_t ExtendedEffect::reservedOperation1()
{
    return 0;
}

std::int32_t ExtendedEffect::reservedOperation2()
{
    return 0;
}

std::int32_t ExtendedEffect::setOutputSampleRate(float rate)
{
    return asInt32(callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, rate));
}

bool ExtendedEffect::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output)
{
    return callHost(audioMasterGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(input), output) != 0;
}

bool ExtendedEffect::getHostVendorString(char* text)
{
    return callHost(audioMasterGetVendorString, 0, 0, text) != 0;
}

bool ExtendedEffect::getHostProductString(char* text)
{
    return callHost(audioMasterGetProductString, 0, 0, text) != 0;
}

std::int32_t ExtendedEffect::getHostVendorVersion()
{
    return asInt32(callHost(audioMasterGetVendorVersion));
}

std::int32_t ExtendedEffect::hostVendorSpecific(std::int32_t a, VstIntPtr b, void* p, float f)
{
    return asInt32(callHost(audioMasterVendorSpecific, a, b, p, f));
}

std::int32_t ExtendedEffect::canHostDo(char* name)
{
    return callHost(audioMasterCanDo, 0, 0, name) != 0 ? 1 : 0;
}

void ExtendedEffect::setIsSynth(bool state)
{
    setFlag(effFlagsIsSynth, state);
}

void ExtendedEffect::setNoSoundInStop(bool state)
{
    setFlag(effFlagsNoSoundInStop, state);
}

std::int32_t ExtendedEffect::getHostLanguage()
{
    return asInt32(callHost(audioMasterGetLanguage));
}

void* ExtendedEffect::openWindow(VstWindow* window)
{
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool ExtendedEffect::closeWindow(VstWindow* window)
{
    return callHost(audioMasterCloseWindow, 0, 0, window) != 0;
}

void* ExtendedEffect::getDirectory()
{
    return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}

bool ExtendedEffect::hostUpdateDisplay()
{
    return callHost(audioMasterUpdateDisplay) != 0;
}

bool ExtendedEffect::processVarIo(VstVariableIo*)
{
    return false;
}

bool ExtendedEffect::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*)
{
    return false;
}

void ExtendedEffect::setBlockSizeAndSampleRate(std::int32_t newBlockSize, float newSampleRate)
{
    blockSize = newBlockSize;
    // Same guard as setSampleRate: an unusable rate keeps the last usable one.
    if (isUsableSampleRate(newSampleRate))
        sampleRate = newSampleRate;
}

bool ExtendedEffect::setBypass(bool)
{
    return false;
}

bool ExtendedEffect::getEffectName(char*)
{
    return false;
}

bool ExtendedEffect::getErrorText(char*)
{
    return false;
}

bool ExtendedEffect::getVendorString(char*)
{
    return false;
}

bool ExtendedEffect::getProductString(char*)
{
    return false;
}

std::int32_t ExtendedEffect::getVendorVersion()
{
    return 0;
}

std::int32_t ExtendedEffect::vendorSpecific(std::int32_t, VstIntPtr, void*, float)
{
    return 0;
}

// Capability queries are left undecided: the host hears 0 whatever it asks.
std::int32_t ExtendedEffect::canDo(char*)
{
    return 0;
}

std::int32_t ExtendedEffect::getIcon()
{
    return 0;
}

bool ExtendedEffect::setViewPosition(std::int32_t, std::int32_t)
{
    return false;
}

std::int32_t ExtendedEffect::getTailSize()
{
    return 0;
}

std::int32_t ExtendedEffect::effectIdle()
{
    return 0;
}

bool ExtendedEffect::getParameterProperties(std::int32_t, VstParameterProperties*)
{
    return false;
}

bool ExtendedEffect::keysRequired()
{
    return false;
}

std::int32_t ExtendedEffect::getVstVersion()
{
    return kVstVersion;
}

std::int32_t ExtendedEffect::getMidiProgramName(std::int32_t, MidiProgramName*)
{
    return 0;
}

std::int32_t ExtendedEffect::getCurrentMidiProgram(std::int32_t, MidiProgramName*)
{
    return kNoMidiProgram;
}

std::int32_t ExtendedEffect::getMidiProgramCategory(std::int32_t, MidiProgramCategory*)
{
    return 0;
}

bool ExtendedEffect::hasMidiProgramsChanged(std::int32_t)
{
    return false;
}

bool ExtendedEffect::getMidiKeyName(std::int32_t, MidiKeyName*)
{
    return false;
}

bool ExtendedEffect::beginSetProgram()
{
    return false;
}

bool ExtendedEffect::endSetProgram()
{
    return false;
}

bool ExtendedEffect::beginEdit(std::int32_t index)
{
    return callHost(audioMasterBeginEdit, index) != 0;
}

bool ExtendedEffect::endEdit(std::int32_t index)
{
    return callHost(audioMasterEndEdit, index) != 0;
}

bool ExtendedEffect::openFileSelector(VstFileSelect* selector)
{
    if (!selector)
        return false;
    return callHost(audioMasterOpenFileSelector, 0, 0, selector) != 0;
}
