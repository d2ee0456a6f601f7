#include "gui/Control.h"

#include "gui/Bitmap.h"
#include "gui/ControlListener.h"
#include "gui/Frame.h"

#include <cstring>

namespace {
// The drawn value that makes any value look changed, and the one used when
// the value itself is exactly that.
constexpr float kUndrawnValue = -1.0f;
constexpr float kUndrawnFallback = 0.0f;

bool sameBits(float a, float b)
{
    return std::memcmp(&a, &b, sizeof(float)) == 0;
}
} // namespace

Control::Control(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background)
    : View(size), listener(listener), tag(tag), background(background)
{
    if (background)
        background->retain();
}

Control::~Control()
{
    if (background)
        background->release();
}

bool Control::isDirty() const
{
    // NaN against anything counts as changed.
    return !(value == drawnValue) || View::isDirty();
}

void Control::setDirty(bool state)
{
    View::setDirty(state);
    if (state)
        drawnValue = sameBits(value, kUndrawnValue) ? kUndrawnFallback : kUndrawnValue;
    else
        drawnValue = value;
}

void Control::runIdle()
{
    if (getFrame())
        getFrame()->idle();
}

void Control::setValue(float newValue)
{
    value = newValue;
}

float Control::getValue() const
{
    return value;
}

void Control::setMin(float newMin)
{
    minimum = newMin;
}

float Control::getMin() const
{
    return minimum;
}

void Control::setMax(float newMax)
{
    maximum = newMax;
}

float Control::getMax() const
{
    return maximum;
}

void Control::setDrawnValue(float newDrawnValue)
{
    drawnValue = newDrawnValue;
}

float Control::getDrawnValue() const
{
    return drawnValue;
}

void Control::setDefaultValue(float newDefault)
{
    defaultValue = newDefault;
}

float Control::getDefaultValue() const
{
    return defaultValue;
}

void Control::setTag(std::int32_t newTag)
{
    tag = newTag;
}

void Control::setBackground(Bitmap* bitmap)
{
    // Retain first, so that setting the same bitmap again cannot free it.
    if (bitmap)
        bitmap->retain();
    if (background)
        background->release();
    background = bitmap;
}

Bitmap* Control::getBackground() const
{
    return background;
}

void Control::setWheelIncrement(float increment)
{
    wheelIncrement = increment;
}

float Control::getWheelIncrement() const
{
    return wheelIncrement;
}

void Control::clampValue()
{
    if (value > maximum)
        value = maximum;
    else if (value < minimum)
        value = minimum;
}

void Control::drawBackground(DrawContext& context, const Rect& destination, const Point& source)
{
    if (!background)
        return;
    if (getTransparentDraw())
        background->drawTransparent(context, destination, source);
    else
        background->draw(context, destination, source);
}

void Control::notifyListener(DrawContext& context)
{
    if (listener)
        listener->valueChanged(&context, this);
}

float Control::toggled(float current)
{
    return current == 0.0f ? 1.0f : 0.0f;
}
