#include "gui/Frame.h"

#include "gui/FrameOwner.h"
#include "gui/FrameWindow.h"

namespace {
constexpr std::int32_t kDefaultCursorKind = 0;
}

Frame::Frame(const Rect& size, void* parentWindow, FrameOwner* owner)
    : ViewContainer(size, this), owner(owner), window(makeFrameWindow(*this))
{
    createWindow(parentWindow);
}

Frame::~Frame()
{
    chooseCursor(kDefaultCursorKind);
    enableDrop(false);
    removeAllChildren(true);
    setBackground(nullptr);
    delete window;
}

bool Frame::createWindow(void* parentWindow)
{
    if (!window || !window->create(parentWindow))
        return false;
    enableDrop(true);
    return true;
}

void Frame::withTemporaryContext(const std::function<void(DrawContext&)>& work)
{
    if (window)
        window->withDrawContext(work);
}

void Frame::paint(DrawContext& context, const Rect& damaged)
{
    drawArea(context, damaged);
}

void Frame::press(DrawContext& context, Point where)
{
    mouseDown(context, where);
}

void Frame::windowDestroyed()
{
    // Drops are given up while the platform still has the window.
    enableDrop(false);
    windowOpen = false;
}

void Frame::timerFired()
{
    if (owner)
        owner->refreshTimer();
}

void Frame::draw(DrawContext& context)
{
    firstPaintPending = false;
    ViewContainer::draw(context);
}

void Frame::drawArea(DrawContext& context, const Rect& area)
{
    firstPaintPending = false;
    ViewContainer::drawArea(context, area);
}

void Frame::update(DrawContext& context)
{
    if (windowOpen)
        ViewContainer::update(context);
}

bool Frame::onWheel(DrawContext* context, const Point&, float distance)
{
    View* target = childUnderMouse();
    if (!target)
        return false;
    auto turn = [&](DrawContext& turnContext) {
        Point where;
        mousePosition(where);
        return target->onWheel(&turnContext, where, distance);
    };
    if (context)
        return turn(*context);
    bool taken = false;
    withTemporaryContext([&](DrawContext& temporary) { taken = turn(temporary); });
    return taken;
}

FrameOwner* Frame::getEditor() const
{
    return owner;
}

void Frame::drawView(View* view)
{
    withTemporaryContext([&](DrawContext& context) {
        if (view && hasChild(view))
            view->draw(context);
        else
            draw(context);
    });
}

void Frame::updateDirtyViews()
{
    if (!windowOpen || firstPaintPending || !hasDirtyViews())
        return;
    withTemporaryContext([&](DrawContext& context) { update(context); });
}

void Frame::idle()
{
    if (owner)
        owner->trackingIdle();
}

void Frame::beginEdit(std::int32_t tag)
{
    if (owner)
        owner->beginEdit(tag);
}

void Frame::endEdit(std::int32_t tag)
{
    if (owner)
        owner->endEdit(tag);
}

bool Frame::mousePosition(Point& where) const
{
    where = window ? window->mousePosition() : Point{};
    return true;
}

void Frame::chooseCursor(std::int32_t kind)
{
    if (window)
        window->chooseCursor(kind);
}

bool Frame::enableDrop(bool enable)
{
    if (!dropActive && !enable)
        return true;
    if (!window || !getWindow() || !window->enableDrop(enable))
        return false;
    dropActive = enable;
    return true;
}

View* Frame::childUnderMouse() const
{
    Point where;
    mousePosition(where);
    return childContaining(where);
}

void Frame::handleEvents()
{
    if (window)
        window->handleEvents();
}

void Frame::dispatchPendingPaint()
{
    if (window)
        window->dispatchPendingPaint();
}

void Frame::invalidate()
{
    if (window)
        window->invalidate();
}

int Frame::eventDescriptor() const
{
    return window ? window->eventDescriptor() : -1;
}

void Frame::leaveTimerToHost()
{
    if (window)
        window->leaveTimerToHost();
}

void* Frame::getWindow() const
{
    return window ? window->handle() : nullptr;
}

void* Frame::getParentWindow() const
{
    return window ? window->parentHandle() : nullptr;
}
