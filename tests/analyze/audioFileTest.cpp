// 16-bit PCM is converted to float by the reader itself, not by libsndfile:
// every one of the 65536 values, in little- and big-endian containers and
// read in chunks of any size, must give libsndfile's own float.
#include "analyze/AudioFile.h"
#include "tests/analyze/analyzeTestSupport.h"

#include <gtest/gtest.h>

#include <sndfile.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr int kValues = 65536;
constexpr int kChannels = 2;
// Odd, so that chunks end inside the file's own blocks.
constexpr std::int64_t kChunkFrames = 1001;

// Every value ascending on the left and descending on the right.
std::vector<short> everyValue()
{
    std::vector<short> frames(kValues * kChannels);
    for (int i = 0; i < kValues; ++i) {
        frames[kChannels * i] = static_cast<short>(i - 32768);
        frames[kChannels * i + 1] = static_cast<short>(32767 - i);
    }
    return frames;
}

void write(const std::string& path, int format, const std::vector<short>& frames)
{
    SF_INFO info = {};
    info.samplerate = 44100;
    info.channels = kChannels;
    info.format = format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    ASSERT_NE(file, nullptr) << sf_strerror(nullptr);
    EXPECT_EQ(sf_writef_short(file, frames.data(), kValues), kValues);
    sf_close(file);
}

std::vector<float> libsndfilesFloats(const std::string& path)
{
    SF_INFO info = {};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    std::vector<float> samples(kValues * kChannels);
    EXPECT_EQ(sf_readf_float(file, samples.data(), kValues), kValues);
    sf_close(file);
    return samples;
}

TEST(AudioFile, SixteenBitSamplesAreLibsndfilesFloatsInEveryContainer)
{
    const ScratchFolder folder;
    const std::vector<short> frames = everyValue();
    const struct {
        const char* name;
        int format;
    } kContainers[] = {
        {"every.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16},
        {"every.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_16},
        {"every.caf", SF_FORMAT_CAF | SF_FORMAT_PCM_16},
        {"every.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16},
    };
    for (const auto& container : kContainers) {
        const std::string path = folder / container.name;
        write(path, container.format, frames);
        AudioFile file(path);
        ASSERT_FALSE(file.failed()) << container.name << ": " << file.error();
        std::vector<float> read(kValues * kChannels);
        std::int64_t at = 0;
        while (const std::int64_t got =
                   file.read(read.data() + at * kChannels, std::min(kChunkFrames, kValues - at)))
            at += got;
        EXPECT_EQ(at, kValues) << container.name;
        const std::vector<float> expected = libsndfilesFloats(path);
        EXPECT_EQ(std::memcmp(read.data(), expected.data(), read.size() * sizeof(float)), 0)
            << container.name;
    }
}

} // namespace
