// A view with a value, a range, a tag that tells the listener which control
// spoke, and a background bitmap. A control is dirty while its value differs
// from the value it last drew, so changing the value is enough to have it
// redrawn at the next idle redraw.

#pragma once

#include "gui/View.h"

#include <cstdint>

class Bitmap;
class ControlListener;

class Control : public View {
public:
    // Takes a reference to `background` when one is given.
    Control(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background);

    // Every concrete control draws itself.
    void draw(DrawContext& context) override = 0;
    bool isDirty() const override;
    // True makes the drawn value differ from the value; false records the
    // value as drawn.
    void setDirty(bool state) override;

    // Keeps the frame's window and the host alive during mouse tracking.
    virtual void runIdle();
    // Stored as given: no clamping, no notification.
    virtual void setValue(float newValue);
    virtual float getValue() const;
    virtual void setMin(float newMin);
    virtual float getMin() const;
    virtual void setMax(float newMax);
    virtual float getMax() const;
    virtual void setDrawnValue(float newDrawnValue);
    virtual float getDrawnValue() const;
    virtual void setDefaultValue(float newDefault);
    virtual float getDefaultValue() const;
    virtual void setTag(std::int32_t newTag);
    virtual void setBackground(Bitmap* bitmap);
    virtual Bitmap* getBackground() const;
    virtual void setWheelIncrement(float increment);
    virtual float getWheelIncrement() const;
    virtual void clampValue();

    std::int32_t getTag() const { return tag; }

protected:
    ~Control() override;

    // Draws the background, if any, into `destination` from `source`, leaving
    // the transparent colour out when the view draws transparently.
    void drawBackground(DrawContext& context, const Rect& destination, const Point& source);
    // Tells the listener, if any, about the current value.
    void notifyListener(DrawContext& context);
    // The momentary and overlay buttons' flip: 0 becomes 1, anything else 0.
    static float toggled(float value);

private:
    ControlListener* listener;
    std::int32_t tag;
    float drawnValue = 1.0f;
    float defaultValue = 0.5f;
    float value = 0.0f;
    float minimum = 0.0f;
    float maximum = 1.0f;
    float wheelIncrement = 0.1f;
    Bitmap* background = nullptr;
};
