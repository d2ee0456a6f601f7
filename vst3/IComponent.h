// The processing part of a VST 3 plug-in as the host sees it: its buses and
// their descriptions, activation, and its state in the host's project.
#pragma once

#include "vst3/IBStream.h"
#include "vst3/IPluginFactory.h"

namespace vst3 {

using MediaType = int32;
using BusDirection = int32;
using BusType = int32;
using IoMode = int32;
using String128 = char16[128];

enum MediaTypes : MediaType { kAudio = 0, kEvent };
enum BusDirections : BusDirection { kInput = 0, kOutput };
enum BusTypes : BusType { kMain = 0, kAux };

struct BusInfo {
    enum BusFlags : uint32 { kDefaultActive = 1 << 0, kIsControlVoltage = 1 << 1 };
    MediaType mediaType;
    BusDirection direction;
    int32 channelCount;
    String128 name;
    BusType busType;
    uint32 flags;
};

struct RoutingInfo {
    MediaType mediaType;
    int32 busIndex;
    int32 channel;
};

class IComponent : public IPluginBase {
public:
    // The class of the edit controller; kResultFalse where the component
    // is its own controller.
    virtual tresult ORVANE_VST3_CALL getControllerClassId(TUID classId) = 0;
    virtual tresult ORVANE_VST3_CALL setIoMode(IoMode mode) = 0;
    virtual int32 ORVANE_VST3_CALL getBusCount(MediaType type, BusDirection direction) = 0;
    virtual tresult ORVANE_VST3_CALL getBusInfo(MediaType type, BusDirection direction, int32 index,
                                                BusInfo& bus) = 0;
    virtual tresult ORVANE_VST3_CALL getRoutingInfo(RoutingInfo& input, RoutingInfo& output) = 0;
    virtual tresult ORVANE_VST3_CALL activateBus(MediaType type, BusDirection direction, int32 index,
                                                 TBool state) = 0;
    virtual tresult ORVANE_VST3_CALL setActive(TBool state) = 0;
    virtual tresult ORVANE_VST3_CALL setState(IBStream* state) = 0;
    virtual tresult ORVANE_VST3_CALL getState(IBStream* state) = 0;

    static constexpr Uid iid = makeUid(0xE831FF31, 0xF2D54301, 0x928EBBEE, 0x25697802);

protected:
    ~IComponent() = default;
};

} // namespace vst3
