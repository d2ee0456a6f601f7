// The VST 3 component in-process, as a host drives it: audio through it at
// any block size, in place and out of place, writes nothing beyond the
// host's buffers, and an output without an input comes out silent; the saved
// view options survive streams that hand over a byte at a time and are
// refused, unchanged, from anything that is not a whole state.
#include "analysis/Analyzer.h"
#include "testhost/MemoryStream.h"
#include "testhost/vst3Playback.h"
#include "vst3/AnalyzerComponent.h"
#include "vst3/AnalyzerFactory.h"
#include "vst3/viewState.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

using namespace vst3;

namespace {

constexpr float kGuard = -1234.5f;
constexpr std::int32_t kGuardFrames = 16;

template <typename Interface> Interface* query(FUnknown* object)
{
    void* answer = nullptr;
    return object->queryInterface(Interface::iid.bytes, &answer) == kResultOk
               ? static_cast<Interface*>(answer)
               : nullptr;
}

// One instance made through the module's factory, released at the end.
class ComponentTest : public testing::Test {
protected:
    void SetUp() override
    {
        AnalyzerFactory* factory = AnalyzerFactory::get();
        void* made = nullptr;
        ASSERT_EQ(factory->createInstance(AnalyzerComponent::classId.bytes, IComponent::iid.bytes, &made),
                  kResultOk);
        factory->release();
        component = static_cast<IComponent*>(made);
        processor = query<IAudioProcessor>(component);
        ASSERT_NE(processor, nullptr);
        ProcessSetup setup{kRealtime, kSample32, 8192, 48000.0};
        ASSERT_EQ(processor->setupProcessing(setup), kResultOk);
        component->setActive(1);
    }
    void TearDown() override
    {
        if (processor)
            processor->release();
        if (component)
            component->release();
    }

    // A channel with guard samples on both sides of `frames` samples.
    static std::vector<float> guarded(std::int32_t frames, float fill)
    {
        std::vector<float> channel(static_cast<std::size_t>(frames + 2 * kGuardFrames), kGuard);
        for (std::int32_t i = 0; i < frames; ++i)
            channel[static_cast<std::size_t>(kGuardFrames + i)] = fill + 0.001f * static_cast<float>(i % 997);
        return channel;
    }
    static bool guardsIntact(const std::vector<float>& channel)
    {
        for (std::int32_t i = 0; i < kGuardFrames; ++i)
            if (channel[static_cast<std::size_t>(i)] != kGuard || channel[channel.size() - 1 - i] != kGuard)
                return false;
        return true;
    }
    tresult process(std::vector<float*> inputs, std::vector<float*> outputs, std::int32_t frames,
                    std::uint64_t* silence = nullptr)
    {
        return processOnce(*processor, std::move(inputs), std::move(outputs), frames, 0, silence);
    }

    IComponent* component = nullptr;
    IAudioProcessor* processor = nullptr;
};

// A host's stream that moves one byte per call.
class TrickleStream final : public IBStream {
public:
    explicit TrickleStream(std::vector<std::uint8_t> bytes = {}) : inner(std::move(bytes)) {}
    const std::vector<std::uint8_t>& bytes() const { return inner.bytes(); }
    tresult ORVANE_VST3_CALL queryInterface(const TUID iid, void** object) override
    {
        return inner.queryInterface(iid, object);
    }
    std::uint32_t ORVANE_VST3_CALL addRef() override { return 1; }
    std::uint32_t ORVANE_VST3_CALL release() override { return 1; }
    tresult ORVANE_VST3_CALL read(void* buffer, std::int32_t count, std::int32_t* done) override
    {
        return inner.read(buffer, count > 0 ? 1 : 0, done);
    }
    tresult ORVANE_VST3_CALL write(void* buffer, std::int32_t count, std::int32_t* done) override
    {
        return inner.write(buffer, count > 0 ? 1 : 0, done);
    }
    tresult ORVANE_VST3_CALL seek(std::int64_t position, std::int32_t mode, std::int64_t* result) override
    {
        return inner.seek(position, mode, result);
    }
    tresult ORVANE_VST3_CALL tell(std::int64_t* position) override { return inner.tell(position); }

private:
    MemoryStream inner;
};

} // namespace

