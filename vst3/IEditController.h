// The edit controller: parameters (none here), the controller's own state
// and the editor view the host embeds in its window.
#pragma once

#include "vst3/IBStream.h"
#include "vst3/IPluginFactory.h"

namespace vst3 {

class IPlugView;

using ParamID = std::uint32_t;
using ParamValue = double;
using TChar = char16_t;

// Only named here: this plug-in has no parameters to describe, and keeps
// nothing of the host's component handler.
struct ParameterInfo;
class IComponentHandler;

// The view type a host asks createView for.
constexpr const char* kEditor = "editor";

class IEditController : public IPluginBase {
public:
    virtual tresult ORVANE_VST3_CALL setComponentState(IBStream* state) = 0;
    virtual tresult ORVANE_VST3_CALL setState(IBStream* state) = 0;
    virtual tresult ORVANE_VST3_CALL getState(IBStream* state) = 0;
    virtual std::int32_t ORVANE_VST3_CALL getParameterCount() = 0;
    virtual tresult ORVANE_VST3_CALL getParameterInfo(std::int32_t paramIndex, ParameterInfo& info) = 0;
    virtual tresult ORVANE_VST3_CALL getParamStringByValue(ParamID id, ParamValue valueNormalized,
                                                           char16_t* string) = 0;
    virtual tresult ORVANE_VST3_CALL getParamValueByString(ParamID id, TChar* string,
                                                           ParamValue& valueNormalized) = 0;
    virtual ParamValue ORVANE_VST3_CALL normalizedParamToPlain(ParamID id, ParamValue valueNormalized) = 0;
    virtual ParamValue ORVANE_VST3_CALL plainParamToNormalized(ParamID id, ParamValue plainValue) = 0;
    virtual ParamValue ORVANE_VST3_CALL getParamNormalized(ParamID id) = 0;
    virtual tresult ORVANE_VST3_CALL setParamNormalized(ParamID id, ParamValue value) = 0;
    virtual tresult ORVANE_VST3_CALL setComponentHandler(IComponentHandler* handler) = 0;
    // A new view with one reference for the caller, or null.
    virtual IPlugView* ORVANE_VST3_CALL createView(FIDString name) = 0;

    static constexpr Uid iid = makeUid(0xDCD7BBE3, 0x7742448D, 0xA874AACC, 0x979C759E);

protected:
    ~IEditController() = default;
};

} // namespace vst3
