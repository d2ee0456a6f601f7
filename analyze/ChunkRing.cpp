#include "analyze/ChunkRing.h"

#include <algorithm>

namespace {

constexpr std::int64_t kChunkFrames = 65536;
constexpr std::int64_t kMostChunkSamples = 131072;

} // namespace

ChunkRing::ChunkRing(int channels, std::vector<Consumer> consumersToServe, bool ownThreads)
    : framesPerChunk(std::clamp<std::int64_t>(kMostChunkSamples / std::max(channels, 1), 1, kChunkFrames)),
      chunkSamples(static_cast<std::size_t>(framesPerChunk) * static_cast<std::size_t>(channels)),
      storage(chunkSamples * kSlots), consumers(std::move(consumersToServe)), taken(consumers.size(), 0)
{
    for (std::size_t i = 0; ownThreads && i < consumers.size(); ++i)
        threads.emplace_back(&ChunkRing::serve, this, i);
}

ChunkRing::~ChunkRing()
{
    finish();
}

float* ChunkRing::slot(std::int64_t chunk)
{
    return storage.data() + static_cast<std::size_t>(chunk % kSlots) * chunkSamples;
}

std::int64_t ChunkRing::oldestTaken() const
{
    return taken.empty() ? published : *std::min_element(taken.begin(), taken.end());
}

float* ChunkRing::nextChunk()
{
    std::unique_lock<std::mutex> guard(lock);
    while (published - oldestTaken() >= kSlots) {
        readerWaiting = true;
        slotFreed.wait(guard);
    }
    readerWaiting = false;
    return slot(published);
}

void ChunkRing::publish(std::int64_t frames)
{
    if (threads.empty()) {
        for (Consumer& consumer : consumers)
            consumer(slot(published), frames);
        ++published;
        std::fill(taken.begin(), taken.end(), published);
        return;
    }
    bool wake = false;
    {
        const std::lock_guard<std::mutex> guard(lock);
        slotFrames[published % kSlots] = frames;
        ++published;
        wake = consumersWaiting > 0;
    }
    if (wake)
        chunkPublished.notify_all();
}

void ChunkRing::finish()
{
    {
        const std::lock_guard<std::mutex> guard(lock);
        closing = true;
    }
    chunkPublished.notify_all();
    for (std::thread& thread : threads)
        if (thread.joinable())
            thread.join();
}

void ChunkRing::serve(std::size_t consumer)
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        while (taken[consumer] == published && !closing) {
            ++consumersWaiting;
            chunkPublished.wait(guard);
            --consumersWaiting;
        }
        if (taken[consumer] == published)
            return;
        const std::int64_t chunk = taken[consumer];
        const std::int64_t frames = slotFrames[chunk % kSlots];
        // The reader does not touch a slot until every consumer has taken it.
        guard.unlock();
        consumers[consumer](slot(chunk), frames);
        guard.lock();
        ++taken[consumer];
        // The slot is free once the slowest consumer is done with it.
        if (readerWaiting && published - oldestTaken() < kSlots)
            slotFreed.notify_one();
    }
}
