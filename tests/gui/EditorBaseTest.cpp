// The editor base: what the host sees (rectangle, open, idle, keys, wheel,
// knob mode) and the paced idle work that runs during mouse tracking.
#include "tests/support/PlatformHandles.h"
#include "tests/gui/ViewTestSupport.h"

#include "host/opcodes.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {

class EditorBaseTest : public ::testing::Test {
protected:
    void SetUp() override { RecordingHost::clear(); }
};

TEST_F(EditorBaseTest, RectangleIsTheEditorsOwn)
{
    TestEffect effect;
    auto* editor = new TestEditor(&effect, Rect{0, 0, 1028, 408});
    ERect* rect = nullptr;
    EXPECT_EQ(editor->getRect(&rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 408);
    EXPECT_EQ(rect->right, 1028);
}

TEST_F(EditorBaseTest, OpenPostsAnUpdateThatTheNextIdleConsumes)
{
    TestEffect effect;
    auto* editor = new TestEditor(&effect);
    HWND parent = reinterpret_cast<HWND>(0x1234);
    // The base's own open: the test editor's makes a frame.
    EXPECT_EQ(editor->EditorBase::open(parent), 0);
    EXPECT_EQ(editor->displayUpdates, 0);
    editor->idle();
    EXPECT_EQ(editor->displayUpdates, 1);
    editor->idle();
    EXPECT_EQ(editor->displayUpdates, 1);
    editor->setParameter(3, 0.5f);
    editor->idle();
    EXPECT_EQ(editor->displayUpdates, 2);
}

TEST_F(EditorBaseTest, KnobModeIsAcceptedAndKeptForTheProcess)
{
    TestEffect effect;
    TestEffect other;
    auto* editor = new TestEditor(&effect);
    auto* second = new TestEditor(&other);
    for (std::int32_t mode : {0, 1, 2, -5}) {
        EXPECT_EQ(editor->setKnobMode(mode), 1);
        EXPECT_EQ(EditorBase::getKnobMode(), mode);
    }
    second->setKnobMode(1);
    EXPECT_EQ(EditorBase::getKnobMode(), 1);
}

TEST_F(EditorBaseTest, WithoutFrameKeysAndWheelAreNotHandled)
{
    TestEffect effect;
    auto* editor = new TestEditor(&effect);
    VstKeyCode key{'x', 0, 0};
    EXPECT_EQ(editor->onKeyDown(&key), -1);
    EXPECT_EQ(editor->onKeyUp(&key), -1);
    EXPECT_FALSE(editor->onWheel(1.0f));
    editor->redraw(nullptr);
}

TEST_F(EditorBaseTest, WithFrameKeysAndWheelReachTheViews)
{
    ParentWindow host{100, 120, 600, 300};
    TestEffect effect;
    auto* editor = new TestEditor(&effect);
    editor->open(host.get());
    std::vector<std::string> log;
    auto* view = new RecordingView(Rect{0, 0, 100, 100}, "v", log);
    view->keyAnswer = 1;
    editor->getFrame()->addChild(view);

    VstKeyCode key{'x', 0, 0};
    EXPECT_EQ(editor->onKeyDown(&key), 1);
    EXPECT_EQ(editor->onKeyUp(&key), 1);
    realInput::moveTo(realInput::onScreen(windowOf(*editor->getFrame()), Point{20, 30}));
    EXPECT_TRUE(editor->onWheel(-1.5f));
    EXPECT_EQ(view->wheelDistance, -1.5f);
    EXPECT_EQ(view->wheelPoint.y, 30);

    log.clear();
    editor->redraw(nullptr);
    EXPECT_EQ(log, std::vector<std::string>{"v:draw"});
    editor->close();
    EXPECT_EQ(editor->getFrame(), nullptr);
}

TEST_F(EditorBaseTest, IdleRedrawsDirtyViewsOfTheFrame)
{
    ParentWindow host{100, 120, 600, 300};
    TestEffect effect;
    auto* editor = new TestEditor(&effect);
    editor->open(host.get());
    std::vector<std::string> log;
    auto* view = new RecordingView(Rect{0, 0, 100, 100}, "v", log);
    editor->getFrame()->addChild(view);
    pumpMessages();
    view->setDirty(true);
    log.clear();
    editor->idle();
    EXPECT_EQ(editor->displayUpdates, 1);
    EXPECT_EQ(log, std::vector<std::string>{"v:draw"});
    editor->close();
}

TEST_F(EditorBaseTest, DestroyingAnOpenEditorTakesItsWindowAlong)
{
    ParentWindow host{100, 120, 600, 300};
    HWND window = nullptr;
    {
        TestEffect effect;
        auto* editor = new TestEditor(&effect);
        editor->open(host.get());
        window = windowOf(*editor->getFrame());
        ASSERT_TRUE(IsWindow(window));
    }
    EXPECT_FALSE(IsWindow(window));
    // A paint for the host must not reach a frame that is gone.
    InvalidateRect(host.get(), nullptr, TRUE);
    pumpMessages();
}

class TrackingIdleTest : public EditorBaseTest {
protected:
    // GetTickCount moves in steps of about 16 ms here: too coarse to see a 4 ms sleep.
    static double elapsedMs(std::chrono::steady_clock::time_point since)
    {
        return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
    }

    void SetUp() override
    {
        EditorBaseTest::SetUp();
        editor = new TestEditor(&effect);
    }

    TestEffect effect;
    TestEditor* editor = nullptr;
};

TEST_F(TrackingIdleTest, FirstCallAfterConstructionWorksAtOnce)
{
    const DWORD before = GetTickCount();
    editor->trackingIdle();
    EXPECT_EQ(editor->idleCalls, 1);
    EXPECT_EQ(RecordingHost::callsOf(audioMasterIdle).size(), 1u);
    EXPECT_GE(editor->getNextIdleTime(), before + 100);
    EXPECT_LE(editor->getNextIdleTime(), GetTickCount() + 100);
}

TEST_F(TrackingIdleTest, SixtyMillisecondsEarlySleepsAndReturns)
{
    // The tick is read again inside the call; only a tick step between the
    // two reads (about 16 ms apart, microseconds here) could move it.
    const auto start = std::chrono::steady_clock::now();
    const std::uint32_t due = GetTickCount() + 60;
    editor->setNextIdleTime(due);
    editor->trackingIdle();
    EXPECT_GE(elapsedMs(start), 4.0) << "it slept";
    EXPECT_EQ(editor->idleCalls, 0);
    EXPECT_EQ(editor->getNextIdleTime(), due);
    EXPECT_TRUE(RecordingHost::callsOf(audioMasterIdle).empty());
}

TEST_F(TrackingIdleTest, FiftyMillisecondsEarlySleepsThenWorks)
{
    const auto start = std::chrono::steady_clock::now();
    const DWORD before = GetTickCount();
    editor->setNextIdleTime(before + 50);
    editor->trackingIdle();
    const DWORD after = GetTickCount();
    EXPECT_GE(elapsedMs(start), 4.0) << "it slept first";
    EXPECT_EQ(editor->idleCalls, 1);
    EXPECT_EQ(RecordingHost::callsOf(audioMasterIdle).size(), 1u);
    // The call's own tick + 4 ms of sleep + 100, and that tick lies between before and after.
    EXPECT_GE(editor->getNextIdleTime(), before + 104);
    EXPECT_LE(editor->getNextIdleTime(), after + 104);
}

TEST_F(TrackingIdleTest, CallsInALoopWorkAboutEveryFiftyMilliseconds)
{
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < 500)
        editor->trackingIdle();
    // The first run at once, then one about every 50 ms.
    EXPECT_GE(editor->idleCalls, 8);
    EXPECT_LE(editor->idleCalls, 13);
}

