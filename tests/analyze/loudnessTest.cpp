// Loudness and peaks on the files a meter meets and the odd ones it must
// survive: rates and channel counts against ffmpeg's ebur128 where ffmpeg
// reads them, layouts with and without a channel map, true peak against
// sox's 32x resampling, and the figures that cannot be measured shown as
// n/a with their reason, never as an infinity.
#include "testhost/WhiteNoise.h"
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include <cmath>
#include <fstream>
#include <regex>

namespace {

// ffmpeg prints one decimal.
constexpr double kFfmpegTolerance = 0.1 + 0.05;
// The same samples without a channel map and with the usual one.
constexpr double kTwinTolerance = 0.01;
constexpr double kTruePeakBelow = 0.1;
constexpr double kTruePeakAbove = 0.05;
constexpr double kPi = 3.14159265358979323846;

// Noise at a different level in each channel, so that every weight counts;
// a gain of 0 leaves a channel silent.
std::vector<float> channelNoise(int channels, long frames, const std::vector<float>& gains = {})
{
    WhiteNoise source(7u);
    std::vector<float> samples(static_cast<std::size_t>(frames) * static_cast<std::size_t>(channels));
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const int channel = static_cast<int>(i % static_cast<std::size_t>(channels));
        const float gain = gains.empty() ? 0.1f * static_cast<float>(1 + channel % 4) : gains[channel];
        samples[i] = gain * static_cast<float>(source.next());
    }
    return samples;
}

// Puts `rate` into the header of a WAV file libsndfile wrote, which
// libsndfile itself would not write.
void setRate(const std::string& path, std::uint32_t rate)
{
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    constexpr std::streamoff kRateOffset = 24;
    file.seekp(kRateOffset);
    for (int i = 0; i < 4; ++i)
        file.put(static_cast<char>((rate >> (8 * i)) & 0xFF));
}

enum class Against { Ffmpeg, PreviousFile, Reason };

struct OddFile {
    const char* name;
    int rate;
    int channels;
    std::vector<int> map;
    // libsndfile's format, or 0 for a float WAV.
    int format;
    std::vector<float> gains;
    Against against;
    // The start of the layout the report names, or of the reason.
    const char* says;
};

const int kFlac = SF_FORMAT_FLAC | SF_FORMAT_PCM_24;
const std::vector<int> kMap3 = {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_CENTER};
const std::vector<int> kMap50 = {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_CENTER,
                                 SF_CHANNEL_MAP_REAR_LEFT, SF_CHANNEL_MAP_REAR_RIGHT};
const std::vector<int> kMap51 = {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT,     SF_CHANNEL_MAP_CENTER,
                                 SF_CHANNEL_MAP_LFE,  SF_CHANNEL_MAP_REAR_LEFT, SF_CHANNEL_MAP_REAR_RIGHT};
const std::vector<int> kMap61 = {
    SF_CHANNEL_MAP_LEFT,        SF_CHANNEL_MAP_RIGHT,     SF_CHANNEL_MAP_CENTER,    SF_CHANNEL_MAP_LFE,
    SF_CHANNEL_MAP_REAR_CENTER, SF_CHANNEL_MAP_SIDE_LEFT, SF_CHANNEL_MAP_SIDE_RIGHT};
const std::vector<int> kMap71 = {
    SF_CHANNEL_MAP_LEFT,      SF_CHANNEL_MAP_RIGHT,      SF_CHANNEL_MAP_CENTER,    SF_CHANNEL_MAP_LFE,
    SF_CHANNEL_MAP_REAR_LEFT, SF_CHANNEL_MAP_REAR_RIGHT, SF_CHANNEL_MAP_SIDE_LEFT, SF_CHANNEL_MAP_SIDE_RIGHT};
const std::vector<int> kQuad = {SF_CHANNEL_MAP_LEFT, SF_CHANNEL_MAP_RIGHT, SF_CHANNEL_MAP_REAR_LEFT,
                                SF_CHANNEL_MAP_REAR_RIGHT};
const char* const kRateRefused = "the loudness meter needs a sample rate of at least 3364 Hz";

