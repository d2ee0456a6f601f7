#include "editor/EditorBase.h"

#include "gui/Frame.h"
#include "gui/Platform.h"
#include "host/ExtendedEffect.h"

namespace {
constexpr std::int32_t kKeyNotHandled = -1;
constexpr std::uint32_t kEarlySleepMs = 4;
// A call this close to the next idle time does the work now.
constexpr std::uint32_t kIdleToleranceMs = 50;
constexpr std::uint32_t kIdleIntervalMs = 100;

// Shared by every editor of the process, touched only from the user-interface thread.
std::int32_t knobMode = 0;
} // namespace

EditorBase::EditorBase(ExtendedEffect* effect)
    : PluginEditor(effect), nextIdleTime(platform::idleClockMilliseconds())
{
    platform::attachEditorThread();
}

EditorBase::~EditorBase()
{
    deleteFrame();
    platform::detachEditorThread();
}

void EditorBase::deleteFrame()
{
    const UserInterfaceScope userInterface(uiLock);
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
    const UserInterfaceScope userInterface(uiLock);
    if (frame)
        frame->handleEvents();
    PluginEditor::idle();
    if (frame)
        frame->updateDirtyViews();
}

std::int32_t EditorBase::onKeyDown(VstKeyCode* key)
{
    const UserInterfaceScope userInterface(uiLock);
    return frame && key ? frame->onKeyDown(*key) : kKeyNotHandled;
}

std::int32_t EditorBase::onKeyUp(VstKeyCode* key)
{
    const UserInterfaceScope userInterface(uiLock);
    return frame && key ? frame->onKeyUp(*key) : kKeyNotHandled;
}

std::int32_t EditorBase::setKnobMode(std::int32_t mode)
{
    knobMode = mode;
    return 1;
}

bool EditorBase::onWheel(float distance)
{
    const UserInterfaceScope userInterface(uiLock);
    return frame ? frame->onWheel(nullptr, Point{}, distance) : false;
}

void EditorBase::setParameter(std::int32_t, float)
{
    postUpdate();
}

void EditorBase::redraw(ERect*)
{
    const UserInterfaceScope userInterface(uiLock);
    if (frame)
        frame->drawView(nullptr);
}

void EditorBase::trackingIdle()
{
    std::uint32_t now = platform::idleClockMilliseconds();
    if (now < nextIdleTime) {
        platform::sleepMilliseconds(kEarlySleepMs);
        now += kEarlySleepMs;
        if (now < nextIdleTime - kIdleToleranceMs)
            return;
    }
    idle();
    if (frame)
        frame->dispatchPendingPaint();
    nextIdleTime = now + kIdleIntervalMs;
    // A host that answers with an editor idle request finds inIdle set.
    inIdle = true;
    if (effect)
        effect->masterIdle();
    inIdle = false;
}

void EditorBase::beginEdit(std::int32_t tag)
{
    if (effect)
        getEffect()->beginEdit(tag);
}

void EditorBase::endEdit(std::int32_t tag)
{
    if (effect)
        getEffect()->endEdit(tag);
}

void EditorBase::refreshTimer()
{
    const std::unique_lock<std::recursive_mutex> userInterface(uiLock, std::try_to_lock);
    if (userInterface.owns_lock())
        onRefreshTimer();
}

void EditorBase::onRefreshTimer() {}
