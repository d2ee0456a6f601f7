#include "analyze/ChunkRing.h"

#include <algorithm>

namespace {

constexpr std::int64_t kChunkFrames = 16384;
constexpr std::int64_t kMostChunkSamples = kChunkFrames * 8;

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
    changed.wait(guard, [this] { return published - oldestTaken() < kSlots; });
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
    {
        const std::lock_guard<std::mutex> guard(lock);
        slotFrames[published % kSlots] = frames;
        ++published;
    }
    changed.notify_all();
}

void ChunkRing::finish()
{
    {
        const std::lock_guard<std::mutex> guard(lock);
        closing = true;
    }
    changed.notify_all();
    for (std::thread& thread : threads)
        if (thread.joinable())
            thread.join();
}

void ChunkRing::serve(std::size_t consumer)
{
    std::unique_lock<std::mutex> guard(lock);
    for (;;) {
        changed.wait(guard, [&] { return taken[consumer] < published || closing; });
        if (taken[consumer] == published)
            return;
        const std::int64_t chunk = taken[consumer];
        const std::int64_t frames = slotFrames[chunk % kSlots];
        // The reader does not touch a slot until every consumer has taken it.
        guard.unlock();
        consumers[consumer](slot(chunk), frames);
        guard.lock();
        ++taken[consumer];
        changed.notify_all();
    }
}
