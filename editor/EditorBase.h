// The editor layer that owns a toolkit Frame: answers the host's rectangle,
// key and wheel requests through the frame, redraws dirty views on idle, and
// supplies the paced idle work that controls run while they track the mouse.
// Concrete editors make the frame in `open` and delete it in `close`.
//
// Threads: the host's requests run on its user-interface thread, which also
// makes and destroys the editor. Where the platform's window runs its
// refresh timer on a thread of its own, that thread takes turns with the
// host's requests through the user-interface lock, which every request and
// every concrete editor's `open`, `close` and `idle` hold.
#pragma once

#include "editor/PluginEditor.h"
#include "gui/FrameOwner.h"

#include <cstdint>
#include <mutex>

class ExtendedEffect;
class Frame;

class EditorBase : public PluginEditor, public FrameOwner {
public:
    // The editor needs the extended effect for the host's edit notifications.
    explicit EditorBase(ExtendedEffect* effect);
    // A frame still open is deleted first, so its window cannot outlive the
    // editor with a pointer to it.
    ~EditorBase() override;

    std::int32_t getRect(ERect** rect) override;
    // Posts an update, which the next idle consumes; answers 0 like the
    // interface layer, concrete editors answer for their own window.
    std::int32_t open(void* parentWindow) override;
    // Does nothing while the editor waits inside `trackingIdle` for the host.
    // Otherwise: window events where the platform waits for the host's idle,
    // the posted update, and the dirty views.
    void idle() override;
    std::int32_t onKeyDown(VstKeyCode* key) override;
    std::int32_t onKeyUp(VstKeyCode* key) override;
    // The mode is kept once for the whole process.
    std::int32_t setKnobMode(std::int32_t mode) override;
    bool onWheel(float distance) override;
    // Any parameter change asks for a display update.
    virtual void setParameter(std::int32_t index, float value);
    // Draws everything now; `area` is not used.
    virtual void redraw(ERect* area);
    // Called continuously by a control's mouse-tracking loop: sleeps while
    // early, otherwise runs idle, one pending paint and the host's idle, and
    // pushes the next run 100 ms ahead, so the work comes about every 50 ms.
    void trackingIdle() override;
    // The host's edit notifications, for the frame's controls.
    void beginEdit(std::int32_t tag) override;
    void endEdit(std::int32_t tag) override;
    // The frame's window timer, every 20 ms whether or not the host sends
    // idle requests: runs onRefreshTimer unless a host request has the editor.
    void refreshTimer() final;
    std::recursive_mutex& userInterfaceLock() override { return uiLock; }

    ExtendedEffect* getEffect() const;
    Frame* getFrame() const { return frame; }
    static std::int32_t getKnobMode();

protected:
    using UserInterfaceScope = std::lock_guard<std::recursive_mutex>;

    // Deletes the frame, if any, and forgets it: concrete editors' `close`
    // uses it, and the destructor does it for a host that never closed.
    void deleteFrame();
    // The timer's work, with the user-interface lock held. Nothing here.
    virtual void onRefreshTimer();

    ERect editorRect{};
    Frame* frame = nullptr;
    // Idle clock milliseconds; before this, trackingIdle only sleeps.
    std::uint32_t nextIdleTime;
    bool inIdle = false;

private:
    std::recursive_mutex uiLock;
};
