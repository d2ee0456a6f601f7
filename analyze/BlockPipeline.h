// The Analyzer's blocks spread over several threads: what a block gives on
// its own (BlockWork: statistics, transforms) is worked out on whichever
// thread is free, and the blocks are folded into the running state in block
// order by the thread that feeds them, so the result has the bits of one
// thread analysing them one after the other. A fixed ring of blocks bounds
// the memory; when the helpers fall behind, the feeding thread works on
// blocks too.
//
// Feeder: whichever thread calls openBlock, submit and finish, one at a
// time. Helpers: threads of the pipeline's own that only run `work`.
#pragma once

#include "analysis/BlockWork.h"

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class BlockPipeline {
public:
    struct Block {
        BlockWork::Samples samples;
        int channels = 0;
        BlockWork work;
    };
    using Step = std::function<void(Block&)>;

    // `work` may run on any thread, for several blocks at once; `accumulate`
    // runs on the feeder, one block at a time, in the order of submit. At
    // most kMostHelpers helpers are started.
    BlockPipeline(int helpers, Step work, Step accumulate);
    ~BlockPipeline();
    BlockPipeline(const BlockPipeline&) = delete;
    BlockPipeline& operator=(const BlockPipeline&) = delete;

    // The block to fill next: the feeder's until it submits it.
    Block& openBlock();
    // Hands the open block on, then folds in the blocks that are ready.
    void submit();
    // Returns once every submitted block is accumulated.
    void finish();

    // More could not all be busy with the blocks in flight, and files
    // analysed side by side each start their own.
    static constexpr int kMostHelpers = 8;

private:
    static constexpr std::int64_t kSlots = 16;
    // Unclaimed blocks it takes to wake a helper.
    static constexpr std::int64_t kWakingBlocks = 4;

    Block& slot(std::int64_t index) { return blocks[static_cast<std::size_t>(index % kSlots)]; }
    // Accumulates the blocks that are ready, in order. While fewer than
    // `atLeast` are accumulated, also works on blocks no helper has started
    // and waits for those a helper has.
    void catchUp(std::int64_t atLeast);
    void serve();

    const Step work;
    const Step accumulate;
    std::vector<Block> blocks;

    std::mutex lock;
    std::condition_variable workWaiting;
    std::condition_variable blockWorked;
    std::int64_t submitted = 0;
    std::int64_t claimed = 0;
    std::int64_t accumulated = 0;
    bool worked[kSlots] = {};
    // Who sleeps: each side wakes the other only then, as a wake costs microseconds.
    int idleHelpers = 0;
    bool feederWaiting = false;
    bool closing = false;
    std::vector<std::thread> helpers;
};
