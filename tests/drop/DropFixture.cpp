#include "tests/support/PlatformHandles.h"
#include "tests/drop/DropFixture.h"

#include "host/entryPoints.h"

namespace {

constexpr const char* kParentClass = "OrvaneDropTestParent";
constexpr Point kParentPosition{120, 80};
constexpr Point kCursorInFrame{37, 21};

void registerParentClass()
{
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = kParentClass;
    // A second registration fails harmlessly: the class is the same.
    RegisterClassA(&windowClass);
}

} // namespace

void DropFixture::SetUp()
{
    moduleInstance = GetModuleHandleA(nullptr);
    registerParentClass();
    targetsBefore = DropTarget::liveTargets();
    frame = new Frame(kFrameSize, makeParentWindow(), nullptr);
    ASSERT_NE(windowOf(*frame), nullptr);
    view = new RecordingView(kFrameSize);
    ASSERT_TRUE(frame->addChild(view));
    target = new DropTarget(frame);
    target->AddRef();
    moveCursorTo(kCursorInFrame);
}

void DropFixture::TearDown()
{
    if (target) {
        EXPECT_EQ(target->Release(), 0u);
    }
    delete frame;
    DestroyWindow(parent);
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore);
    EXPECT_EQ(DropTarget::liveNameBuffers(), 0);
}

HWND DropFixture::makeParentWindow()
{
    // Hidden: Wine without a window manager takes seconds to destroy a shown
    // top-level window, and drops need only the frame's window rectangle.
    parent = CreateWindowExA(0, kParentClass, "drop test", WS_POPUP, kParentPosition.x, kParentPosition.y,
                             kFrameSize.width(), kFrameSize.height(), nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
    return parent;
}

void DropFixture::moveCursorTo(Point where)
{
    RECT window;
    GetWindowRect(windowOf(*frame), &window);
    SetCursorPos(window.left + where.x, window.top + where.y);
}

HRESULT DropFixture::dragAndDrop(TestDataObject& data)
{
    DWORD effect = DROPEFFECT_COPY | DROPEFFECT_MOVE;
    EXPECT_EQ(target->DragEnter(&data, 0, POINTL{}, &effect), S_OK);
    return target->Drop(&data, 0, POINTL{}, &effect);
}
