#include "gui/MomentaryButton.h"

#include "gui/DrawContext.h"
#include "gui/Frame.h"

MomentaryButton::MomentaryButton(const Rect& size, ControlListener* listener, std::int32_t tag,
                                 std::int32_t imageHeight, Bitmap* background, const Point& offset)
    : Control(size, listener, tag, background), offset(offset), imageHeight(imageHeight)
{
}

MomentaryButton::~MomentaryButton() = default;

void MomentaryButton::draw(DrawContext& context)
{
    Point source = offset;
    clampValue();
    if (getValue() != 0.0f)
        source.y += imageHeight;
    drawBackground(context, getSize(), source);
    setDirty(false);
}

void MomentaryButton::mouseDown(DrawContext& context, Point where)
{
    const std::int32_t buttons = context.mouseState();
    if (!getMouseInput() || !(buttons & ButtonLeft))
        return;
    if (buttons == ButtonLeft) {
        track(context, where, getValue());
    } else {
        setValue(toggled(getValue()));
        notifyListener(context);
    }
    setValue(0.0f);
    notifyListener(context);
}

void MomentaryButton::track(DrawContext& context, Point where, float restingValue)
{
    Frame* frame = getFrame();
    if (frame)
        frame->beginEdit(getTag());
    // The window procedure is busy with this press: poll the mouse until the
    // left button alone is no longer held.
    do {
        setValue(hitTest(where) ? toggled(restingValue) : restingValue);
        if (isDirty())
            notifyListener(context);
        context.cursorPosition(where);
        runIdle();
    } while (context.mouseState() == ButtonLeft);
    if (frame)
        frame->endEdit(getTag());
}
