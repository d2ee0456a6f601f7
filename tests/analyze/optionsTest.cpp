// The command line as users expect it: help, version, usage errors, and a
// progress bar on a terminal only, which --quiet silences.
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>

#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Usage {
    std::vector<std::string> arguments;
    int status;
    const char* says;
};

TEST(AnalyzeOptions, HelpVersionAndUsageErrors)
{
    const Usage kUsages[] = {
        {{"--help"}, 0, "Usage: orvane-analyze [OPTIONS] FILE..."},
        {{"--version"}, 0, "orvane-analyze 1.0.0\nlibsndfile-"},
        {{}, 2, "orvane-analyze: FILE is required"},
        {{"--scale", "3", "song.wav"}, 2, "--scale: expected a whole number from 1 to 2, not \"3\""},
        {{"--jobs", "0", "song.wav"}, 2, "--jobs: expected a whole number from 1 to 256, not \"0\""},
        {{"--jobs", "99999999999", "song.wav"}, 2, "--jobs: expected a whole number from 1 to 256"},
        {{"--loud", "song.wav"}, 2, "--loud"},
    };
    for (const Usage& usage : kUsages) {
        const ProgramRun run = runAnalyze(usage.arguments);
        EXPECT_EQ(run.status, usage.status) << usage.says;
        EXPECT_NE((usage.status == 0 ? run.out : run.err).find(usage.says), std::string::npos)
            << run.out << run.err;
    }
}

// Everything the program writes to a terminal of its own.
std::string onATerminal(const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv = {ORVANE_ANALYZE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::vector<char*> pointers;
    for (std::string& argument : argv)
        pointers.push_back(argument.data());
    pointers.push_back(nullptr);
    int terminal = -1;
    const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
    if (child == 0) {
        execv(pointers[0], pointers.data());
        _exit(127);
    }
    std::string screen;
    char buffer[4096];
    for (ssize_t n; (n = read(terminal, buffer, sizeof buffer)) > 0;)
        screen.append(buffer, static_cast<std::size_t>(n));
    close(terminal);
    waitpid(child, nullptr, 0);
    return screen;
}

TEST(AnalyzeOptions, ProgressBarOnATerminalUnlessQuiet)
{
    const ScratchFolder folder;
    const std::string song = folder / "song.wav";
    // Long enough to outlast the delay before a bar is drawn, even in a fast build.
    synthesize(song, 44100, 2, 60 * 44100, {"pinknoise"});
    constexpr const char* kBar = "[0/1] [";
    EXPECT_NE(onATerminal({song}).find(kBar), std::string::npos);
    const std::string quiet = onATerminal({"--quiet", song});
    EXPECT_EQ(quiet.find(kBar), std::string::npos);
    EXPECT_NE(quiet.find("song.wav"), std::string::npos) << "the report itself is shown";
}

} // namespace
