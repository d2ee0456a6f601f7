// Binds the view tree to one platform window (FrameWindow): a visible child
// of the host's window, exactly the editor's size, whose paints and button
// presses reach the views through a fresh DrawContext each time. Also what
// the editor and the controls need around it: explicit and idle redraws, the
// owner's idle step during mouse tracking, edit notifications for the host,
// the mouse position, the cursor, and taking drops from other programs.
//
// Threads: everything runs with the owner's user-interface lock held: on the
// host's user-interface thread, or on the window's own timer thread where the
// platform has one. The window's timer gives the owner its refresh work
// every 20 ms, so that what the analysis hands over is drawn in hosts that
// never idle.
#pragma once

#include "gui/ViewContainer.h"

#include <cstdint>
#include <functional>

class FrameOwner;
class FrameWindow;

class Frame : public ViewContainer {
public:
    // Without a parent window the frame has no window of its own.
    Frame(const Rect& size, void* parentWindow, FrameOwner* owner);
    ~Frame() override;

    void draw(DrawContext& context) override;
    void drawArea(DrawContext& context, const Rect& area) override;
    // Nothing once the window is gone.
    void update(DrawContext& context) override;
    // Goes to the child under the mouse now; `where` is not used.
    bool onWheel(DrawContext* context, const Point& where, float distance) override;
    FrameOwner* getEditor() const override;

    bool createWindow(void* parentWindow);
    // Draws one child now, or everything when `view` is null or not a child.
    void drawView(View* view);
    // The idle redraw: what is dirty, once the window has been painted.
    void updateDirtyViews();
    // Lets painting and the host's idle work happen during mouse tracking.
    void idle();
    // Tell the host that the user starts or ends changing value `tag`.
    void beginEdit(std::int32_t tag);
    void endEdit(std::int32_t tag);
    // The cursor relative to the window now; always true.
    bool mousePosition(Point& where) const;
    // 0: the cursor shown before the first call; 1-6: wait and sizing cursors.
    void chooseCursor(std::int32_t kind);
    // Starts or stops delivering drops from other programs to the views.
    // False only without a window, or where the platform cannot (or, out of
    // memory, could not) take drops; a refusal by the platform itself is not
    // reported.
    bool enableDrop(bool enable);
    // Topmost child under the mouse now, whatever its mouse-input flag.
    View* childUnderMouse() const;
    // Window events waiting now, where the platform delivers them only when
    // asked (the owner's idle calls it).
    void handleEvents();
    // One waiting paint request, if any, during mouse tracking.
    void dispatchPendingPaint();
    // Everything is drawn again soon, over an erased window.
    void invalidate();
    // For a host with a run loop of its own; see FrameWindow.
    int eventDescriptor() const;
    void leaveTimerToHost();

    // From the platform window: a paint of `damaged`, a button press, the
    // window going away under the frame (the host destroyed its own first),
    // and the refresh timer.
    void paint(DrawContext& context, const Rect& damaged);
    void press(DrawContext& context, Point where);
    void windowDestroyed();
    void timerFired();

    // The platform's handles of the window and of the host's window; null
    // when there is none (or no longer).
    void* getWindow() const;
    void* getParentWindow() const;
    bool isOpen() const { return windowOpen; }
    bool isFirstPaintPending() const { return firstPaintPending; }
    bool isDropActive() const { return dropActive; }
    FrameWindow* getPlatformWindow() const { return window; }

private:
    void withTemporaryContext(const std::function<void(DrawContext&)>& work);

    FrameOwner* owner;
    FrameWindow* window;
    bool firstPaintPending = true;
    bool windowOpen = true;
    bool dropActive = false;
};
