// The momentary button draws one of two stacked images and tracks the mouse
// itself. The tracking is checked with real input: a second thread moves the
// cursor and presses buttons through the platform while the button polls the
// mouse inside the window's handling of the press.
#include "tests/support/PlatformHandles.h"
#include "tests/gui/ViewTestSupport.h"

#include "gui/ControlListener.h"
#include "gui/MomentaryButton.h"
#include "host/opcodes.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr std::int32_t kTag = 4;
const Rect kButtonRect{40, 40, 100, 80};
const Point kInside{70, 60};
const Point kOutside{200, 150};
constexpr int kInputTimeoutMs = 5000;

// Records every report; redraws the control into the press's context as the
// editor does, unless told not to.
class RecordingListener : public ControlListener {
public:
    void valueChanged(DrawContext* context, Control* control) override
    {
        values.push_back(control->getValue());
        if (redraw && context)
            control->update(*context);
        reports.store(values.size());
    }

    bool redraw = true;
    std::vector<float> values;
    std::atomic<std::size_t> reports{0};
};

class CountingButton : public MomentaryButton {
public:
    using MomentaryButton::MomentaryButton;
    void mouseDown(DrawContext& context, Point where) override
    {
        ++presses;
        MomentaryButton::mouseDown(context, where);
    }
    std::atomic<int> presses{0};
};

// Waits on the input thread for the user-interface thread to get somewhere.
bool waitFor(const std::function<bool()>& reached)
{
    for (int waited = 0; waited < kInputTimeoutMs; waited += 2) {
        if (reached())
            return true;
        Sleep(2);
    }
    return false;
}

class MomentaryButtonTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RecordingHost::clear();
        editor = new TestEditor(&effect);
        editor->open(host.get());
        button = new CountingButton(kButtonRect, &listener, kTag, 0, nullptr, Point{});
        editor->getFrame()->addChild(button);
        settle();
    }
    void TearDown() override
    {
        // Never leave a button or key held for the next test.
        realInput::mouse(MOUSEEVENTF_LEFTUP);
        realInput::key(VK_SHIFT, false);
        pumpMessages();
        editor->close();
    }

    POINT screen(const Point& client) const
    {
        return realInput::onScreen(windowOf(*editor->getFrame()), client);
    }
    std::size_t reports() const { return listener.reports.load(); }

    // Runs `gestures` on a second thread while this one handles the window's messages.
    void perform(const std::function<void()>& gestures)
    {
        std::atomic<bool> done{false};
        std::thread input([&] {
            gestures();
            done = true;
        });
        const bool finished = pumpUntil([&] { return done.load(); }, 4 * kInputTimeoutMs);
        input.join();
        pumpMessages();
        EXPECT_TRUE(finished);
    }

    ParentWindow host{100, 120, 600, 300};
    TestEffect effect;
    TestEditor* editor = nullptr;
    RecordingListener listener;
    CountingButton* button = nullptr;
};

TEST_F(MomentaryButtonTest, ClickReportsOneWhileHeldThenZero)
{
    perform([&] {
        realInput::moveTo(screen(kInside));
        realInput::mouse(MOUSEEVENTF_LEFTDOWN);
        EXPECT_TRUE(waitFor([&] { return reports() >= 1; }));
        Sleep(150);
        realInput::mouse(MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(waitFor([&] { return reports() >= 2; }));
    });
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f}));
    EXPECT_EQ(button->getValue(), 0.0f);
    const auto begins = RecordingHost::callsOf(audioMasterBeginEdit);
    const auto ends = RecordingHost::callsOf(audioMasterEndEdit);
    ASSERT_EQ(begins.size(), 1u);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(begins[0].index, kTag);
    EXPECT_EQ(ends[0].index, kTag);
    EXPECT_FALSE(RecordingHost::callsOf(audioMasterIdle).empty()) << "the host is kept alive while tracking";
}

TEST_F(MomentaryButtonTest, DraggingOutAndBackReportsEachChange)
{
    perform([&] {
        realInput::moveTo(screen(kInside));
        realInput::mouse(MOUSEEVENTF_LEFTDOWN);
        EXPECT_TRUE(waitFor([&] { return reports() >= 1; }));
        realInput::moveTo(screen(kOutside));
        EXPECT_TRUE(waitFor([&] { return reports() >= 2; }));
        realInput::moveTo(screen(kInside));
        EXPECT_TRUE(waitFor([&] { return reports() >= 3; }));
        realInput::moveTo(screen(kOutside));
        EXPECT_TRUE(waitFor([&] { return reports() >= 4; }));
        realInput::mouse(MOUSEEVENTF_LEFTUP);
        EXPECT_TRUE(waitFor([&] { return reports() >= 5; }));
    });
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f, 1.0f, 0.0f, 0.0f}));
}

