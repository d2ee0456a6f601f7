// The overlay button: real clicks switch it on (modal, moved over its display
// rectangle, its picture on screen) and off again (back in place, the whole
// frame redrawn), and a refused switch-on leaves the frame as it was.
#include "tests/support/PlatformHandles.h"
#include "tests/gui/ViewTestSupport.h"

#include "gui/ControlListener.h"
#include "gui/OverlayButton.h"

#include <gtest/gtest.h>

namespace {

constexpr std::int32_t kTag = 5;
const Rect kEditorRect{0, 0, 516, 204};
const Rect kButtonRect{74, 184, 138, 200};
const Point kOnButton{100, 190};

class RecordingListener : public ControlListener {
public:
    void valueChanged(DrawContext*, Control* control) override { values.push_back(control->getValue()); }
    std::vector<float> values;
};

bool sameRect(const Rect& a, const Rect& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

class OverlayButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        editor = new TestEditor(&effect);
        editor->open(host.get());
        under = new RecordingView(kEditorRect, "under", log);
        frame().addChild(under);
        settle();
    }
    void TearDown() override
    {
        realInput::mouse(MOUSEEVENTF_LEFTUP);
        realInput::key(VK_SHIFT, false);
        pumpMessages();
        editor->close();
    }

    Frame& frame() { return *editor->getFrame(); }
    OverlayButton* addOverlay(const Rect& display)
    {
        auto* picture = new TwoColourBitmap(display.width(), display.height(), display.height(), ColorMagenta,
                                            ColorMagenta);
        auto* overlay = new OverlayButton(kButtonRect, &listener, kTag, picture, display, Point{});
        picture->release();
        frame().addChild(overlay);
        return overlay;
    }
    void click(const Point& where)
    {
        const std::size_t before = listener.values.size() + under->presses.size() + log.size();
        realInput::moveTo(realInput::onScreen(windowOf(frame()), where));
        realInput::mouse(MOUSEEVENTF_LEFTDOWN);
        pumpUntil([&] { return listener.values.size() + under->presses.size() + log.size() > before; }, 1000);
        realInput::mouse(MOUSEEVENTF_LEFTUP);
        pumpMessages();
    }
    Color onScreen(const Point& where)
    {
        HDC deviceContext = GetDC(windowOf(frame()));
        const COLORREF pixel = GetPixel(deviceContext, where.x, where.y);
        ReleaseDC(windowOf(frame()), deviceContext);
        return Color{GetRValue(pixel), GetGValue(pixel), GetBValue(pixel), 0};
    }

    std::vector<std::string> log;
    ParentWindow host{100, 120, 600, 300};
    TestEffect effect;
    TestEditor* editor = nullptr;
    RecordingListener listener;
    RecordingView* under = nullptr;
};

TEST_F(OverlayButtonTest, ClickOnShowsItOverEverythingAndClickOffRedrawsTheFrame)
{
    OverlayButton* overlay = addOverlay(kEditorRect);
    click(kOnButton);
    ASSERT_EQ(listener.values, std::vector<float>{1.0f});
    EXPECT_EQ(frame().getModalView(), overlay);
    EXPECT_TRUE(sameRect(overlay->getSize(), kEditorRect));
    EXPECT_TRUE(onScreen(Point{300, 50}).sameRgb(ColorMagenta));
    EXPECT_TRUE(overlay->isDirty());

    log.clear();
    click(Point{300, 50});
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f}));
    EXPECT_EQ(frame().getModalView(), nullptr);
    EXPECT_TRUE(sameRect(overlay->getSize(), kButtonRect));
    EXPECT_EQ(log, std::vector<std::string>{"under:draw"}) << "the whole frame is redrawn";
    EXPECT_TRUE(under->presses.empty()) << "the overlay took both presses";
}

