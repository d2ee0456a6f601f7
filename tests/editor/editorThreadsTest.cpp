// The host's audio thread runs the paced refresh while the user-interface
// thread opens, closes and clicks: neither may crash, hang or leak.
#include "EditorFixture.h"

#include "tests/support/GdiObjects.h"

#include <atomic>
#include <thread>

namespace {

using EditorThreadsTest = EditorFixture;

class AudioThread {
public:
    explicit AudioThread(AEffect* effect) : worker([this, effect] { run(effect); }) {}
    ~AudioThread()
    {
        stop = true;
        worker.join();
    }
    long blocksRun() const { return calls.load() * kCallFrames / Analyzer::kBlockFrames; }

private:
    static constexpr std::int32_t kCallFrames = 512;
    void run(AEffect* effect)
    {
        const TestSignal signal(Analyzer::kBlockFrames);
        while (!stop) {
            signal.feed(effect, kCallFrames);
            calls += Analyzer::kBlockFrames / kCallFrames;
        }
    }
    std::atomic<bool> stop{false};
    std::atomic<long> calls{0};
    std::thread worker;
};

TEST_F(EditorThreadsTest, OpenAndCloseWhileAudioRefreshesTheEditor)
{
    openWindow();
    const std::int64_t start = liveGdiObjects();
    long blocks;
    {
        AudioThread audio(analyzer->record());
        for (int round = 0; round < 500; ++round) {
            window->reopenEditor();
            window->pump();
        }
        blocks = audio.blocksRun();
    }
    EXPECT_GT(blocks, 0);
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(liveGdiObjects(), start) << "every opening's objects were deleted";
}

TEST_F(EditorThreadsTest, ClicksOnPicturesWhileAudioRuns)
{
    openWindow();
    std::int64_t start = 0;
    const bool zoom = analyzer->zoomHistogram;
    {
        AudioThread audio(analyzer->record());
        for (int round = 0; round < 500; ++round) {
            window->reopenEditor();
            if (round % 25 == 0)
                click(kPictureCentres[0]);
            // A refresh drawn during a press takes a second device context of
            // the window while the press holds one; Wine caches those once made.
            if (round == 0)
                start = liveGdiObjects();
        }
    }
    window->pumpFor(20);
    // A click that came while the last call ran waits for the next one.
    TestSignal(512).feed(analyzer->record(), 512);
    EXPECT_EQ(analyzer->zoomHistogram, zoom) << "an even number of clicks, each taken once";
    EXPECT_EQ(liveGdiObjects(), start);
}

} // namespace
