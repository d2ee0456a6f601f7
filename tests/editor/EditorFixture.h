// An analyzer with its editor in this process, the bitmaps coming from the
// built plug-in, its editor open in a host window on the Xvfb display, and
// real mouse clicks through the platform's input queue.
#pragma once

#include "analysis/Analyzer.h"
#include "editor/AnalyzerEditor.h"
#include "gui/Frame.h"
#include "host/entryPoints.h"
#include "host/opcodes.h"
#include "testhost/HostWindow.h"
#include "tests/support/RecordingHost.h"
#include "testhost/WhiteNoise.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

// The editor's layout at display scale 1, in its own client coordinates.
inline constexpr POINT kPictureCentres[4] = {{208, 52}, {412, 52}, {208, 152}, {412, 152}};
inline constexpr POINT kResetCentre = {55, 192};
inline constexpr POINT kHelpCentre = {106, 192};
inline constexpr RECT kPictureRects[4] = {
    {108, 4, 308, 100}, {312, 4, 512, 100}, {108, 104, 308, 200}, {312, 104, 512, 200}};

// Noise and a sine in stereo, fed in host-sized calls.
class TestSignal {
public:
    explicit TestSignal(std::int32_t frames) : left(frames), right(frames)
    {
        WhiteNoise noise(11);
        for (std::int32_t i = 0; i < frames; ++i) {
            left[i] = static_cast<float>(0.3 * noise.next() + 0.2 * std::sin(i * 0.05));
            right[i] = static_cast<float>(0.1 * noise.next());
        }
    }
    // Calls `between` after each call of `callFrames` frames.
    void feed(AEffect* effect, std::int32_t callFrames, const std::function<void()>& between = {}) const
    {
        std::vector<float> outLeft(callFrames), outRight(callFrames);
        for (std::size_t start = 0; start < left.size(); start += callFrames) {
            const auto n = static_cast<std::int32_t>(std::min<std::size_t>(callFrames, left.size() - start));
            float* inputs[2] = {const_cast<float*>(left.data()) + start, const_cast<float*>(right.data()) + start};
            float* outputs[2] = {outLeft.data(), outRight.data()};
            effect->processReplacing(effect, inputs, outputs, n);
            if (between)
                between();
        }
    }

private:
    std::vector<float> left;
    std::vector<float> right;
};

class EditorFixture : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // The bitmaps are the plug-in's own resources.
        plugin = LoadLibraryA("orvane.dll");
        moduleInstance = plugin;
    }
    static void TearDownTestSuite()
    {
        moduleInstance = nullptr;
        FreeLibrary(plugin);
    }
    void SetUp() override
    {
        ASSERT_NE(plugin, nullptr);
        analyzer = std::make_unique<Analyzer>(RecordingHost::callback);
        analyzer->setSampleRate(44100.0f);
        editor = static_cast<AnalyzerEditor*>(analyzer->getEditor());
        ASSERT_NE(editor, nullptr);
    }
    void TearDown() override
    {
        window.reset();
        analyzer.reset();
    }
    void openWindow()
    {
        window = std::make_unique<HostWindow>(analyzer->record());
        ASSERT_TRUE(window->opened());
    }
    // A press and release at a point of the editor, delivered as real input
    // from a second thread while this one serves the window: the pressed
    // control polls the button state, which only real input sets.
    void click(POINT where)
    {
        const POINT screen = window->toScreen(where.x, where.y);
        SetCursorPos(screen.x, screen.y);
        // The move reaches the display before the press, as a hand's would.
        window->pumpFor(kClickSettleMs);
        std::atomic<bool> released{false};
        std::thread input([&] {
            sendButton(MOUSEEVENTF_LEFTDOWN);
            Sleep(kHoldMs);
            sendButton(MOUSEEVENTF_LEFTUP);
            released = true;
        });
        while (!released)
            window->pumpFor(1);
        input.join();
        window->pumpFor(kClickSettleMs);
    }
    static void sendButton(DWORD flags)
    {
        INPUT input = {};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = flags;
        SendInput(1, &input, sizeof(INPUT));
    }

    static constexpr DWORD kHoldMs = 80;
    static constexpr DWORD kClickSettleMs = 60;
    static inline HMODULE plugin = nullptr;
    std::unique_ptr<Analyzer> analyzer;
    AnalyzerEditor* editor = nullptr;
    std::unique_ptr<HostWindow> window;
};