// A file "without a map" right after its twin with the usual one reads the same.
const OddFile kOddFiles[] = {
    {"8 Hz", 8, 2, {}, 0, {}, Against::Reason, kRateRefused},
    {"3363 Hz", 3363, 1, {}, 0, {}, Against::Reason, kRateRefused},
    {"3364 Hz", 3364, 1, {}, 0, {}, Against::Ffmpeg, "mono (M), usual for 1 channel"},
    {"8 kHz", 8000, 2, {}, 0, {}, Against::Ffmpeg, "stereo (L R), usual"},
    {"22.05 kHz", 22050, 2, {}, 0, {}, Against::Ffmpeg, "stereo"},
    {"192 kHz", 192000, 2, {}, 0, {}, Against::Ffmpeg, "stereo"},
    {"2^31-1 Hz", 0x7FFFFFFF, 2, {}, 0, {}, Against::Reason, "shorter than one 400 ms window"},
    {"3.0 mapped", 48000, 3, kMap3, 0, {}, Against::Ffmpeg, "3.0 (L R C), from the file's channel map"},
    {"3 channels", 48000, 3, {}, kFlac, {}, Against::PreviousFile, "3.0 (L R C), usual for 3 channels"},
    {"quad mapped", 48000, 4, kQuad, 0, {}, Against::Ffmpeg, "quad (L R BL BR), from"},
    {"4 channels", 48000, 4, {}, kFlac, {}, Against::PreviousFile, "quad (L R BL BR), usual"},
    {"5.0 mapped", 48000, 5, kMap50, 0, {}, Against::Ffmpeg, "5.0 (L R C BL BR), from"},
    {"5 channels", 48000, 5, {}, kFlac, {}, Against::PreviousFile, "5.0 (L R C BL BR), usual"},
    {"5.1 mapped", 48000, 6, kMap51, 0, {}, Against::Ffmpeg, "5.1 (L R C LFE BL BR), from"},
    {"6 channels", 48000, 6, {}, kFlac, {}, Against::PreviousFile, "5.1 (L R C LFE BL BR), usual"},
    {"6.1 mapped", 48000, 7, kMap61, 0, {}, Against::Ffmpeg, "6.1 (L R C LFE BC SL SR), from"},
    {"7 channels", 48000, 7, {}, kFlac, {}, Against::PreviousFile, "6.1 (L R C LFE BC SL SR), usual"},
    {"7.1 mapped", 44100, 8, kMap71, 0, {}, Against::Ffmpeg, "7.1 (L R C LFE BL BR SL SR), from"},
    {"8 channels", 44100, 8, {}, kFlac, {}, Against::PreviousFile, "7.1 (L R C LFE BL BR SL SR), usual"},
    {"7.1, only the back fed", 48000, 8, kMap71, 0, {0, 0, 0, 0, 0.3f, 0.2f, 0, 0}, Against::Ffmpeg, "7.1"},
    {"7.1, only the sides fed", 48000, 8, {}, kFlac, {0, 0, 0, 0, 0, 0, 0.3f, 0.2f}, Against::Ffmpeg, "7.1"},
    {"65 channels", 48000, 65, {}, 0, {}, Against::Reason, "no usual loudspeaker layout for 65 channels"},
    {"LFE alone", 48000, 1, {SF_CHANNEL_MAP_LFE}, 0, {}, Against::Reason, "loudness leaves out LFE channels"},
    {"B-format",
     48000,
     4,
     {SF_CHANNEL_MAP_AMBISONIC_B_W, SF_CHANNEL_MAP_AMBISONIC_B_X, SF_CHANNEL_MAP_AMBISONIC_B_Y,
      SF_CHANNEL_MAP_AMBISONIC_B_Z},
     0,
     {},
     Against::Reason,
     "ambisonic B-format channels"},
};

