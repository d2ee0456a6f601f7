// What this plug-in registers with a VST 3 host's run loop (Linux): one
// object that the loop calls when the editor's X connection has events and
// on a timer, running the same work for both on the host's user-interface
// thread. Reference-counted, as the host may hold it.
#pragma once

#include "vst3/Counted.h"
#include "vst3/IPlugView.h"

#include <functional>

class RunLoopHandler final : public vst3::Counted<RunLoopHandler, vst3::IEventHandler, vst3::ITimerHandler> {
public:
    explicit RunLoopHandler(std::function<void()> work);
    RunLoopHandler(const RunLoopHandler&) = delete;
    RunLoopHandler& operator=(const RunLoopHandler&) = delete;

    // Registers for `descriptor` and for a timer; false, with nothing left
    // registered, when the host refuses either.
    bool start(vst3::IRunLoop* loop, vst3::FileDescriptor descriptor, vst3::TimerInterval milliseconds);
    // Unregisters; the work never runs again.
    void stop();

    vst3::tresult ORVANE_VST3_CALL queryInterface(const vst3::TUID iid, void** object) override;
    void ORVANE_VST3_CALL onFDIsSet(vst3::FileDescriptor fd) override;
    void ORVANE_VST3_CALL onTimer() override;

private:
    ~RunLoopHandler();
    friend CountedBase;

    std::function<void()> work;
    // Held with a reference while registered.
    vst3::IRunLoop* loop = nullptr;
};
