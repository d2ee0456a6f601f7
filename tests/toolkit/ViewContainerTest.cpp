// Views and the frame's child list without a window: geometry, reference
// counts, list growth, and how presses, keys, drops and redraws are routed.
#include "gui/Bitmap.h"
#include "gui/Frame.h"
#include "tests/toolkit/RecordingDrawContext.h"
#include "tests/toolkit/RecordingView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace {

const Rect kFrameSize{0, 0, 516, 204};

struct FrameDeleter {
    void operator()(Frame* frame) const { delete frame; }
};
using FramePtr = std::unique_ptr<Frame, FrameDeleter>;

class ViewContainerTest : public ::testing::Test {
protected:
    ViewContainerTest() : frame(new Frame(kFrameSize, nullptr, nullptr)) {}

    RecordingView* add(const char* name, const Rect& size)
    {
        auto* view = new RecordingView(size, name, log);
        EXPECT_TRUE(frame->addChild(view));
        return view;
    }
    bool logged(const std::string& entry) const
    {
        return std::find(log.begin(), log.end(), entry) != log.end();
    }
    void press(const Point& where)
    {
        log.clear();
        frame->mouseDown(context, where);
    }

    std::vector<std::string> log;
    FramePtr frame;
    RecordingDrawContext context;
};

struct HitCase {
    Point where;
    bool inside;
};

TEST(ViewTest, HitTestIncludesEdges)
{
    std::vector<std::string> log;
    auto* view = new RecordingView(Rect{10, 10, 20, 20}, "v", log);
    const HitCase cases[] = {{{10, 10}, true},  {{20, 20}, true}, {{15, 15}, true},
                             {{21, 15}, false}, {{15, 9}, false}, {{9, 20}, false}};
    for (const HitCase& hit : cases)
        EXPECT_EQ(view->hitTest(hit.where), hit.inside) << hit.where.x << "," << hit.where.y;
    view->release();
}

struct OverlapCase {
    Rect other;
    bool overlaps;
};

TEST(ViewTest, OverlapCountsTouchingEdges)
{
    std::vector<std::string> log;
    auto* view = new RecordingView(Rect{10, 10, 20, 20}, "v", log);
    const OverlapCase cases[] = {
        {{20, 20, 30, 30}, true}, {{0, 0, 10, 10}, true}, {{21, 0, 30, 30}, false}, {{0, 0, 9, 30}, false},
        {{0, 21, 30, 30}, false}, {{0, 0, 30, 9}, false}, {{12, 12, 14, 14}, true}, {{0, 0, 30, 30}, true},
    };
    for (const OverlapCase& overlap : cases)
        EXPECT_EQ(view->overlaps(overlap.other), overlap.overlaps)
            << overlap.other.left << "," << overlap.other.top;
    view->release();
}

TEST(ViewTest, SetSizeMovesTheViewAndDirtiesIt)
{
    std::vector<std::string> log;
    auto* view = new RecordingView(Rect{1, 2, 3, 4}, "v", log);
    EXPECT_FALSE(view->isDirty());
    view->setSize(Rect{5, 6, 7, 8});
    EXPECT_TRUE(view->isDirty());
    EXPECT_TRUE(view->hitTest(Point{7, 8}));
    view->release();
}

TEST(ViewTest, LastReleaseDestroysAndOnlyThat)
{
    std::vector<std::string> log;
    auto* view = new RecordingView(Rect{}, "v", log);
    view->retain();
    view->retain();
    EXPECT_EQ(view->getReferenceCount(), 3);
    view->release();
    view->release();
    EXPECT_TRUE(log.empty());
    view->release();
    EXPECT_EQ(log, std::vector<std::string>{"v:destroyed"});
}

TEST_F(ViewContainerTest, TakesOverTheCreatorsReference)
{
    RecordingView* kept = add("kept", Rect{0, 0, 10, 10});
    add("owned", Rect{0, 0, 10, 10});
    kept->retain();
    EXPECT_EQ(kept->getReferenceCount(), 2);
    EXPECT_EQ(kept->getFrame(), frame.get());
    EXPECT_TRUE(logged("kept:attached"));

    frame.reset();
    EXPECT_TRUE(logged("owned:destroyed"));
    EXPECT_FALSE(logged("kept:destroyed"));
    EXPECT_EQ(kept->getReferenceCount(), 1);
    kept->release();
    EXPECT_TRUE(logged("kept:destroyed"));
}

