#include "testhost/vst3Playback.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <thread>
#include <utility>

using namespace vst3;

namespace {

constexpr auto kServeStep = std::chrono::milliseconds(1);
using Clock = std::chrono::steady_clock;

std::uint64_t silenceFlagsOf(const std::vector<float*>& channels, std::int32_t frames)
{
    for (float* channel : channels)
        if (std::any_of(channel, channel + frames, [](float sample) { return sample != 0.0f; }))
            return 0;
    return (std::uint64_t{1} << channels.size()) - 1;
}

// One call of process on the given channel pointers; true when the host's
// call was answered kResultOk and the silence flags came back as they went.
bool processBlock(IAudioProcessor& processor, std::vector<float*> inputs, std::vector<float*> outputs,
                  std::int32_t frames)
{
    const std::uint64_t silence = silenceFlagsOf(inputs, frames);
    std::uint64_t outputSilence = 0;
    return processOnce(processor, std::move(inputs), std::move(outputs), frames, silence, &outputSilence) ==
               kResultOk &&
           outputSilence == silence;
}

// The channel pointers of frames from `start` on.
std::vector<float*> at(Channels& channels, std::size_t start)
{
    std::vector<float*> pointers;
    for (std::vector<float>& channel : channels)
        pointers.push_back(channel.data() + start);
    return pointers;
}

bool sameBits(const Channels& a, const Channels& b)
{
    for (std::size_t c = 0; c < a.size(); ++c)
        if (a[c].size() != b[c].size() ||
            std::memcmp(a[c].data(), b[c].data(), a[c].size() * sizeof(float)) != 0)
            return false;
    return true;
}

} // namespace

tresult processOnce(IAudioProcessor& processor, std::vector<float*> inputs, std::vector<float*> outputs,
                    std::int32_t frames, std::uint64_t inputSilence, std::uint64_t* outputSilence)
{
    AudioBusBuffers input{};
    input.numChannels = static_cast<std::int32_t>(inputs.size());
    input.silenceFlags = inputSilence;
    input.channelBuffers32 = inputs.data();
    AudioBusBuffers output{};
    output.numChannels = static_cast<std::int32_t>(outputs.size());
    output.channelBuffers32 = outputs.data();
    ProcessData data{};
    data.processMode = kRealtime;
    data.symbolicSampleSize = kSample32;
    data.numSamples = frames;
    data.numInputs = inputs.empty() ? 0 : 1;
    data.numOutputs = 1;
    data.inputs = &input;
    data.outputs = &output;
    const tresult result = processor.process(data);
    if (outputSilence)
        *outputSilence = output.silenceFlags;
    return result;
}

PlaybackResult playChannels(IAudioProcessor& processor, const Channels& input, std::int32_t blockFrames,
                            bool inPlace)
{
    PlaybackResult result;
    result.silenceFlagsPassed = true;
    Channels source = input;
    Channels output = inPlace ? input : Channels(input.size(), std::vector<float>(input[0].size()));
    const std::size_t frames = input[0].size();
    for (std::size_t start = 0; start < frames;
         start += static_cast<std::size_t>(blockFrames), ++result.calls) {
        const auto n = static_cast<std::int32_t>(
            std::min<std::size_t>(static_cast<std::size_t>(blockFrames), frames - start));
        result.silenceFlagsPassed &=
            processBlock(processor, at(inPlace ? output : source, start), at(output, start), n);
    }
    result.exact = sameBits(output, input);
    return result;
}

bool playEdgeCalls(IAudioProcessor& processor)
{
    float sample = 0.5f;
    float* channel[1] = {&sample};
    AudioBusBuffers bus{};
    bus.numChannels = 1;
    bus.channelBuffers32 = channel;
    ProcessData empty{};
    empty.symbolicSampleSize = kSample32;
    empty.numInputs = 1;
    empty.numOutputs = 1;
    empty.inputs = &bus;
    empty.outputs = &bus;
    ProcessData busless{};
    busless.symbolicSampleSize = kSample32;
    busless.numSamples = 64;
    return processor.process(empty) == kResultOk && processor.process(busless) == kResultOk && sample == 0.5f;
}

PlaybackResult playInRealTime(IAudioProcessor& processor, const DemoSignal& signal, std::int32_t blockFrames,
                              const std::function<void(double)>& serve)
{
    const Channels input{signal.left, signal.right};
    Channels output(2, std::vector<float>(signal.left.size()));
    Channels source = input;
    const std::size_t frames = signal.left.size();
    std::atomic<std::size_t> played{0};
    std::atomic<bool> done{false};
    PlaybackResult result;
    result.silenceFlagsPassed = true;
    std::thread audio([&] {
        const Clock::time_point begin = Clock::now();
        for (std::size_t start = 0; start < frames;
             start += static_cast<std::size_t>(blockFrames), ++result.calls) {
            const auto n = static_cast<std::int32_t>(
                std::min<std::size_t>(static_cast<std::size_t>(blockFrames), frames - start));
            result.silenceFlagsPassed &= processBlock(processor, at(source, start), at(output, start), n);
            played = start + static_cast<std::size_t>(n);
            std::this_thread::sleep_until(
                begin + std::chrono::duration_cast<Clock::duration>(std::chrono::duration<double>(
                            static_cast<double>(played) / DemoSignal::kSampleRate)));
        }
        done = true;
    });
    while (!done) {
        serve(static_cast<double>(played.load()) / static_cast<double>(frames));
        std::this_thread::sleep_for(kServeStep);
    }
    audio.join();
    result.exact = sameBits(output, input);
    return result;
}
