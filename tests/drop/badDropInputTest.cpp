// Data that a careless or broken source hands over: nothing reaches the views,
// nothing is left allocated, every medium received is released, and the drop
// is still answered as handled.
#include "tests/drop/DropFixture.h"
#include "tests/drop/ReleaseProbe.h"

#include <shlobj.h>

#include <cstring>
#include <functional>
#include <ostream>

namespace {

using Fault = TestDataObject::Fault;

std::vector<unsigned char> filesWithHeader(const std::function<void(DROPFILES&)>& change)
{
    std::vector<unsigned char> block = TestDataObject::fileListBlock({"C:\\a.wav", "C:\\b.wav"});
    DROPFILES header;
    std::memcpy(&header, block.data(), sizeof header);
    change(header);
    std::memcpy(block.data(), &header, sizeof header);
    return block;
}

struct BadInput {
    const char* name;
    std::function<void(TestDataObject&)> offer;
    // Media the source handed out, each of which must come back.
    ULONG media;
};

void PrintTo(const BadInput& input, std::ostream* out)
{
    *out << input.name;
}

const BadInput kBadInputs[] = {
    {"NoFormatOffered", [](TestDataObject&) {}, 0},
    {"TextGetDataFails",
     [](TestDataObject& data) {
         data.offerText("text", 5);
         data.setFault(CF_TEXT, Fault::GetDataFails);
     },
     0},
    {"BothGetDataFail",
     [](TestDataObject& data) {
         data.offerText("text", 5);
         data.offerFiles({"C:\\a.wav"});
         data.setFault(CF_TEXT, Fault::GetDataFails);
         data.setFault(CF_HDROP, Fault::GetDataFails);
     },
     0},
    {"TextWithoutMemory",
     [](TestDataObject& data) {
         data.offerText("text", 5);
         data.setFault(CF_TEXT, Fault::EmptyHandle);
     },
     1},
    {"FilesWithoutMemory",
     [](TestDataObject& data) {
         data.offerFiles({"C:\\a.wav"});
         data.setFault(CF_HDROP, Fault::EmptyHandle);
     },
     1},
    {"TextOfSizeZero", [](TestDataObject& data) { data.offerTextBlock({}); }, 1},
    {"FileListShorterThanItsHeader",
     [](TestDataObject& data) {
         data.offerFileBlock({20, 0, 0, 0});
     },
     1},
    {"FileListWithoutItsEnd",
     [](TestDataObject& data) {
         std::vector<unsigned char> block = TestDataObject::fileListBlock({"C:\\a.wav", "C:\\b.wav"});
         block.pop_back();
         block.back() = 'x';
         data.offerFileBlock(block);
     },
     1},
    {"FileNamesBeyondTheBlock",
     [](TestDataObject& data) {
         data.offerFileBlock(filesWithHeader([](DROPFILES& header) { header.pFiles = 1u << 30; }));
     },
     1},
    {"WideFileListWithoutItsEnd",
     [](TestDataObject& data) {
         // Single zero bytes between ANSI names do not end a list of wide characters.
         data.offerFileBlock(filesWithHeader([](DROPFILES& header) { header.fWide = TRUE; }));
     },
     1},
};

class BadDropInput : public DropFixture, public ::testing::WithParamInterface<BadInput> {};

TEST_P(BadDropInput, NothingDeliveredNothingLeftBehind)
{
    ReleaseProbe probe;
    {
        TestDataObject data;
        data.releaseThrough(&probe);
        GetParam().offer(data);
        EXPECT_EQ(dragAndDrop(data), S_OK);
        EXPECT_EQ(data.references(), 0);
    }
    EXPECT_TRUE(deliveries().empty());
    EXPECT_EQ(probe.releases(), GetParam().media);
    EXPECT_EQ(probe.outstanding(), 0);
    EXPECT_EQ(DropTarget::liveNameBuffers(), 0);
    EXPECT_EQ(DropTarget::liveTargets(), targetsBefore + 2);
}

INSTANTIATE_TEST_SUITE_P(Sources, BadDropInput, ::testing::ValuesIn(kBadInputs),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
