// An effect made in this process through the plug-in's entry point, its
// editor open in a host window on the X display the test command starts, and
// real presses through XTest from a connection of the test's own.
#pragma once

// gtest first: Xlib defines macros (None, Bool) that gtest uses as names.
#include <gtest/gtest.h>

#include "analysis/Analyzer.h"
#include "editor/AnalyzerEditor.h"
#include "gui/Geometry.h"
#include "host/entryPoints.h"
#include "host/opcodes.h"
#include "testhost/PluginLibrary.h"
#include "testhost/WhiteNoise.h"
#include "testhost/x11/X11HostWindow.h"

#include <X11/extensions/XTest.h>


#include <chrono>
#include <cmath>
#include <memory>
#include <thread>
#include <vector>

class X11EditorFixture : public ::testing::Test {
protected:
    static VstIntPtr ORVANE_CDECL host(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float)
    {
        return opcode == audioMasterVersion ? 2400 : 0;
    }

    void SetUp() override
    {
        effect = pluginMain(host);
        ASSERT_NE(effect, nullptr);
        analyzer = static_cast<Analyzer*>(PluginEffect::fromRecord(effect));
        editor = static_cast<AnalyzerEditor*>(analyzer->getEditor());
        dispatch(effect, effSetSampleRate, 0, 0, nullptr, 44100.0f);
        window = std::make_unique<X11HostWindow>(effect);
        ASSERT_TRUE(window->opened());
    }
    void TearDown() override
    {
        window.reset();
        if (effect)
            dispatch(effect, effClose);
    }

    // One block of noise and a sine, after a pause longer than the pacing
    // interval, so that the block hands a refresh over.
    void feedBlockAfterPause()
    {
        std::this_thread::sleep_for(std::chrono::milliseconds(60));
        std::vector<float> left(Analyzer::kBlockFrames), right(Analyzer::kBlockFrames);
        for (int i = 0; i < Analyzer::kBlockFrames; ++i) {
            left[i] = static_cast<float>(0.3 * noise.next() + 0.2 * std::sin(0.05 * (fed + i)));
            right[i] = static_cast<float>(0.1 * noise.next());
        }
        fed += Analyzer::kBlockFrames;
        float* channels[2] = {left.data(), right.data()};
        effect->processReplacing(effect, channels, channels, Analyzer::kBlockFrames);
    }

    // Presses the left button over `where` of the editor and lets it go
    // after a while, from a thread of its own, as a hand would, while this
    // thread serves the host's idle calls (in which the press is tracked).
    void click(Point where)
    {
        Display* input = XOpenDisplay(nullptr);
        ASSERT_NE(input, nullptr);
        int x = 0, y = 0;
        Window child;
        XTranslateCoordinates(window->display(), window->editorWindow(), DefaultRootWindow(window->display()),
                              where.x, where.y, &x, &y, &child);
        XTestFakeMotionEvent(input, DefaultScreen(input), x, y, CurrentTime);
        XSync(input, False);
        window->idleFor(std::chrono::milliseconds(30));
        std::thread hand([input] {
            XTestFakeButtonEvent(input, 1, True, CurrentTime);
            XSync(input, False);
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
            XTestFakeButtonEvent(input, 1, False, CurrentTime);
            XSync(input, False);
        });
        window->idleFor(std::chrono::milliseconds(200));
        hand.join();
        window->idleFor(std::chrono::milliseconds(30));
        XCloseDisplay(input);
    }

    AEffect* effect = nullptr;
    Analyzer* analyzer = nullptr;
    AnalyzerEditor* editor = nullptr;
    std::unique_ptr<X11HostWindow> window;
    WhiteNoise noise{17};
    long fed = 0;
};
