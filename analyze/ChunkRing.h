// Hands the chunks a file is read in to consumers that each run on a thread
// of their own, every consumer taking every chunk in order: the meters of one
// file then share the machine's cores. The chunks live in a fixed ring, so
// memory does not grow with the file, and a slow consumer holds the reader.
// Without threads of their own, the consumers run in turn in publish.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

class ChunkRing {
public:
    using Consumer = std::function<void(const float* interleaved, std::int64_t frames)>;
    ChunkRing(int channels, std::vector<Consumer> consumers, bool ownThreads);
    ~ChunkRing();
    ChunkRing(const ChunkRing&) = delete;
    ChunkRing& operator=(const ChunkRing&) = delete;

    // Reader: room for chunkFrames() frames, once every consumer is done with it.
    float* nextChunk();
    // 65536, fewer for files of more than 2 channels, so that the ring stays
    // within 4 MB however many channels a file declares.
    std::int64_t chunkFrames() const { return framesPerChunk; }
    // Reader: hands the chunk from nextChunk, holding `frames` frames, to every consumer.
    void publish(std::int64_t frames);
    // Reader: returns once every consumer has taken every chunk.
    void finish();

private:
    static constexpr std::int64_t kSlots = 8;

    void serve(std::size_t consumer);
    float* slot(std::int64_t chunk);
    std::int64_t oldestTaken() const;

    const std::int64_t framesPerChunk;
    const std::size_t chunkSamples;
    std::vector<float> storage;
    std::int64_t slotFrames[kSlots] = {};
    std::vector<Consumer> consumers;

    // Each side wakes the other only when it waits: every hand-over that
    // puts a thread to sleep and wakes it costs microseconds.
    std::mutex lock;
    std::condition_variable chunkPublished;
    std::condition_variable slotFreed;
    std::int64_t published = 0;
    // Per consumer: chunks it has finished with.
    std::vector<std::int64_t> taken;
    int consumersWaiting = 0;
    bool readerWaiting = false;
    bool closing = false;
    std::vector<std::thread> threads;
};
