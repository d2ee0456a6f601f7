// Loudness after ITU-R BS.1770-4 / EBU R128 over the weighted channels of a
// file: integrated loudness, loudness range, and the largest momentary
// (400 ms) and short-term (3 s) loudness. Each channel is K-weighted on its
// own and summed into 100 ms steps; a step is measured once every channel
// has filtered it, combining the channels in their order with their
// weights. So the channels can be filtered on threads of their own, with the
// bits of filtering them on one. Memory stays the same however long the
// file is.
#pragma once

#include "analyze/KWeighting.h"
#include "analyze/LoudnessHistogram.h"
#include "analyze/LoudnessRange.h"
#include "analyze/Reading.h"

#include <array>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

struct LoudnessFigures {
    // LUFS.
    Reading integrated;
    // LU.
    Reading range;
    // LUFS.
    Reading maxMomentary;
    Reading maxShortTerm;
};

class LoudnessMeter {
public:
    // Empty when the meter can take files of this rate; else why not.
    static std::string refusal(int sampleRate);

    // One weight per channel of the frames `add` gets (ChannelLayout's), at
    // least one of them above 0.
    LoudnessMeter(int sampleRate, const std::vector<double>& weights);

    // Interleaved frames of every channel of the file.
    void add(const float* interleaved, std::int64_t frames);
    // The next samples of one channel of the file alone, one after the
    // other (nothing for a channel it leaves out). Each channel takes its
    // samples in order, one call at a time; different channels may be
    // filtered on different threads at once.
    void addChannel(int channel, const float* samples, std::int64_t frames);
    // After every channel took every frame.
    LoudnessFigures figures() const;
    // Hears each short-term loudness (LUFS) as it is measured, with the
    // frame its window ends at: in order, one at a time, on the thread of
    // the channel that completed the step.
    std::function<void(std::int64_t endFrame, double shortTerm)> shortTermListener;

private:
    static constexpr int kMomentarySteps = 4;
    static constexpr int kShortTermSteps = 30;

    // One weighted channel: its filter and where it stands. Only the thread
    // filtering it touches these, apart from `filteredSteps`.
    struct Channel {
        int index;
        double weight;
        KWeighting filter;
        std::int64_t framesSeen = 0;
        std::int64_t stepsFiltered = 0;
        // Sum of squares of the step under way.
        double openStep = 0.0;
        // Of the steps completed by one call.
        std::vector<double> newSteps;
        // Sums of squares of steps filtered but not yet measured, oldest
        // first; under `lock`.
        std::deque<double> filteredSteps;
    };
    struct Step {
        double weightedSum = 0.0;
        std::int64_t frames = 0;
    };

    std::int64_t stepEnd(std::int64_t step) const;
    // Each sample `stride` floats after the last; then measures the steps
    // it completed that every channel has filtered.
    void filter(Channel& channel, const float* samples, std::int64_t frames, int stride);
    // Under `lock`: measures the steps every channel has filtered.
    void measureFilteredSteps();
    void stepEnded(const Step& step);
    double windowEnergy(int steps) const;

    const std::int64_t sampleRate;
    const int fileChannels;
    std::vector<Channel> channels;
    // Per channel of the file: its entry in `channels`, or -1.
    std::vector<int> channelEntry;

    // Guards the channels' filtered steps and everything below.
    std::mutex lock;
    std::int64_t stepsEnded = 0;
    // The last 30 steps, the newest at `newest`.
    std::array<Step, kShortTermSteps> recent = {};
    int newest = 0;
    bool finite = true;
    double maxMomentary;
    double maxShortTerm;
    LoudnessHistogram gatingBlocks;
    LoudnessRange range;
};
