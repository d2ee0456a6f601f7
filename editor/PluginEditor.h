// What the host and the effect see of any editor: the effect it belongs to,
// the host's parent window, and do-nothing answers to the host's editor
// requests. Concrete editors override the operations; their order is fixed.
#pragma once

#include "host/AEffect.h"

#include <cstdint>

class PluginEffect;

class PluginEditor {
public:
    // Binds the editor to its effect: the effect owns it from here on and
    // tells the host it has an editor.
    explicit PluginEditor(PluginEffect* effect);
    PluginEditor(const PluginEditor&) = delete;
    PluginEditor& operator=(const PluginEditor&) = delete;

    virtual ~PluginEditor();
    virtual std::int32_t getRect(ERect** rect);
    virtual std::int32_t open(void* parentWindow);
    virtual void close();
    virtual void idle();
    virtual void updateDisplay();
    virtual void postUpdate();
    virtual std::int32_t onKeyDown(VstKeyCode* key);
    virtual std::int32_t onKeyUp(VstKeyCode* key);
    virtual std::int32_t setKnobMode(std::int32_t mode);
    virtual bool onWheel(float distance);

protected:
    PluginEffect* effect;
    void* systemWindow = nullptr;
    std::int32_t updatePending = 0;
};
