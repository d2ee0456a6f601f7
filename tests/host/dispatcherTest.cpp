#include "analysis/Analyzer.h"
#include "host/opcodes.h"
#include "tests/host/ProbeEffect.h"
#include "tests/support/RecordingHost.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <memory>

namespace {

class DispatcherTest : public ::testing::Test {
protected:
    void SetUp() override { RecordingHost::clear(); }

    VstIntPtr send(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f)
    {
        AEffect* record = effect.record();
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }

    ProbeLog log;
    ProbeEffect effect{RecordingHost::callback, &log};
};

TEST_F(DispatcherTest, FixedAnswers)
{
    EXPECT_EQ(send(effIdentify), 0x4E764566);
    EXPECT_EQ(send(effGetVstVersion), 2200);
    EXPECT_EQ(send(effKeysRequired), 1);
    EXPECT_EQ(send(effGetNumProgramCategories), 1);
    EXPECT_EQ(send(effCanBeAutomated, 5), 1);
    EXPECT_EQ(send(effGetCurrentMidiProgram), -1);
    EXPECT_EQ(send(effConnectInput, 0, 0), 1);
    EXPECT_EQ(send(effConnectOutput, 1, 1), 1);
    EXPECT_EQ(send(effGetDestinationBuffer), 0);
    EXPECT_EQ(send(effGetChunk), 0);
    EXPECT_EQ(send(effSetChunk), 0);
}

TEST_F(DispatcherTest, UnknownOpcodesAnswerZero)
{
    for (std::int32_t opcode : {-1, 16, 17, 18, 20, 21, 69, 1000, std::numeric_limits<std::int32_t>::min()})
        EXPECT_EQ(send(opcode, 1, 1, nullptr, 1.0f), 0) << "opcode " << opcode;
}

TEST_F(DispatcherTest, CapabilityQueriesAreUndecided)
{
    char receive[] = "receiveVstEvents";
    char io[] = "1in1out";
    EXPECT_EQ(send(effCanDo, 0, 0, receive), 0);
    EXPECT_EQ(send(effCanDo, 0, 0, io), 0);
    EXPECT_EQ(send(effCanDo), 0);
}

TEST_F(DispatcherTest, VuIsScaledAndTruncated)
{
    EXPECT_EQ(send(effGetVu), 0);
    effect.vu = 0.5f;
    EXPECT_EQ(send(effGetVu), 16383);
    effect.vu = -0.5f;
    EXPECT_EQ(send(effGetVu), -16383);
    // A value the integer cannot hold is saturated, not undefined.
    effect.vu = std::numeric_limits<float>::infinity();
    EXPECT_EQ(send(effGetVu), std::numeric_limits<std::int32_t>::max());
    effect.vu = std::nanf("");
    EXPECT_EQ(send(effGetVu), 0);
}

TEST_F(DispatcherTest, PlugCategoryFollowsTheSynthFlag)
{
    EXPECT_EQ(send(effGetPlugCategory), 0);
    effect.setIsSynth(true);
    EXPECT_EQ(send(effGetPlugCategory), 2);
}

TEST_F(DispatcherTest, ProgramSelectionTestsOnlyTheUpperBound)
{
    send(effSetProgram, 0, 1);
    EXPECT_EQ(send(effGetProgram), 0);
    send(effSetProgram, 0, -1);
    EXPECT_EQ(send(effGetProgram), -1);
    if constexpr (sizeof(VstIntPtr) == 8) {
        // Negative as 64 bits, program 1 as the 32 bits that are stored: still out of range.
        send(effSetProgram, 0, static_cast<VstIntPtr>(0xFFFFFFFF00000001u));
        EXPECT_EQ(send(effGetProgram), -1);
    }
}

TEST_F(DispatcherTest, MainsChangedSuspendsOnlyForZero)
{
    send(effMainsChanged, 0, 2);
    EXPECT_TRUE(log.resumed);
    EXPECT_FALSE(log.suspended);
    send(effMainsChanged, 0, 0);
    EXPECT_TRUE(log.suspended);
}

TEST_F(DispatcherTest, BlockSizeAndSampleRate)
{
    EXPECT_EQ(send(effSetBlockSizeAndSampleRate, 0, 512, nullptr, 48000.0f), 1);
    EXPECT_EQ(effect.getBlockSize(), 512);
    EXPECT_EQ(effect.getSampleRate(), 48000.0f);
    send(effSetSampleRate, 0, 0, nullptr, 96000.0f);
    send(effSetBlockSize, 0, 64);
    EXPECT_EQ(effect.getSampleRate(), 96000.0f);
    EXPECT_EQ(effect.getBlockSize(), 64);
}

TEST_F(DispatcherTest, UnusableSampleRatesKeepTheLastUsableOne)
{
    send(effSetSampleRate, 0, 0, nullptr, 48000.0f);
    const float bad[] = {0.0f, -44100.0f, std::nanf(""), std::numeric_limits<float>::infinity()};
    for (float rate : bad) {
        send(effSetSampleRate, 0, 0, nullptr, rate);
        EXPECT_EQ(effect.getSampleRate(), 48000.0f) << rate;
        EXPECT_EQ(send(effSetBlockSizeAndSampleRate, 0, 256, nullptr, rate), 1);
        EXPECT_EQ(effect.getSampleRate(), 48000.0f) << rate;
        EXPECT_EQ(effect.getBlockSize(), 256);
    }
}

TEST_F(DispatcherTest, EditorOpcodesWithoutEditorAnswerZero)
{
    ERect* rect = nullptr;
    EXPECT_EQ(send(effEditGetRect, 0, 0, &rect), 0);
    EXPECT_EQ(send(effEditOpen), 0);
    EXPECT_EQ(send(effEditClose), 0);
    EXPECT_EQ(send(effEditIdle), 0);
    EXPECT_EQ(send(effEditKeyDown, 65, 1), 0);
    EXPECT_EQ(send(effEditKeyUp, 65, 1), 0);
    EXPECT_EQ(send(effSetEditKnobMode, 0, 2), 0);
}

TEST_F(DispatcherTest, KeyRecordIsBuiltFromTheArguments)
{
    auto* editor = new ProbeEditor(&effect);
    EXPECT_EQ(send(effEditKeyDown, 65, 0x1FF, nullptr, 3.9f), 7);
    EXPECT_EQ(editor->lastKey.character, 65);
    EXPECT_EQ(editor->lastKey.virt, 0xFF);
    EXPECT_EQ(editor->lastKey.modifier, 3);
    EXPECT_EQ(send(effEditKeyUp, 66, 2, nullptr, std::nanf("")), 8);
    EXPECT_EQ(editor->lastKey.character, 66);
    EXPECT_EQ(editor->lastKey.virt, 2);
    EXPECT_EQ(editor->lastKey.modifier, 0);
    EXPECT_EQ(send(effSetEditKnobMode, 0, 2), 0); // the interface layer's answer
    ERect* rect = nullptr;
    EXPECT_EQ(send(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_EQ(rect, &editor->rectangle);
}

TEST_F(DispatcherTest, NullPointersForTextOrRectangleAnswerZeroWithoutWriting)
{
    new ProbeEditor(&effect);
    for (std::int32_t opcode :
         {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
          effEditGetRect, effString2Parameter, effGetProgramNameIndexed, effGetEffectName, effGetErrorText,
          effGetVendorString, effGetProductString})
        EXPECT_EQ(send(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
}

TEST_F(DispatcherTest, DefaultTextsAreEmpty)
{
    for (std::int32_t opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName}) {
        char text[32] = "unchanged";
        send(opcode, 0, 0, text);
        EXPECT_STREQ(text, "") << "opcode " << opcode;
    }
}

class AnalyzerDispatchTest : public ::testing::Test {
protected:
    VstIntPtr send(std::int32_t opcode, std::int32_t index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f)
    {
        AEffect* record = analyzer->record();
        return record->dispatcher(record, opcode, index, value, ptr, opt);
    }
    std::unique_ptr<Analyzer> analyzer = std::make_unique<Analyzer>(nullptr);
};

TEST_F(AnalyzerDispatchTest, IdentityStringsOfThisBuild)
{
    char name[64] = {};
    char vendor[64] = {};
    char product[64] = {};
    EXPECT_EQ(send(effGetEffectName, 0, 0, name), 1);
    EXPECT_EQ(send(effGetVendorString, 0, 0, vendor), 1);
    EXPECT_EQ(send(effGetProductString, 0, 0, product), 1);
    EXPECT_STREQ(vendor, "Brindlewick");
    if (kDisplayScale == 1) {
        EXPECT_STREQ(name, "Orvane");
        EXPECT_STREQ(product, "Orvane VST");
    } else {
        EXPECT_STREQ(name, "Orvane x2");
        EXPECT_STREQ(product, "Orvane VST x2");
    }
    EXPECT_EQ(send(effGetVendorVersion), 0);
    EXPECT_EQ(send(effGetPlugCategory), 0);
    EXPECT_EQ(send(effKeysRequired), 1);
}

TEST_F(AnalyzerDispatchTest, ProgramNameIsKeptToThirtyOneAndHandedOutToTwentyThree)
{
    char name[] = "0123456789012345678901234567890123456789"; // 40 characters
    send(effSetProgramName, 0, 0, name);
    EXPECT_STREQ(analyzer->programName, "0123456789012345678901234567890");
    char out[kProgramNameBufferSize + 8];
    std::memset(out, '#', sizeof out);
    send(effGetProgramName, 0, 0, out);
    EXPECT_STREQ(out, "01234567890123456789012");
    EXPECT_EQ(out[kProgramNameBufferSize], '#');
}

TEST_F(AnalyzerDispatchTest, ParameterTextsLeaveTheHostsBufferAlone)
{
    for (std::int32_t opcode : {effGetParamLabel, effGetParamDisplay, effGetParamName}) {
        char text[16] = "untouched";
        EXPECT_EQ(send(opcode, 0, 0, text), 0);
        EXPECT_STREQ(text, "untouched");
    }
    char text[16] = "Default";
    send(effGetProgramName, 0, 0, text);
    EXPECT_STREQ(text, "Default");
}

} // namespace
