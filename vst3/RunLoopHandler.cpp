#include "vst3/RunLoopHandler.h"

#include <utility>

using namespace vst3;

RunLoopHandler::RunLoopHandler(std::function<void()> work) : work(std::move(work)) {}

RunLoopHandler::~RunLoopHandler()
{
    stop();
}

bool RunLoopHandler::start(IRunLoop* runLoop, FileDescriptor descriptor, TimerInterval milliseconds)
{
    if (loop || !runLoop || descriptor < 0)
        return false;
    if (runLoop->registerEventHandler(this, descriptor) != kResultOk)
        return false;
    if (runLoop->registerTimer(this, milliseconds) != kResultOk) {
        runLoop->unregisterEventHandler(this);
        return false;
    }
    runLoop->addRef();
    loop = runLoop;
    return true;
}

void RunLoopHandler::stop()
{
    work = nullptr;
    if (!loop)
        return;
    loop->unregisterTimer(this);
    loop->unregisterEventHandler(this);
    loop->release();
    loop = nullptr;
}

tresult RunLoopHandler::queryInterface(const TUID iid, void** object)
{
    if (!object)
        return kInvalidArgument;
    if (sameUid(iid, FUnknown::iid) || sameUid(iid, IEventHandler::iid))
        return answerInterface(static_cast<IEventHandler*>(this), object);
    if (sameUid(iid, ITimerHandler::iid))
        return answerInterface(static_cast<ITimerHandler*>(this), object);
    return noInterface(object);
}

void RunLoopHandler::onFDIsSet(FileDescriptor)
{
    if (work)
        work();
}

void RunLoopHandler::onTimer()
{
    if (work)
        work();
}
