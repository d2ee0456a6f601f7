#include "analyze/BlockPipeline.h"

#include <algorithm>

BlockPipeline::BlockPipeline(int helperCount, Step workStep, Step accumulateStep)
    : work(std::move(workStep)), accumulate(std::move(accumulateStep)), blocks(kSlots)
{
    for (int i = 0; i < std::min(helperCount, kMostHelpers); ++i)
        helpers.emplace_back(&BlockPipeline::serve, this);
}

BlockPipeline::~BlockPipeline()
{
    {
        const std::lock_guard<std::mutex> guard(lock);
        closing = true;
    }
    workWaiting.notify_all();
    for (std::thread& helper : helpers)
        helper.join();
}

BlockPipeline::Block& BlockPipeline::openBlock()
{
    // The open block's slot is free once the block kSlots before it is folded in.
    catchUp(submitted - kSlots + 1);
    return slot(submitted);
}

void BlockPipeline::submit()
{
    bool wake = false;
    {
        const std::lock_guard<std::mutex> guard(lock);
        ++submitted;
        // A helper woken for a single block would soon sleep again.
        wake = idleHelpers > 0 && submitted - claimed >= kWakingBlocks;
    }
    if (wake)
        workWaiting.notify_one();
    catchUp(0);
}

void BlockPipeline::finish()
{
    catchUp(submitted);
}

void BlockPipeline::catchUp(std::int64_t atLeast)
{
    std::unique_lock<std::mutex> guard(lock);
    while (accumulated < submitted) {
        const std::int64_t oldest = accumulated;
        if (worked[oldest % kSlots]) {
            guard.unlock();
            accumulate(slot(oldest));
            guard.lock();
            worked[oldest % kSlots] = false;
            ++accumulated;
        } else if (accumulated >= atLeast) {
            return;
        } else if (claimed < submitted) {
            // Rather than wait for the helpers, take a block nobody has started.
            const std::int64_t block = claimed++;
            guard.unlock();
            work(slot(block));
            guard.lock();
            worked[block % kSlots] = true;
        } else {
            feederWaiting = true;
            blockWorked.wait(guard);
            feederWaiting = false;
        }
    }
}

void BlockPipeline::serve()
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        while (claimed == submitted && !closing) {
            ++idleHelpers;
            workWaiting.wait(guard);
            --idleHelpers;
        }
        if (closing)
            return;
        const std::int64_t block = claimed++;
        guard.unlock();
        work(slot(block));
        guard.lock();
        worked[block % kSlots] = true;
        if (feederWaiting)
            blockWorked.notify_one();
    }
}
