// The frame's window on a real display (Wine under Xvfb): class registration,
// the child window, paint and press messages, idle redraws, the mouse
// position, cursors, and the links to the editor and the host.
#include "tests/support/PlatformHandles.h"
#include "tests/gui/ViewTestSupport.h"

#include "host/entryPoints.h"
#include "host/opcodes.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const Rect kEditorSize{0, 0, 516, 204};
constexpr int kHostLeft = 100;
constexpr int kHostTop = 120;

struct FrameDeleter {
    void operator()(Frame* frame) const { delete frame; }
};
using FramePtr = std::unique_ptr<Frame, FrameDeleter>;

bool classRegistered()
{
    WNDCLASSA info;
    return GetClassInfoA(GetModuleHandleA(nullptr), Win32FrameWindow::windowClassName(), &info) != 0;
}

class FrameWindowTest : public ::testing::Test {
protected:
    void SetUp() override { pumpMessages(); }

    FramePtr makeFrame(const Rect& size = kEditorSize, EditorBase* editor = nullptr)
    {
        return FramePtr(new Frame(size, host.get(), editor));
    }
    RecordingView* add(Frame& frame, const char* name, const Rect& size)
    {
        auto* view = new RecordingView(size, name, log);
        frame.addChild(view);
        return view;
    }

    ParentWindow host{kHostLeft, kHostTop, 600, 300};
    std::vector<std::string> log;
};

TEST_F(FrameWindowTest, ClassIsRegisteredOnceAndCountedAcrossFrames)
{
    ParentWindow secondHost{kHostLeft, kHostTop + 320, 600, 300};
    FramePtr first = makeFrame();
    ASSERT_TRUE(classRegistered());
    WNDCLASSA info;
    GetClassInfoA(GetModuleHandleA(nullptr), Win32FrameWindow::windowClassName(), &info);
    EXPECT_EQ(info.style, static_cast<UINT>(CS_GLOBALCLASS));

    auto second = FramePtr(new Frame(kEditorSize, secondHost.get(), nullptr));
    char className[64] = {};
    GetClassNameA(windowOf(*second), className, sizeof(className));
    EXPECT_STREQ(className, Win32FrameWindow::windowClassName());

    first.reset();
    EXPECT_TRUE(classRegistered()) << "one frame still uses the class";
    EXPECT_TRUE(IsWindow(windowOf(*second)));
    second.reset();
    EXPECT_FALSE(classRegistered());

    FramePtr again = makeFrame();
    EXPECT_TRUE(classRegistered()) << "a later frame registers it anew";
}

TEST_F(FrameWindowTest, SmallModuleHandleIsZeroPadded)
{
    moduleInstance = reinterpret_cast<void*>(std::uintptr_t{0xABC0000});
    FramePtr frame = makeFrame();
    EXPECT_STREQ(Win32FrameWindow::windowClassName(), "Plugin0abc0000");
    frame.reset();
    moduleInstance = GetModuleHandleA(nullptr);
}

struct WindowSizeCase {
    Rect size;
    int width;
    int height;
};

TEST_F(FrameWindowTest, ChildWindowCoversTheEditorSizeAtTheParentsCorner)
{
    const WindowSizeCase cases[] = {
        {{0, 0, 516, 204}, 516, 204}, {{0, 0, 1028, 408}, 1028, 408}, {{10, 20, 110, 70}, 100, 50}};
    for (const WindowSizeCase& sized : cases) {
        FramePtr frame = makeFrame(sized.size);
        HWND window = windowOf(*frame);
        ASSERT_TRUE(IsWindow(window));
        EXPECT_EQ(GetParent(window), host.get());
        const LONG_PTR style = GetWindowLongPtrA(window, GWL_STYLE);
        EXPECT_TRUE(style & WS_CHILD);
        EXPECT_TRUE(style & WS_VISIBLE);
        char title[32] = {};
        GetWindowTextA(window, title, sizeof(title));
        EXPECT_STREQ(title, "Window");
        EXPECT_EQ(GetWindowLongPtrA(window, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(frame.get()));

        RECT placed;
        GetWindowRect(window, &placed);
        EXPECT_EQ(placed.left, kHostLeft);
        EXPECT_EQ(placed.top, kHostTop);
        EXPECT_EQ(placed.right - placed.left, sized.width);
        EXPECT_EQ(placed.bottom - placed.top, sized.height);
    }
}

TEST_F(FrameWindowTest, WithoutParentThereIsNoWindowAndNoClass)
{
    Frame frameless(kEditorSize, nullptr, nullptr);
    EXPECT_EQ(windowOf(frameless), nullptr);
    EXPECT_FALSE(classRegistered());
    EXPECT_FALSE(frameless.createWindow(nullptr));
}

TEST_F(FrameWindowTest, HostDestroyingItsWindowClosesTheFrame)
{
    FramePtr frame = makeFrame();
    RecordingView* view = add(*frame, "v", Rect{0, 0, 10, 10});
    pumpMessages();
    ASSERT_FALSE(frame->isFirstPaintPending());
    ASSERT_TRUE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), host.get());

    DestroyWindow(host.get());
    EXPECT_FALSE(frame->isOpen());
    EXPECT_EQ(frame->getParentWindow(), nullptr);
    view->setDirty(true);
    log.clear();
    frame->updateDirtyViews();
    EXPECT_TRUE(log.empty());
}

