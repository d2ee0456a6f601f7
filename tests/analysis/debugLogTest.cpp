// The audio thread only counts log lines; a writer appends them. Every line
// counted must be in the file once its user detaches, in full, never twice,
// and a file that cannot be opened drops its lines rather than keep them.
#include "analysis/DebugLog.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <thread>

namespace {

class LogFolder {
public:
    LogFolder()
    {
        char name[] = "debuglog-XXXXXX";
        EXPECT_NE(mkdtemp(name), nullptr);
        folder = name;
        path = folder + "/sub/orvlog.txt";
    }
    ~LogFolder()
    {
        std::remove(path.c_str());
        rmdir((folder + "/sub").c_str());
        rmdir(folder.c_str());
    }
    void makeSubfolder() { EXPECT_EQ(mkdir((folder + "/sub").c_str(), 0700), 0); }
    std::size_t lines() const
    {
        std::ifstream log(path);
        std::size_t count = 0;
        for (std::string line; std::getline(log, line); ++count)
            EXPECT_EQ(line, "process()");
        return count;
    }

    std::string folder;
    std::string path;
};

TEST(DebugLog, WritesEveryCountedLineOnceThroughWriterAndDetach)
{
    LogFolder files;
    files.makeSubfolder();
    DebugLog log(files.path.c_str());
    log.attach();
    log.attach();
    // Counting from another thread across several writer periods: each
    // append takes what was counted so far, and nothing is written twice.
    std::thread audio([&] {
        for (int i = 0; i < 3000; ++i) {
            log.countLine();
            if (i % 100 == 0)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    });
    audio.join();
    // The writer runs at least every 100 ms without anyone flushing.
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(files.lines(), 3000u);
    log.countLine();
    log.detach(); // one user left: the writer keeps running, the line is written now
    EXPECT_EQ(files.lines(), 3001u);
    log.countLine();
    log.detach();
    EXPECT_EQ(files.lines(), 3002u);
    // A new first user starts a new writer.
    log.attach();
    log.countLine();
    log.detach();
    EXPECT_EQ(files.lines(), 3003u);
}

TEST(DebugLog, LinesCountedWhileTheFolderIsMissingAreDropped)
{
    LogFolder files;
    DebugLog log(files.path.c_str());
    log.attach();
    for (int i = 0; i < 5; ++i)
        log.countLine();
    log.flush();
    struct stat info;
    EXPECT_NE(stat(files.path.c_str(), &info), 0);
    files.makeSubfolder();
    log.countLine();
    log.detach();
    EXPECT_EQ(files.lines(), 1u);
}

} // namespace
