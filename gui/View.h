// Base of everything visible in the editor window: a rectangle in the window's
// client coordinates that draws itself into a DrawContext, knows whether it
// must be redrawn, may take presses, keys, drops and wheel turns, and is
// reference counted. A new view has one reference, its creator's; the frame
// takes that reference over when the view is added, and the last release
// destroys the view.
#pragma once

#include "gui/Geometry.h"
#include "host/AEffect.h"

#include <cstdint>

class DrawContext;
class Frame;
class FrameOwner;
class ViewContainer;

// What `dropItems` receives: zero-terminated file names, or one text block.
enum DropKind : std::int32_t { DropKindFiles = 0, DropKindText = 1 };

class View {
public:
    explicit View(const Rect& size);
    View(const View&) = delete;
    View& operator=(const View&) = delete;

protected:
    // Only `release` destroys views: others may still hold references.
    virtual ~View();

public:
    virtual void draw(DrawContext& context);
    // Views that can draw part of themselves may use the area; the base draws all.
    virtual void drawArea(DrawContext& context, const Rect& area);
    // Edges count: rectangles that only touch overlap.
    virtual bool overlaps(const Rect& rect) const;
    virtual void mouseDown(DrawContext& context, Point where);
    // Draws the view only when it is dirty, and marks it clean.
    virtual void update(DrawContext& context);
    // A slot kept so that the later operations keep their places; nothing calls it.
    virtual void reservedOperation(DrawContext& context, Point where);
    // Key answers: -1 when not handled.
    virtual std::int32_t onKeyDown(VstKeyCode& key);
    virtual std::int32_t onKeyUp(VstKeyCode& key);
    // `items` and what they point to live only during the call; `kind` is a
    // DropKind. True when the view took the drop.
    virtual bool dropItems(char** items, std::int32_t count, std::int32_t kind, Point where);
    // `context` may be null.
    virtual bool onWheel(DrawContext* context, const Point& where, float distance);
    virtual void focusLost(DrawContext* context);
    virtual void focusGained(DrawContext* context);
    virtual bool isDirty() const;
    virtual void setDirty(bool state);
    virtual void setMouseInput(bool state);
    virtual bool getMouseInput() const;
    virtual void setInputArea(const Rect& area);
    virtual Rect& getInputArea(Rect& area) const;
    // Edges included.
    virtual bool hitTest(const Point& where) const;
    virtual void setTransparentDraw(bool state);
    virtual bool getTransparentDraw() const;
    // Moves or resizes the view and marks it dirty.
    virtual void setSize(const Rect& rect);
    virtual void setOwnerFrame(Frame* owner);
    virtual void setParent(View* view);
    // Null until the view is added to a frame.
    virtual FrameOwner* getEditor() const;
    virtual bool detachedFrom(ViewContainer* container);
    virtual bool attachedTo(ViewContainer* container);
    // Destroys the view when the last reference goes; a count already at 0 is
    // left alone.
    virtual void release();
    virtual void retain();
    virtual std::int32_t getReferenceCount() const;

    const Rect& getSize() const { return size; }
    Frame* getFrame() const { return frame; }
    View* getParent() const { return parent; }

private:
    std::int32_t referenceCount = 1;
    Rect size;
    Rect inputArea;
    Frame* frame = nullptr;
    View* parent = nullptr;
    bool dirty = false;
    bool mouseInput = true;
    bool transparentDraw = false;
};
