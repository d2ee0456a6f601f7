// The extension layer of the effect base: opcodes 25-68 and the host services
// of the standard's later versions. It adds no state; every operation is a
// virtual one with a default, in the fixed order of the effect's table.
#pragma once

#include "host/PluginEffect.h"

class ExtendedEffect : public PluginEffect {
public:
    ExtendedEffect(audioMasterCallback audioMaster, std::int32_t numPrograms, std::int32_t numParams);

    VstIntPtr dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                         float opt) override;

    virtual PluginEditor* getEditor();
    virtual std::int32_t wantMidi(std::int32_t filter);
    virtual VstTimeInfo* getTime(std::int32_t filter);
    virtual std::int32_t tempoAt(std::int32_t position);
    virtual std::int32_t processEvents(VstEvents* events);
    virtual std::int32_t getNumAutomatableParameters();
    virtual std::int32_t getParameterQuantization();
    virtual bool canBeAutomated(std::int32_t index);
    virtual bool string2Parameter(std::int32_t index, char* text);
    // Slots the standard reserves; they keep the later operations in place.
    virtual float reservedQuery(std::int32_t first, std::int32_t second);
    virtual std::int32_t getNumProgramCategories();
    virtual bool getProgramNameIndexed(std::int32_t category, std::int32_t index, char* text);
    virtual bool copyProgram(std::int32_t destination);
    virtual bool ioChanged();
    virtual bool needIdle();
    virtual bool sizeWindow(std::int32_t width, std::int32_t height);
    virtual float updateSampleRate();
    virtual std::int32_t updateBlockSize();
    virtual std::int32_t getInputLatency();
    virtual std::int32_t getOutputLatency();
    virtual AEffect* getPreviousPlug(std::int32_t input);
    virtual AEffect* getNextPlug(std::int32_t output);

    virtual void connectInput(std::int32_t index, bool state);
    virtual void connectOutput(std::int32_t index, bool state);
    virtual bool getInputProperties(std::int32_t index, VstPinProperties* properties);
    virtual bool getOutputProperties(std::int32_t index, VstPinProperties* properties);
    virtual std::int32_t getPlugCategory();
    virtual std::int32_t willReplaceOrAccumulate();
    virtual std::int32_t getCurrentProcessLevel();
    virtual std::int32_t getAutomationState();
    virtual void setExtIsAsync(bool state);
    virtual void setExtHasBuffer(bool state);
    virtual std::int32_t getCurrentPosition();
    virtual float* getDestinationBuffer();
    virtual bool offlineRead(VstOfflineTask* task, std::int32_t option, bool readSource);
    virtual bool offlineWrite(VstOfflineTask* task, std::int32_t option);
    virtual bool offlineStart(VstAudioFile* files, std::int32_t numAudioFiles, std::int32_t numNewAudioFiles);
    virtual std::int32_t offlineGetCurrentPass();
    virtual std::int32_t offlineGetCurrentMetaPass();
    virtual bool offlineNotify(VstAudioFile* files, std::int32_t numAudioFiles, bool start);
    virtual bool offlinePrepare(VstOfflineTask* tasks, std::int32_t count);
    virtual bool offlineRun(VstOfflineTask* tasks, std::int32_t count);
    virtual std::int32_t reservedOperation1();
    virtual std::int32_t reservedOperation2();

    virtual std::int32_t setOutputSampleRate(float rate);
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output);
    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual std::int32_t getHostVendorVersion();
    virtual std::int32_t hostVendorSpecific(std::int32_t a, VstIntPtr b, void* p, float f);
    virtual std::int32_t canHostDo(char* name);
    virtual void setIsSynth(bool state);
    virtual void setNoSoundInStop(bool state);
    virtual std::int32_t getHostLanguage();
    virtual void* openWindow(VstWindow* window);
    virtual bool closeWindow(VstWindow* window);
    virtual void* getDirectory();
    virtual bool hostUpdateDisplay();

    virtual bool processVarIo(VstVariableIo* io);
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output);
    virtual void setBlockSizeAndSampleRate(std::int32_t newBlockSize, float newSampleRate);
    virtual bool setBypass(bool onOff);
    virtual bool getEffectName(char* name);
    virtual bool getErrorText(char* text);
    virtual bool getVendorString(char* text);
    virtual bool getProductString(char* text);
    virtual std::int32_t getVendorVersion();
    virtual std::int32_t vendorSpecific(std::int32_t index, VstIntPtr value, void* ptr, float opt);
    virtual std::int32_t canDo(char* name);
    virtual std::int32_t getIcon();
    virtual bool setViewPosition(std::int32_t x, std::int32_t y);
    virtual std::int32_t getTailSize();
    virtual std::int32_t effectIdle();
    virtual bool getParameterProperties(std::int32_t index, VstParameterProperties* properties);
    virtual bool keysRequired();
    virtual std::int32_t getVstVersion();
    virtual std::int32_t getMidiProgramName(std::int32_t channel, MidiProgramName* name);
    virtual std::int32_t getCurrentMidiProgram(std::int32_t channel, MidiProgramName* current);
    virtual std::int32_t getMidiProgramCategory(std::int32_t channel, MidiProgramCategory* category);
    virtual bool hasMidiProgramsChanged(std::int32_t channel);
    virtual bool getMidiKeyName(std::int32_t channel, MidiKeyName* keyName);
    virtual bool beginSetProgram();
    virtual bool endSetProgram();

    virtual bool beginEdit(std::int32_t index);
    virtual bool endEdit(std::int32_t index);
    virtual bool openFileSelector(VstFileSelect* selector);

private:
    VstIntPtr dispatchEditorKey(std::int32_t opcode, std::int32_t index, VstIntPtr value, float opt);
};
