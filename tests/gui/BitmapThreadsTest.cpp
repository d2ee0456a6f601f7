// The user-interface thread's paint and the audio thread's refresh may make
// the first transparent draw of one bitmap at the same moment. Several threads
// do that here, each on its own canvas, over many fresh bitmaps.
#include "gui/Bitmap.h"
#include "gui/win32/Win32DrawContext.h"
#include "tests/gui/Canvas.h"
#include "tests/gui/testBitmaps.h"
#include "tests/support/GdiObjects.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <thread>
#include <vector>

namespace {

constexpr int kThreads = 4;
constexpr int kRounds = 100;
constexpr std::int32_t kCanvasSide = 16;
constexpr Color kScreen{10, 20, 30, 0};
const Rect kDestination{2, 3, 10, 9};
const Point kNoOffset{0, 0};
// The image, its one mask and the device context that holds the image.
constexpr std::int64_t kObjectsPerBitmap = 3;

// What one transparent draw of the pattern looks like on a fresh canvas.
std::vector<std::uint32_t> expectedDraw()
{
    Canvas canvas(kCanvasSide, kCanvasSide, kScreen);
    Win32DrawContext context(nullptr, canvas.get(), nullptr);
    auto* bitmap = new Bitmap(PATTERN_BITMAP);
    bitmap->drawTransparent(context, kDestination, kNoOffset);
    bitmap->release();
    return canvas.snapshot();
}

// Each thread spins at the gate until all have arrived, so the draws overlap.
void drawAtGate(Bitmap& bitmap, Canvas& canvas, std::atomic<int>& arrived)
{
    Win32DrawContext context(nullptr, canvas.get(), nullptr);
    arrived.fetch_add(1);
    while (arrived.load() < kThreads) {
        std::this_thread::yield();
    }
    bitmap.drawTransparent(context, kDestination, kNoOffset);
}

TEST(BitmapThreadsTest, FirstTransparentDrawsMeetWithoutLeaksOrWrongPixels)
{
    const std::vector<std::uint32_t> drawn = expectedDraw();
    const std::vector<std::uint32_t> untouched = Canvas(kCanvasSide, kCanvasSide, kScreen).snapshot();
    ASSERT_NE(drawn, untouched);
    std::vector<std::unique_ptr<Canvas>> canvases;
    for (int thread = 0; thread < kThreads; ++thread) {
        canvases.push_back(std::make_unique<Canvas>(kCanvasSide, kCanvasSide, kScreen));
    }
    const std::int64_t before = liveGdiObjects();
    int draws = 0;
    int roundsWithoutDraw = 0;
    for (int round = 0; round < kRounds; ++round) {
        auto* bitmap = new Bitmap(PATTERN_BITMAP);
        std::atomic<int> arrived{0};
        std::vector<std::thread> threads;
        for (int thread = 0; thread < kThreads; ++thread) {
            canvases[thread]->fill(kScreen);
            threads.emplace_back(drawAtGate, std::ref(*bitmap), std::ref(*canvases[thread]),
                                 std::ref(arrived));
        }
        for (std::thread& thread : threads) {
            thread.join();
        }
        // Exactly one mask survives, whoever made it.
        ASSERT_EQ(liveGdiObjects(), before + kObjectsPerBitmap) << "round " << round;
        int drew = 0;
        for (const auto& canvas : canvases) {
            // A draw that found the image busy in another thread leaves its canvas alone.
            const std::vector<std::uint32_t> pixels = canvas->snapshot();
            ASSERT_TRUE(pixels == drawn || pixels == untouched) << "round " << round;
            drew += pixels == drawn;
        }
        draws += drew;
        roundsWithoutDraw += drew == 0;
        bitmap->release();
        ASSERT_EQ(liveGdiObjects(), before) << "round " << round;
    }
    // Busy images skip many draws, but nearly every round has one; without
    // them the pixel checks above would have checked nothing.
    EXPECT_GT(draws, kRounds / 2);
    std::cout << draws << " of " << kThreads * kRounds << " draws drew; " << roundsWithoutDraw << " of "
              << kRounds << " rounds drew nothing\n";
}

} // namespace
