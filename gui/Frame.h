// Binds the view tree to one platform window: a visible child window of the
// host's window, exactly the editor's size, whose paint and button-press
// messages reach the views through a fresh DrawContext each time. Also what
// the editor and the controls need around it: explicit and idle redraws, the
// editor's idle step during mouse tracking, edit notifications for the host,
// the mouse position, the cursor, and the window's drop registration.
//
// Threads: everything runs on the user-interface thread that made the frame.
// A timer of the window gives the editor its refresh work every 20 ms, so
// that what the analysis hands over is drawn in hosts that never idle.
#pragma once

#include "gui/ViewContainer.h"

#include <windows.h>

#include <cstdint>

class Frame : public ViewContainer {
public:
    // Without a parent window the frame has no window of its own.
    Frame(const Rect& size, void* parentWindow, EditorBase* editor);
    ~Frame() override;

    void draw(DrawContext& context) override;
    void drawArea(DrawContext& context, const Rect& area) override;
    // Nothing once the window is gone.
    void update(DrawContext& context) override;
    // Goes to the child under the mouse now; `where` is not used.
    bool onWheel(DrawContext* context, const Point& where, float distance) override;
    EditorBase* getEditor() const override;

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
    // Registers the window for drops (a DropTarget delivering to this frame),
    // or revokes it. False only without a window, or without memory for the
    // target; a refusal by OLE itself is not reported.
    bool enableDrop(bool enable);
    // Topmost child under the mouse now, whatever its mouse-input flag.
    View* childUnderMouse() const;

    HWND getWindow() const { return window; }
    HWND getParentWindow() const { return parentWindow; }
    bool isOpen() const { return windowOpen; }
    bool isFirstPaintPending() const { return firstPaintPending; }
    bool isDropActive() const { return dropActive; }
    // The process's window class, "Plugin" and the module handle in hex.
    static const char* windowClassName();

private:
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static void registerWindowClass();
    static void releaseWindowClass();
    void paint();
    template <typename Work> void withTemporaryContext(Work&& work);

    EditorBase* editor;
    HWND parentWindow;
    bool firstPaintPending = true;
    bool windowOpen = true;
    bool dropActive = false;
    HWND window = nullptr;
    HCURSOR defaultCursor = nullptr;
};