TEST_F(ComponentTest, CopiesEveryBlockSizeExactlyWithinTheHostsBuffers)
{
    for (SpeakerArrangement arrangement : {kMono, kStereo}) {
        ASSERT_EQ(processor->setBusArrangements(&arrangement, 1, &arrangement, 1), kResultTrue);
        const std::size_t channels = arrangement == kMono ? 1 : 2;
        for (std::int32_t frames : {1, 63, 64, 2047, 2048, 2049, 4097}) {
            for (bool inPlace : {false, true}) {
                SCOPED_TRACE(testing::Message() << channels << " channels, " << frames << " frames, "
                                                << (inPlace ? "in place" : "out of place"));
                std::vector<std::vector<float>> original, input, output;
                std::vector<float*> in, out;
                for (std::size_t c = 0; c < channels; ++c) {
                    original.push_back(guarded(frames, 0.25f - 0.5f * static_cast<float>(c)));
                    input.push_back(original.back());
                    output.push_back(inPlace ? original.back() : guarded(frames, 0.0f));
                }
                for (std::size_t c = 0; c < channels; ++c) {
                    in.push_back((inPlace ? output[c] : input[c]).data() + kGuardFrames);
                    out.push_back(output[c].data() + kGuardFrames);
                }
                ASSERT_EQ(process(in, out, frames), kResultOk);
                for (std::size_t c = 0; c < channels; ++c) {
                    EXPECT_EQ(
                        std::memcmp(output[c].data(), original[c].data(), original[c].size() * sizeof(float)),
                        0)
                        << "channel " << c << ", guards included";
                    EXPECT_TRUE(guardsIntact(output[c])) << "channel " << c;
                }
            }
        }
    }
}

TEST_F(ComponentTest, OutputWithoutInputIsSilentAndFlaggedSo)
{
    std::vector<float> left = guarded(100, 0.75f), right = guarded(100, 0.75f);
    std::uint64_t silence = 0;
    ASSERT_EQ(process({}, {left.data() + kGuardFrames, right.data() + kGuardFrames}, 100, &silence),
              kResultOk);
    for (std::int32_t i = 0; i < 100; ++i)
        ASSERT_TRUE(left[static_cast<std::size_t>(kGuardFrames + i)] == 0.0f &&
                    right[static_cast<std::size_t>(kGuardFrames + i)] == 0.0f)
            << "frame " << i;
    EXPECT_EQ(silence, 3u);
    EXPECT_TRUE(guardsIntact(left) && guardsIntact(right));
}

TEST_F(ComponentTest, SixtyFourBitSamplesAreRefusedUntouched)
{
    double sample = 0.5;
    double* channel[1] = {&sample};
    AudioBusBuffers bus{};
    bus.numChannels = 1;
    bus.channelBuffers64 = channel;
    ProcessData data{};
    data.symbolicSampleSize = kSample64;
    data.numSamples = 1;
    data.numInputs = 1;
    data.numOutputs = 1;
    data.inputs = &bus;
    data.outputs = &bus;
    ProcessSetup setup{kRealtime, kSample64, 512, 48000.0};
    EXPECT_NE(processor->setupProcessing(setup), kResultOk);
    EXPECT_NE(processor->process(data), kResultOk);
    EXPECT_EQ(sample, 0.5);
}

TEST_F(ComponentTest, ViewOptionsRoundTripThroughStreamsOfOneByteACall)
{
    static_cast<AnalyzerComponent*>(component)->analysis().requestViewOptions(
        Analyzer::ToggleLogFrequencyAxis | Analyzer::ToggleSlowSpectrogram);
    TrickleStream saved;
    ASSERT_EQ(component->getState(&saved), kResultOk);
    static_cast<AnalyzerComponent*>(component)->analysis().requestViewOptions(Analyzer::ToggleZoomHistogram);
    TrickleStream restored(saved.bytes());
    ASSERT_EQ(component->setState(&restored), kResultOk);
    EXPECT_EQ(static_cast<AnalyzerComponent*>(component)->analysis().viewOptions(),
              Analyzer::ToggleLogFrequencyAxis | Analyzer::ToggleSlowSpectrogram);
}

TEST(ViewState, AnythingButAWholeStateIsRefusedAndChangesNothing)
{
    MemoryStream saved;
    ASSERT_TRUE(viewState::write(saved, Analyzer::ToggleSlowLevelHistory));
    const std::vector<std::uint8_t> whole = saved.bytes();
    struct Case {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    auto changed = [&](std::size_t at, std::uint8_t value) {
        std::vector<std::uint8_t> bytes = whole;
        bytes[at] = value;
        return bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"one byte short", std::vector<std::uint8_t>(whole.begin(), whole.end() - 1)},
        {"another tag", changed(0, 'X')},
        {"another version", changed(whole.size() - 2, 2)},
        {"unknown option bits", changed(whole.size() - 1, 0x10)},
    };
    for (const Case& test : cases) {
        MemoryStream stream(test.bytes);
        std::uint32_t options = 0xDEAD;
        EXPECT_FALSE(viewState::read(stream, options)) << test.name;
        EXPECT_EQ(options, 0xDEADu) << test.name;
    }
    MemoryStream stream(whole);
    std::uint32_t options = 0;
    EXPECT_TRUE(viewState::read(stream, options));
    EXPECT_EQ(options, static_cast<std::uint32_t>(Analyzer::ToggleSlowLevelHistory));
}
