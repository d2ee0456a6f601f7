// The plug-ins through each entry name a host may look for: 32-bit hosts find
// only `main`; 64-bit hosts look for `VSTPluginMain` first, and older ones for
// `main`, both the same function.
#include "host/opcodes.h"
#include "testhost/DemoSignal.h"
#include "testhost/PluginLibrary.h"
#include "tests/support/RecordingHost.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr bool kWideBuild = sizeof(void*) == 8;
constexpr std::int32_t kBlockFrames = 512;

struct EntryCase {
    const char* file;
    const char* entryName;
    bool exported;
    std::int32_t uniqueID;
};

const EntryCase kCases[] = {
    {"orvane.dll", "main", true, 0x4F725661},
    {"orvane_x2.dll", "main", true, 0x4F725632},
    {"orvane.dll", "VSTPluginMain", kWideBuild, 0x4F725661},
    {"orvane_x2.dll", "VSTPluginMain", kWideBuild, 0x4F725632},
};

// Host-sized calls of processReplacing; true when the output has the input's bits.
bool passesAudioUnchanged(AEffect* effect)
{
    const DemoSignal signal = DemoSignal::make(1.0);
    const std::size_t frames = signal.left.size();
    std::vector<float> inLeft = signal.left, inRight = signal.right;
    std::vector<float> outLeft(frames), outRight(frames);
    for (std::size_t start = 0; start < frames; start += kBlockFrames) {
        const auto n = static_cast<std::int32_t>(std::min<std::size_t>(kBlockFrames, frames - start));
        float* inputs[2] = {inLeft.data() + start, inRight.data() + start};
        float* outputs[2] = {outLeft.data() + start, outRight.data() + start};
        effect->processReplacing(effect, inputs, outputs, n);
    }
    return std::memcmp(outLeft.data(), signal.left.data(), frames * sizeof(float)) == 0 &&
           std::memcmp(outRight.data(), signal.right.data(), frames * sizeof(float)) == 0;
}

TEST(EntryPoints, EachNameAHostLooksForIsMainAndMakesAWorkingEffect)
{
    for (const EntryCase& c : kCases) {
        SCOPED_TRACE(std::string(c.file) + " through " + c.entryName);
        PluginLibrary library(c.file, {c.entryName});
        ASSERT_EQ(library.loaded(), c.exported);
        if (!c.exported)
            continue;
        HMODULE module = GetModuleHandleA(c.file);
        EXPECT_EQ(GetProcAddress(module, c.entryName), GetProcAddress(module, "main"));
        RecordingHost::clear();
        AEffect* effect = library.instantiate(RecordingHost::callback);
        ASSERT_NE(effect, nullptr);
        EXPECT_EQ(effect->uniqueID, c.uniqueID);
        EXPECT_EQ(effect->numInputs, 2);
        EXPECT_EQ(effect->numOutputs, 2);
        EXPECT_TRUE(passesAudioUnchanged(effect));
        EXPECT_EQ(dispatch(effect, effClose), 1);
    }
}

} // namespace
