#include "editor/PluginEditor.h"

#include "host/PluginEffect.h"

namespace {
constexpr std::int32_t kKeyNotHandled = -1;
}

PluginEditor::PluginEditor(PluginEffect* effect) : effect(effect)
{
    effect->editor = this;
    effect->setFlag(effFlagsHasEditor, true);
}

PluginEditor::~PluginEditor() = default;

std::int32_t PluginEditor::getRect(ERect** rect)
{
    *rect = nullptr;
    return 0;
}

std::int32_t PluginEditor::open(void* parentWindow)
{
    systemWindow = parentWindow;
    return 0;
}

void PluginEditor::close() {}

void PluginEditor::idle()
{
    if (updatePending) {
        updatePending = 0;
        updateDisplay();
    }
}

void PluginEditor::updateDisplay() {}

void PluginEditor::postUpdate()
{
    updatePending = 1;
}

std::int32_t PluginEditor::onKeyDown(VstKeyCode*)
{
    return kKeyNotHandled;
}

std::int32_t PluginEditor::onKeyUp(VstKeyCode*)
{
    return kKeyNotHandled;
}

std::int32_t PluginEditor::setKnobMode(std::int32_t)
{
    return 0;
}

bool PluginEditor::onWheel(float)
{
    return false;
}
