// A minimal effect class for exercising the base layers: it records what the
// dispatcher and the record's entry points make of a host's calls.
#pragma once

#include "editor/PluginEditor.h"
#include "host/ExtendedEffect.h"

#include <vector>

struct ProbeLog {
    bool closed = false;
    bool destroyedAfterClose = false;
    bool destroyed = false;
    bool resumed = false;
    bool suspended = false;
};

class ProbeEffect : public ExtendedEffect {
public:
    ProbeEffect(audioMasterCallback host, ProbeLog* log = nullptr) : ExtendedEffect(host, 1, 0), log(log) {}
    ~ProbeEffect() override
    {
        if (log) {
            log->destroyed = true;
            log->destroyedAfterClose = log->closed;
        }
    }

    void process(float**, float**, std::int32_t) override {}
    void close() override
    {
        if (log)
            log->closed = true;
    }
    void suspend() override
    {
        if (log)
            log->suspended = true;
    }
    void resume() override
    {
        if (log)
            log->resumed = true;
    }
    float getVu() override { return vu; }
    void setParameter(std::int32_t index, float value) override { parameterWrites.push_back({index, value}); }

    float vu = 0.0f;
    struct ParameterWrite {
        std::int32_t index;
        float value;
    };
    std::vector<ParameterWrite> parameterWrites;

private:
    ProbeLog* log;
};

class ProbeEditor : public PluginEditor {
public:
    explicit ProbeEditor(PluginEffect* effect) : PluginEditor(effect) {}
    std::int32_t onKeyDown(VstKeyCode* key) override
    {
        lastKey = *key;
        return 7;
    }
    std::int32_t onKeyUp(VstKeyCode* key) override
    {
        lastKey = *key;
        return 8;
    }
    std::int32_t getRect(ERect** rect) override
    {
        *rect = &rectangle;
        return 1;
    }
    ERect rectangle{0, 0, 204, 516};
    VstKeyCode lastKey{};
};
