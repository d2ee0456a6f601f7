// The analyzer as a VST 3 plug-in: one object that is both the component
// (one main audio bus in and one out, stereo or mono, 32-bit samples) and its
// own edit controller (no parameters, the analyzer's editor as its view). It
// wraps the same Analyzer as the other forms and copies its input to its
// output bit for bit, in place or not.
//
// Threads: `process` runs on the host's audio thread and does nothing but the
// analysis; everything else comes from the host's user-interface thread.
#pragma once

#include "vst3/Counted.h"
#include "vst3/IAudioProcessor.h"
#include "vst3/IComponent.h"
#include "vst3/IEditController.h"

class Analyzer;

class AnalyzerComponent final : public vst3::Counted<AnalyzerComponent, vst3::IComponent,
                                                     vst3::IAudioProcessor, vst3::IEditController> {
public:
    // The class of this build, the same in every build of it.
    static const vst3::Uid classId;

    // One reference for the caller; null without memory, or when the
    // analyzer's editor could not be made.
    static AnalyzerComponent* make();
    AnalyzerComponent(const AnalyzerComponent&) = delete;
    AnalyzerComponent& operator=(const AnalyzerComponent&) = delete;

    vst3::tresult ORVANE_VST3_CALL queryInterface(const vst3::TUID iid, void** object) override;

    // Shared by the component and the controller, which are this one object.
    vst3::tresult ORVANE_VST3_CALL initialize(vst3::FUnknown* context) override;
    vst3::tresult ORVANE_VST3_CALL terminate() override;
    vst3::tresult ORVANE_VST3_CALL setState(vst3::IBStream* state) override;
    vst3::tresult ORVANE_VST3_CALL getState(vst3::IBStream* state) override;

    vst3::tresult ORVANE_VST3_CALL getControllerClassId(vst3::TUID classId) override;
    vst3::tresult ORVANE_VST3_CALL setIoMode(vst3::IoMode mode) override;
    std::int32_t ORVANE_VST3_CALL getBusCount(vst3::MediaType type, vst3::BusDirection direction) override;
    vst3::tresult ORVANE_VST3_CALL getBusInfo(vst3::MediaType type, vst3::BusDirection direction,
                                              std::int32_t index, vst3::BusInfo& bus) override;
    vst3::tresult ORVANE_VST3_CALL getRoutingInfo(vst3::RoutingInfo& input,
                                                  vst3::RoutingInfo& output) override;
    vst3::tresult ORVANE_VST3_CALL activateBus(vst3::MediaType type, vst3::BusDirection direction,
                                               std::int32_t index, vst3::TBool state) override;
    vst3::tresult ORVANE_VST3_CALL setActive(vst3::TBool state) override;

    // Stereo or mono, the same on both sides; anything else is refused.
    vst3::tresult ORVANE_VST3_CALL setBusArrangements(vst3::SpeakerArrangement* inputs, std::int32_t numIns,
                                                      vst3::SpeakerArrangement* outputs,
                                                      std::int32_t numOuts) override;
    vst3::tresult ORVANE_VST3_CALL getBusArrangement(std::int32_t direction, std::int32_t index,
                                                     vst3::SpeakerArrangement& arrangement) override;
    vst3::tresult ORVANE_VST3_CALL canProcessSampleSize(std::int32_t symbolicSampleSize) override;
    std::uint32_t ORVANE_VST3_CALL getLatencySamples() override;
    vst3::tresult ORVANE_VST3_CALL setupProcessing(vst3::ProcessSetup& setup) override;
    vst3::tresult ORVANE_VST3_CALL setProcessing(vst3::TBool state) override;
    // Audio thread: copies the input bus to the output bus, silence flags
    // included, and analyses the input. Output channels without an input
    // channel are cleared.
    vst3::tresult ORVANE_VST3_CALL process(vst3::ProcessData& data) override;
    std::uint32_t ORVANE_VST3_CALL getTailSamples() override;

    vst3::tresult ORVANE_VST3_CALL setComponentState(vst3::IBStream* state) override;
    std::int32_t ORVANE_VST3_CALL getParameterCount() override;
    vst3::tresult ORVANE_VST3_CALL getParameterInfo(std::int32_t paramIndex,
                                                    vst3::ParameterInfo& info) override;
    vst3::tresult ORVANE_VST3_CALL getParamStringByValue(vst3::ParamID id, vst3::ParamValue valueNormalized,
                                                         char16_t* string) override;
    vst3::tresult ORVANE_VST3_CALL getParamValueByString(vst3::ParamID id, vst3::TChar* string,
                                                         vst3::ParamValue& valueNormalized) override;
    vst3::ParamValue ORVANE_VST3_CALL normalizedParamToPlain(vst3::ParamID id,
                                                             vst3::ParamValue valueNormalized) override;
    vst3::ParamValue ORVANE_VST3_CALL plainParamToNormalized(vst3::ParamID id,
                                                             vst3::ParamValue plainValue) override;
    vst3::ParamValue ORVANE_VST3_CALL getParamNormalized(vst3::ParamID id) override;
    vst3::tresult ORVANE_VST3_CALL setParamNormalized(vst3::ParamID id, vst3::ParamValue value) override;
    vst3::tresult ORVANE_VST3_CALL setComponentHandler(vst3::IComponentHandler* handler) override;
    // The analyzer's editor; one view at a time, as the analyzer has one editor.
    vst3::IPlugView* ORVANE_VST3_CALL createView(vst3::FIDString name) override;

    // For the view: the analysis it shows, and its going.
    Analyzer& analysis() { return *analyzer; }
    void viewDestroyed() { viewExists = false; }

private:
    explicit AnalyzerComponent(Analyzer* analyzer);
    ~AnalyzerComponent();
    friend CountedBase;

    Analyzer* analyzer;
    vst3::SpeakerArrangement arrangement = vst3::kStereo;
    bool viewExists = false;
};
