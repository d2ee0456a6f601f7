// The built plug-ins as a host sees them: the editor opens in the host's
// window, refreshes from the audio it is fed, and shows exactly what the
// renderer makes of the same analysis.
#include "EditorFixture.h"

#include "testhost/PluginLibrary.h"

#include <cstring>
#include <string>

namespace {

constexpr std::int32_t kSignalFrames = 30 * Analyzer::kBlockFrames;

struct PluginBuild {
    const char* file;
    int scale;
};

class EditorEndToEndTest : public ::testing::TestWithParam<PluginBuild> {};

// Opens the editor, feeds the signal and reopens it after the pacing
// interval, so the window shows the final state.
Screenshot runInHostWindow(AEffect* effect, const TestSignal& signal)
{
    HostWindow window(effect);
    EXPECT_TRUE(window.opened());
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    signal.feed(effect, 512, [&] { window.pump(); });
    window.pumpFor(60);
    window.reopenEditor();
    window.pumpFor(60);
    return window.capture();
}

TEST_P(EditorEndToEndTest, EditorShowsTheRenderersPictures)
{
    const int scale = GetParam().scale;
    PluginLibrary library(GetParam().file);
    ASSERT_TRUE(library.loaded());
    AEffect* effect = library.instantiate(RecordingHost::callback);
    ASSERT_NE(effect, nullptr);
    EXPECT_EQ(effect->flags & effFlagsHasEditor, effFlagsHasEditor);
    const TestSignal signal(kSignalFrames);
    const Screenshot shot = runInHostWindow(effect, signal);
    dispatch(effect, effClose);
    ASSERT_EQ(shot.width, scale == 1 ? 516 : 1028);
    ASSERT_EQ(shot.height, 204 * scale);
    if (scale != 1)
        return; // the renderer in this program is the base build's

    // The same audio through an analyzer of our own, rendered once.
    auto reference = std::make_unique<Analyzer>(nullptr);
    reference->setSampleRate(44100.0f);
    signal.feed(reference->record(), 512);
    std::vector<std::uint8_t> pictures[4];
    for (auto& picture : pictures)
        picture.resize(kPictureBytes);
    reference->renderGraphs(pictures[0].data(), pictures[1].data(), pictures[2].data(), pictures[3].data());

    // Histogram and spectrum depend on the analysis alone; the histories on
    // how often the editor refreshed, so their content is not compared.
    for (int i = 0; i < 2; ++i) {
        const RECT& area = kPictureRects[i];
        int differing = 0;
        for (int y = 0; y < kPictureHeight; ++y)
            for (int x = 0; x < kPictureWidth; ++x) {
                const std::uint8_t* expected = &pictures[i][(kPictureHeight - 1 - y) * kPictureRowBytes + x * 3];
                const std::uint8_t* shown = shot.at(area.left + x, area.top + y);
                differing += std::memcmp(expected, shown, 3) != 0;
            }
        EXPECT_EQ(differing, 0) << "picture " << i + 1;
    }
}

INSTANTIATE_TEST_SUITE_P(BothBuilds, EditorEndToEndTest,
                         ::testing::Values(PluginBuild{"orvane.dll", 1}, PluginBuild{"orvane_x2.dll", 2}),
                         [](const auto& info) { return std::string(info.param.scale == 1 ? "base" : "x2"); });

} // namespace
