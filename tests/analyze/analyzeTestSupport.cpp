#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>
#include <png.h>
#include <sndfile.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

extern char** environ;

namespace {

std::string contentsOf(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string makeScratchFolder()
{
    char pattern[] = "analyze-XXXXXX";
    const char* made = mkdtemp(pattern);
    return std::filesystem::absolute(made ? made : "analyze-failed").string();
}

} // namespace

ScratchFolder::ScratchFolder() : path(makeScratchFolder()) {}

ScratchFolder::~ScratchFolder()
{
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

ProgramRun runProgram(const std::vector<std::string>& argv)
{
    const ScratchFolder capture;
    const std::string outPath = capture / "out", errPath = capture / "err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, 2, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> arguments;
    for (const std::string& argument : argv)
        arguments.push_back(const_cast<char*>(argument.c_str()));
    arguments.push_back(nullptr);
    ProgramRun run;
    pid_t child = 0;
    if (posix_spawnp(&child, arguments[0], &actions, nullptr, arguments.data(), environ) == 0) {
        int status = 0;
        waitpid(child, &status, 0);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = contentsOf(outPath);
    run.err = contentsOf(errPath);
    return run;
}

ProgramRun runShell(const std::string& command)
{
    return runProgram({"sh", "-c", command});
}

ProgramRun runAnalyze(const std::vector<std::string>& arguments)
{
    std::vector<std::string> argv = {ORVANE_ANALYZE};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return runProgram(argv);
}

nlohmann::ordered_json jsonOf(const ProgramRun& run)
{
    const nlohmann::ordered_json report = nlohmann::ordered_json::parse(run.out, nullptr, false);
    EXPECT_TRUE(report.is_array()) << "not a JSON array:\n" << run.out << run.err;
    return report.is_array() ? report : nlohmann::ordered_json::array();
}

void synthesize(const std::string& path, int rate, int channels, long frames,
                const std::vector<std::string>& effects)
{
    // Rate and channels before -n describe the generated input, so nothing is
    // resampled or remixed; -R makes the noise the same on every run.
    std::vector<std::string> argv = {
        "sox", "-R", "-r",    std::to_string(rate),        "-c", std::to_string(channels), "-n", "-b",
        "16",  path, "synth", std::to_string(frames) + "s"};
    argv.insert(argv.end(), effects.begin(), effects.end());
    const ProgramRun run = runProgram(argv);
    ASSERT_EQ(run.status, 0) << "sox could not make " << path << ": " << run.err;
}

void writeFloatWav(const std::string& path, int rate, int channels, const std::vector<float>& interleaved,
                   const std::vector<int>& channelMap, int format)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = format ? format : (channelMap.empty() ? SF_FORMAT_WAV : SF_FORMAT_WAVEX) | SF_FORMAT_FLOAT;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    if (!channelMap.empty() && channelMap.front() == SF_CHANNEL_MAP_AMBISONIC_B_W) {
        EXPECT_EQ(sf_command(file, SFC_WAVEX_SET_AMBISONIC, nullptr, SF_AMBISONIC_B_FORMAT),
                  SF_AMBISONIC_B_FORMAT);
    } else if (!channelMap.empty()) {
        EXPECT_EQ(sf_command(file, SFC_SET_CHANNEL_MAP_INFO, const_cast<int*>(channelMap.data()),
                             static_cast<int>(channelMap.size() * sizeof(int))),
                  SF_TRUE);
    }
    const sf_count_t frames = static_cast<sf_count_t>(interleaved.size()) / channels;
    EXPECT_EQ(sf_writef_float(file, interleaved.data(), frames), frames);
    sf_close(file);
}

float valueOf(const nlohmann::ordered_json& figure)
{
    return figure.at("value").is_number() ? figure.at("value").get<float>() : NAN;
}

std::vector<double> figuresAfter(const std::string& text, const std::string& label)
{
    const std::regex line("^\\s*" + label + "\\s+(.*)");
    std::istringstream lines(text);
    std::vector<double> figures;
    std::smatch match;
    for (std::string each; std::getline(lines, each);)
        if (std::regex_search(each, match, line)) {
            figures.clear();
            std::istringstream numbers(match[1].str());
            for (double figure; numbers >> figure;)
                figures.push_back(figure);
        }
    return figures;
}

double lastFigure(const std::string& text, const std::string& label)
{
    const std::vector<double> figures = figuresAfter(text, label);
    return figures.empty() ? NAN : figures.front();
}

std::string ffmpegLoudness(const std::string& path)
{
    return runProgram({"ffmpeg", "-hide_banner", "-nostats", "-nostdin", "-i", path, "-af",
                       "ebur128=peak=true", "-f", "null", "-"})
        .err;
}

std::vector<double> soxTruePeaks(const std::string& path, int rate)
{
    constexpr double kHeadroomDb = 6.0;
    const ProgramRun sox = runProgram({"sox", path, "-n", "gain", "-" + std::to_string(kHeadroomDb), "rate",
                                       "-v", std::to_string(32 * rate), "stats"});
    std::vector<double> peaks = figuresAfter(sox.err, "Pk lev dB");
    for (double& peak : peaks)
        peak += kHeadroomDb;
    if (peaks.size() > 1)
        peaks.erase(peaks.begin());
    EXPECT_FALSE(peaks.empty()) << "sox gave no peak: " << sox.err;
    return peaks;
}

Png readPng(const std::string& path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    Png png;
    if (png_image_begin_read_from_file(&image, path.c_str())) {
        image.format = PNG_FORMAT_RGB;
        png.rgb.resize(PNG_IMAGE_SIZE(image));
        if (png_image_finish_read(&image, nullptr, png.rgb.data(), 0, nullptr)) {
            png.width = static_cast<int>(image.width);
            png.height = static_cast<int>(image.height);
        }
    }
    png_image_free(&image);
    return png;
}
