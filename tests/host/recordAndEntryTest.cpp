#include "analysis/Analyzer.h"
#include "host/entryPoints.h"
#include "host/opcodes.h"
#include "tests/host/ProbeEffect.h"
#include "tests/support/RecordingHost.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class EntryTest : public ::testing::Test {
protected:
    void SetUp() override { RecordingHost::clear(); }
};

TEST_F(EntryTest, HostWithoutVersionIsRefusedBeforeAnythingIsBuilt)
{
    RecordingHost::answer(audioMasterVersion, 0);
    EXPECT_EQ(pluginMain(RecordingHost::callback), nullptr);
    ASSERT_EQ(RecordingHost::calls().size(), 1u);
    const HostCall& call = RecordingHost::calls()[0];
    EXPECT_EQ(call.effect, nullptr);
    EXPECT_EQ(call.opcode, audioMasterVersion);
    EXPECT_EQ(call.index, 0);
    EXPECT_EQ(call.value, 0);
    EXPECT_EQ(call.ptr, nullptr);
    EXPECT_EQ(call.opt, 0.0f);
}

TEST_F(EntryTest, RecordDescribesTheAnalyzer)
{
    AEffect* record = pluginMain(RecordingHost::callback);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->magic, 0x56737450);
    EXPECT_EQ(record->numPrograms, 1);
    EXPECT_EQ(record->numParams, 0);
    EXPECT_EQ(record->numInputs, 2);
    EXPECT_EQ(record->numOutputs, 2);
    // No editor yet: can mono and can replacing only.
    EXPECT_EQ(record->flags, 0x18);
    EXPECT_EQ(record->resvd1, 0);
    EXPECT_EQ(record->resvd2, 0);
    EXPECT_EQ(record->initialDelay, 0);
    EXPECT_EQ(record->realQualities, 0);
    EXPECT_EQ(record->offQualities, 0);
    EXPECT_EQ(record->ioRatio, 1.0f);
    EXPECT_EQ(record->user, nullptr);
    // 'OrVa' for orvane, 'OrV2' for orvane_x2.
    EXPECT_EQ(record->uniqueID, kDisplayScale == 1 ? 0x4F725661 : 0x4F725632);
    EXPECT_EQ(record->version, 1);
    const char zeros[sizeof record->reserved] = {};
    EXPECT_EQ(std::memcmp(record->reserved, zeros, sizeof zeros), 0);
    EXPECT_EQ(PluginEffect::fromRecord(record)->record(), record);
    EXPECT_NE(record->dispatcher, nullptr);
    EXPECT_NE(record->process, nullptr);
    EXPECT_NE(record->processReplacing, nullptr);
    EXPECT_NE(record->setParameter, nullptr);
    EXPECT_NE(record->getParameter, nullptr);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
}

TEST_F(EntryTest, DefaultRecordOfTheBaseClass)
{
    ProbeEffect effect(RecordingHost::callback);
    const AEffect* record = effect.record();
    EXPECT_EQ(record->numInputs, 1);
    EXPECT_EQ(record->numOutputs, 2);
    EXPECT_EQ(record->flags, 0);
    EXPECT_EQ(record->uniqueID, 0x4E6F4566);
    EXPECT_EQ(effect.getSampleRate(), 44100.0f);
    EXPECT_EQ(effect.getBlockSize(), 1024);
}

TEST_F(EntryTest, CloseRunsCloseThenDestroysTheEffectAndItsEditor)
{
    ProbeLog log;
    auto* effect = new ProbeEffect(RecordingHost::callback, &log);
    new ProbeEditor(effect); // owned by the effect from here on
    AEffect* record = effect->record();
    EXPECT_EQ(record->flags & effFlagsHasEditor, effFlagsHasEditor);
    EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_TRUE(log.closed);
    EXPECT_TRUE(log.destroyed);
    EXPECT_TRUE(log.destroyedAfterClose);
}

TEST_F(EntryTest, EntryFunctionsReachTheEffect)
{
    ProbeEffect effect(RecordingHost::callback);
    AEffect* record = effect.record();
    record->setParameter(record, 3, 0.25f);
    ASSERT_EQ(effect.parameterWrites.size(), 1u);
    EXPECT_EQ(effect.parameterWrites[0].index, 3);
    EXPECT_EQ(effect.parameterWrites[0].value, 0.25f);
    EXPECT_EQ(record->getParameter(record, 0), 0.0f);
}

TEST_F(EntryTest, FlagSettersTouchOnlyTheirOwnBit)
{
    ProbeEffect effect(RecordingHost::callback);
    effect.setCanReplacing(true);
    effect.setCanMono(true);
    effect.setCanMono(false);
    EXPECT_EQ(effect.record()->flags, effFlagsCanReplacing);
    effect.setIsSynth(true);
    effect.setNoSoundInStop(true);
    effect.setExtIsAsync(true);
    effect.setExtHasBuffer(true);
    effect.setProgramChunks(true);
    effect.setHasClip(true);
    effect.setHasVu(true);
    EXPECT_EQ(effect.record()->flags, 0xF36);
    effect.setIsSynth(false);
    EXPECT_EQ(effect.record()->flags, 0xE36);
}

} // namespace
