// Loudness after ITU-R BS.1770-4 / EBU R128 over the weighted channels of a
// file: integrated loudness, loudness range, and the largest momentary
// (400 ms) and short-term (3 s) loudness. Each channel is K-weighted on its
// own and summed into 100 ms steps; the steps of all channels are then
// combined with their weights, so the channels could be filtered on threads
// of their own. Memory stays the same however long the file is.
#pragma once

#include "analyze/KWeighting.h"
#include "analyze/LoudnessHistogram.h"
#include "analyze/LoudnessRange.h"
#include "analyze/Reading.h"

#include <array>
#include <cstdint>
#include <functional>
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

    // One weight per channel of the frames `add` gets (ChannelLayout's).
    LoudnessMeter(int sampleRate, const std::vector<double>& weights);

    void add(const float* interleaved, std::int64_t frames);
    LoudnessFigures figures() const;
    // Hears each short-term loudness (LUFS) as it is measured, with the
    // frame its window ends at.
    std::function<void(std::int64_t endFrame, double shortTerm)> shortTermListener;

private:
    static constexpr int kMomentarySteps = 4;
    static constexpr int kShortTermSteps = 30;

    // One weighted channel: its filter, and its sums of squares for the
    // steps that end in the chunk being added.
    struct Channel {
        int index;
        double weight;
        KWeighting filter;
        double openStep = 0.0;
        std::vector<double> stepSums;

        void filterChunk(const float* interleaved, int stride, std::int64_t frames,
                         const std::vector<std::int64_t>& stepEnds);
    };
    struct Step {
        double weightedSum = 0.0;
        std::int64_t frames = 0;
    };

    std::int64_t stepEnd(std::int64_t step) const;
    void stepEnded(const Step& step);
    double windowEnergy(int steps) const;

    const std::int64_t sampleRate;
    const int fileChannels;
    std::vector<Channel> channels;
    std::int64_t framesSeen = 0;
    std::int64_t stepsEnded = 0;
    std::vector<std::int64_t> stepEnds;
    // The last 30 steps, the newest at `newest`.
    std::array<Step, kShortTermSteps> recent = {};
    int newest = 0;
    bool finite = true;
    double maxMomentary;
    double maxShortTerm;
    LoudnessHistogram gatingBlocks;
    LoudnessRange range;
};
