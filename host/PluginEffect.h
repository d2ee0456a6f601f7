// Base class of every effect: owns the record the host holds, answers the
// basic opcodes 0-24 and wraps the few host services every effect may need.
// Effect classes change behaviour only by overriding the virtual operations;
// their order is the effect's table of operations and must not change.
#pragma once

#include "host/AEffect.h"

#include <cstdint>

class PluginEditor;

class PluginEffect {
public:
    PluginEffect(audioMasterCallback audioMaster, std::int32_t numPrograms, std::int32_t numParams);
    PluginEffect(const PluginEffect&) = delete;
    PluginEffect& operator=(const PluginEffect&) = delete;

    virtual ~PluginEffect();

    // Parameter access arrives from the host's audio thread (and sometimes its UI thread).
    virtual void setParameter(std::int32_t index, float value);
    virtual float getParameter(std::int32_t index);
    virtual void automateParameter(std::int32_t index, float value);

    // Audio arrives on the host's audio thread, never concurrently with itself.
    virtual void process(float** inputs, float** outputs, std::int32_t sampleFrames) = 0;
    virtual void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames);

    // Every other host request arrives here, on the host's user-interface thread.
    virtual VstIntPtr dispatcher(std::int32_t opcode, std::int32_t index, VstIntPtr value, void* ptr,
                                 float opt);

    virtual void open();
    virtual void close();
    virtual std::int32_t getProgram();
    virtual void setProgram(std::int32_t program);
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);
    virtual void getParameterLabel(std::int32_t index, char* label);
    virtual void getParameterDisplay(std::int32_t index, char* text);
    virtual void getParameterName(std::int32_t index, char* text);
    virtual float getVu();
    virtual std::int32_t getChunk(void** data, bool isPreset);
    virtual std::int32_t setChunk(void* data, std::int32_t byteSize, bool isPreset);
    virtual void setSampleRate(float newSampleRate);
    virtual void setBlockSize(std::int32_t newBlockSize);
    virtual void suspend();
    virtual void resume();

    virtual void setUniqueID(std::int32_t id);
    virtual void setNumInputs(std::int32_t count);
    virtual void setNumOutputs(std::int32_t count);
    virtual void setHasVu(bool state);
    virtual void setHasClip(bool state);
    virtual void setCanMono(bool state);
    virtual void setCanReplacing(bool state);
    virtual void setProgramChunks(bool state);
    virtual void setRealQualities(std::int32_t qualities);
    virtual void setOffQualities(std::int32_t qualities);
    virtual void setInitialDelay(std::int32_t delay);
    virtual float getSampleRate();
    virtual std::int32_t getBlockSize();

    virtual std::int32_t masterVersion();
    virtual std::int32_t masterCurrentId();
    virtual void masterIdle();
    virtual bool isInputConnected(std::int32_t index);
    virtual bool isOutputConnected(std::int32_t index);

    // Eight-character texts for effect classes; the buffer must hold 9 bytes.
    virtual void decibelsToText(float value, char* text);
    virtual void frequencyToText(float samples, char* text);
    virtual void millisecondsToText(float samples, char* text);
    virtual void realToText(float value, char* text);
    virtual void integerToText(std::int32_t value, char* text);

    AEffect* record() { return &effectRecord; }
    // The effect behind a record handed out by record().
    static PluginEffect* fromRecord(AEffect* record);
    PluginEditor* getEditor() const { return editor; }

protected:
    // Sets or clears one bit of the record's flags, leaving the others alone.
    void setFlag(std::int32_t flag, bool state);
    bool hasFlag(std::int32_t flag) const { return (effectRecord.flags & flag) != 0; }
    // Calls the host, or answers `fallback` without a host callback.
    VstIntPtr callHost(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f, VstIntPtr fallback = 0);
    // A rate the host may hand us that later arithmetic can live with.
    static bool isUsableSampleRate(float rate);

    float sampleRate = 44100.0f;
    PluginEditor* editor = nullptr;
    audioMasterCallback audioMaster;
    std::int32_t numPrograms;
    std::int32_t numParams;
    std::int32_t curProgram = 0;
    std::int32_t blockSize = 1024;
    AEffect effectRecord;

    friend class PluginEditor;
};