TEST_F(MomentaryButtonTest, ListenerThatDoesNotRedrawHearsEveryTrackingPass)
{
    listener.redraw = false;
    // Keep the idle work, whose redraw would clean the button, from running.
    editor->setNextIdleTime(GetTickCount() + 60000);
    perform([&] {
        realInput::moveTo(screen(kInside));
        realInput::mouse(MOUSEEVENTF_LEFTDOWN);
        EXPECT_TRUE(waitFor([&] { return reports() >= 3; }));
        realInput::mouse(MOUSEEVENTF_LEFTUP);
    });
    ASSERT_GE(listener.values.size(), 4u);
    for (std::size_t i = 0; i + 1 < listener.values.size(); ++i)
        EXPECT_EQ(listener.values[i], 1.0f) << i;
    EXPECT_EQ(listener.values.back(), 0.0f);
}

TEST_F(MomentaryButtonTest, ShiftClickReportsOneAndZeroWithoutTracking)
{
    perform([&] {
        realInput::moveTo(screen(kInside));
        realInput::key(VK_SHIFT, true);
        realInput::mouse(MOUSEEVENTF_LEFTDOWN);
        EXPECT_TRUE(waitFor([&] { return reports() >= 2; }));
        // Held on purpose: a tracking button would still be reporting.
        Sleep(100);
        realInput::mouse(MOUSEEVENTF_LEFTUP);
        realInput::key(VK_SHIFT, false);
    });
    EXPECT_EQ(listener.values, (std::vector<float>{1.0f, 0.0f}));
    EXPECT_TRUE(RecordingHost::callsOf(audioMasterBeginEdit).empty());
}

TEST_F(MomentaryButtonTest, RightButtonAloneDoesNothing)
{
    perform([&] {
        realInput::moveTo(screen(kInside));
        realInput::mouse(MOUSEEVENTF_RIGHTDOWN);
        EXPECT_TRUE(waitFor([&] { return button->presses.load() >= 1; }));
        realInput::mouse(MOUSEEVENTF_RIGHTUP);
    });
    EXPECT_EQ(button->presses.load(), 1);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_TRUE(RecordingHost::callsOf(audioMasterBeginEdit).empty());
}

TEST_F(MomentaryButtonTest, DisabledButtonIgnoresTheLeftButton)
{
    button->setMouseInput(false);
    Win32DrawContext context(nullptr, nullptr, nullptr);
    {
        HeldLeftButton held;
        ASSERT_TRUE(held.held);
        button->mouseDown(context, kInside);
    }
    EXPECT_TRUE(listener.values.empty());
    EXPECT_TRUE(RecordingHost::callsOf(audioMasterBeginEdit).empty());
}

TEST_F(MomentaryButtonTest, PressWithoutAButtonHeldDoesNothing)
{
    Win32DrawContext context(nullptr, nullptr, nullptr);
    button->mouseDown(context, kInside);
    EXPECT_TRUE(listener.values.empty());
    EXPECT_TRUE(RecordingHost::calls().empty());
}

class MomentaryButtonDrawingTest : public ::testing::Test {
protected:
    void draw(MomentaryButton& button)
    {
        Win32DrawContext context(nullptr, canvas.get(), nullptr);
        button.draw(context);
    }

    Canvas canvas{60, 40, ColorBlack};
};

TEST_F(MomentaryButtonDrawingTest, ValueSelectsTheImage)
{
    // Two 30 x 16 images stacked: red above blue.
    auto* background = new TwoColourBitmap(30, 32, 16, ColorRed, ColorBlue);
    auto* button = new MomentaryButton(Rect{5, 5, 35, 21}, nullptr, 0, 16, background, Point{});
    background->release();
    draw(*button);
    EXPECT_EQ(countIn(canvas, ColorRed, Rect{5, 5, 35, 21}), 30 * 16);
    EXPECT_FALSE(button->isDirty());

    button->setValue(5.0f);
    draw(*button);
    EXPECT_EQ(button->getValue(), 1.0f) << "drawing clamps the value";
    EXPECT_EQ(countIn(canvas, ColorBlue, Rect{5, 5, 35, 21}), 30 * 16);
    EXPECT_EQ(countIn(canvas, ColorBlack, Rect{0, 21, 60, 40}), 60 * 19) << "nothing below the button";
    button->release();
}

TEST_F(MomentaryButtonDrawingTest, TransparentDrawKeepsWhatIsUnderTheTransparentColour)
{
    auto* background = new TwoColourBitmap(30, 32, 8, ColorWhite, ColorGreen);
    auto* button = new MomentaryButton(Rect{5, 5, 35, 21}, nullptr, 0, 16, background, Point{});
    background->release();
    button->setTransparentDraw(true);
    draw(*button);
    EXPECT_EQ(countIn(canvas, ColorBlack, Rect{5, 5, 35, 13}), 30 * 8);
    EXPECT_EQ(countIn(canvas, ColorGreen, Rect{5, 13, 35, 21}), 30 * 8);
    button->release();
}

TEST_F(MomentaryButtonDrawingTest, WithoutBackgroundOnlyMarksClean)
{
    auto* button = new MomentaryButton(Rect{5, 5, 35, 21}, nullptr, 0, 16, nullptr, Point{});
    button->setValue(1.0f);
    draw(*button);
    EXPECT_FALSE(button->isDirty());
    EXPECT_EQ(countIn(canvas, ColorBlack, Rect{0, 0, 60, 40}), 60 * 40);
    button->release();
}

} // namespace
