#include "host/opcodes.h"
#include "tests/host/ProbeEffect.h"
#include "tests/support/RecordingHost.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

class HostServicesTest : public ::testing::Test {
protected:
    void SetUp() override { RecordingHost::clear(); }

    // Runs one service and checks the single call it made.
    void expectCall(const std::function<void()>& service, std::int32_t opcode, std::int32_t index,
                    VstIntPtr value, void* ptr, float opt)
    {
        RecordingHost::clear();
        service();
        ASSERT_EQ(RecordingHost::calls().size(), 1u) << "opcode " << opcode;
        const HostCall& call = RecordingHost::calls()[0];
        EXPECT_EQ(call.effect, effect.record());
        EXPECT_EQ(call.opcode, opcode);
        EXPECT_EQ(call.index, index) << "opcode " << opcode;
        EXPECT_EQ(call.value, value) << "opcode " << opcode;
        EXPECT_EQ(call.ptr, ptr) << "opcode " << opcode;
        EXPECT_EQ(call.opt, opt) << "opcode " << opcode;
    }

    ProbeEffect effect{RecordingHost::callback};
    ProbeEffect unhosted{nullptr};
};

TEST_F(HostServicesTest, EachServiceSendsItsOpcodeAndArguments)
{
    char text[8] = "name";
    int marker = 0;
    void* p = &marker;
    auto* addressA = reinterpret_cast<VstSpeakerArrangement**>(&marker);
    auto* addressB = reinterpret_cast<VstSpeakerArrangement**>(text);
    expectCall([&] { effect.masterCurrentId(); }, audioMasterCurrentId, 0, 0, nullptr, 0.0f);
    expectCall([&] { effect.masterIdle(); }, audioMasterIdle, 0, 0, nullptr, 0.0f);
    expectCall([&] { effect.isInputConnected(3); }, audioMasterPinConnected, 3, 0, nullptr, 0.0f);
    expectCall([&] { effect.isOutputConnected(1); }, audioMasterPinConnected, 1, 1, nullptr, 0.0f);
    expectCall([&] { effect.wantMidi(9); }, audioMasterWantMidi, 0, 9, nullptr, 0.0f);
    expectCall([&] { effect.getTime(0x200); }, audioMasterGetTime, 0, 0x200, nullptr, 0.0f);
    expectCall([&] { effect.tempoAt(44); }, audioMasterTempoAt, 0, 44, nullptr, 0.0f);
    expectCall([&] { effect.sizeWindow(516, 204); }, audioMasterSizeWindow, 516, 204, nullptr, 0.0f);
    expectCall([&] { effect.getPreviousPlug(5); }, audioMasterGetPreviousPlug, 0, 0, nullptr, 0.0f);
    expectCall([&] { effect.getNextPlug(5); }, audioMasterGetNextPlug, 0, 0, nullptr, 0.0f);
    expectCall([&] { effect.offlineStart(static_cast<VstAudioFile*>(p), 3, 2); }, audioMasterOfflineStart, 2,
               3, p, 0.0f);
    expectCall([&] { effect.offlineRead(static_cast<VstOfflineTask*>(p), 4, true); }, audioMasterOfflineRead,
               1, 4, p, 0.0f);
    expectCall([&] { effect.offlineWrite(static_cast<VstOfflineTask*>(p), 6); }, audioMasterOfflineWrite, 0,
               6, p, 0.0f);
    expectCall([&] { effect.setOutputSampleRate(48000.0f); }, audioMasterSetOutputSampleRate, 0, 0, nullptr,
               48000.0f);
    expectCall([&] { effect.getSpeakerArrangement(addressA, addressB); }, audioMasterGetSpeakerArrangement, 0,
               reinterpret_cast<VstIntPtr>(addressA), addressB, 0.0f);
    expectCall([&] { effect.getHostVendorString(text); }, audioMasterGetVendorString, 0, 0, text, 0.0f);
    expectCall([&] { effect.getHostProductString(text); }, audioMasterGetProductString, 0, 0, text, 0.0f);
    expectCall([&] { effect.hostVendorSpecific(1, 2, p, 0.5f); }, audioMasterVendorSpecific, 1, 2, p, 0.5f);
    expectCall([&] { effect.canHostDo(text); }, audioMasterCanDo, 0, 0, text, 0.0f);
    expectCall([&] { effect.openWindow(static_cast<VstWindow*>(p)); }, audioMasterOpenWindow, 0, 0, p, 0.0f);
    expectCall([&] { effect.closeWindow(static_cast<VstWindow*>(p)); }, audioMasterCloseWindow, 0, 0, p,
               0.0f);
    expectCall([&] { effect.beginEdit(4); }, audioMasterBeginEdit, 4, 0, nullptr, 0.0f);
    expectCall([&] { effect.endEdit(4); }, audioMasterEndEdit, 4, 0, nullptr, 0.0f);
    expectCall([&] { effect.openFileSelector(static_cast<VstFileSelect*>(p)); }, audioMasterOpenFileSelector,
               0, 0, p, 0.0f);
}

