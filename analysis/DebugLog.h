// The plug-in's debug log: one line "process()" for every audio call,
// appended to a text file when its folder exists. The audio thread only
// counts; a writer thread appends every line counted so far in one
// open/append/close at least every 100 ms, so the audio thread never waits
// on a file. A file that cannot be opened drops the pending lines silently.
//
// One log serves every effect of the process. Effects attach when made and
// detach when destroyed (both on the host's user-interface thread, never in
// the library's load notification): the first attach starts the writer, and
// every detach returns only once each line counted so far is in the file.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

class DebugLog {
public:
    // A null path keeps no log: lines are counted and forgotten.
    explicit DebugLog(const char* path);
    DebugLog(const DebugLog&) = delete;
    DebugLog& operator=(const DebugLog&) = delete;

    // The log of the plug-in, "C:\temp\orvlog.txt" on Windows and none
    // elsewhere; it lives until the process ends.
    static DebugLog& plugin();

    void attach();
    // Writes the pending lines; the last user also stops the writer.
    void detach();
    // Audio thread: one atomic increment, nothing else.
    void countLine() { counted.fetch_add(1, std::memory_order_relaxed); }
    // Appends every line counted before the call; returns when they are written.
    void flush();

private:
    void writeUntilStopped();

    const char* path;
    std::atomic<std::uint64_t> counted{0};
    // Lines written or dropped; guarded by fileLock, which also keeps appends in order.
    std::uint64_t handled = 0;
    std::mutex fileLock;

    // Held for a whole attach or detach, so a writer is never started while
    // the last one is still being stopped.
    std::mutex usersLock;
    int users = 0;
    std::thread writer;
    std::mutex wakeLock;
    std::condition_variable stopRequested;
    bool stopping = false;
};
