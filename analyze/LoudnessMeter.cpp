#include "analyze/LoudnessMeter.h"

#include "analyze/loudnessUnits.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr std::int64_t kStepsPerSecond = 10;
constexpr double kRelativeGate = -10.0;
constexpr double kSilence = -HUGE_VAL;

} // namespace

std::string LoudnessMeter::refusal(int sampleRate)
{
    const double lowest = KWeighting::lowestRate();
    if (sampleRate > lowest)
        return {};
    return "the loudness meter needs a sample rate of at least " +
           std::to_string(static_cast<int>(std::ceil(lowest))) +
           " Hz, so that K-weighting's shelf lies below the Nyquist frequency; this file has " +
           std::to_string(sampleRate) + " Hz";
}

LoudnessMeter::LoudnessMeter(int rate, const std::vector<double>& weights)
    : sampleRate(rate), fileChannels(static_cast<int>(weights.size())), channelEntry(weights.size(), -1),
      maxMomentary(kSilence), maxShortTerm(kSilence)
{
    for (std::size_t i = 0; i < weights.size(); ++i)
        if (weights[i] > 0.0) {
            channelEntry[i] = static_cast<int>(channels.size());
            channels.push_back({static_cast<int>(i), weights[i], KWeighting(rate), 0, 0, 0.0, {}, {}});
        }
}

// Steps end on whole frames, rounded down, so that rates that are not a
// multiple of 10 still keep 10 steps a second.
std::int64_t LoudnessMeter::stepEnd(std::int64_t step) const
{
    return (step + 1) * sampleRate / kStepsPerSecond;
}

void LoudnessMeter::add(const float* interleaved, std::int64_t frames)
{
    for (Channel& channel : channels)
        filter(channel, interleaved + channel.index, frames, fileChannels);
}

void LoudnessMeter::addChannel(int index, const float* samples, std::int64_t frames)
{
    if (index >= 0 && index < fileChannels && channelEntry[static_cast<std::size_t>(index)] >= 0)
        filter(channels[static_cast<std::size_t>(channelEntry[static_cast<std::size_t>(index)])], samples,
               frames, 1);
}

void LoudnessMeter::filter(Channel& channel, const float* samples, std::int64_t frames, int stride)
{
    channel.newSteps.clear();
    std::int64_t start = 0;
    std::int64_t end = stepEnd(channel.stepsFiltered) - channel.framesSeen;
    while (end <= frames) {
        channel.newSteps.push_back(
            channel.filter.sumOfSquares(samples + start * stride, end - start, stride, channel.openStep));
        channel.openStep = 0.0;
        start = end;
        end = stepEnd(++channel.stepsFiltered) - channel.framesSeen;
    }
    channel.openStep =
        channel.filter.sumOfSquares(samples + start * stride, frames - start, stride, channel.openStep);
    channel.framesSeen += frames;
    if (channel.newSteps.empty())
        return;
    const std::lock_guard<std::mutex> guard(lock);
    channel.filteredSteps.insert(channel.filteredSteps.end(), channel.newSteps.begin(),
                                 channel.newSteps.end());
    measureFilteredSteps();
}

void LoudnessMeter::measureFilteredSteps()
{
    const auto allFiltered = [this] {
        return std::none_of(channels.begin(), channels.end(),
                            [](const Channel& channel) { return channel.filteredSteps.empty(); });
    };
    while (!channels.empty() && allFiltered()) {
        Step step;
        step.frames = stepEnd(stepsEnded) - (stepsEnded == 0 ? 0 : stepEnd(stepsEnded - 1));
        for (Channel& channel : channels) {
            step.weightedSum += channel.weight * channel.filteredSteps.front();
            channel.filteredSteps.pop_front();
        }
        stepEnded(step);
    }
}

void LoudnessMeter::stepEnded(const Step& step)
{
    ++stepsEnded;
    newest = (newest + 1) % kShortTermSteps;
    recent[static_cast<std::size_t>(newest)] = step;
    // A sample that is not a number or infinite stays in the filters' state for good.
    finite = finite && std::isfinite(step.weightedSum);
    if (!finite)
        return;
    if (stepsEnded >= kMomentarySteps) {
        const double energy = windowEnergy(kMomentarySteps);
        gatingBlocks.add(energy);
        maxMomentary = std::max(maxMomentary, loudnessOfEnergy(energy));
    }
    if (stepsEnded >= kShortTermSteps) {
        const double energy = windowEnergy(kShortTermSteps);
        range.add(energy);
        const double shortTerm = loudnessOfEnergy(energy);
        maxShortTerm = std::max(maxShortTerm, shortTerm);
        if (shortTermListener)
            shortTermListener(stepEnd(stepsEnded - 1), shortTerm);
    }
}

double LoudnessMeter::windowEnergy(int steps) const
{
    Step window;
    for (int age = 0; age < steps; ++age) {
        const Step& step =
            recent[static_cast<std::size_t>((newest - age + kShortTermSteps) % kShortTermSteps)];
        window.weightedSum += step.weightedSum;
        window.frames += step.frames;
    }
    return window.weightedSum / static_cast<double>(window.frames);
}

LoudnessFigures LoudnessMeter::figures() const
{
    if (!finite) {
        const Reading none = Reading::none("the file holds samples that are not finite numbers");
        return {none, none, none, none};
    }
    const Reading noMomentary = Reading::none("shorter than one 400 ms window");
    const Reading noShortTerm = Reading::none("shorter than one 3 s window");
    const Reading digitalSilence = Reading::none("digital silence");
    LoudnessFigures figures;
    if (stepsEnded < kMomentarySteps) {
        figures.integrated = figures.maxMomentary = noMomentary;
    } else {
        const double gate = gatingBlocks.meanLoudness(LoudnessHistogram::kAbsoluteGate) + kRelativeGate;
        const double integrated = gatingBlocks.meanLoudness(gate);
        figures.integrated = std::isfinite(integrated)
                                 ? Reading::of(integrated)
                                 : Reading::none("silent: no 400 ms block above -70 LUFS");
        figures.maxMomentary = std::isfinite(maxMomentary) ? Reading::of(maxMomentary) : digitalSilence;
    }
    if (stepsEnded < kShortTermSteps) {
        figures.range = figures.maxShortTerm = noShortTerm;
    } else {
        figures.range = range.range();
        figures.maxShortTerm = std::isfinite(maxShortTerm) ? Reading::of(maxShortTerm) : digitalSilence;
    }
    return figures;
}
