#include "analyze/options.h"

#include <CLI/CLI.hpp>
#include <png.h>
#include <sndfile.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <thread>

namespace {

constexpr const char* kProgram = "orvane-analyze";

constexpr const char* kDescription =
    "Analyses audio files with the Orvane plug-in's own analysis: the nine measures of its panel\n"
    "(time, peak, rms, r/l, rms/ave, low, high, <500Hz, >7kHz) beside the loudness figures of\n"
    "ITU-R BS.1770 / EBU R128 (integrated loudness, loudness range, true peak, maximum momentary\n"
    "and short-term loudness, PLR). Optionally writes the plug-in's four pictures as PNG, labelled\n"
    "plots of each whole file, and one HTML page for all the files.";

constexpr const char* kFooter =
    "Only whole blocks of 2048 frames are analysed, as in a host; the measures leave out silences\n"
    "longer than half a second. Files with more than two channels are measured on their first two;\n"
    "loudness weighs every channel by its loudspeaker position, and each channel's peak, RMS and\n"
    "true peak are reported too.\n"
    "\n"
    "Exit status: 0 when every file was analysed, 1 when any failed, 2 for a usage error.\n"
    "\n"
    "Examples: orvane-analyze --png pictures master.flac mixes/\n"
    "          orvane-analyze --html album.html --plot plots album/";

std::string versionText()
{
    return std::string(kProgram) + " " + ORVANE_VERSION + "\n" + sf_version_string() + ", libpng " +
           png_get_libpng_ver(nullptr);
}

// More would only start threads that wait.
constexpr long kMostJobs = 256;

// A whole number from `least` to `most`; anything else is named with the range in words.
CLI::Validator wholeNumber(long least, long most)
{
    const std::string range = "a whole number from " + std::to_string(least) + " to " + std::to_string(most);
    return CLI::Validator(
        [least, most, range](std::string& text) -> std::string {
            char* end = nullptr;
            errno = 0;
            const long value = std::strtol(text.c_str(), &end, 10);
            if (text.empty() || *end != '\0' || errno == ERANGE || value < least || value > most)
                return "expected " + range + ", not \"" + text + "\"";
            return {};
        },
        range, "");
}

unsigned defaultJobs()
{
    return std::clamp(std::thread::hardware_concurrency(), 1u, static_cast<unsigned>(kMostJobs));
}

} // namespace

std::optional<int> parseOptions(int argc, char** argv, Options& options)
{
    CLI::App app(kDescription, kProgram);
    app.footer(kFooter);
    app.add_option(
           "FILE", options.files,
           "Audio files (any format libsndfile reads), folders to search for them, or - for standard input")
        ->required();
    app.add_flag("--json", options.json, "Print one JSON document: an array with one object per file");
    app.add_option("-o,--output", options.output, "Write the report to FILE (whole or not at all)")
        ->type_name("FILE");
    app.add_option("--png", options.pictureFolder, "Write each file's four pictures as PNG into DIR")
        ->type_name("DIR");
    app.add_option("--plot", options.plotFolder,
                   "Write labelled plots of each whole file as PNG (1200 x 400) into DIR: level over time, "
                   "level histogram, spectrum, spectrogram")
        ->type_name("DIR");
    app.add_option("--html", options.htmlReport,
                   "Write one self-contained HTML page for all the files: a table of their figures that "
                   "sorts by any column, and each file's plots")
        ->type_name("FILE");
    app.add_option("--scale", options.scale, "Picture size: 1 (200 x 96) or 2 (400 x 192)")
        ->check(wholeNumber(1, 2))
        ->capture_default_str();
    bool noZoom = false;
    app.add_flag("--no-zoom", noZoom, "Histogram: spread all 100 level bins, not only the occupied ones");
    app.add_flag("--log-axis", options.display.logFrequencyAxis,
                 "Spectrum and spectrogram: logarithmic frequency axis");
    app.add_flag("--slow-history", options.display.slowLevelHistory,
                 "Level history: a row per 5 s, not 0.2 s");
    app.add_flag("--slow-spectrogram", options.display.slowSpectrogram,
                 "Spectrogram: a row per 5 s, not 0.2 s");
    bool noLoudness = false;
    app.add_flag("--no-loudness", noLoudness, "Leave out the loudness figures");
    options.jobs = defaultJobs();
    app.add_option(
           "-j,--jobs", options.jobs,
           "Threads: files analysed in parallel, and each file's blocks and channels spread over them "
           "(default: the number of cores); the results are the same; 1 keeps to one thread")
        ->check(wholeNumber(1, kMostJobs));
    app.add_flag("-q,--quiet", options.quiet, "No progress bar (drawn only on a terminal anyway)");
    app.set_version_flag("--version", versionText(), "Print the version and the libraries' versions");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        if (error.get_exit_code() == static_cast<int>(CLI::ExitCodes::Success))
            return app.exit(error);
        std::cerr << kProgram << ": " << error.what() << "\nTry '" << kProgram << " --help'.\n";
        return kUsageError;
    }
    options.display.zoomHistogram = !noZoom;
    options.loudness = !noLoudness;
    return std::nullopt;
}