TEST_F(FrameWindowTest, PaintDrawsTheDamagedAreaAndEndsTheFirstPaintWait)
{
    FramePtr frame = makeFrame();
    RecordingView* inside = add(*frame, "inside", Rect{0, 0, 50, 50});
    add(*frame, "outside", Rect{300, 100, 400, 200});
    EXPECT_TRUE(frame->isFirstPaintPending());
    UpdateWindow(windowOf(*frame));
    EXPECT_FALSE(frame->isFirstPaintPending());
    ASSERT_FALSE(inside->areas.empty());
    EXPECT_EQ(inside->areas.back().right, 516);
    EXPECT_EQ(inside->areas.back().bottom, 204);

    log.clear();
    RECT damaged{10, 10, 20, 20};
    InvalidateRect(windowOf(*frame), &damaged, FALSE);
    UpdateWindow(windowOf(*frame));
    EXPECT_EQ(log, std::vector<std::string>{"inside:drawArea"});
    EXPECT_EQ(inside->areas.back().left, 10);
    EXPECT_EQ(inside->areas.back().bottom, 20);
}

TEST_F(FrameWindowTest, PaintMessageWithoutUpdateRegionDrawsNothing)
{
    FramePtr frame = makeFrame();
    add(*frame, "v", Rect{0, 0, 50, 50});
    ValidateRect(windowOf(*frame), nullptr);
    log.clear();
    SendMessageA(windowOf(*frame), WM_PAINT, 0, 0);
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(frame->isFirstPaintPending());
}

TEST_F(FrameWindowTest, IdleRedrawWaitsForTheFirstPaint)
{
    FramePtr frame = makeFrame();
    RecordingView* view = add(*frame, "v", Rect{0, 0, 50, 50});
    view->setDirty(true);
    log.clear();
    frame->updateDirtyViews();
    EXPECT_TRUE(log.empty());
    EXPECT_TRUE(view->isDirty());

    ValidateRect(windowOf(*frame), nullptr);
    frame->drawView(nullptr);
    view->setDirty(true);
    log.clear();
    frame->updateDirtyViews();
    EXPECT_EQ(log, std::vector<std::string>{"v:draw"});
    log.clear();
    frame->updateDirtyViews();
    EXPECT_TRUE(log.empty()) << "clean views are not redrawn";
}

TEST_F(FrameWindowTest, DrawViewDrawsOneChildOrEverything)
{
    FramePtr frame = makeFrame();
    RecordingView* first = add(*frame, "first", Rect{});
    add(*frame, "second", Rect{});
    auto* stranger = new RecordingView(Rect{}, "stranger", log);
    log.clear();
    frame->drawView(first);
    EXPECT_EQ(log, std::vector<std::string>{"first:draw"});
    log.clear();
    frame->drawView(stranger);
    EXPECT_EQ(log, (std::vector<std::string>{"first:draw", "second:draw"}));
    stranger->release();
}

struct ButtonCase {
    const char* name;
    DWORD down;
    DWORD up;
};

// Real presses through the platform's input queue, as a user's click arrives.
TEST_F(FrameWindowTest, EveryButtonReachesTheTopmostChildAtThePressPoint)
{
    const ButtonCase buttons[] = {{"left", MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP},
                                  {"right", MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP},
                                  {"middle", MOUSEEVENTF_MIDDLEDOWN, MOUSEEVENTF_MIDDLEUP}};
    FramePtr frame = makeFrame();
    RecordingView* lower = add(*frame, "lower", Rect{0, 0, 200, 200});
    RecordingView* upper = add(*frame, "upper", Rect{100, 100, 300, 200});
    settle();
    realInput::moveTo(realInput::onScreen(windowOf(*frame), Point{150, 120}));
    for (const ButtonCase& button : buttons) {
        upper->presses.clear();
        realInput::mouse(button.down);
        realInput::mouse(button.up);
        ASSERT_TRUE(pumpUntil([&] { return !upper->presses.empty(); })) << button.name;
        EXPECT_EQ(upper->presses[0].x, 150) << button.name;
        EXPECT_EQ(upper->presses[0].y, 120) << button.name;
    }
    EXPECT_TRUE(lower->presses.empty());
}