TEST_F(ViewContainerTest, GrowsByTenAndKeepsOrder)
{
    std::vector<RecordingView*> views;
    std::vector<std::int32_t> capacities;
    for (int i = 0; i < 25; ++i) {
        views.push_back(add("v", Rect{}));
        capacities.push_back(frame->childCapacity());
    }
    EXPECT_EQ(capacities[0], 10);
    EXPECT_EQ(capacities[9], 10);
    EXPECT_EQ(capacities[10], 20);
    EXPECT_EQ(capacities[19], 20);
    EXPECT_EQ(capacities[20], 30);
    EXPECT_EQ(frame->childCount(), 25);
    for (int i = 0; i < 25; ++i)
        EXPECT_EQ(frame->childAt(i), views[static_cast<std::size_t>(i)]);
    EXPECT_EQ(frame->childAt(25), nullptr);
    EXPECT_EQ(frame->childAt(-1), nullptr);
}

TEST_F(ViewContainerTest, RemoveChildClosesTheGap)
{
    RecordingView* first = add("first", Rect{});
    RecordingView* middle = add("middle", Rect{});
    RecordingView* last = add("last", Rect{});
    middle->retain();

    EXPECT_TRUE(frame->removeChild(middle, true));
    EXPECT_EQ(frame->childCount(), 2);
    EXPECT_EQ(frame->childAt(0), first);
    EXPECT_EQ(frame->childAt(1), last);
    EXPECT_FALSE(frame->hasChild(middle));
    EXPECT_TRUE(logged("middle:detached"));
    EXPECT_EQ(middle->getReferenceCount(), 1);
    EXPECT_EQ(middle->getFrame(), nullptr);

    // Not a child (any more): nothing happens, and the answer is still true.
    log.clear();
    EXPECT_TRUE(frame->removeChild(middle, true));
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(middle->getReferenceCount(), 1);
    middle->release();
}

TEST_F(ViewContainerTest, RemoveAllChildrenReleasesEachAndEmptiesTheList)
{
    add("a", Rect{});
    add("b", Rect{});
    RecordingView* focus = add("c", Rect{});
    frame->setFocusView(focus);
    log.clear();
    EXPECT_TRUE(frame->removeAllChildren(true));
    EXPECT_EQ(log, (std::vector<std::string>{"c:focusLost", "a:detached", "a:destroyed", "b:detached",
                                             "b:destroyed", "c:detached", "c:destroyed"}));
    EXPECT_EQ(frame->childCount(), 0);
    EXPECT_EQ(frame->childCapacity(), 0);
    EXPECT_EQ(frame->getFocusView(), nullptr);
}

struct PressCase {
    const char* description;
    bool lowerEnabled;
    bool upperEnabled;
    Point where;
    const char* receiver; // nullptr: nobody
};

TEST_F(ViewContainerTest, TopmostEnabledChildUnderThePointGetsThePress)
{
    const PressCase cases[] = {{"both enabled, overlap", true, true, {40, 40}, "upper"},
                               {"upper disabled, overlap", true, false, {40, 40}, "lower"},
                               {"lower only", true, true, {10, 10}, "lower"},
                               {"upper only, on its edge", true, true, {80, 80}, "upper"},
                               {"both disabled", false, false, {40, 40}, nullptr},
                               {"outside both", true, true, {100, 10}, nullptr}};
    RecordingView* lower = add("lower", Rect{0, 0, 50, 50});
    RecordingView* upper = add("upper", Rect{30, 30, 80, 80});
    for (const PressCase& pressCase : cases) {
        lower->setMouseInput(pressCase.lowerEnabled);
        upper->setMouseInput(pressCase.upperEnabled);
        press(pressCase.where);
        const std::vector<std::string> expected =
            pressCase.receiver ? std::vector<std::string>{std::string(pressCase.receiver) + ":press"}
                               : std::vector<std::string>{};
        EXPECT_EQ(log, expected) << pressCase.description;
    }
}

TEST_F(ViewContainerTest, ModalViewTakesPressesInsideAndSwallowsOthers)
{
    add("child", Rect{0, 0, 100, 100});
    RecordingView* modal = add("modal", Rect{50, 50, 60, 60});
    ASSERT_TRUE(frame->setModalChild(modal));

    press(Point{55, 55});
    EXPECT_EQ(log, std::vector<std::string>{"modal:press"});
    press(Point{10, 10});
    EXPECT_TRUE(log.empty());
    // Even when the modal view takes no mouse input it still swallows the press.
    modal->setMouseInput(false);
    press(Point{55, 55});
    EXPECT_EQ(log, std::vector<std::string>{"modal:press"});
}