TEST_F(EditorBaseTest, TrackingIdleDispatchesOnePendingPaint)
{
    ParentWindow host{100, 120, 600, 300};
    pumpMessages();
    TestEffect effect;
    auto* editor = new TestEditor(&effect);
    editor->open(host.get());
    ASSERT_TRUE(editor->getFrame()->isFirstPaintPending());
    editor->trackingIdle();
    EXPECT_FALSE(editor->getFrame()->isFirstPaintPending());
    editor->close();
}

TestEditor* reentered = nullptr;
int updatesSeenInsideHostIdle = -1;

// A host that answers its idle request with an editor idle request.
VstIntPtr ORVANE_CDECL reenteringHost(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float)
{
    if (opcode == audioMasterIdle && reentered) {
        EXPECT_TRUE(reentered->waitingForHost());
        reentered->postUpdate();
        reentered->idle();
        updatesSeenInsideHostIdle = reentered->displayUpdates;
    }
    return 0;
}

TEST_F(EditorBaseTest, HostIdleAnsweredWithEditorIdleFindsTheEditorBusy)
{
    TestEffect effect(reenteringHost);
    reentered = new TestEditor(&effect);
    reentered->trackingIdle();
    EXPECT_EQ(updatesSeenInsideHostIdle, 0);
    EXPECT_FALSE(reentered->waitingForHost());
    reentered->idle();
    EXPECT_EQ(reentered->displayUpdates, 1) << "the update posted meanwhile is still pending";
    reentered = nullptr;
}

} // namespace
