// The frame registers its window as a drop target for as long as it lives,
// and gives the target back when asked or when destroyed.
#include "tests/support/PlatformHandles.h"
#include "tests/drop/DropFixture.h"

namespace {

class DropRegistration : public DropFixture {
protected:
    // What OLE answers when another target asks for the frame's window.
    HRESULT registerAnother()
    {
        auto* other = new DropTarget(nullptr);
        other->AddRef();
        const HRESULT result = RegisterDragDrop(windowOf(*frame), other);
        if (result == S_OK) {
            EXPECT_EQ(RevokeDragDrop(windowOf(*frame)), S_OK);
        }
        // Whatever OLE did, it gave back every reference it took.
        EXPECT_EQ(other->Release(), 0u);
        return result;
    }
};

TEST_F(DropRegistration, TheFrameWindowIsATargetUntilDropIsDisabled)
{
    // The fixture's own target and the frame's.
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 2);
    EXPECT_EQ(registerAnother(), DRAGDROP_E_ALREADYREGISTERED);

    EXPECT_TRUE(frame->isDropActive());
    EXPECT_TRUE(frame->enableDrop(false));
    EXPECT_FALSE(frame->isDropActive());
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 1);
    EXPECT_EQ(registerAnother(), S_OK);
    // Disabling again has nothing to revoke.
    EXPECT_TRUE(frame->enableDrop(false));

    EXPECT_TRUE(frame->enableDrop(true));
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 2);
    EXPECT_EQ(registerAnother(), DRAGDROP_E_ALREADYREGISTERED);
}

TEST_F(DropRegistration, EnablingTwiceKeepsOneTarget)
{
    EXPECT_TRUE(frame->enableDrop(true));
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 2);
    EXPECT_TRUE(frame->enableDrop(false));
    EXPECT_EQ(registerAnother(), S_OK);
}

TEST_F(DropRegistration, DestroyingTheFrameReleasesItsTarget)
{
    delete frame;
    frame = nullptr;
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 1);
}

TEST_F(DropRegistration, AHostDestroyingItsWindowFirstReleasesTheTarget)
{
    DestroyWindow(parent);
    parent = nullptr;
    EXPECT_FALSE(frame->isOpen());
    EXPECT_FALSE(frame->isDropActive());
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 1);
}

TEST_F(DropRegistration, AFrameWithoutWindowRegistersNothing)
{
    auto* windowless = new Frame(kFrameSize, nullptr, nullptr);
    EXPECT_EQ(windowless->getWindow(), nullptr);
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 2);
    EXPECT_FALSE(windowless->enableDrop(true));
    EXPECT_TRUE(windowless->enableDrop(false));
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 2);
    delete windowless;
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 2);
}

} // namespace
