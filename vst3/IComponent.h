// The processing part of a VST 3 plug-in as the host sees it: its buses and
// their descriptions, activation, and its state in the host's project.
#pragma once

#include "vst3/IBStream.h"
#include "vst3/IPluginFactory.h"

namespace vst3 {

using MediaType = std::int32_t;
using BusDirection = std::int32_t;
using BusType = std::int32_t;
using IoMode = std::int32_t;
using String128 = char16_t[128];

enum MediaTypes : MediaType { kAudio = 0, kEvent };
enum BusDirections : BusDirection { kInput = 0, kOutput };
enum BusTypes : BusType { kMain = 0, kAux };

struct BusInfo {
    enum BusFlags : std::uint32_t { kDefaultActive = 1 << 0, kIsControlVoltage = 1 << 1 };
    MediaType mediaType;
    BusDirection direction;
    std::int32_t channelCount;
    String128 name;
    BusType busType;
    std::uint32_t flags;
};

struct RoutingInfo {
    MediaType mediaType;
    std::int32_t busIndex;
    std::int32_t channel;
};

class IComponent : public IPluginBase {
public:
    // The class of the edit controller; kResultFalse where the component
    // is its own controller.
    virtual tresult ORVANE_VST3_CALL getControllerClassId(TUID classId) = 0;
    virtual tresult ORVANE_VST3_CALL setIoMode(IoMode mode) = 0;
    virtual std::int32_t ORVANE_VST3_CALL getBusCount(MediaType type, BusDirection direction) = 0;
    virtual tresult ORVANE_VST3_CALL getBusInfo(MediaType type, BusDirection direction, std::int32_t index,
                                                BusInfo& bus) = 0;
    virtual tresult ORVANE_VST3_CALL getRoutingInfo(RoutingInfo& input, RoutingInfo& output) = 0;
    virtual tresult ORVANE_VST3_CALL activateBus(MediaType type, BusDirection direction, std::int32_t index,
                                                 TBool state) = 0;
    virtual tresult ORVANE_VST3_CALL setActive(TBool state) = 0;
    virtual tresult ORVANE_VST3_CALL setState(IBStream* state) = 0;
    virtual tresult ORVANE_VST3_CALL getState(IBStream* state) = 0;

    static constexpr Uid iid = makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);

protected:
    ~IComponent() = default;
};

} // namespace vst3
