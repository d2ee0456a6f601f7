// A click-toggled control that lays its bitmap over a larger area: while on
// it is the frame's modal view, sits in and draws over its display rectangle
// and takes every press there; the next click puts it back in its own
// rectangle and redraws the whole frame.
#pragma once

#include "gui/Control.h"

class OverlayButton : public Control {
public:
    OverlayButton(const Rect& size, ControlListener* listener, std::int32_t tag, Bitmap* background,
                  const Rect& displayRect, const Point& offset);

    // Draws only while on.
    void draw(DrawContext& context) override;
    // Any press with the left button switches; modifiers make no difference.
    void mouseDown(DrawContext& context, Point where) override;

protected:
    ~OverlayButton() override;

private:
    // False when the frame refuses to make it modal; it then stays where it is.
    bool switchOn(DrawContext& context);
    void switchOff(DrawContext& context);

    Rect displayRect;
    Rect savedSize;
    Point offset;
};
