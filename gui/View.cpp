#include "gui/View.h"

#include "gui/Frame.h"

namespace {
constexpr std::int32_t kKeyNotHandled = -1;
}

View::View(const Rect& size) : size(size), inputArea(size) {}

View::~View() = default;

void View::draw(DrawContext&) {}

void View::drawArea(DrawContext& context, const Rect&)
{
    draw(context);
}

bool View::overlaps(const Rect& rect) const
{
    if (rect.right < size.left || rect.left > size.right || rect.bottom < size.top)
        return false;
    return rect.top <= size.bottom;
}

void View::mouseDown(DrawContext&, Point) {}

void View::update(DrawContext& context)
{
    if (isDirty()) {
        draw(context);
        setDirty(false);
    }
}

void View::reservedOperation(DrawContext&, Point) {}

std::int32_t View::onKeyDown(VstKeyCode&)
{
    return kKeyNotHandled;
}

std::int32_t View::onKeyUp(VstKeyCode&)
{
    return kKeyNotHandled;
}

bool View::dropItems(char**, std::int32_t, std::int32_t, Point)
{
    return false;
}

bool View::onWheel(DrawContext*, const Point&, float)
{
    return false;
}

void View::focusLost(DrawContext*) {}

void View::focusGained(DrawContext*) {}

bool View::isDirty() const
{
    return dirty;
}

void View::setDirty(bool state)
{
    dirty = state;
}

void View::setMouseInput(bool state)
{
    mouseInput = state;
}

bool View::getMouseInput() const
{
    return mouseInput;
}

void View::setInputArea(const Rect& area)
{
    inputArea = area;
}

Rect& View::getInputArea(Rect& area) const
{
    area = inputArea;
    return area;
}

bool View::hitTest(const Point& where) const
{
    return size.contains(where);
}

void View::setTransparentDraw(bool state)
{
    transparentDraw = state;
}

bool View::getTransparentDraw() const
{
    return transparentDraw;
}

void View::setSize(const Rect& rect)
{
    size = rect;
    setDirty(true);
}

void View::setOwnerFrame(Frame* owner)
{
    frame = owner;
}

void View::setParent(View* view)
{
    parent = view;
}

FrameOwner* View::getEditor() const
{
    return frame ? frame->getEditor() : nullptr;
}

bool View::detachedFrom(ViewContainer*)
{
    return true;
}

bool View::attachedTo(ViewContainer*)
{
    return true;
}

void View::release()
{
    if (referenceCount <= 0)
        return;
    if (--referenceCount == 0)
        delete this;
}

void View::retain()
{
    ++referenceCount;
}

std::int32_t View::getReferenceCount() const
{
    return referenceCount;
}
