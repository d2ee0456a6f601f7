// Told by controls when the user changed their value.
#pragma once

class Control;
class DrawContext;

class ControlListener {
public:
    // Runs on the user-interface thread during the press being handled; the
    // listener reads the control's tag and value and may redraw the control
    // into `context` (null when no press context exists).
    virtual void valueChanged(DrawContext* context, Control* control) = 0;

protected:
    // Listeners are owned and destroyed as what they are, never through this interface.
    ~ControlListener() = default;
};
