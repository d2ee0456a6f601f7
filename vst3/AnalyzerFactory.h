// The module's factory, which a VST 3 host gets from GetPluginFactory: one
// class, the analyzer of this build's display scale ("Orvane" or
// "Orvane x2"), an audio effect of the subcategories Fx and Analyzer.
#pragma once

#include "vst3/IPluginFactory.h"

#include <atomic>

class AnalyzerFactory final : public vst3::IPluginFactory2 {
public:
    // The module's one factory, with a reference added for the caller.
    static AnalyzerFactory* get();

    vst3::tresult ORVANE_VST3_CALL queryInterface(const vst3::TUID iid, void** object) override;
    // Counted, but the factory lives as long as the module.
    std::uint32_t ORVANE_VST3_CALL addRef() override;
    std::uint32_t ORVANE_VST3_CALL release() override;

    vst3::tresult ORVANE_VST3_CALL getFactoryInfo(vst3::PFactoryInfo* info) override;
    std::int32_t ORVANE_VST3_CALL countClasses() override;
    vst3::tresult ORVANE_VST3_CALL getClassInfo(std::int32_t index, vst3::PClassInfo* info) override;
    vst3::tresult ORVANE_VST3_CALL getClassInfo2(std::int32_t index, vst3::PClassInfo2* info) override;
    vst3::tresult ORVANE_VST3_CALL createInstance(vst3::FIDString cid, vst3::FIDString iid,
                                                  void** object) override;

private:
    AnalyzerFactory() = default;
    ~AnalyzerFactory() = default;

    std::atomic<std::uint32_t> references{0};
};
