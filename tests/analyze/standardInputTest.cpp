// "-" reads standard input, as sox and ffmpeg do: a pipe of WAV (whose
// header leaves the length open) or FLAC gives the figures the file gives,
// and a file whose header overstates its audio the way streaming writers
// leave it is read to its end with a note; an empty or cut stream is named
// with its reason.
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>

namespace {

// The report without what names the input, to compare a stream with its file.
nlohmann::ordered_json figuresOf(nlohmann::ordered_json entry)
{
    for (const char* naming : {"file", "format", "frames", "duration", "notes"})
        entry.erase(naming);
    return entry;
}

void setDataLength(const std::string& path, std::uint32_t length)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    std::string bytes(4096, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    const std::size_t data = bytes.find("data");
    ASSERT_NE(data, std::string::npos);
    file.clear();
    file.seekp(static_cast<std::streamoff>(data + 4));
    for (int i = 0; i < 4; ++i)
        file.put(static_cast<char>((length >> (8 * i)) & 0xFF));
}

struct Stream {
    const char* name;
    // Shell command line; FILE is the song, ANALYZE the program reading "-".
    const char* command;
    // A note the report carries, or the start of the error.
    const char* says;
    bool analysed;
};

TEST(AnalyzeStandardInput, PipesReadAsTheirFilesOrSayWhyNot)
{
    const ScratchFolder folder;
    const std::string song = folder / "song.wav";
    synthesize(song, 44100, 2, 5 * 44100, {"pinknoise", "tremolo", "0.5", "40"});
    const auto direct = jsonOf(runAnalyze({"--json", song}));
    ASSERT_EQ(direct.size(), 1u);

    const Stream kStreams[] = {
        {"WAV from ffmpeg", "ffmpeg -v error -nostdin -i FILE -f wav - | ANALYZE",
         "the header leaves the audio's length open (0xFFFFFFFF, as streaming writers do); read to the end",
         true},
        {"FLAC from sox", "sox FILE -t flac - | ANALYZE", nullptr, true},
        {"a file redirected", "ANALYZE < FILE", nullptr, true},
        {"nothing", "true | ANALYZE", "empty: standard input held no bytes", false},
        {"a cut WAV", "head -c 100000 FILE | ANALYZE", "truncated: ", false},
    };
    for (const Stream& stream : kStreams) {
        SCOPED_TRACE(stream.name);
        const std::string command =
            std::regex_replace(std::regex_replace(stream.command, std::regex("FILE"), "'" + song + "'"),
                               std::regex("ANALYZE"), std::string("'") + ORVANE_ANALYZE + "' --json -");
        const ProgramRun run = runShell(command);
        const auto report = jsonOf(run);
        ASSERT_EQ(report.size(), 1u);
        EXPECT_EQ(report[0]["file"], "-");
        if (!stream.analysed) {
            EXPECT_EQ(run.status, 1);
            EXPECT_EQ(report[0]["error"].get<std::string>().rfind(stream.says, 0), 0u) << report[0]["error"];
            EXPECT_NE(run.err.find("orvane-analyze: -: " + std::string(stream.says)), std::string::npos)
                << run.err;
            continue;
        }
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(figuresOf(report[0]), figuresOf(direct[0]));
        if (stream.says) {
            EXPECT_EQ(report[0]["notes"][0], stream.says);
        }
    }
}

TEST(AnalyzeStandardInput, AStreamingWritersLengthIsReadToTheEndWithANote)
{
    const ScratchFolder folder;
    const std::string song = folder / "song.wav";
    synthesize(song, 44100, 2, 3 * 44100, {"pinknoise"});
    const auto whole = jsonOf(runAnalyze({"--json", song}));
    for (const std::uint32_t placeholder : {0xFFFFFFF0u, 0xFFFFFFFFu, 0x7FFFF000u}) {
        SCOPED_TRACE(placeholder);
        const std::string streamed = folder / "streamed.wav";
        std::filesystem::copy_file(song, streamed, std::filesystem::copy_options::overwrite_existing);
        setDataLength(streamed, placeholder);
        const ProgramRun run = runAnalyze({"--json", streamed});
        EXPECT_EQ(run.status, 0) << run.err;
        const auto report = jsonOf(run);
        ASSERT_EQ(report.size(), 1u);
        EXPECT_EQ(report[0]["frames"], 3 * 44100);
        EXPECT_EQ(
            report[0]["notes"][0].get<std::string>().rfind("the header leaves the audio's length open", 0),
            0u);
        EXPECT_EQ(report[0]["loudness"], whole[0]["loudness"]);
    }
}

} // namespace
