// One file's run through the plug-in's Analyzer, fed the way a host feeds it.
//
// The Analyzer's layout depends on the display scale, so each scale's session
// lives in a shared library of its own (built from ScaledAnalyzerSession.cpp
// against that scale's core) that keeps its copy of the plug-in's code
// private. This header is all the rest of the program sees of them.
#pragma once

#include "editor/panelMeasures.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

// The editor's four display options, as set before the first frame.
struct DisplayOptions {
    bool zoomHistogram = true;
    bool logFrequencyAxis = false;
    bool slowLevelHistory = false;
    bool slowSpectrogram = false;
};

struct SessionSettings {
    float sampleRate = 44100.0f;
    // Channels of the interleaved frames that `feed` gets; the first one or
    // two are analysed, as a host with that many inputs would pass them.
    int fileChannels = 2;
    DisplayOptions options;
    // Render after every complete block, as an editor refreshed that often would.
    bool drawPictures = false;
    // Threads besides the feeding one that work on blocks; with none, every
    // block is analysed in the feeding thread's call, as in a host's process
    // call. The results are the same bits either way.
    int blockHelpers = 0;
};

// The nine measures in the order of the editor's displays.
using PanelValues = std::array<float, kPanelMeasureCount>;

// 24-bit blue-green-red pixels, rows bottom-up without padding.
struct Picture {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;
};

// Histogram, spectrum, level history, spectrogram.
constexpr int kPictureCount = 4;
using PictureSet = std::array<Picture, kPictureCount>;

class AnalyzerSession {
public:
    virtual ~AnalyzerSession() = default;

    // `frames` interleaved frames of `fileChannels` samples each. Blocks may
    // still be under way when it returns.
    virtual void feed(const float* interleaved, std::int64_t frames) = 0;
    // After the last feed: returns once every complete block is analysed.
    // The figures below count from then on.
    virtual void finish() = 0;
    virtual PanelValues measures() const = 0;
    // Complete 2048-frame blocks handed to the analysis so far, silent ones included.
    virtual std::int64_t completedBlocks() const = 0;
    // Frames gathered towards a block that is not complete; a host never
    // analyses them either.
    virtual std::int64_t pendingFrames() const = 0;
    // The pictures after the last complete block (black before the first).
    virtual const PictureSet& pictures() const = 0;
};

// Display scale 1 or 2; null for any other scale.
std::unique_ptr<AnalyzerSession> makeAnalyzerSession(int displayScale, const SessionSettings& settings);

// Each comes from the library built for its scale; call makeAnalyzerSession.
#define ORVANE_SESSION_EXPORT __attribute__((visibility("default")))
ORVANE_SESSION_EXPORT std::unique_ptr<AnalyzerSession> makeAnalyzerSessionScale1(const SessionSettings&);
ORVANE_SESSION_EXPORT std::unique_ptr<AnalyzerSession> makeAnalyzerSessionScale2(const SessionSettings&);
