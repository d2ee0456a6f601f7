// The drop target as OLE sees it during a drag: its interfaces, its reference
// count, and the effect it shows for each kind of offered data.
#include "gui/win32/DropTarget.h"
#include "tests/drop/TestDataObject.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <ostream>
#include <vector>

namespace {

// Sentinel for out parameters the target must overwrite.
void* const kUntouched = reinterpret_cast<void*>(0x1234);
constexpr DWORD kEveryEffect = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;

// A target held by one reference of the test, released at the end.
class HeldTarget {
public:
    HeldTarget() : target(new DropTarget(nullptr)) { target->AddRef(); }
    ~HeldTarget() { target->Release(); }
    DropTarget* operator->() const { return target; }
    DropTarget* get() const { return target; }

private:
    DropTarget* target;
};

struct InterfaceCase {
    const char* name;
    const IID* id;
    bool supported;
};

void PrintTo(const InterfaceCase& c, std::ostream* out)
{
    *out << c.name;
}

class DropTargetInterface : public ::testing::TestWithParam<InterfaceCase> {};

TEST_P(DropTargetInterface, AnswersOnlyForItsTwoInterfaces)
{
    HeldTarget target;
    void* object = kUntouched;
    const HRESULT result = target->QueryInterface(*GetParam().id, &object);
    if (GetParam().supported) {
        EXPECT_EQ(result, S_OK);
        EXPECT_EQ(object, static_cast<IDropTarget*>(target.get()));
        // The answer holds a reference of its own: the count was 1, now 2.
        EXPECT_EQ(target->AddRef(), 3u);
        EXPECT_EQ(target->Release(), 2u);
        EXPECT_EQ(target->Release(), 1u);
    } else {
        EXPECT_EQ(result, E_NOINTERFACE);
        EXPECT_EQ(object, nullptr);
        EXPECT_EQ(target->AddRef(), 2u);
        EXPECT_EQ(target->Release(), 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(Interfaces, DropTargetInterface,
                         ::testing::Values(InterfaceCase{"IDropTarget", &IID_IDropTarget, true},
                                           InterfaceCase{"IUnknown", &IID_IUnknown, true},
                                           InterfaceCase{"IDataObject", &IID_IDataObject, false},
                                           InterfaceCase{"IShellLinkA", &IID_IShellLinkA, false}));

TEST(DropTargetReferences, CountStartsAtZeroAndTheLastReleaseDestroys)
{
    const std::int32_t before = DropTarget::liveTargets();
    auto* target = new DropTarget(nullptr);
    EXPECT_EQ(DropTarget::liveTargets(), before + 1);
    EXPECT_EQ(target->AddRef(), 1u);
    EXPECT_EQ(target->AddRef(), 2u);
    EXPECT_EQ(target->Release(), 1u);
    EXPECT_EQ(DropTarget::liveTargets(), before + 1);
    EXPECT_EQ(target->Release(), 0u);
    EXPECT_EQ(DropTarget::liveTargets(), before);
}

struct DragCase {
    const char* name;
    bool text;
    bool files;
    bool accepted;
    std::vector<CLIPFORMAT> queried;
};

void PrintTo(const DragCase& c, std::ostream* out)
{
    *out << c.name;
}

class DragEffects : public ::testing::TestWithParam<DragCase> {
protected:
    void SetUp() override
    {
        if (GetParam().text) {
            data.offerText("dragged", 8);
        }
        if (GetParam().files) {
            data.offerFiles({"C:\\dragged.wav"});
        }
    }
    DWORD enter(DWORD keyState)
    {
        DWORD effect = kEveryEffect;
        EXPECT_EQ(target->DragEnter(&data, keyState, POINTL{10, 10}, &effect), S_OK);
        return effect;
    }
    DWORD over(DWORD keyState)
    {
        DWORD effect = kEveryEffect;
        EXPECT_EQ(target->DragOver(keyState, POINTL{11, 12}, &effect), S_OK);
        return effect;
    }

    TestDataObject data;
    HeldTarget target;
};

TEST_P(DragEffects, MoveByDefaultCopyWithControlNoneWhenNothingFits)
{
    const DWORD move = GetParam().accepted ? DROPEFFECT_MOVE : DROPEFFECT_NONE;
    const DWORD copy = GetParam().accepted ? DROPEFFECT_COPY : DROPEFFECT_NONE;
    EXPECT_EQ(enter(0), move);
    // Text is asked for first; files only when there is no text.
    EXPECT_EQ(data.queried(), GetParam().queried);
    EXPECT_EQ(over(MK_CONTROL), copy);
    EXPECT_EQ(over(MK_LBUTTON), move);
    EXPECT_EQ(over(MK_LBUTTON | MK_CONTROL | MK_SHIFT), copy);
    EXPECT_EQ(enter(MK_CONTROL), copy);
    EXPECT_EQ(target->DragLeave(), S_OK);
    EXPECT_TRUE(data.requested().empty());
    EXPECT_EQ(data.references(), 0);
}

INSTANTIATE_TEST_SUITE_P(Offers, DragEffects,
                         ::testing::Values(DragCase{"text", true, false, true, {CF_TEXT}},
                                           DragCase{"files", false, true, true, {CF_TEXT, CF_HDROP}},
                                           DragCase{"both", true, true, true, {CF_TEXT}},
                                           DragCase{"neither", false, false, false, {CF_TEXT, CF_HDROP}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(DragAcceptance, LastsUntilTheNextDragEnter)
{
    HeldTarget target;
    TestDataObject files;
    files.offerFiles({"C:\\a.wav"});
    TestDataObject nothing;
    DWORD effect = kEveryEffect;
    target->DragEnter(&files, 0, POINTL{}, &effect);
    target->DragLeave();
    target->DragEnter(&nothing, MK_CONTROL, POINTL{}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    target->DragOver(MK_CONTROL, POINTL{}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
    // Without any data object nothing is accepted either.
    target->DragEnter(&files, 0, POINTL{}, &effect);
    target->DragEnter(nullptr, 0, POINTL{}, &effect);
    EXPECT_EQ(effect, DROPEFFECT_NONE);
}

TEST(DropWithoutFrame, AsksForNothingAndAnswersOk)
{
    HeldTarget target;
    TestDataObject data;
    data.offerText("lost", 5);
    DWORD effect = DROPEFFECT_COPY;
    EXPECT_EQ(target->Drop(&data, 0, POINTL{}, &effect), S_OK);
    EXPECT_TRUE(data.requested().empty());
    // The platform's effect is left as it was.
    EXPECT_EQ(effect, DWORD{DROPEFFECT_COPY});
}

} // namespace
