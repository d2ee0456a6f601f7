// The editor as a VST 3 host embeds it: the plug-in's view, the host's frame
// around it and, on Linux, the host's run loop, which delivers the view's
// window events and timers on the host's user-interface thread.
#pragma once

#include "vst3/FUnknown.h"

namespace vst3 {

struct ViewRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// What the `parent` of IPlugView::attached is.
constexpr const char* kPlatformTypeHWND = "HWND";
constexpr const char* kPlatformTypeX11EmbedWindowID = "X11EmbedWindowID";

class IPlugFrame;

class IPlugView : public FUnknown {
public:
    virtual tresult ORVANE_VST3_CALL isPlatformTypeSupported(FIDString type) = 0;
    // The host's window exists: the view makes its own inside it.
    virtual tresult ORVANE_VST3_CALL attached(void* parent, FIDString type) = 0;
    // The host's window is about to go: the view's window goes first.
    virtual tresult ORVANE_VST3_CALL removed() = 0;
    virtual tresult ORVANE_VST3_CALL onWheel(float distance) = 0;
    virtual tresult ORVANE_VST3_CALL onKeyDown(char16_t key, std::int16_t keyCode,
                                               std::int16_t modifiers) = 0;
    virtual tresult ORVANE_VST3_CALL onKeyUp(char16_t key, std::int16_t keyCode, std::int16_t modifiers) = 0;
    virtual tresult ORVANE_VST3_CALL getSize(ViewRect* size) = 0;
    virtual tresult ORVANE_VST3_CALL onSize(ViewRect* newSize) = 0;
    virtual tresult ORVANE_VST3_CALL onFocus(TBool state) = 0;
    // The host's frame, before attached and null after removed; not owned.
    virtual tresult ORVANE_VST3_CALL setFrame(IPlugFrame* frame) = 0;
    virtual tresult ORVANE_VST3_CALL canResize() = 0;
    virtual tresult ORVANE_VST3_CALL checkSizeConstraint(ViewRect* rect) = 0;

    static constexpr Uid iid = makeUid(0x5BC32507, 0xD06049EA, 0xA6151B52, 0x2B755B29);

protected:
    ~IPlugView() = default;
};

class IPlugFrame : public FUnknown {
public:
    virtual tresult ORVANE_VST3_CALL resizeView(IPlugView* view, ViewRect* newSize) = 0;

    static constexpr Uid iid = makeUid(0x367FAF01, 0xAFA94693, 0x8D4DA2A0, 0xED0882A3);

protected:
    ~IPlugFrame() = default;
};

using FileDescriptor = int;
using TimerInterval = std::uint64_t;

// Called by the host's run loop when `fd` can be read.
class IEventHandler : public FUnknown {
public:
    virtual void ORVANE_VST3_CALL onFDIsSet(FileDescriptor fd) = 0;

    static constexpr Uid iid = makeUid(0x561E65C9, 0x13A0496F, 0x813A2C35, 0x654D7983);

protected:
    ~IEventHandler() = default;
};

class ITimerHandler : public FUnknown {
public:
    virtual void ORVANE_VST3_CALL onTimer() = 0;

    static constexpr Uid iid = makeUid(0x10BDD94F, 0x41424774, 0x821FAD8F, 0xECA72CA9);

protected:
    ~ITimerHandler() = default;
};

// Offered by the host's IPlugFrame on Linux, where no system-wide event loop exists.
class IRunLoop : public FUnknown {
public:
    virtual tresult ORVANE_VST3_CALL registerEventHandler(IEventHandler* handler, FileDescriptor fd) = 0;
    virtual tresult ORVANE_VST3_CALL unregisterEventHandler(IEventHandler* handler) = 0;
    virtual tresult ORVANE_VST3_CALL registerTimer(ITimerHandler* handler, TimerInterval milliseconds) = 0;
    virtual tresult ORVANE_VST3_CALL unregisterTimer(ITimerHandler* handler) = 0;

    static constexpr Uid iid = makeUid(0x18C35366, 0x97764F1A, 0x9C5B8385, 0x7A871389);

protected:
    ~IRunLoop() = default;
};

} // namespace vst3
