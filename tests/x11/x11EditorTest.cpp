// The analyzer's editor in real X11 windows: what the host's window shows,
// real presses, and what opening and closing leaves in the X server.
#include "X11EditorFixture.h"

#include "editor/ImageBitmap.h"
#include "gui/Frame.h"

#include <X11/extensions/XRes.h>

#include <cstring>

#include <unistd.h>

namespace {

using X11EditorTest = X11EditorFixture;

// The pictures on screen are the renderer's pixel buffers, pixel for pixel.
// The last refresh may still be on its way to the screen on a loaded
// machine, so the comparison is repeated for a while before it counts.
TEST_F(X11EditorTest, PicturesOnScreenEqualTheRenderersBuffers)
{
    for (int block = 0; block < 12; ++block) {
        feedBlockAfterPause();
        window->idleFor(std::chrono::milliseconds(25));
    }
    const Rect areas[AnalyzerEditor::kPictureCount] = {
        {108, 4, 308, 100}, {312, 4, 512, 100}, {108, 104, 308, 200}, {312, 104, 512, 200}};
    const Screenshot first = window->capture();
    ASSERT_EQ(first.width, 516);
    ASSERT_EQ(first.height, 204);
    int differing[AnalyzerEditor::kPictureCount] = {};
    auto compare = [&] {
        const Screenshot shot = window->capture();
        int total = 0;
        for (int i = 0; i < AnalyzerEditor::kPictureCount; ++i) {
            const std::uint8_t* picture = editor->picture(i)->getPixels();
            differing[i] = 0;
            for (int y = 0; y < kPictureHeight; ++y)
                for (int x = 0; x < kPictureWidth; ++x)
                    differing[i] += std::memcmp(&picture[(kPictureHeight - 1 - y) * kPictureRowBytes + x * 3],
                                                shot.at(areas[i].left + x, areas[i].top + y), 3) != 0;
            total += differing[i];
        }
        return total;
    };
    for (int attempt = 0; attempt < 40 && compare() != 0; ++attempt)
        window->idleFor(std::chrono::milliseconds(50));
    for (int i = 0; i < AnalyzerEditor::kPictureCount; ++i)
        EXPECT_EQ(differing[i], 0) << "picture " << i + 1;
    EXPECT_GT(analyzer->analysedFrames, 0);
}

// A host may destroy its window before it closes the editor: the X errors
// this can cause must not end the host, and the editor stops drawing.
TEST_F(X11EditorTest, HostWindowDestroyedFirstEndsNothing)
{
    XDestroyWindow(window->display(), window->handle());
    XSync(window->display(), False);
    for (int block = 0; block < 3; ++block) {
        feedBlockAfterPause();
        window->idleFor(std::chrono::milliseconds(25));
    }
    EXPECT_FALSE(editor->getFrame()->isOpen());
    EXPECT_EQ(editor->getFrame()->getWindow(), nullptr);
    window->closeEditor();
    EXPECT_FALSE(editor->isOpen());
}

TEST_F(X11EditorTest, RealPressOnAPictureFlipsItsOption)
{
    const bool zoom = analyzer->zoomHistogram;
    click(Point{208, 52});
    EXPECT_EQ(analyzer->zoomHistogram, !zoom);
    click(Point{208, 52});
    EXPECT_EQ(analyzer->zoomHistogram, zoom);
}

// Every opening has a connection of its own; closing gives back the
// connection and all it made (window, graphics context, cursors).
TEST_F(X11EditorTest, OpeningAndClosingFiveHundredTimesLeavesNothingInTheServer)
{
    Display* display = window->display();
    const XID hostResource = window->handle();
    // Other tests on the same display come and go: count this process's connections only.
    auto serverClients = [display] {
        XResClientIdSpec everyClient = {0, XRES_CLIENT_ID_PID_MASK};
        long count = 0;
        XResClientIdValue* ids = nullptr;
        XResQueryClientIds(display, 1, &everyClient, &count, &ids);
        int own = 0;
        for (long i = 0; i < count; ++i)
            own += XResGetClientPid(&ids[i]) == getpid();
        XResClientIdsDestroy(count, ids);
        return own;
    };
    auto hostResources = [display, hostResource] {
        int types = 0;
        XResType* resources = nullptr;
        XResQueryClientResources(display, hostResource, &types, &resources);
        int total = 0;
        for (int i = 0; i < types; ++i)
            total += static_cast<int>(resources[i].count);
        XFree(resources);
        return total;
    };
    // The server notices a closed connection a moment after it is closed.
    auto settledClients = [&](int expected) {
        for (int tries = 0; tries < 100 && serverClients() != expected; ++tries)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return serverClients();
    };
    const int clientsBefore = serverClients();
    ASSERT_GE(clientsBefore, 2) << "the host window's connection and the open editor's";
    const int resourcesBefore = hostResources();
    for (int round = 0; round < 500; ++round) {
        window->reopenEditor();
        window->idle();
    }
    EXPECT_EQ(settledClients(clientsBefore), clientsBefore) << "one connection for the open editor";
    window->closeEditor();
    EXPECT_EQ(settledClients(clientsBefore - 1), clientsBefore - 1) << "the editor's own connection is gone";
    EXPECT_EQ(hostResources(), resourcesBefore);
}

} // namespace