TEST(AnalyzeLoudness, OddFilesAgreeWithFfmpegOrSayWhyNot)
{
    const ScratchFolder folder;
    constexpr double kSeconds = 1.5;
    float previous = NAN;
    for (const OddFile& odd : kOddFiles) {
        SCOPED_TRACE(odd.name);
        const std::string file = folder / (std::string("odd") + (odd.format ? ".flac" : ".wav"));
        const bool headerOnly = odd.rate > 1000000;
        const int written = headerOnly ? 48000 : odd.rate;
        // At least three blocks of the plug-in's analysis at any rate.
        const long frames = std::max(3L * 2048, std::lround(kSeconds * written));
        writeFloatWav(file, written, odd.channels, channelNoise(odd.channels, frames, odd.gains), odd.map,
                      odd.format);
        if (headerOnly)
            setRate(file, static_cast<std::uint32_t>(odd.rate));

        const ProgramRun run = runAnalyze({"--json", file});
        const auto report = jsonOf(run);
        ASSERT_EQ(report.size(), 1u);
        ASSERT_TRUE(report[0]["error"].is_null()) << report[0]["error"];
        ASSERT_TRUE(report[0]["measures"].is_object())
            << "the nine measures are there whatever loudness says";
        const auto& integrated = report[0]["loudness"]["integrated"];
        const auto& perChannel = report[0]["perChannel"];
        ASSERT_EQ(perChannel.size(), static_cast<std::size_t>(odd.channels));
        for (std::size_t c = 0; c < perChannel.size(); ++c)
            EXPECT_EQ(perChannel[c]["truePeak"]["value"].is_number(),
                      odd.says != kRateRefused && (odd.gains.empty() || odd.gains[c] > 0.0f))
                << "channel " << c + 1 << ": " << perChannel[c]["truePeak"];
        switch (odd.against) {
        case Against::Ffmpeg:
            EXPECT_EQ(report[0]["layout"].get<std::string>().rfind(odd.says, 0), 0u) << report[0]["layout"];
            EXPECT_NEAR(valueOf(integrated), lastFigure(ffmpegLoudness(file), "I:"), kFfmpegTolerance);
            break;
        case Against::PreviousFile:
            EXPECT_EQ(report[0]["layout"].get<std::string>().rfind(odd.says, 0), 0u) << report[0]["layout"];
            EXPECT_NEAR(valueOf(integrated), previous, kTwinTolerance);
            break;
        case Against::Reason:
            EXPECT_TRUE(integrated["value"].is_null());
            EXPECT_EQ(integrated["reason"].get<std::string>().rfind(odd.says, 0), 0u) << integrated["reason"];
            break;
        }
        previous = valueOf(integrated);
    }
}

// A tone at a quarter of the rate, its samples at 45 degrees from its peaks
// and so 3 dB below them, after a slow tone whose samples reach higher than
// the fast one's, at its own peaks. Both fade in and out.
std::vector<float> toneAboveItsSamples(int rate)
{
    std::vector<float> samples;
    const auto add = [&](double amplitude, double cyclesPerSample, double phase) {
        for (long n = 0; n < rate; ++n) {
            const double fade = std::min(1.0, std::min(n, rate - n) / (0.1 * rate));
            samples.push_back(static_cast<float>(
                fade * amplitude * std::sin(2.0 * kPi * cyclesPerSample * static_cast<double>(n) + phase)));
        }
    };
    add(0.7, 100.0 / rate, 0.0);
    add(0.9, 0.25, kPi / 4.0);
    return samples;
}

struct PeakSignal {
    const char* name;
    int rate;
    int channels;
    std::vector<std::string> effects;
};

const PeakSignal kPeakSignals[] = {
    {"sine at 20 kHz", 44100, 1, {"sine", "20000", "fade", "0.5", "3", "0.5", "gain", "-1"}},
    {"companded noise at 44.1 kHz",
     44100,
     2,
     {"whitenoise", "compand", "0.001,0.01", "-60,-20,-10,-3,0,-1", "0", "gain", "-n", "-0.1"}},
    {"companded recording at 8 kHz",
     8000,
     1,
     {"pinknoise", "compand", "0.001,0.01", "-60,-20,-10,-3,0,-1", "0", "gain", "-n", "-0.1"}},
    {"tone peaking 3 dB above its samples", 48000, 1, {}},
};