TEST_F(FrameWindowTest, MousePositionIsRelativeToTheWindow)
{
    FramePtr frame = makeFrame();
    const Point spots[] = {{0, 0}, {30, 40}, {515, 203}};
    for (const Point& spot : spots) {
        realInput::moveTo(realInput::onScreen(windowOf(*frame), spot));
        Point where{-1, -1};
        EXPECT_TRUE(frame->mousePosition(where));
        EXPECT_EQ(where.x, spot.x);
        EXPECT_EQ(where.y, spot.y);
    }
}

TEST_F(FrameWindowTest, ChildUnderMouseIsTheTopmostWhateverItsMouseInput)
{
    FramePtr frame = makeFrame();
    RecordingView* lower = add(*frame, "lower", Rect{0, 0, 100, 100});
    RecordingView* upper = add(*frame, "upper", Rect{50, 50, 150, 150});
    upper->setMouseInput(false);
    struct Spot {
        Point where;
        View* expected;
    };
    const Spot spots[] = {{{60, 60}, upper}, {{10, 10}, lower}, {{150, 150}, upper}, {{300, 150}, nullptr}};
    for (const Spot& spot : spots) {
        realInput::moveTo(realInput::onScreen(windowOf(*frame), spot.where));
        EXPECT_EQ(frame->childUnderMouse(), spot.expected) << spot.where.x << "," << spot.where.y;
    }
}

TEST_F(FrameWindowTest, WheelGoesToTheChildUnderTheMouseWithTheMousePosition)
{
    FramePtr frame = makeFrame();
    RecordingView* view = add(*frame, "v", Rect{50, 50, 150, 150});
    realInput::moveTo(realInput::onScreen(windowOf(*frame), Point{60, 70}));
    EXPECT_TRUE(frame->onWheel(nullptr, Point{999, 999}, 2.5f));
    EXPECT_TRUE(view->wheelContextGiven);
    EXPECT_EQ(view->wheelPoint.x, 60);
    EXPECT_EQ(view->wheelPoint.y, 70);
    EXPECT_EQ(view->wheelDistance, 2.5f);

    realInput::moveTo(realInput::onScreen(windowOf(*frame), Point{300, 10}));
    log.clear();
    EXPECT_FALSE(frame->onWheel(nullptr, Point{60, 70}, 1.0f));
    EXPECT_TRUE(log.empty());
}

struct CursorCase {
    std::int32_t kind;
    LPCSTR id;
};

TEST_F(FrameWindowTest, CursorKindsSelectTheSystemCursors)
{
    FramePtr frame = makeFrame();
    HCURSOR initial = LoadCursorA(nullptr, IDC_CROSS);
    SetCursor(initial);
    const CursorCase cases[] = {{1, IDC_WAIT},    {2, IDC_SIZEWE},   {3, IDC_SIZENS},
                                {4, IDC_SIZEALL}, {5, IDC_SIZENESW}, {6, IDC_SIZENWSE}};
    for (const CursorCase& cursor : cases) {
        frame->chooseCursor(cursor.kind);
        EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, cursor.id)) << "kind " << cursor.kind;
    }
    frame->chooseCursor(7);
    frame->chooseCursor(-1);
    EXPECT_EQ(GetCursor(), LoadCursorA(nullptr, IDC_SIZENWSE)) << "unknown kinds change nothing";
    frame->chooseCursor(0);
    EXPECT_EQ(GetCursor(), initial) << "kind 0 is the cursor shown before the first choice";
}

TEST_F(FrameWindowTest, EditsAndIdleReachTheEditorAndTheHost)
{
    RecordingHost::clear();
    TestEffect effect;
    auto* editor = new TestEditor(&effect);
    FramePtr frame = makeFrame(kEditorSize, editor);
    EXPECT_EQ(frame->getEditor(), editor);

    frame->beginEdit(3);
    frame->endEdit(3);
    const auto begins = RecordingHost::callsOf(audioMasterBeginEdit);
    const auto ends = RecordingHost::callsOf(audioMasterEndEdit);
    ASSERT_EQ(begins.size(), 1u);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(begins[0].index, 3);
    EXPECT_EQ(ends[0].index, 3);

    frame->idle();
    EXPECT_EQ(editor->idleCalls, 1);
    EXPECT_EQ(RecordingHost::callsOf(audioMasterIdle).size(), 1u);
    frame.reset();
}

TEST_F(FrameWindowTest, WithoutEditorEditsAndIdleDoNothing)
{
    RecordingHost::clear();
    FramePtr frame = makeFrame();
    frame->beginEdit(1);
    frame->endEdit(1);
    frame->idle();
    EXPECT_TRUE(RecordingHost::calls().empty());
}

} // namespace
