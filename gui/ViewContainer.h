// The frame's flat list of child views and how it is walked: children draw
// from the first added (bottom) to the last (top); presses, keys and drops go
// to the topmost child that takes them. A modal view, when set, is drawn last
// and receives every press. The list holds one reference per child (the one
// its creator handed over) and lives on the C allocator.
#pragma once

#include "gui/View.h"

class Bitmap;

class ViewContainer : public View {
public:
    // False only when the list cannot grow; the view is then not added.
    virtual bool addChild(View* view);
    // True also when the view was not a child.
    virtual bool removeChild(View* view, bool release);
    virtual bool removeAllChildren(bool release);
    virtual bool hasChild(View* view) const;
    virtual std::int32_t childCount() const;
    // Null for an index out of range.
    virtual View* childAt(std::int32_t index) const;

    void draw(DrawContext& context) override;
    void drawArea(DrawContext& context, const Rect& area) override;
    void mouseDown(DrawContext& context, Point where) override;
    // While a modal view is set, only it is updated.
    void update(DrawContext& context) override;
    std::int32_t onKeyDown(VstKeyCode& key) override;
    std::int32_t onKeyUp(VstKeyCode& key) override;
    bool dropItems(char** items, std::int32_t count, std::int32_t kind, Point where) override;

    // The container holds one reference to its background.
    void setBackground(Bitmap* bitmap);
    Bitmap* getBackground() const { return background; }
    // Refuses a view while another is modal: the modal view changes only
    // through null.
    bool setModalChild(View* view);
    View* getModalView() const { return modalView; }
    // The view that loses focus at the next press.
    void setFocusView(View* view) { focusView = view; }
    View* getFocusView() const { return focusView; }
    // Whether the idle redraw has anything to do.
    bool hasDirtyViews() const;
    std::int32_t childCapacity() const { return capacity; }

protected:
    // Children learn `owner` as their frame when they are added.
    ViewContainer(const Rect& size, Frame* owner);
    ~ViewContainer() override;

    // The topmost child containing the point, whatever its mouse-input flag.
    View* childContaining(const Point& where) const;

private:
    bool grow();
    std::int32_t routeKey(std::int32_t (View::*handler)(VstKeyCode&), VstKeyCode& key);
    void drawBackground(DrawContext& context, const Rect& area, const Point& source);
    // The modal and focus views are not list members: forget them when their
    // view leaves the list, so no pointer to a released view stays behind.
    void forgetIfSpecial(View* view);

    Frame* owner;
    Bitmap* background = nullptr;
    std::int32_t count = 0;
    std::int32_t capacity = 0;
    View** items = nullptr;
    View* modalView = nullptr;
    View* focusView = nullptr;
};
