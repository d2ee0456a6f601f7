// A push button drawn from two images stacked in one bitmap: value 1 while
// the left button is held down over it, 0 otherwise. It tracks the mouse
// itself, polling the platform, until the button is released.
#pragma once

#include "gui/Control.h"

class MomentaryButton : public Control {
public:
    // `offset` is where the value-0 image starts in the background;
    // the value-1 image lies `imageHeight` pixels below it.
    MomentaryButton(const Rect& size, ControlListener* listener, std::int32_t tag, std::int32_t imageHeight,
                    Bitmap* background, const Point& offset);

    void draw(DrawContext& context) override;
    // A plain left press reports 1 while held over the button, 0 while
    // dragged off it, and a final 0 on release; with a modifier key or
    // another button it reports 1 and 0 at once, without tracking.
    void mouseDown(DrawContext& context, Point where) override;

protected:
    ~MomentaryButton() override;

private:
    void track(DrawContext& context, Point where, float restingValue);

    Point offset;
    std::int32_t imageHeight;
};
