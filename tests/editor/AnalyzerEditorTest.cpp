// The analyzer's editor in this process: layout, open and close, the paced
// refresh, and what its controls do when clicked with the real mouse.
#include "EditorFixture.h"

#include "editor/ImageBitmap.h"
#include "gui/MomentaryButton.h"
#include "testhost/PluginLibrary.h"
#include "tests/support/GdiObjects.h"

#include <mmsystem.h>

#include <cstring>

namespace {

using AnalyzerEditorTest = EditorFixture;

TEST_F(AnalyzerEditorTest, AnnouncesItselfAndItsRectangle)
{
    EXPECT_EQ(analyzer->record()->flags, 0x19);
    ERect* rect = nullptr;
    EXPECT_EQ(editor->getRect(&rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 204);
    EXPECT_EQ(rect->right, 516);
}

TEST_F(AnalyzerEditorTest, OpensIntoTheHostWindowAtTheEditorsSize)
{
    openWindow();
    HWND child = window->editorWindow();
    ASSERT_NE(child, nullptr);
    RECT client = {};
    GetClientRect(child, &client);
    EXPECT_EQ(client.right, 516);
    EXPECT_EQ(client.bottom, 204);
    EXPECT_TRUE(editor->isOpen());
    EXPECT_EQ(editor->getFrame()->childCount(), 15) << "nine displays, reset, four pictures, help";
    window->closeEditor();
    EXPECT_FALSE(editor->isOpen());
    EXPECT_EQ(editor->getFrame(), nullptr);
    EXPECT_EQ(window->editorWindow(), nullptr);
}

// The four pictures are the editor's for its whole life, whatever the host
// does with the window; the bitmaps of each opening are released with it.
TEST_F(AnalyzerEditorTest, OpenAndCloseAgainAndAgainKeepPicturesAndLeakNothing)
{
    openWindow();
    ImageBitmap* pictures[4];
    std::uint8_t* pixels[4];
    for (int i = 0; i < 4; ++i) {
        pictures[i] = editor->picture(i);
        ASSERT_NE(pictures[i], nullptr);
        pixels[i] = pictures[i]->getPixels();
        ASSERT_NE(pixels[i], nullptr);
    }
    window->reopenEditor();
    const std::int64_t start = liveGdiObjects();
    for (int round = 0; round < 50; ++round)
        window->reopenEditor();
    EXPECT_EQ(liveGdiObjects(), start);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(editor->picture(i), pictures[i]);
        EXPECT_EQ(editor->picture(i)->getPixels(), pixels[i]);
    }
}

// Reports as the controls make them: tag, value, and what must follow.
TEST_F(AnalyzerEditorTest, ReportsFromTheControls)
{
    openWindow();
    TestSignal(3 * Analyzer::kBlockFrames).feed(analyzer->record(), 512);
    ASSERT_GT(analyzer->analysedFrames, 0);
    auto* probe = new MomentaryButton(Rect{0, 0, 1, 1}, editor, 0, 0, nullptr, Point{});
    auto report = [&](std::int32_t tag, float value) {
        probe->setTag(tag);
        probe->setValue(value);
        editor->valueChanged(nullptr, probe);
    };

    report(1, 1.0f);
    EXPECT_TRUE(analyzer->zoomHistogram) << "a press changes nothing";
    report(1, 0.0f);
    EXPECT_FALSE(analyzer->zoomHistogram) << "the release flips";
    report(2, 0.0f);
    report(3, 0.0f);
    report(4, 0.0f);
    EXPECT_TRUE(analyzer->logFrequencyAxis);
    EXPECT_TRUE(analyzer->slowLevelHistory);
    EXPECT_TRUE(analyzer->slowSpectrogram);
    report(4, 0.5f);
    EXPECT_TRUE(analyzer->slowSpectrogram) << "only exactly 0 flips";

    report(5, 1.0f);
    EXPECT_TRUE(editor->isOverlayShown());
    report(5, 0.999f);
    EXPECT_FALSE(editor->isOverlayShown()) << "only exactly 1 shows the overlay";

    report(9, 0.0f);
    EXPECT_GT(analyzer->analysedFrames, 0) << "unknown tags do nothing";
    report(0, 1.0f);
    EXPECT_EQ(analyzer->analysedFrames, 0) << "reset on any value";
    EXPECT_FALSE(analyzer->zoomHistogram) << "a reset keeps the options";
    probe->release();
}

// The audio thread only hands refreshes over; the host's idle call draws them.
TEST_F(AnalyzerEditorTest, RefreshesAtMostEvery50Milliseconds)
{
    openWindow();
    Sleep(60);
    TestSignal(Analyzer::kBlockFrames).feed(analyzer->record(), Analyzer::kBlockFrames);
    const float seconds = analyzer->measures.analysedSeconds;
    ASSERT_GT(seconds, 0.0f);
    EXPECT_EQ(editor->displayedValue(0), 0.0f) << "nothing is drawn on the audio thread";
    dispatch(analyzer->record(), effEditIdle);
    EXPECT_EQ(editor->displayedValue(0), seconds) << "the block after a pause refreshes";

    const DWORD start = timeGetTime();
    TestSignal(Analyzer::kBlockFrames).feed(analyzer->record(), Analyzer::kBlockFrames);
    dispatch(analyzer->record(), effEditIdle);
    if (timeGetTime() - start < 50) {
        EXPECT_EQ(editor->displayedValue(0), seconds) << "a block right after a refresh does not";
    }

    window->closeEditor();
    Sleep(60);
    const std::uint8_t* history = editor->picture(2)->getPixels();
    const std::vector<std::uint8_t> before(history, history + kPictureBytes);
    TestSignal(Analyzer::kBlockFrames).feed(analyzer->record(), Analyzer::kBlockFrames);
    dispatch(analyzer->record(), effEditIdle);
    EXPECT_TRUE(std::equal(before.begin(), before.end(), history)) << "closed, nothing is rendered";
}

// The window's own timer draws what was handed over, for hosts that never idle.
TEST_F(AnalyzerEditorTest, TheWindowsTimerDrawsTheRefresh)
{
    openWindow();
    Sleep(60);
    TestSignal(Analyzer::kBlockFrames).feed(analyzer->record(), Analyzer::kBlockFrames);
    window->pumpFor(60);
    EXPECT_EQ(editor->displayedValue(0), analyzer->measures.analysedSeconds);
}

// Refreshes are drawn on the user-interface thread whenever it gets to them,
// yet every picture equals what the renderer makes at the moments the audio
// thread handed them over: while one waits to be drawn, no other is handed
// over and the history sums and counters stay in the analysis for the next.
TEST_F(AnalyzerEditorTest, DrawnPicturesEqualTheRenderersAtTheHandOverMoments)
{
    openWindow();
    const TestSignal signal(Analyzer::kBlockFrames);
    // Whether the user interface draws after each block; every block comes
    // after a pause, so each one finds a refresh due.
    const bool drawnAfter[] = {true, true, false, false, false, true, true, false, true, false,
                               false, false, false, false, true, true, true, false, false, true};
    std::vector<bool> handedOver;
    bool pending = false;
    for (const bool draw : drawnAfter) {
        Sleep(60);
        const std::int32_t fastBlocks = analyzer->fastLevelBlocks;
        signal.feed(analyzer->record(), Analyzer::kBlockFrames);
        handedOver.push_back(!pending);
        if (pending) {
            EXPECT_EQ(analyzer->fastLevelBlocks, fastBlocks + 1) << "held back while one is pending";
        }
        pending = true;
        if (draw) {
            dispatch(analyzer->record(), effEditIdle);
            pending = false;
        }
    }

    // The same blocks through an analyzer of our own, rendered at those moments.
    auto reference = std::make_unique<Analyzer>(nullptr, nullptr);
    reference->setSampleRate(44100.0f);
    std::vector<std::uint8_t> pictures[4];
    for (auto& picture : pictures)
        picture.resize(kPictureBytes);
    for (const bool handOver : handedOver) {
        signal.feed(reference->record(), Analyzer::kBlockFrames);
        if (handOver)
            reference->renderGraphs(pictures[0].data(), pictures[1].data(), pictures[2].data(),
                                    pictures[3].data());
    }
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(std::memcmp(editor->picture(i)->getPixels(), pictures[i].data(), kPictureBytes), 0)
            << "picture " << i + 1;
    EXPECT_EQ(editor->displayedValue(1), reference->measures.peakDb);
}

TEST_F(AnalyzerEditorTest, ClickingAPictureFlipsItsOptionOncePerClick)
{
    openWindow();
    bool* const options[4] = {&analyzer->zoomHistogram, &analyzer->logFrequencyAxis,
                              &analyzer->slowLevelHistory, &analyzer->slowSpectrogram};
    for (int i = 0; i < 4; ++i) {
        const bool initial = *options[i];
        click(kPictureCentres[i]);
        EXPECT_EQ(*options[i], !initial) << "picture " << i + 1;
        click(kPictureCentres[i]);
        EXPECT_EQ(*options[i], initial) << "picture " << i + 1;
    }
}

TEST_F(AnalyzerEditorTest, ResetButtonStartsTheMeasurementAgain)
{
    openWindow();
    Sleep(60);
    TestSignal(4 * Analyzer::kBlockFrames).feed(analyzer->record(), 512);
    dispatch(analyzer->record(), effEditIdle);
    ASSERT_GT(editor->displayedValue(0), 0.0f);
    click(kResetCentre);
    EXPECT_EQ(analyzer->analysedFrames, 0);
    Sleep(60);
    TestSignal(100).feed(analyzer->record(), 100);
    window->reopenEditor();
    for (int k = 0; k < AnalyzerEditor::kDisplayCount; ++k)
        EXPECT_EQ(editor->displayedValue(k), 0.0f) << "display " << k;
}

// The help overlay takes every click while shown, and the click that hides
// it switches nothing underneath.
TEST_F(AnalyzerEditorTest, HelpOverlayShowsAndHidesWithoutSideEffects)
{
    openWindow();
    const Screenshot before = window->capture();
    click(kHelpCentre);
    ASSERT_TRUE(editor->isOverlayShown());
    const Screenshot shown = window->capture();
    EXPECT_NE(shown.pixels, before.pixels) << "the overlay covers the editor";

    const bool zoom = analyzer->zoomHistogram;
    click(kPictureCentres[0]);
    EXPECT_FALSE(editor->isOverlayShown());
    EXPECT_EQ(analyzer->zoomHistogram, zoom);
    EXPECT_EQ(window->capture().pixels, before.pixels) << "the whole editor is drawn again";
}

} // namespace