TEST_F(OverlayButtonTest, WhileOnPressesOutsideItsDisplayReachNobody)
{
    const Rect display{200, 20, 400, 120};
    OverlayButton* overlay = addOverlay(display);
    click(kOnButton);
    ASSERT_EQ(frame().getModalView(), overlay);
    log.clear();
    click(Point{10, 10});
    EXPECT_TRUE(under->presses.empty());
    EXPECT_EQ(listener.values, std::vector<float>{1.0f});
    EXPECT_EQ(frame().getModalView(), overlay);
}

TEST_F(OverlayButtonTest, ModifierKeysMakeNoDifference)
{
    OverlayButton* overlay = addOverlay(kEditorRect);
    realInput::key(VK_SHIFT, true);
    click(kOnButton);
    realInput::key(VK_SHIFT, false);
    EXPECT_EQ(listener.values, std::vector<float>{1.0f});
    EXPECT_EQ(frame().getModalView(), overlay);
}

TEST_F(OverlayButtonTest, RefusedSwitchOnLeavesTheOtherModalViewAndItsPlace)
{
    OverlayButton* overlay = addOverlay(kEditorRect);
    ASSERT_TRUE(frame().setModalChild(under));
    Win32DrawContext context(&frame(), nullptr, windowOf(frame()));
    {
        HeldLeftButton button;
        ASSERT_TRUE(button.held);
        overlay->setDirty(false);
        overlay->mouseDown(context, kOnButton);
    }
    EXPECT_EQ(overlay->getValue(), 1.0f);
    EXPECT_TRUE(overlay->isDirty());
    EXPECT_TRUE(listener.values.empty());
    EXPECT_EQ(frame().getModalView(), under);
    EXPECT_TRUE(sameRect(overlay->getSize(), kButtonRect));

    {
        HeldLeftButton button;
        overlay->mouseDown(context, kOnButton);
    }
    EXPECT_EQ(overlay->getValue(), 0.0f);
    EXPECT_EQ(frame().getModalView(), under) << "switching off must not clear another view's modal state";
    EXPECT_TRUE(sameRect(overlay->getSize(), kButtonRect)) << "it never moved, so it stays";
}

TEST_F(OverlayButtonTest, WithoutButtonHeldOrMouseInputNothingHappens)
{
    OverlayButton* overlay = addOverlay(kEditorRect);
    Win32DrawContext context(&frame(), nullptr, windowOf(frame()));
    overlay->mouseDown(context, kOnButton);
    EXPECT_EQ(overlay->getValue(), 0.0f);
    overlay->setMouseInput(false);
    {
        HeldLeftButton button;
        overlay->mouseDown(context, kOnButton);
    }
    EXPECT_EQ(overlay->getValue(), 0.0f);
    EXPECT_TRUE(listener.values.empty());
}

TEST(OverlayButtonDrawingTest, DrawsOnlyWhileOnIntoItsDisplayRectangle)
{
    Canvas canvas{60, 40, ColorBlack};
    auto* picture = new TwoColourBitmap(40, 40, 10, ColorRed, ColorGreen);
    auto* overlay =
        new OverlayButton(Rect{0, 0, 5, 5}, nullptr, 0, picture, Rect{10, 10, 30, 30}, Point{0, 5});
    picture->release();
    Win32DrawContext context(nullptr, canvas.get(), nullptr);
    overlay->draw(context);
    EXPECT_FALSE(overlay->isDirty());
    EXPECT_EQ(countIn(canvas, ColorBlack, Rect{0, 0, 60, 40}), 60 * 40);

    overlay->setValue(1.0f);
    overlay->draw(context);
    EXPECT_FALSE(overlay->isDirty());
    EXPECT_EQ(countIn(canvas, ColorRed, Rect{10, 10, 30, 15}), 20 * 5) << "rows 5-9 of the picture";
    EXPECT_EQ(countIn(canvas, ColorGreen, Rect{10, 15, 30, 30}), 20 * 15);
    EXPECT_EQ(countIn(canvas, ColorBlack, Rect{0, 0, 60, 10}), 60 * 10);
    overlay->release();
}

} // namespace