TEST_F(HostServicesTest, ServicesWithoutArguments)
{
    const std::pair<std::function<void()>, std::int32_t> services[] = {
        {[&] { effect.getNumAutomatableParameters(); }, audioMasterGetNumAutomatableParameters},
        {[&] { effect.getParameterQuantization(); }, audioMasterGetParameterQuantization},
        {[&] { effect.ioChanged(); }, audioMasterIOChanged},
        {[&] { effect.needIdle(); }, audioMasterNeedIdle},
        {[&] { effect.updateSampleRate(); }, audioMasterGetSampleRate},
        {[&] { effect.updateBlockSize(); }, audioMasterGetBlockSize},
        {[&] { effect.getInputLatency(); }, audioMasterGetInputLatency},
        {[&] { effect.getOutputLatency(); }, audioMasterGetOutputLatency},
        {[&] { effect.willReplaceOrAccumulate(); }, audioMasterWillReplaceOrAccumulate},
        {[&] { effect.getCurrentProcessLevel(); }, audioMasterGetCurrentProcessLevel},
        {[&] { effect.getAutomationState(); }, audioMasterGetAutomationState},
        {[&] { effect.offlineGetCurrentPass(); }, audioMasterOfflineGetCurrentPass},
        {[&] { effect.offlineGetCurrentMetaPass(); }, audioMasterOfflineGetCurrentMetaPass},
        {[&] { effect.getHostVendorVersion(); }, audioMasterGetVendorVersion},
        {[&] { effect.getHostLanguage(); }, audioMasterGetLanguage},
        {[&] { effect.getDirectory(); }, audioMasterGetDirectory},
        {[&] { effect.hostUpdateDisplay(); }, audioMasterUpdateDisplay},
    };
    for (const auto& [service, opcode] : services)
        expectCall(service, opcode, 0, 0, nullptr, 0.0f);
}

TEST_F(HostServicesTest, AnswersAreConvertedAsTheStandardReadsThem)
{
    RecordingHost::answer(audioMasterVersion, 0);
    EXPECT_EQ(effect.masterVersion(), 1);
    RecordingHost::answer(audioMasterVersion, 2400);
    EXPECT_EQ(effect.masterVersion(), 2400);
    RecordingHost::answer(audioMasterCanDo, -1);
    EXPECT_EQ(effect.canHostDo(nullptr), 1);
    RecordingHost::answer(audioMasterPinConnected, 1);
    EXPECT_FALSE(effect.isInputConnected(0));
    RecordingHost::answer(audioMasterOfflineGetCurrentPass, 7);
    EXPECT_EQ(effect.offlineGetCurrentPass(), 1);
    RecordingHost::answer(audioMasterSizeWindow, 1);
    EXPECT_TRUE(effect.sizeWindow(1, 1));
    RecordingHost::answer(audioMasterGetTime, 0x1234);
    EXPECT_EQ(reinterpret_cast<VstIntPtr>(effect.getTime(0)), 0x1234);
    RecordingHost::answer(audioMasterGetSampleRate, 96000);
    EXPECT_EQ(effect.updateSampleRate(), 44100.0f); // the answer is not a rate
}

TEST_F(HostServicesTest, AutomationSetsTheParameterBeforeTellingTheHost)
{
    effect.automateParameter(2, 0.75f);
    ASSERT_EQ(effect.parameterWrites.size(), 1u);
    EXPECT_EQ(effect.parameterWrites[0].value, 0.75f);
    const auto calls = RecordingHost::callsOf(audioMasterAutomate);
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].index, 2);
    EXPECT_EQ(calls[0].opt, 0.75f);
}

TEST_F(HostServicesTest, FileSelectorWithoutAddressDoesNotCallTheHost)
{
    EXPECT_FALSE(effect.openFileSelector(nullptr));
    EXPECT_TRUE(RecordingHost::calls().empty());
}

TEST_F(HostServicesTest, WithoutAHostEveryServiceAnswersItsDefault)
{
    EXPECT_EQ(unhosted.masterVersion(), 1);
    EXPECT_EQ(unhosted.masterCurrentId(), 0);
    EXPECT_TRUE(unhosted.isInputConnected(0));
    EXPECT_TRUE(unhosted.isOutputConnected(0));
    EXPECT_EQ(unhosted.canHostDo(nullptr), 0);
    EXPECT_EQ(unhosted.updateSampleRate(), 44100.0f);
    EXPECT_EQ(unhosted.updateBlockSize(), 1024);
    EXPECT_EQ(unhosted.getTime(0), nullptr);
    EXPECT_EQ(unhosted.getPreviousPlug(0), nullptr);
    EXPECT_FALSE(unhosted.sizeWindow(1, 1));
    EXPECT_FALSE(unhosted.beginEdit(0));
    EXPECT_FALSE(unhosted.endEdit(0));
    EXPECT_EQ(unhosted.offlineGetCurrentPass(), 0);
    unhosted.masterIdle();
    unhosted.automateParameter(1, 0.5f);
    ASSERT_EQ(unhosted.parameterWrites.size(), 1u);
    EXPECT_TRUE(RecordingHost::calls().empty());
}

} // namespace
