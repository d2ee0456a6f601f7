// What the frame's views receive from a drop: the text block, the file names
// in their buffers, shortcuts resolved, and the mouse position of the moment.
#include "tests/drop/DropFixture.h"
#include "tests/drop/ReleaseProbe.h"
#include "tests/drop/ShortcutFolder.h"

#include <shellapi.h>

#include <cctype>
#include <ostream>
#include <string>
#include <vector>

namespace {

using DropDelivery = DropFixture;

constexpr CLIPFORMAT kText = CF_TEXT;
constexpr CLIPFORMAT kFiles = CF_HDROP;

TEST_F(DropDelivery, TextCountsTheWholeMemoryBlock)
{
    const std::string text = "dropped text";
    constexpr std::size_t kBlockSize = 64;
    TestDataObject data;
    data.offerText(text, kBlockSize);
    EXPECT_EQ(dragAndDrop(data), S_OK);
    ASSERT_EQ(deliveries().size(), 1u);
    const Delivery& got = deliveries()[0];
    EXPECT_EQ(got.kind, DropKindText);
    EXPECT_EQ(got.count, static_cast<std::int32_t>(kBlockSize));
    std::string expected = text;
    expected.resize(kBlockSize, '\0');
    ASSERT_EQ(got.items.size(), 1u);
    EXPECT_EQ(got.items[0], expected);
    // Without a release object the memory was the target's to free.
    EXPECT_EQ(GlobalFlags(data.lastHandle()), UINT{GMEM_INVALID_HANDLE});
}

TEST_F(DropDelivery, MemoryWithAReleaseObjectIsReleasedThroughIt)
{
    ReleaseProbe probe;
    TestDataObject data;
    data.releaseThrough(&probe);
    data.offerFiles({"C:\\one.wav"});
    EXPECT_EQ(dragAndDrop(data), S_OK);
    ASSERT_EQ(deliveries().size(), 1u);
    EXPECT_EQ(probe.releases(), 1u);
    EXPECT_EQ(probe.outstanding(), 0);
    // The memory still belongs to the source.
    EXPECT_NE(GlobalFlags(data.lastHandle()), UINT{GMEM_INVALID_HANDLE});
}

TEST_F(DropDelivery, TextWinsWhenBothAreOffered)
{
    TestDataObject data;
    data.offerFiles({"C:\\ignored.wav"});
    data.offerText("chosen", 7);
    EXPECT_EQ(dragAndDrop(data), S_OK);
    ASSERT_EQ(deliveries().size(), 1u);
    EXPECT_EQ(deliveries()[0].kind, DropKindText);
    EXPECT_EQ(data.requested(), std::vector<CLIPFORMAT>{kText});
}

TEST_F(DropDelivery, FilesWhenTheTextCannotBeHad)
{
    TestDataObject data;
    data.offerText("unavailable", 12);
    data.setFault(kText, TestDataObject::Fault::GetDataFails);
    data.offerFiles({"C:\\first.wav", "D:\\second one.aif", "\\\\server\\share\\third"});
    EXPECT_EQ(dragAndDrop(data), S_OK);
    EXPECT_EQ(data.requested(), (std::vector<CLIPFORMAT>{kText, kFiles}));
    ASSERT_EQ(deliveries().size(), 1u);
    const Delivery& got = deliveries()[0];
    EXPECT_EQ(got.kind, DropKindFiles);
    EXPECT_EQ(got.count, 3);
    EXPECT_EQ(got.items,
              (std::vector<std::string>{"C:\\first.wav", "D:\\second one.aif", "\\\\server\\share\\third"}));
    EXPECT_TRUE(got.namesTerminated);
    // One buffer per name while the view held them, none after.
    EXPECT_EQ(got.liveNameBuffers, 3);
    EXPECT_EQ(DropTarget::liveNameBuffers(), 0);
}

TEST_F(DropDelivery, NamesThatCannotBeReadAreSkipped)
{
    // An empty first name counts as a name but reads as 0 characters.
    const std::vector<unsigned char> block = TestDataObject::fileListBlock({"", "C:\\b.wav", "C:\\c.wav"});
    TestDataObject data;
    data.offerFileBlock(block);
    EXPECT_EQ(dragAndDrop(data), S_OK);
    ASSERT_EQ(deliveries().size(), 1u);
    EXPECT_EQ(deliveries()[0].count, 2);
    EXPECT_EQ(deliveries()[0].items, (std::vector<std::string>{"C:\\b.wav", "C:\\c.wav"}));
}

TEST_F(DropDelivery, PositionIsTheMouseInTheFrameWhenDropped)
{
    TestDataObject data;
    data.offerText("here", 5);
    DWORD effect = DROPEFFECT_MOVE;
    ASSERT_EQ(target->DragEnter(&data, 0, POINTL{1, 1}, &effect), S_OK);
    const Point dropPoint{250, 133};
    moveCursorTo(dropPoint);
    Point framePosition;
    frame->mousePosition(framePosition);
    // The platform's point is in screen coordinates and not used.
    EXPECT_EQ(target->Drop(&data, 0, POINTL{5, 5}, &effect), S_OK);
    ASSERT_EQ(deliveries().size(), 1u);
    EXPECT_EQ(deliveries()[0].where.x, dropPoint.x);
    EXPECT_EQ(deliveries()[0].where.y, dropPoint.y);
    EXPECT_EQ(deliveries()[0].where.x, framePosition.x);
    EXPECT_EQ(deliveries()[0].where.y, framePosition.y);
}

struct LongName {
    std::size_t length;
    std::size_t delivered;
};

void PrintTo(const LongName& name, std::ostream* out)
{
    *out << name.length << " characters";
}

class LongNames : public DropFixture, public ::testing::WithParamInterface<LongName> {};

TEST_P(LongNames, CutToTheBufferWithoutDisturbingTheNext)
{
    const std::string name = "C:\\" + std::string(GetParam().length - 3, 'n');
    TestDataObject data;
    data.offerFiles({name, "C:\\next.wav"});
    EXPECT_EQ(dragAndDrop(data), S_OK);
    ASSERT_EQ(deliveries().size(), 1u);
    const Delivery& got = deliveries()[0];
    ASSERT_EQ(got.count, 2);
    EXPECT_TRUE(got.namesTerminated);
    EXPECT_EQ(got.items[0], name.substr(0, GetParam().delivered));
    EXPECT_EQ(got.items[1], "C:\\next.wav");
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongNames,
                         ::testing::Values(LongName{1023, 1023}, LongName{1024, 1023}, LongName{1500, 1023}),
                         [](const auto& info) { return std::to_string(info.param.length); });

TEST_F(DropDelivery, TenThousandNames)
{
    constexpr int kNames = 10000;
    std::vector<std::string> names;
    for (int i = 0; i < kNames; ++i) {
        names.push_back("C:\\f" + std::to_string(i));
    }
    TestDataObject data;
    data.offerFiles(names);
    EXPECT_EQ(dragAndDrop(data), S_OK);
    ASSERT_EQ(deliveries().size(), 1u);
    const Delivery& got = deliveries()[0];
    EXPECT_EQ(got.count, kNames);
    EXPECT_EQ(got.liveNameBuffers, kNames);
    EXPECT_EQ(got.items, names);
}

enum class Made { Shortcut, PlainFile, Nothing };

struct ShortcutCase {
    const char* fileName;
    Made made;
    bool resolved;
};

void PrintTo(const ShortcutCase& c, std::ostream* out)
{
    *out << c.fileName;
}

class Shortcuts : public DropFixture, public ::testing::WithParamInterface<ShortcutCase> {};

std::string shortPathOf(const std::string& path)
{
    char shortPath[MAX_PATH] = {};
    GetShortPathNameA(path.c_str(), shortPath, MAX_PATH);
    return shortPath;
}

TEST_P(Shortcuts, ResolvedOnlyWhenNamedAndMadeAsOne)
{
    ShortcutFolder folder;
    std::string path;
    switch (GetParam().made) {
    case Made::Shortcut:
        path = folder.addShortcut(GetParam().fileName);
        ASSERT_FALSE(path.empty()) << "the shell could not save the shortcut";
        break;
    case Made::PlainFile:
        path = folder.addPlainFile(GetParam().fileName);
        break;
    case Made::Nothing:
        path = folder.pathOf(GetParam().fileName);
        break;
    }
    TestDataObject data;
    data.offerFiles({path, "C:\\after.wav"});
    EXPECT_EQ(dragAndDrop(data), S_OK);
    ASSERT_EQ(deliveries().size(), 1u);
    const Delivery& got = deliveries()[0];
    ASSERT_EQ(got.count, 2);
    if (GetParam().resolved) {
        // The target, whether the platform gives its short or its long form.
        EXPECT_NE(got.items[0], path);
        EXPECT_EQ(shortPathOf(got.items[0]), folder.shortTarget());
        EXPECT_NE(folder.shortTarget(), folder.target()) << "the target's name should have a short form";
    } else {
        EXPECT_EQ(got.items[0], path);
    }
    EXPECT_EQ(got.items[1], "C:\\after.wav");
}

INSTANTIATE_TEST_SUITE_P(Names, Shortcuts,
                         ::testing::Values(ShortcutCase{"shortcut.lnk", Made::Shortcut, true},
                                           ShortcutCase{"SHOUTING.LNK", Made::Shortcut, true},
                                           ShortcutCase{"mixed case.LnK", Made::Shortcut, true},
                                           ShortcutCase{"x.lnk.txt", Made::Shortcut, false},
                                           ShortcutCase{"no extension", Made::Shortcut, false},
                                           ShortcutCase{"linklnk", Made::Shortcut, false},
                                           ShortcutCase{"not a shortcut.lnk", Made::PlainFile, false},
                                           ShortcutCase{"missing.lnk", Made::Nothing, false}),
                         [](const auto& info) {
                             std::string name = info.param.fileName;
                             for (char& c : name) {
                                 c = std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                             }
                             return name;
                         });

} // namespace
