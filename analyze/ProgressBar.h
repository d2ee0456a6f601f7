// A progress line on standard error while files are analysed: the whole
// call and the oldest file still in progress, each as a bar with a
// percentage. Only for a terminal, and only once the work has lasted long
// enough to need one; when disabled every call returns at once. Safe to call
// from every worker thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <string>

class ProgressBar {
public:
    ProgressBar(std::size_t files, bool enabled);
    ~ProgressBar();
    ProgressBar(const ProgressBar&) = delete;
    ProgressBar& operator=(const ProgressBar&) = delete;

    void started(std::size_t file, const std::string& name);
    void advanced(std::size_t file, double fraction);
    void finished(std::size_t file);
    // Runs `print` with the line cleared, so that output on the same
    // terminal is not torn by it.
    void printAbove(const std::function<void()>& print);

private:
    using Clock = std::chrono::steady_clock;
    struct FileProgress {
        std::string name;
        double fraction = 0.0;
    };

    void drawIfDue();
    void draw();
    void clear();
    std::string line(int width) const;

    const std::size_t files;
    const bool enabled;
    std::mutex lock;
    std::map<std::size_t, FileProgress> active;
    std::size_t done = 0;
    const Clock::time_point start = Clock::now();
    Clock::time_point lastDraw;
    bool shown = false;
};
