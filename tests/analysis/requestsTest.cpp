// The editor's requests (reset, option toggles) arrive on the user-interface
// thread; they must land between blocks, never inside one.
#include "analysisTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// Stereo noise fed through processReplacing in host-sized calls.
class AudioFeed {
public:
    explicit AudioFeed(std::int32_t frames) : left(frames), right(frames)
    {
        WhiteNoise noise(7);
        for (std::int32_t i = 0; i < frames; ++i) {
            left[i] = static_cast<float>(0.5 * noise.next());
            right[i] = static_cast<float>(0.25 * noise.next());
        }
    }
    void run(Analyzer& analyzer)
    {
        float* channels[2] = {left.data(), right.data()};
        analyzer.processReplacing(channels, channels, static_cast<std::int32_t>(left.size()));
    }

private:
    std::vector<float> left;
    std::vector<float> right;
};

TEST(AnalyzerRequests, ApplyAtOnceWhileNoAudioIsProcessed)
{
    auto analyzer = makeAnalyzer();
    AudioFeed(5000).run(*analyzer);
    ASSERT_GT(analyzer->measures.analysedSeconds, 0.0f);
    ASSERT_EQ(analyzer->blockFill, 5000 - 2 * Analyzer::kBlockFrames);

    analyzer->request(Analyzer::ToggleZoomHistogram);
    analyzer->request(Analyzer::ToggleLogFrequencyAxis);
    analyzer->request(Analyzer::ToggleSlowLevelHistory);
    analyzer->request(Analyzer::ToggleSlowSpectrogram);
    EXPECT_FALSE(analyzer->zoomHistogram);
    EXPECT_TRUE(analyzer->logFrequencyAxis);
    EXPECT_TRUE(analyzer->slowLevelHistory);
    EXPECT_TRUE(analyzer->slowSpectrogram);

    analyzer->request(Analyzer::RequestReset);
    EXPECT_EQ(analyzer->measures.analysedSeconds, 0.0f);
    EXPECT_EQ(analyzer->analysedFrames, 0);
    EXPECT_EQ(analyzer->blockFill, 0);
    EXPECT_FALSE(analyzer->zoomHistogram) << "a reset keeps the display options";
}

TEST(AnalyzerRequests, WaitForTheNextProcessCallWhileAudioHoldsTheAnalysis)
{
    auto analyzer = makeAnalyzer();
    AudioFeed(3000).run(*analyzer);
    const std::int32_t fill = analyzer->blockFill;

    ASSERT_TRUE(analyzer->analysisGate.tryEnter()); // the audio thread, mid-call
    analyzer->request(Analyzer::RequestReset);
    analyzer->request(Analyzer::ToggleSlowSpectrogram);
    analyzer->request(Analyzer::ToggleZoomHistogram);
    analyzer->request(Analyzer::ToggleZoomHistogram);
    EXPECT_EQ(analyzer->blockFill, fill);
    EXPECT_GT(analyzer->analysedFrames, 0);
    EXPECT_FALSE(analyzer->slowSpectrogram);
    analyzer->analysisGate.leave();

    AudioFeed(100).run(*analyzer);
    EXPECT_EQ(analyzer->analysedFrames, 0);
    EXPECT_EQ(analyzer->blockFill, 100) << "the partial block was dropped before this call's frames";
    EXPECT_TRUE(analyzer->slowSpectrogram);
    EXPECT_TRUE(analyzer->zoomHistogram) << "two clicks cancel out";
}

// Clicks from another thread while audio flows: every block the audio thread
// sees is whole, and nothing is lost or out of range.
TEST(AnalyzerRequests, ClicksDuringAudioLeaveOnlyStatesABlockCouldProduce)
{
    auto analyzer = makeAnalyzer();
    AudioFeed feed(512);
    std::atomic<bool> stop{false};
    std::atomic<int> badStates{0};
    std::thread audio([&] {
        while (!stop.load()) {
            feed.run(*analyzer);
            analyzer->analysisGate.enter();
            const bool whole = analyzer->analysedFrames % Analyzer::kBlockFrames == 0 &&
                               analyzer->blockFill >= 0 && analyzer->blockFill < Analyzer::kBlockFrames &&
                               analyzer->blockFill % 512 == 0;
            analyzer->analysisGate.leave();
            if (!whole)
                badStates.fetch_add(1);
        }
    });
    for (int click = 0; click < 4000; ++click) {
        analyzer->request(click % 2 ? Analyzer::ToggleLogFrequencyAxis : Analyzer::RequestReset);
        std::this_thread::yield();
    }
    stop = true;
    audio.join();
    // A click that came while the last call ran waits for the next one.
    feed.run(*analyzer);
    EXPECT_EQ(badStates.load(), 0);
    EXPECT_FALSE(analyzer->logFrequencyAxis) << "an even number of toggles, each applied once";
}

} // namespace
