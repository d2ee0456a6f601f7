#include "analyze/LoudnessMeter.h"

#include "analyze/loudnessUnits.h"

#include <algorithm>
#include <mutex>

namespace {

constexpr int kBlockMilliseconds = 100;
constexpr int kBlocksPerSecond = 1000 / kBlockMilliseconds;
constexpr double kSilence = -HUGE_VAL;

// ebur128_init sets process-wide constants of the library each time; files
// opened on other threads must not do so at the same moment.
std::mutex initLock;

} // namespace

Ebur128State makeEbur128State(int channels, int sampleRate, int mode, std::string& error)
{
    const std::lock_guard<std::mutex> lock(initLock);
    Ebur128State state(
        ebur128_init(static_cast<unsigned>(channels), static_cast<unsigned long>(sampleRate), mode));
    if (!state)
        error = "libebur128 cannot measure loudness of " + std::to_string(channels) + " channels at " +
                std::to_string(sampleRate) + " Hz (--no-loudness skips it)";
    return state;
}

LoudnessMeter::LoudnessMeter(int channels, int sampleRate)
    : state(makeEbur128State(channels, sampleRate, EBUR128_MODE_I | EBUR128_MODE_HISTOGRAM, reason)),
      // libebur128's own rounding of its 100 ms step.
      framesPerBlock((sampleRate + kBlocksPerSecond / 2) / kBlocksPerSecond), maxMomentary(kSilence),
      maxShortTerm(kSilence)
{
}

// Asking libebur128 for the 3 s loudness every 100 ms would sum 3 s of
// samples each time; the energy of each 100 ms block is enough, and the
// windows are their means. Windows count from the first one that is full.
void LoudnessMeter::add(const float* interleaved, std::int64_t frames)
{
    if (!state)
        return;
    const unsigned channels = state->channels;
    while (frames > 0) {
        const std::int64_t n = std::min(frames, framesPerBlock - blockFill);
        ebur128_add_frames_float(state.get(), interleaved, static_cast<std::size_t>(n));
        blockFill += n;
        if (blockFill == framesPerBlock)
            blockEnded();
        interleaved += n * channels;
        frames -= n;
    }
}

void LoudnessMeter::blockEnded()
{
    blockFill = 0;
    ++blocksEnded;
    double loudness = kSilence;
    ebur128_loudness_window(state.get(), kBlockMilliseconds, &loudness);
    newest = (newest + 1) % kShortTermBlocks;
    blockEnergy[static_cast<std::size_t>(newest)] = energyOfLoudness(loudness);
    if (blocksEnded >= kMomentaryBlocks)
        maxMomentary = std::max(maxMomentary, windowLoudness(kMomentaryBlocks));
    if (blocksEnded >= kShortTermBlocks) {
        const double shortTerm = windowLoudness(kShortTermBlocks);
        maxShortTerm = std::max(maxShortTerm, shortTerm);
        range.add(shortTerm);
        if (shortTermListener)
            shortTermListener(blocksEnded * framesPerBlock, shortTerm);
    }
}

double LoudnessMeter::windowLoudness(int blocks) const
{
    double sum = 0.0;
    for (int age = 0; age < blocks; ++age)
        sum += blockEnergy[static_cast<std::size_t>((newest - age + kShortTermBlocks) % kShortTermBlocks)];
    return loudnessOfEnergy(sum / blocks);
}

LoudnessFigures LoudnessMeter::figures() const
{
    LoudnessFigures figures;
    if (!state)
        return figures;
    ebur128_loudness_global(state.get(), &figures.integrated);
    figures.range = range.range();
    figures.maxMomentary = maxMomentary;
    figures.maxShortTerm = maxShortTerm;
    return figures;
}
