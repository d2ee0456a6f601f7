// The figures agree with the established tools on files they all read:
// peak and RMS, overall and per channel, with sox's stats, loudness with
// ffmpeg's ebur128 filter, true peak with sox's 32x resampling, and the nine
// measures exactly with the plug-in's Analyzer fed as a host feeds it.
#include "analysis/Analyzer.h"
#include "testhost/WhiteNoise.h"
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

constexpr long kBlock = Analyzer::kBlockFrames;
// sox prints two decimals; ffmpeg prints one.
constexpr double kSoxTolerance = 0.01;
constexpr double kFfmpegTolerance = 0.15;
// The true peak reads at most this much below a 32x reconstruction, and at
// most kTruePeakAbove above it.
constexpr double kTruePeakBelow = 0.1;
constexpr double kTruePeakAbove = 0.05;

// The panel's names of the nine measures, in its order.
struct PanelMeasure {
    const char* name;
    float AnalyzerMeasures::*value;
};
constexpr PanelMeasure kPanel[] = {
    {"time", &AnalyzerMeasures::analysedSeconds},
    {"peak", &AnalyzerMeasures::peakDb},
    {"rms", &AnalyzerMeasures::rmsDb},
    {"r/l", &AnalyzerMeasures::balanceDb},
    {"rms/ave", &AnalyzerMeasures::rmsToMeanDb},
    {"low", &AnalyzerMeasures::quietPercent},
    {"high", &AnalyzerMeasures::nearPeakPercent},
    {"<500Hz", &AnalyzerMeasures::lowBandPercent},
    {">7kHz", &AnalyzerMeasures::highBandPercent},
};

struct Signal {
    const char* name;
    int rate;
    int channels;
    long blocks;
    std::vector<std::string> effects;
};

// Whole blocks and no silences, so that nothing is left out of the analysis.
const Signal kSignals[] = {
    {"stereo mix swelling and ebbing",
     48000,
     2,
     480,
     {"pinknoise", "sine", "220", "tremolo", "0.25", "70", "lowpass", "8000", "gain", "-6"}},
    {"stereo noise fading in over 8 s",
     44100,
     2,
     430,
     {"pinknoise", "fade", "q", "8", "gain", "-4", "lowpass", "16000"}},
    {"mono sweep", 44100, 1, 215, {"sine", "100-8000", "gain", "-3"}},
};

TEST(AnalyzeAgreement, PeakAndRmsWithSoxLoudnessWithFfmpeg)
{
    const ScratchFolder folder;
    for (const Signal& signal : kSignals) {
        SCOPED_TRACE(signal.name);
        const std::string file = folder / "signal.wav";
        synthesize(file, signal.rate, signal.channels, signal.blocks * kBlock, signal.effects);
        const ProgramRun sox = runProgram({"sox", file, "-n", "stats"});
        const std::string ffmpeg = ffmpegLoudness(file);
        const std::vector<double> truePeaks = soxTruePeaks(file, signal.rate);
        const auto report = jsonOf(runAnalyze({"--json", file}));
        ASSERT_EQ(report.size(), 1u);
        const auto& measures = report[0]["measures"];
        const auto& loudness = report[0]["loudness"];
        ASSERT_EQ(report[0]["unanalysedFrames"], 0);
        ASSERT_EQ(valueOf(measures["time"]), static_cast<float>(signal.blocks * kBlock) / signal.rate)
            << "a silence was left out";

        EXPECT_NEAR(valueOf(measures["peak"]), lastFigure(sox.err, "Pk lev dB"), kSoxTolerance);
        EXPECT_NEAR(valueOf(measures["rms"]), lastFigure(sox.err, "RMS lev dB"), kSoxTolerance);
        EXPECT_NEAR(valueOf(loudness["integrated"]), lastFigure(ffmpeg, "I:"), kFfmpegTolerance);
        EXPECT_NEAR(valueOf(loudness["loudnessRange"]), lastFigure(ffmpeg, "LRA:"), kFfmpegTolerance);

        // sox gives one column per channel after the overall one, or the overall one alone for mono.
        std::vector<double> peaks = figuresAfter(sox.err, "Pk lev dB"),
                            levels = figuresAfter(sox.err, "RMS lev dB");
        if (signal.channels > 1) {
            peaks.erase(peaks.begin());
            levels.erase(levels.begin());
        }
        const auto& channels = report[0]["perChannel"];
        ASSERT_EQ(channels.size(), static_cast<std::size_t>(signal.channels));
        ASSERT_EQ(peaks.size(), channels.size());
        ASSERT_EQ(truePeaks.size(), channels.size());
        float loudestChannel = -INFINITY;
        for (std::size_t c = 0; c < channels.size(); ++c) {
            SCOPED_TRACE("channel " + std::to_string(c + 1));
            loudestChannel = std::max(loudestChannel, valueOf(channels[c]["truePeak"]));
            EXPECT_NEAR(valueOf(channels[c]["peak"]), peaks[c], kSoxTolerance);
            EXPECT_NEAR(valueOf(channels[c]["rms"]), levels[c], kSoxTolerance);
            EXPECT_GE(valueOf(channels[c]["truePeak"]), truePeaks[c] - kTruePeakBelow);
            EXPECT_LE(valueOf(channels[c]["truePeak"]), truePeaks[c] + kTruePeakAbove);
        }
        EXPECT_EQ(valueOf(loudness["truePeak"]), loudestChannel)
            << "the file's true peak is its loudest channel's";
    }
}

