#include "analysis/DebugLog.h"

#include <chrono>
#include <cstdio>

namespace {
constexpr auto kWriteInterval = std::chrono::milliseconds(100);
constexpr char kLine[] = "process()\n";
// The folder C:\temp exists only on Windows: elsewhere the plug-in keeps no log.
#ifdef _WIN32
constexpr const char* kPluginLogPath = "C:\\temp\\orvlog.txt";
#else
constexpr const char* kPluginLogPath = nullptr;
#endif
} // namespace

DebugLog::DebugLog(const char* path) : path(path) {}

DebugLog& DebugLog::plugin()
{
    // Never destroyed: a host that unloads the library with effects still
    // open must not find a writer joined inside the unload notification.
    static DebugLog* log = new DebugLog(kPluginLogPath);
    return *log;
}

void DebugLog::attach()
{
    const std::lock_guard<std::mutex> guard(usersLock);
    if (path && users++ == 0) {
        stopping = false;
        writer = std::thread(&DebugLog::writeUntilStopped, this);
    }
}

void DebugLog::detach()
{
    const std::lock_guard<std::mutex> guard(usersLock);
    if (path && --users == 0) {
        {
            const std::lock_guard<std::mutex> wake(wakeLock);
            stopping = true;
        }
        stopRequested.notify_one();
        writer.join();
    }
    flush();
}

void DebugLog::flush()
{
    const std::lock_guard<std::mutex> guard(fileLock);
    const std::uint64_t total = counted.load(std::memory_order_relaxed);
    if (total == handled || !path)
        return;
    // A missing folder or a locked file drops the lines, as a failed append always did.
    if (std::FILE* file = std::fopen(path, "a")) {
        for (std::uint64_t line = handled; line < total; ++line)
            std::fputs(kLine, file);
        std::fclose(file);
    }
    handled = total;
}

void DebugLog::writeUntilStopped()
{
    std::unique_lock<std::mutex> wake(wakeLock);
    while (!stopping) {
        stopRequested.wait_for(wake, kWriteInterval, [this] { return stopping; });
        wake.unlock();
        flush();
        wake.lock();
    }
}
