// The editor layer that owns a toolkit Frame: answers the host's rectangle,
// key and wheel requests through the frame, redraws dirty views on idle, and
// supplies the paced idle work that controls run while they track the mouse.
// Concrete editors make the frame in `open` and delete it in `close`.
//
// Threads: every operation runs on the host's user-interface thread. Each
// editor initialises OLE once for that thread when made and uninitialises it
// once when destroyed.
#pragma once

#include "editor/PluginEditor.h"

#include <cstdint>

class ExtendedEffect;
class Frame;

class EditorBase : public PluginEditor {
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
    virtual void trackingIdle();
    // Run by the frame's window timer every 20 ms, on the user-interface
    // thread, whether or not the host sends idle requests. Nothing here.
    virtual void refreshTimer();

    ExtendedEffect* getEffect() const;
    Frame* getFrame() const { return frame; }
    static std::int32_t getKnobMode();

protected:
    // Deletes the frame, if any, and forgets it: concrete editors' `close`
    // uses it, and the destructor does it for a host that never closed.
    void deleteFrame();

    ERect editorRect{};
    Frame* frame = nullptr;
    // GetTickCount milliseconds; before this, trackingIdle only sleeps.
    std::uint32_t nextIdleTime;
    bool inIdle = false;
};