TEST_F(ViewContainerTest, ModalViewChangesOnlyThroughNone)
{
    RecordingView* first = add("first", Rect{});
    RecordingView* second = add("second", Rect{});
    log.clear();
    EXPECT_TRUE(frame->setModalChild(first));
    EXPECT_EQ(log, std::vector<std::string>{"first:attached"});
    EXPECT_FALSE(frame->setModalChild(second));
    EXPECT_EQ(frame->getModalView(), first);
    log.clear();
    EXPECT_TRUE(frame->setModalChild(nullptr));
    EXPECT_EQ(log, std::vector<std::string>{"first:detached"});
    EXPECT_EQ(frame->getModalView(), nullptr);
    EXPECT_TRUE(frame->setModalChild(second));
}

TEST_F(ViewContainerTest, RemovingTheModalViewForgetsIt)
{
    RecordingView* modal = add("modal", Rect{0, 0, 10, 10});
    frame->setModalChild(modal);
    frame->removeChild(modal, true);
    EXPECT_TRUE(logged("modal:destroyed"));
    EXPECT_EQ(frame->getModalView(), nullptr);
    RecordingView* other = add("other", Rect{0, 0, 10, 10});
    press(Point{5, 5});
    EXPECT_EQ(other->presses.size(), 1u);
    EXPECT_TRUE(frame->setModalChild(other));
}

TEST_F(ViewContainerTest, UpdateWithModalViewRedrawsOnlyIt)
{
    RecordingView* child = add("child", Rect{});
    RecordingView* modal = add("modal", Rect{});
    child->setDirty(true);
    frame->setModalChild(modal);
    EXPECT_TRUE(frame->hasDirtyViews());

    log.clear();
    frame->update(context);
    EXPECT_TRUE(log.empty()) << "a clean modal view draws nothing and nothing else is updated";
    modal->setDirty(true);
    frame->update(context);
    EXPECT_EQ(log, std::vector<std::string>{"modal:draw"});
    EXPECT_FALSE(modal->isDirty());
    EXPECT_TRUE(child->isDirty());
}

TEST_F(ViewContainerTest, UpdateRedrawsDirtyChildrenOrEverythingWhenTheFrameIsDirty)
{
    RecordingView* clean = add("clean", Rect{});
    RecordingView* dirty = add("dirty", Rect{});
    EXPECT_FALSE(frame->hasDirtyViews());
    dirty->setDirty(true);
    EXPECT_TRUE(frame->hasDirtyViews());

    log.clear();
    frame->update(context);
    EXPECT_EQ(log, std::vector<std::string>{"dirty:draw"});
    EXPECT_FALSE(frame->hasDirtyViews());

    frame->setDirty(true);
    log.clear();
    frame->update(context);
    EXPECT_EQ(log, (std::vector<std::string>{"clean:draw", "dirty:draw"}));
    EXPECT_FALSE(frame->isDirty());
    EXPECT_FALSE(clean->isDirty());
}

TEST_F(ViewContainerTest, DrawAreaReachesOnlyOverlappingChildren)
{
    add("left", Rect{0, 0, 50, 50});
    add("right", Rect{100, 0, 150, 50});
    RecordingView* modal = add("modal", Rect{0, 100, 10, 110});
    frame->setModalChild(modal);
    log.clear();
    frame->drawArea(context, Rect{40, 40, 60, 60});
    EXPECT_EQ(log, std::vector<std::string>{"left:drawArea"});
    log.clear();
    frame->drawArea(context, Rect{0, 105, 200, 200});
    EXPECT_EQ(log, (std::vector<std::string>{"modal:drawArea", "modal:draw"}));
    EXPECT_FALSE(frame->isFirstPaintPending());
}

TEST_F(ViewContainerTest, DrawPaintsChildrenBottomUpAndModalLast)
{
    RecordingView* modal = add("a", Rect{});
    add("b", Rect{});
    frame->setModalChild(modal);
    EXPECT_TRUE(frame->isFirstPaintPending());
    log.clear();
    frame->draw(context);
    EXPECT_EQ(log, (std::vector<std::string>{"a:draw", "b:draw", "a:draw"}));
    EXPECT_FALSE(frame->isFirstPaintPending());
}

