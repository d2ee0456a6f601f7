// Loads the built plug-in DLLs exactly as a host does and drives them through
// their record: values, opcodes, names, pass-through and the debug log.
#include "host/opcodes.h"
#include "testhost/DemoSignal.h"
#include "testhost/PluginLibrary.h"
#include "tests/support/RecordingHost.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

namespace {

struct PluginBuild {
    const char* file;
    const char* effectName;
    const char* productName;
    std::int32_t uniqueID;
};

void PrintTo(const PluginBuild& build, std::ostream* out)
{
    *out << build.file;
}

const PluginBuild kBuilds[] = {{"orvane.dll", "Orvane", "Orvane VST", 0x4F725661},
                               {"orvane_x2.dll", "Orvane x2", "Orvane VST x2", 0x4F725632}};

class PluginLoadTest : public ::testing::TestWithParam<PluginBuild> {
protected:
    void SetUp() override
    {
        RecordingHost::clear();
        ASSERT_TRUE(library.loaded()) << GetParam().file;
        effect = library.instantiate(RecordingHost::callback);
        ASSERT_NE(effect, nullptr);
    }
    void TearDown() override
    {
        if (effect) {
            EXPECT_EQ(dispatch(effect, effClose), 1);
        }
    }
    std::string text(std::int32_t opcode)
    {
        char buffer[256] = {};
        EXPECT_EQ(dispatch(effect, opcode, 0, 0, buffer), 1);
        return buffer;
    }

