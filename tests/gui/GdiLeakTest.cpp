// Opening and closing the editor's window many times must give back every
// GDI object: window, paints, idle redraws, fonts, brushes, masks and bitmaps.
#include "tests/support/PlatformHandles.h"
#include "tests/gui/ViewTestSupport.h"

#include "gui/ControlListener.h"
#include "gui/MomentaryButton.h"
#include "gui/OverlayButton.h"
#include "gui/ValueDisplay.h"
#include "tests/support/GdiObjects.h"

#include <gtest/gtest.h>

namespace {

constexpr int kOpenCloseCycles = 1000;

class NoListener : public ControlListener {
public:
    void valueChanged(DrawContext*, Control*) override {}
};

// One open-draw-close cycle of an editor with a few of each control.
void openDrawAndClose(NoListener& listener)
{
    ParentWindow host{100, 120, 600, 300};
    TestEffect effect;
    auto* editor = new TestEditor(&effect);
    editor->open(host.get());
    Frame& frame = *editor->getFrame();

    auto* background = new TwoColourBitmap(516, 204, 100, ColorGrey, ColorWhite);
    frame.setBackground(background);
    auto* display = new ValueDisplay(Rect{40, 4, 104, 20}, background, StyleShadow);
    frame.addChild(display);
    auto* plainDisplay = new ValueDisplay(Rect{40, 24, 104, 40}, nullptr, StyleSunken);
    frame.addChild(plainDisplay);
    auto* button = new MomentaryButton(Rect{40, 184, 70, 200}, &listener, 0, 16, background, Point{});
    button->setTransparentDraw(true);
    frame.addChild(button);
    auto* overlay =
        new OverlayButton(Rect{74, 184, 138, 200}, &listener, 5, background, Rect{0, 0, 516, 204}, Point{});
    frame.addChild(overlay);
    background->release();

    UpdateWindow(windowOf(frame));
    display->setValue(1.5f);
    plainDisplay->setValue(-3.0f);
    editor->idle();
    frame.drawView(nullptr);
    editor->close();
}

TEST(GdiLeakTest, ManyEditorWindowsLeaveNoObjectsBehind)
{
    NoListener listener;
    // The platform keeps some objects of its own after the first use.
    openDrawAndClose(listener);
    pumpMessages();
    const std::int64_t before = liveGdiObjects();
    ASSERT_GT(before, 0);
    for (int cycle = 0; cycle < kOpenCloseCycles; ++cycle)
        openDrawAndClose(listener);
    pumpMessages();
    EXPECT_EQ(liveGdiObjects(), before);
}

} // namespace