TEST_F(ViewContainerTest, KeysGoTopmostFirstToEveryChild)
{
    RecordingView* lower = add("lower", Rect{0, 0, 10, 10});
    RecordingView* upper = add("upper", Rect{500, 0, 510, 10});
    VstKeyCode key{'a', 0, 0};
    log.clear();
    EXPECT_EQ(frame->onKeyDown(key), -1);
    EXPECT_EQ(log, (std::vector<std::string>{"upper:keyDown", "lower:keyDown"}));

    lower->keyAnswer = 3;
    lower->setMouseInput(false);
    log.clear();
    EXPECT_EQ(frame->onKeyUp(key), 3);
    EXPECT_EQ(log, (std::vector<std::string>{"upper:keyUp", "lower:keyUp"}));

    upper->keyAnswer = 4;
    log.clear();
    EXPECT_EQ(frame->onKeyDown(key), 4);
    EXPECT_EQ(log, std::vector<std::string>{"upper:keyDown"});
}

TEST_F(ViewContainerTest, FocusAndModalViewsHearKeysFirstButDoNotHideChildren)
{
    RecordingView* child = add("child", Rect{});
    RecordingView* modal = add("modal", Rect{});
    RecordingView* focus = add("focus", Rect{});
    frame->setModalChild(modal);
    frame->setFocusView(focus);
    child->keyAnswer = 9;
    VstKeyCode key{};
    log.clear();
    EXPECT_EQ(frame->onKeyDown(key), 9);
    EXPECT_EQ(log, (std::vector<std::string>{"focus:keyDown", "modal:keyDown", "focus:keyDown",
                                             "modal:keyDown", "child:keyDown"}));
    modal->keyAnswer = 2;
    EXPECT_EQ(frame->onKeyDown(key), 2);
}

TEST_F(ViewContainerTest, FocusViewLosesFocusAtThePress)
{
    RecordingView* focus = add("focus", Rect{0, 0, 10, 10});
    frame->setFocusView(focus);
    press(Point{100, 100});
    EXPECT_EQ(log, std::vector<std::string>{"focus:focusLost"});
    EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(ViewContainerTest, DropsWalkDownPastDecliners)
{
    RecordingView* bottom = add("bottom", Rect{0, 0, 100, 100});
    add("disabled", Rect{0, 0, 100, 100})->setMouseInput(false);
    add("elsewhere", Rect{200, 0, 300, 100})->takesDrops = true;
    add("decliner", Rect{0, 0, 100, 100});
    char name[] = "file.wav";
    char* items[] = {name};

    EXPECT_FALSE(frame->dropItems(items, 1, DropKindFiles, Point{50, 50}));
    EXPECT_EQ(log.back(), "bottom:drop");
    EXPECT_FALSE(logged("disabled:drop"));
    EXPECT_FALSE(logged("elsewhere:drop"));

    bottom->takesDrops = true;
    log.clear();
    EXPECT_TRUE(frame->dropItems(items, 1, DropKindFiles, Point{100, 100}));
    EXPECT_EQ(log, (std::vector<std::string>{"decliner:drop", "bottom:drop"}));
}

TEST_F(ViewContainerTest, DropsAreRefusedWhileAModalOrFocusViewIsSet)
{
    RecordingView* taker = add("taker", Rect{0, 0, 100, 100});
    taker->takesDrops = true;
    char text[] = "text";
    char* items[] = {text};
    frame->setFocusView(taker);
    log.clear();
    EXPECT_FALSE(frame->dropItems(items, 5, DropKindText, Point{1, 1}));
    frame->setFocusView(nullptr);
    frame->setModalChild(taker);
    EXPECT_FALSE(frame->dropItems(items, 5, DropKindText, Point{1, 1}));
    EXPECT_FALSE(logged("taker:drop"));
    frame->setModalChild(nullptr);
    EXPECT_TRUE(frame->dropItems(items, 5, DropKindText, Point{1, 1}));
}

TEST_F(ViewContainerTest, BackgroundIsRetainedAndReleased)
{
    // Two of the editor's pictures: the display field and the reset key.
    auto* first = new Bitmap(102);
    auto* second = new Bitmap(103);
    frame->setBackground(first);
    EXPECT_EQ(first->getReferenceCount(), 2);
    frame->setBackground(first);
    EXPECT_EQ(first->getReferenceCount(), 2);
    frame->setBackground(second);
    EXPECT_EQ(first->getReferenceCount(), 1);
    EXPECT_EQ(second->getReferenceCount(), 2);
    frame.reset();
    EXPECT_EQ(second->getReferenceCount(), 1);
    first->release();
    second->release();
}

} // namespace
