#include "gui/ViewContainer.h"

#include "gui/Bitmap.h"

#include <cstdlib>
#include <cstring>
#include <initializer_list>

namespace {
constexpr std::int32_t kCapacityStep = 10;
constexpr std::int32_t kKeyNotHandled = -1;
} // namespace

ViewContainer::ViewContainer(const Rect& size, Frame* owner) : View(size), owner(owner) {}

ViewContainer::~ViewContainer()
{
    removeAllChildren(true);
    setBackground(nullptr);
}

bool ViewContainer::grow()
{
    const std::int32_t newCapacity = capacity + kCapacityStep;
    void* grown = std::realloc(items, static_cast<std::size_t>(newCapacity) * sizeof(View*));
    if (!grown)
        return false;
    items = static_cast<View**>(grown);
    capacity = newCapacity;
    return true;
}

bool ViewContainer::addChild(View* view)
{
    if (count == capacity && !grow())
        return false;
    items[count++] = view;
    view->setOwnerFrame(owner);
    view->attachedTo(this);
    return true;
}

bool ViewContainer::removeChild(View* view, bool release)
{
    for (std::int32_t i = 0; i < count; ++i) {
        if (items[i] != view)
            continue;
        std::memmove(items + i, items + i + 1, static_cast<std::size_t>(count - i - 1) * sizeof(View*));
        --count;
        forgetIfSpecial(view);
        view->setOwnerFrame(nullptr);
        view->detachedFrom(this);
        if (release)
            view->release();
        break;
    }
    return true;
}

bool ViewContainer::removeAllChildren(bool release)
{
    if (focusView) {
        focusView->focusLost(nullptr);
        focusView = nullptr;
    }
    for (std::int32_t i = 0; i < count; ++i) {
        View* view = items[i];
        forgetIfSpecial(view);
        view->setOwnerFrame(nullptr);
        view->detachedFrom(this);
        if (release)
            view->release();
    }
    std::free(items);
    items = nullptr;
    count = 0;
    capacity = 0;
    return true;
}

void ViewContainer::forgetIfSpecial(View* view)
{
    if (view == modalView)
        modalView = nullptr;
    if (view == focusView)
        focusView = nullptr;
}

bool ViewContainer::hasChild(View* view) const
{
    for (std::int32_t i = 0; i < count; ++i) {
        if (items[i] == view)
            return true;
    }
    return false;
}

std::int32_t ViewContainer::childCount() const
{
    return count;
}

View* ViewContainer::childAt(std::int32_t index) const
{
    if (index < 0 || index >= count)
        return nullptr;
    return items[index];
}

View* ViewContainer::childContaining(const Point& where) const
{
    for (std::int32_t i = count - 1; i >= 0; --i) {
        if (items[i]->getSize().contains(where))
            return items[i];
    }
    return nullptr;
}

void ViewContainer::drawBackground(DrawContext& context, const Rect& area, const Point& source)
{
    if (background)
        background->draw(context, area, source);
}

void ViewContainer::draw(DrawContext& context)
{
    if (background)
        drawBackground(context, Rect{0, 0, background->getWidth(), background->getHeight()}, Point{});
    for (std::int32_t i = 0; i < count; ++i)
        items[i]->draw(context);
    if (modalView)
        modalView->draw(context);
}

void ViewContainer::drawArea(DrawContext& context, const Rect& area)
{
    // The background reappears exactly under the damaged area.
    drawBackground(context, area, Point{area.left, area.top});
    for (std::int32_t i = 0; i < count; ++i) {
        if (items[i]->overlaps(area))
            items[i]->drawArea(context, area);
    }
    if (modalView && modalView->overlaps(area))
        modalView->draw(context);
}

void ViewContainer::mouseDown(DrawContext& context, Point where)
{
    if (focusView) {
        focusView->focusLost(nullptr);
        focusView = nullptr;
    }
    if (modalView) {
        if (modalView->hitTest(where))
            modalView->mouseDown(context, where);
        return;
    }
    for (std::int32_t i = count - 1; i >= 0; --i) {
        View* child = items[i];
        if (child->getMouseInput() && child->hitTest(where)) {
            child->mouseDown(context, where);
            return;
        }
    }
}

void ViewContainer::update(DrawContext& context)
{
    if (modalView) {
        modalView->update(context);
    } else if (isDirty()) {
        draw(context);
        setDirty(false);
    } else {
        for (std::int32_t i = 0; i < count; ++i)
            items[i]->update(context);
    }
}

bool ViewContainer::hasDirtyViews() const
{
    if (modalView || isDirty())
        return true;
    for (std::int32_t i = 0; i < count; ++i) {
        if (items[i]->isDirty())
            return true;
    }
    return false;
}

std::int32_t ViewContainer::routeKey(std::int32_t (View::*handler)(VstKeyCode&), VstKeyCode& key)
{
    for (View* special : {focusView, modalView}) {
        if (!special)
            continue;
        const std::int32_t answer = (special->*handler)(key);
        if (answer != kKeyNotHandled)
            return answer;
    }
    // Keys reach every child, whatever its place and mouse-input flag.
    for (std::int32_t i = count - 1; i >= 0; --i) {
        const std::int32_t answer = (items[i]->*handler)(key);
        if (answer != kKeyNotHandled)
            return answer;
    }
    return kKeyNotHandled;
}

std::int32_t ViewContainer::onKeyDown(VstKeyCode& key)
{
    return routeKey(&View::onKeyDown, key);
}

std::int32_t ViewContainer::onKeyUp(VstKeyCode& key)
{
    return routeKey(&View::onKeyUp, key);
}

bool ViewContainer::dropItems(char** dropped, std::int32_t droppedCount, std::int32_t kind, Point where)
{
    if (modalView || focusView)
        return false;
    // A child that declines does not hide the children below it.
    for (std::int32_t i = count - 1; i >= 0; --i) {
        View* child = items[i];
        if (child->getMouseInput() && child->getSize().contains(where) &&
            child->dropItems(dropped, droppedCount, kind, where))
            return true;
    }
    return false;
}

void ViewContainer::setBackground(Bitmap* bitmap)
{
    // Retain first, so that setting the same bitmap again cannot free it.
    if (bitmap)
        bitmap->retain();
    if (background)
        background->release();
    background = bitmap;
}

bool ViewContainer::setModalChild(View* view)
{
    if (view && modalView)
        return false;
    if (modalView)
        modalView->detachedFrom(this);
    modalView = view;
    if (modalView)
        modalView->attachedTo(this);
    return true;
}