TEST(AnalyzeLoudness, TruePeakAgreesWithSoxsReconstruction)
{
    const ScratchFolder folder;
    for (const PeakSignal& signal : kPeakSignals) {
        SCOPED_TRACE(signal.name);
        const std::string file = folder / "peaks.wav";
        if (signal.effects.empty())
            writeFloatWav(file, signal.rate, signal.channels, toneAboveItsSamples(signal.rate));
        else
            synthesize(file, signal.rate, signal.channels, 3L * signal.rate, signal.effects);
        const std::vector<double> reference = soxTruePeaks(file, signal.rate);
        const auto report = jsonOf(runAnalyze({"--json", file}));
        ASSERT_EQ(report.size(), 1u);
        const auto& channels = report[0]["perChannel"];
        ASSERT_EQ(channels.size(), reference.size());
        for (std::size_t c = 0; c < channels.size(); ++c) {
            const float truePeak = valueOf(channels[c]["truePeak"]);
            EXPECT_GE(truePeak, reference[c] - kTruePeakBelow) << "channel " << c + 1;
            EXPECT_LE(truePeak, reference[c] + kTruePeakAbove) << "channel " << c + 1;
        }
    }
}

struct Unmeasurable {
    const char* name;
    long frames;
    float level;
    // Figure of the loudness object, and the start of its reason.
    std::vector<std::pair<const char*, const char*>> notAvailable;
    std::vector<const char*> measured;
};

const Unmeasurable kUnmeasurable[] = {
    {"digital silence",
     5 * 48000,
     0.0f,
     {{"integrated", "silent: no 400 ms block above -70 LUFS"},
      {"loudnessRange", "fewer than two 3 s windows above the gates"},
      {"truePeak", "digital silence"},
      {"maxMomentary", "digital silence"},
      {"maxShortTerm", "digital silence"},
      {"plr", "digital silence"}},
     {}},
    {"2.97 s",
     142560,
     0.3f,
     {{"loudnessRange", "shorter than one 3 s window"}, {"maxShortTerm", "shorter than one 3 s window"}},
     {"integrated", "truePeak", "maxMomentary", "plr"}},
    {"0.3 s",
     14400,
     0.3f,
     {{"integrated", "shorter than one 400 ms window"},
      {"maxMomentary", "shorter than one 400 ms window"},
      {"plr", "shorter than one 400 ms window"}},
     {"truePeak"}},
    {"one frame",
     1,
     0.3f,
     {{"integrated", "shorter"}, {"loudnessRange", "shorter"}, {"plr", "shorter"}},
     {"truePeak"}},
    {"a sample that is not a number",
     48000,
     NAN,
     {{"integrated", "the file holds samples that are not finite numbers"},
      {"truePeak", "holds samples that are not finite numbers (1)"}},
     {}},
};

TEST(AnalyzeLoudness, WhatCannotBeMeasuredIsNotAvailableWithItsReason)
{
    const ScratchFolder folder;
    const std::regex infinity("(^|[^a-z])(-?inf|nan)([^a-z]|$)", std::regex::icase);
    for (const Unmeasurable& odd : kUnmeasurable) {
        SCOPED_TRACE(odd.name);
        const std::string file = folder / "odd.wav";
        std::vector<float> samples = channelNoise(1, odd.frames, {std::isnan(odd.level) ? 0.3f : odd.level});
        if (std::isnan(odd.level))
            samples[samples.size() / 2] = NAN;
        writeFloatWav(file, 48000, 1, samples);
        const auto report = jsonOf(runAnalyze({"--json", file}));
        ASSERT_EQ(report.size(), 1u);
        const auto& loudness = report[0]["loudness"];
        for (const auto& [figure, reason] : odd.notAvailable) {
            EXPECT_TRUE(loudness[figure]["value"].is_null()) << figure;
            EXPECT_EQ(loudness[figure].value("reason", "").rfind(reason, 0), 0u)
                << figure << ": " << loudness[figure];
        }
        for (const char* figure : odd.measured)
            EXPECT_TRUE(loudness[figure]["value"].is_number()) << figure;

        const ProgramRun text = runAnalyze({file});
        EXPECT_FALSE(std::regex_search(text.out, infinity)) << text.out;
        EXPECT_NE(text.out.find("n/a: " + std::string(odd.notAvailable.front().second)), std::string::npos)
            << text.out;
    }
}

} // namespace
