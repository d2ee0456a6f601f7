// The loudness meter measures a 100 ms step once every channel has filtered
// it, whichever thread filters which channel, and carries each step's sum
// of squares across calls sample by sample: every way of feeding it a file
// gives the bits of one call with every channel, figures and short-term
// loudness alike.
#include "analyze/LoudnessMeter.h"
#include "testhost/WhiteNoise.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <thread>
#include <utility>

namespace {

constexpr int kRate = 48000;
constexpr int kChannels = 5;
constexpr std::int64_t kFrames = 12 * kRate + 1234;
// Front left, right and centre, LFE (left out), a surround channel.
const std::vector<double> kWeights = {1.0, 1.0, 1.0, 0.0, 1.41};

// Noise whose level changes every half second, differently in each
// channel, so that every step and every weight counts.
std::vector<float> swellingNoise()
{
    WhiteNoise noise(11u);
    std::vector<float> samples(static_cast<std::size_t>(kFrames * kChannels));
    for (std::int64_t frame = 0; frame < kFrames; ++frame)
        for (int channel = 0; channel < kChannels; ++channel) {
            const std::int64_t stretch = frame / (kRate / 2) + channel;
            const double gain = 0.02 + 0.1 * static_cast<double>(stretch % 7);
            samples[static_cast<std::size_t>(frame * kChannels + channel)] =
                static_cast<float>(gain * noise.next());
        }
    return samples;
}

struct Measured {
    LoudnessFigures figures;
    std::vector<std::pair<std::int64_t, double>> shortTerm;
};

Measured measure(const std::function<void(LoudnessMeter&)>& feed)
{
    LoudnessMeter meter(kRate, kWeights);
    Measured measured;
    meter.shortTermListener = [&measured](std::int64_t end, double lufs) {
        measured.shortTerm.emplace_back(end, lufs);
    };
    feed(meter);
    measured.figures = meter.figures();
    return measured;
}

// Calls of these sizes in turn, from `first` on, until `frames` are fed.
void inCalls(std::int64_t frames, const std::vector<std::int64_t>& sizes,
             const std::function<void(std::int64_t first, std::int64_t count)>& call)
{
    std::size_t next = 0;
    for (std::int64_t first = 0; first < frames; next = (next + 1) % sizes.size()) {
        const std::int64_t count = std::min(sizes[next], frames - first);
        call(first, count);
        first += count;
    }
}

TEST(LoudnessMeter, EveryWayOfFeedingItGivesTheBitsOfOneCall)
{
    const std::vector<float> samples = swellingNoise();
    const Measured whole = measure([&](LoudnessMeter& meter) { meter.add(samples.data(), kFrames); });
    ASSERT_TRUE(whole.figures.integrated.value && whole.figures.range.value &&
                whole.figures.maxShortTerm.value)
        << "a file long and loud enough for every figure";
    ASSERT_GT(whole.shortTerm.size(), 90u);

    std::vector<std::vector<float>> channels(kChannels,
                                             std::vector<float>(static_cast<std::size_t>(kFrames)));
    for (std::int64_t frame = 0; frame < kFrames; ++frame)
        for (int channel = 0; channel < kChannels; ++channel)
            channels[channel][static_cast<std::size_t>(frame)] =
                samples[static_cast<std::size_t>(frame * kChannels + channel)];

    const std::pair<const char*, std::function<void(LoudnessMeter&)>> feedings[] = {
        {"frame by frame",
         [&](LoudnessMeter& meter) {
             inCalls(kFrames, {1}, [&](std::int64_t first, std::int64_t count) {
                 meter.add(samples.data() + first * kChannels, count);
             });
         }},
        {"in calls of uneven sizes",
         [&](LoudnessMeter& meter) {
             inCalls(kFrames, {4799, 1, 65536, 333}, [&](std::int64_t first, std::int64_t count) {
                 meter.add(samples.data() + first * kChannels, count);
             });
         }},
        {"each channel on a thread of its own, in calls of its own sizes",
         [&](LoudnessMeter& meter) {
             std::vector<std::thread> threads;
             for (int channel = 0; channel < kChannels; ++channel)
                 threads.emplace_back([&meter, &channels, channel] {
                     inCalls(kFrames, {997 + 1000 * channel, 4801},
                             [&](std::int64_t first, std::int64_t count) {
                                 meter.addChannel(channel, channels[channel].data() + first, count);
                             });
                 });
             for (std::thread& thread : threads)
                 thread.join();
         }},
    };
    for (const auto& [how, feed] : feedings) {
        SCOPED_TRACE(how);
        const Measured fed = measure(feed);
        const std::pair<const Reading*, const Reading*> figures[] = {
            {&fed.figures.integrated, &whole.figures.integrated},
            {&fed.figures.range, &whole.figures.range},
            {&fed.figures.maxMomentary, &whole.figures.maxMomentary},
            {&fed.figures.maxShortTerm, &whole.figures.maxShortTerm},
        };
        for (const auto& [figure, expected] : figures)
            EXPECT_EQ(figure->value, expected->value);
        EXPECT_EQ(fed.shortTerm, whole.shortTerm);
    }
}

} // namespace
