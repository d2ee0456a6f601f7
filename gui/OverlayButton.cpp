#include "gui/OverlayButton.h"

#include "gui/DrawContext.h"
#include "gui/Frame.h"

OverlayButton::OverlayButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                             Bitmap* background, const Rect& displayRect, const Point& offset)
    : Control(size, listener, tag, background), displayRect(displayRect), offset(offset)
{
}

OverlayButton::~OverlayButton() = default;

void OverlayButton::draw(DrawContext& context)
{
    if (getValue() != 0.0f)
        drawBackground(context, displayRect, offset);
    setDirty(false);
}

void OverlayButton::mouseDown(DrawContext& context, Point)
{
    if (!getMouseInput() || !(context.mouseState() & ButtonLeft))
        return;
    setValue(toggled(getValue()));
    if (getValue() == 0.0f) {
        switchOff(context);
    } else if (!switchOn(context)) {
        // Refused: the value stays 1 and nobody is told.
        setDirty(true);
        return;
    }
    notifyListener(context);
    setDirty(true);
}

bool OverlayButton::switchOn(DrawContext& context)
{
    Frame* frame = getFrame();
    if (!frame || !frame->setModalChild(this))
        return false;
    savedSize = getSize();
    setSize(displayRect);
    draw(context);
    return true;
}

void OverlayButton::switchOff(DrawContext& context)
{
    Frame* frame = getFrame();
    // After a refused switch-on the button never moved and another view may
    // be modal: neither its size nor that view may be touched.
    if (!frame || frame->getModalView() != this)
        return;
    setSize(savedSize);
    frame->setModalChild(nullptr);
    frame->draw(context);
}
