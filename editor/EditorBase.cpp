#include "editor/EditorBase.h"

#include "gui/Frame.h"
#include "host/ExtendedEffect.h"

#include <windows.h>

#include <ole2.h>

namespace {
constexpr std::int32_t kKeyNotHandled = -1;
constexpr DWORD kEarlySleepMs = 4;
// A call this close to the next idle time does the work now.
constexpr DWORD kIdleToleranceMs = 50;
constexpr DWORD kIdleIntervalMs = 100;

// Shared by every editor of the process, touched only from the user-interface thread.
std::int32_t knobMode = 0;
MSG idleMessage;
} // namespace

EditorBase::EditorBase(ExtendedEffect* effect) : PluginEditor(effect), nextIdleTime(GetTickCount())
{
    OleInitialize(nullptr);
}

EditorBase::~EditorBase()
{
    deleteFrame();
    OleUninitialize();
}

void EditorBase::deleteFrame()
{
    delete frame;
    frame = nullptr;
}

ExtendedEffect* EditorBase::getEffect() const
{
    // The constructor takes only extended effects.
    return static_cast<ExtendedEffect*>(effect);
}

std::int32_t EditorBase::getKnobMode()
{
    return knobMode;
}

std::int32_t EditorBase::getRect(ERect** rect)
{
    *rect = &editorRect;
    return 1;
}

std::int32_t EditorBase::open(void* parentWindow)
{
    postUpdate();
    systemWindow = parentWindow;
    return 0;
}

void EditorBase::idle()
{
    if (inIdle)
        return;
    PluginEditor::idle();
    if (frame)
        frame->updateDirtyViews();
}

std::int32_t EditorBase::onKeyDown(VstKeyCode* key)
{
    return frame && key ? frame->onKeyDown(*key) : kKeyNotHandled;
}

std::int32_t EditorBase::onKeyUp(VstKeyCode* key)
{
    return frame && key ? frame->onKeyUp(*key) : kKeyNotHandled;
}

std::int32_t EditorBase::setKnobMode(std::int32_t mode)
{
    knobMode = mode;
    return 1;
}

bool EditorBase::onWheel(float distance)
{
    return frame ? frame->onWheel(nullptr, Point{}, distance) : false;
}

void EditorBase::setParameter(std::int32_t, float)
{
    postUpdate();
}

void EditorBase::redraw(ERect*)
{
    if (frame)
        frame->drawView(nullptr);
}

void EditorBase::refreshTimer() {}

void EditorBase::trackingIdle()
{
    DWORD now = GetTickCount();
    if (now < nextIdleTime) {
        Sleep(kEarlySleepMs);
        now += kEarlySleepMs;
        if (now < nextIdleTime - kIdleToleranceMs)
            return;
    }
    idle();
    if (PeekMessageA(&idleMessage, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE))
        DispatchMessageA(&idleMessage);
    nextIdleTime = now + kIdleIntervalMs;
    // A host that answers with an editor idle request finds inIdle set.
    inIdle = true;
    if (effect)
        effect->masterIdle();
    inIdle = false;
}