struct HostFeed {
    const char* name;
    int rate;
    int channels;
    long frames;
    // Digital silence longer than half a second, which the analysis leaves out.
    long silenceStart;
    long silenceFrames;
};

const HostFeed kFeeds[] = {
    {"stereo with a silence and a tail", 44100, 2, 40 * kBlock + 1000, 10 * kBlock, 44100},
    {"mono at 48 kHz", 48000, 1, 30 * kBlock, 0, 0},
    {"three channels, the first two analysed", 44100, 3, 25 * kBlock + 7, 0, 0},
};

std::vector<float> noise(const HostFeed& feed)
{
    WhiteNoise source(11u);
    std::vector<float> samples = source.samples(static_cast<std::size_t>(feed.frames * feed.channels));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const long frame = static_cast<long>(i) / feed.channels;
        const bool silent = frame >= feed.silenceStart && frame < feed.silenceStart + feed.silenceFrames;
        samples[i] = silent ? 0.0f : 0.5f * samples[i] * static_cast<float>(1 + i % feed.channels);
    }
    return samples;
}

// The nine measures after feeding the file's first two channels in calls of
// 512 frames, as the project's test host does.
AnalyzerMeasures hostMeasures(const HostFeed& feed, const std::vector<float>& interleaved)
{
    constexpr long kCall = 512;
    auto analyzer = std::make_unique<Analyzer>(nullptr, nullptr);
    analyzer->setSampleRate(static_cast<float>(feed.rate));
    std::vector<float> left(kCall), right(kCall);
    for (long start = 0; start < feed.frames; start += kCall) {
        const long n = std::min(kCall, feed.frames - start);
        for (long i = 0; i < n; ++i) {
            left[static_cast<std::size_t>(i)] =
                interleaved[static_cast<std::size_t>((start + i) * feed.channels)];
            if (feed.channels > 1)
                right[static_cast<std::size_t>(i)] =
                    interleaved[static_cast<std::size_t>((start + i) * feed.channels + 1)];
        }
        float* channels[2] = {left.data(), feed.channels > 1 ? right.data() : nullptr};
        analyzer->processReplacing(channels, channels, static_cast<std::int32_t>(n));
    }
    return analyzer->measures;
}

TEST(AnalyzeAgreement, NineMeasuresAreTheAnalyzersAsAHostFeedsIt)
{
    const ScratchFolder folder;
    for (const HostFeed& feed : kFeeds) {
        SCOPED_TRACE(feed.name);
        const std::string file = folder / "feed.wav";
        const std::vector<float> samples = noise(feed);
        writeFloatWav(file, feed.rate, feed.channels, samples);
        const auto report = jsonOf(runAnalyze({"--json", "--no-loudness", file}));
        ASSERT_EQ(report.size(), 1u);
        EXPECT_EQ(report[0]["unanalysedFrames"], feed.frames % kBlock);
        EXPECT_EQ(report[0]["analysedChannels"], std::min(feed.channels, 2));

        const AnalyzerMeasures expected = hostMeasures(feed, samples);
        const auto& measures = report[0]["measures"];
        ASSERT_EQ(measures.size(), std::size(kPanel));
        auto shown = measures.items().begin();
        for (const PanelMeasure& measure : kPanel) {
            EXPECT_EQ(shown.key(), measure.name) << "the panel's order";
            EXPECT_EQ(valueOf(shown.value()), expected.*measure.value) << measure.name;
            ++shown;
        }
    }
}

} // namespace
