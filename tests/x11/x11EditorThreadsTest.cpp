// The host's audio thread keeps handing refreshes over while the host's
// user-interface thread opens, idles and closes the editor and the window's
// own timer thread draws: nothing may crash, hang or draw a stale snapshot.
#include "X11EditorFixture.h"

#include <atomic>

namespace {

using X11EditorThreadsTest = X11EditorFixture;

TEST_F(X11EditorThreadsTest, AudioRunsWhileTheEditorIsReopenedAndRefreshed)
{
    std::atomic<bool> stop{false};
    std::atomic<long> calls{0};
    std::thread audio([&] {
        std::vector<float> left(256), right(256);
        WhiteNoise samples(3);
        while (!stop) {
            for (std::size_t i = 0; i < left.size(); ++i) {
                left[i] = static_cast<float>(0.5 * samples.next());
                right[i] = static_cast<float>(0.25 * samples.next());
            }
            float* channels[2] = {left.data(), right.data()};
            effect->processReplacing(effect, channels, channels, static_cast<std::int32_t>(left.size()));
            ++calls;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    for (int round = 0; round < 100; ++round) {
        window->reopenEditor();
        window->idleFor(std::chrono::milliseconds(round % 10 == 0 ? 60 : 2));
    }
    stop = true;
    audio.join();
    EXPECT_GT(calls.load(), 0);
    EXPECT_TRUE(editor->isOpen());
    // With the audio stopped, an opening after the pacing interval shows the
    // analysis as it stands.
    window->idleFor(std::chrono::milliseconds(60));
    window->reopenEditor();
    EXPECT_GT(editor->displayedValue(0), 0.0f);
    EXPECT_EQ(editor->displayedValue(0), analyzer->measures.analysedSeconds);
}

} // namespace