    PluginLibrary library{GetParam().file};
    AEffect* effect = nullptr;
};

TEST_P(PluginLoadTest, RecordAsTheHostSeesIt)
{
    EXPECT_EQ(effect->magic, 0x56737450);
    EXPECT_EQ(effect->numPrograms, 1);
    EXPECT_EQ(effect->numParams, 0);
    EXPECT_EQ(effect->numInputs, 2);
    EXPECT_EQ(effect->numOutputs, 2);
    EXPECT_EQ(effect->flags, 0x19);
    EXPECT_EQ(effect->ioRatio, 1.0f);
    EXPECT_EQ(effect->uniqueID, GetParam().uniqueID);
    EXPECT_EQ(effect->version, 1);
    EXPECT_EQ(effect->user, nullptr);
    const char zeros[sizeof effect->reserved] = {};
    EXPECT_EQ(std::memcmp(effect->reserved, zeros, sizeof zeros), 0);
    // The only call before the record existed asked for the host's version.
    ASSERT_GE(RecordingHost::calls().size(), 1u);
    EXPECT_EQ(RecordingHost::calls()[0].opcode, audioMasterVersion);
    EXPECT_EQ(RecordingHost::calls()[0].effect, nullptr);
}

TEST_P(PluginLoadTest, NamesAndAnswers)
{
    EXPECT_EQ(text(effGetEffectName), GetParam().effectName);
    EXPECT_EQ(text(effGetProductString), GetParam().productName);
    EXPECT_EQ(text(effGetVendorString), "Brindlewick");
    char program[kProgramNameBufferSize] = {};
    EXPECT_EQ(dispatch(effect, effGetProgramName, 0, 0, program), 0);
    EXPECT_STREQ(program, "Default");
    char capability[] = "receiveVstEvents";
    EXPECT_EQ(dispatch(effect, effCanDo, 0, 0, capability), 0);
    EXPECT_EQ(dispatch(effect, effIdentify), 0x4E764566);
    EXPECT_EQ(dispatch(effect, effGetVstVersion), 2200);
    EXPECT_EQ(dispatch(effect, effKeysRequired), 1);
    EXPECT_EQ(dispatch(effect, effGetPlugCategory), 0);
    // Without a parent window the editor opens with no window of its own.
    EXPECT_EQ(dispatch(effect, effEditOpen), 1);
    EXPECT_EQ(dispatch(effect, effEditClose), 0);
    EXPECT_EQ(dispatch(effect, effGetEffectName, 0, 0, nullptr), 0);
    EXPECT_EQ(effect->getParameter(effect, 0), 1.0f);
}

TEST_P(PluginLoadTest, PassThroughIsBitExactInAndOutOfPlace)
{
    const DemoSignal signal = DemoSignal::make(1.5);
    const std::size_t frames = signal.left.size();
    std::vector<float> inLeft = signal.left, inRight = signal.right;
    std::vector<float> outLeft(frames), outRight(frames);
    for (std::size_t start = 0; start < frames; start += 441) {
        const auto n = static_cast<std::int32_t>(std::min<std::size_t>(441, frames - start));
        float* inputs[2] = {inLeft.data() + start, inRight.data() + start};
        float* outputs[2] = {outLeft.data() + start, outRight.data() + start};
        effect->processReplacing(effect, inputs, outputs, n);
        effect->processReplacing(effect, inputs, inputs, n);
    }
    EXPECT_EQ(std::memcmp(outLeft.data(), signal.left.data(), frames * sizeof(float)), 0);
    EXPECT_EQ(std::memcmp(outRight.data(), signal.right.data(), frames * sizeof(float)), 0);
    EXPECT_EQ(inLeft, signal.left);
    EXPECT_EQ(inRight, signal.right);
    // A host without input arrays is tolerated.
    float* outputs[2] = {outLeft.data(), outRight.data()};
    effect->processReplacing(effect, nullptr, outputs, 64);
    effect->process(effect, nullptr, nullptr, 64);
}

long logLines()
{
    std::FILE* log = std::fopen("C:\\temp\\orvlog.txt", "r");
    if (!log)
        return -1;
    long lines = 0;
    for (int c; (c = std::fgetc(log)) != EOF;)
        lines += c == '\n';
    std::fclose(log);
    return lines;
}

TEST_P(PluginLoadTest, EveryProcessCallIsInTheDebugLogOnceTheEffectIsClosed)
{
    CreateDirectoryA("C:\\temp", nullptr);
    const long before = logLines();
    float silence[2][16] = {};
    float* channels[2] = {silence[0], silence[1]};
    constexpr long kCalls = 2000;
    for (long call = 0; call < kCalls; ++call) {
        if (call % 2)
            effect->process(effect, channels, channels, call % 3 ? 16 : 0);
        else
            effect->processReplacing(effect, channels, channels, 16);
    }
    EXPECT_EQ(dispatch(effect, effClose), 1);
    effect = nullptr;
    EXPECT_EQ(logLines(), std::max(before, 0L) + kCalls);
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, PluginLoadTest, ::testing::ValuesIn(kBuilds),
                         [](const ::testing::TestParamInfo<PluginBuild>& info) {
                             return std::string(info.param.file[6] == '_' ? "x2" : "base");
                         });

TEST(PluginLoad, HostWithoutVersionGetsNoEffect)
{
    PluginLibrary library("orvane.dll");
    ASSERT_TRUE(library.loaded());
    RecordingHost::clear();
    RecordingHost::answer(audioMasterVersion, 0);
    EXPECT_EQ(library.instantiate(RecordingHost::callback), nullptr);
}

TEST(PluginLoad, EffectWhoseEditorCannotBeMadeIsRefusedEveryTime)
{
    PluginLibrary library("orvane_failing_editor.dll");
    ASSERT_TRUE(library.loaded());
    RecordingHost::clear();
    EXPECT_EQ(library.instantiate(RecordingHost::callback), nullptr);
    EXPECT_EQ(library.instantiate(RecordingHost::callback), nullptr);
    EXPECT_EQ(RecordingHost::callsOf(audioMasterVersion).size(), 2u);
}

TEST(PluginLoad, InstancesAreIndependent)
{
    PluginLibrary library("orvane.dll");
    RecordingHost::clear();
    AEffect* first = library.instantiate(RecordingHost::callback);
    AEffect* second = library.instantiate(RecordingHost::callback);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    char name[] = "Renamed";
    dispatch(first, effSetProgramName, 0, 0, name);
    char program[kProgramNameBufferSize] = {};
    dispatch(second, effGetProgramName, 0, 0, program);
    EXPECT_STREQ(program, "Default");
    EXPECT_EQ(dispatch(first, effClose), 1);
    EXPECT_EQ(dispatch(second, effClose), 1);
}

} // namespace
