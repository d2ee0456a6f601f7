// Audio through a VST 3 processor as hosts play it: one main bus each way,
// 32-bit samples, calls of a chosen size, in place or out of place, with the
// silence flags a host sets on blocks of digital silence.
#pragma once

#include "testhost/DemoSignal.h"
#include "vst3/IAudioProcessor.h"

#include <functional>
#include <vector>

struct PlaybackResult {
    // Every output sample has its input sample's bit pattern.
    bool exact = false;
    // Every call's output silence flags were its input's.
    bool silenceFlagsPassed = false;
    long calls = 0;
};

using Channels = std::vector<std::vector<float>>;

// One call of process with the channels of one main bus each way (no input
// bus without input channels); the processor's answer, and the output bus's
// silence flags where asked for.
vst3::tresult processOnce(vst3::IAudioProcessor& processor, std::vector<float*> inputs,
                          std::vector<float*> outputs, std::int32_t frames, std::uint64_t inputSilence,
                          std::uint64_t* outputSilence = nullptr);
// Plays one or two channels through the processor in calls of `blockFrames`.
PlaybackResult playChannels(vst3::IAudioProcessor& processor, const Channels& input, std::int32_t blockFrames,
                            bool inPlace);
// A call of 0 frames and a call without buses: both answered kResultOk.
bool playEdgeCalls(vst3::IAudioProcessor& processor);
// The demo signal in calls of `blockFrames` paced to real time, from a thread
// of its own (the host's audio thread); `serve` runs meanwhile on the calling
// thread, again and again, with the share of the signal played so far.
PlaybackResult playInRealTime(vst3::IAudioProcessor& processor, const DemoSignal& signal,
                              std::int32_t blockFrames, const std::function<void(double)>& serve);
