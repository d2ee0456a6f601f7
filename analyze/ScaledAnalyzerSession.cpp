// The session of one display scale: built once per scale, each time against
// that scale's core, into a library of its own.
#include "analysis/Analyzer.h"
#include "analyze/AnalyzerSession.h"

#include <algorithm>

namespace {

class ScaledAnalyzerSession : public AnalyzerSession {
public:
    explicit ScaledAnalyzerSession(const SessionSettings& settings)
        : fileChannels(settings.fileChannels), analysedChannels(std::min(settings.fileChannels, 2)),
          drawPictures(settings.drawPictures)
    {
        // No host callback and no debug log: nothing outside this object is touched.
        analyzer->setSampleRate(settings.sampleRate);
        analyzer->zoomHistogram = settings.options.zoomHistogram;
        analyzer->logFrequencyAxis = settings.options.logFrequencyAxis;
        analyzer->slowLevelHistory = settings.options.slowLevelHistory;
        analyzer->slowSpectrogram = settings.options.slowSpectrogram;
        for (Picture& picture : shownPictures) {
            picture.width = kPictureWidth;
            picture.height = kPictureHeight;
            picture.pixels.assign(kPictureBytes, 0);
        }
    }

    // Each call reaches at most the next block boundary, so the pictures can
    // be rendered after every block as an editor refreshed that often would.
    void feed(const float* interleaved, std::int64_t frames) override
    {
        while (frames > 0) {
            const auto n = static_cast<std::int32_t>(
                std::min<std::int64_t>(frames, Analyzer::kBlockFrames - analyzer->blockFill));
            float* channels[Analyzer::kChannels] = {left, analysedChannels > 1 ? right : nullptr};
            deinterleave(interleaved, n);
            // In place, as hosts often run effects: the copy to the outputs is then skipped.
            analyzer->processReplacing(channels, channels, n);
            if (analyzer->blockFill == 0)
                blockCompleted();
            interleaved += static_cast<std::int64_t>(n) * fileChannels;
            frames -= n;
        }
    }

    PanelValues measures() const override
    {
        PanelValues values;
        for (int i = 0; i < kPanelMeasureCount; ++i)
            values[static_cast<std::size_t>(i)] = analyzer->measures.*kPanelMeasures[i].value;
        return values;
    }

    std::int64_t completedBlocks() const override { return blocks; }
    std::int64_t pendingFrames() const override { return analyzer->blockFill; }
    const PictureSet& pictures() const override { return shownPictures; }

private:
    void deinterleave(const float* interleaved, std::int32_t frames)
    {
        for (std::int32_t i = 0; i < frames; ++i) {
            const float* frame = interleaved + static_cast<std::int64_t>(i) * fileChannels;
            left[i] = frame[0];
            if (analysedChannels > 1)
                right[i] = frame[1];
        }
    }

    void blockCompleted()
    {
        ++blocks;
        if (drawPictures)
            analyzer->renderGraphs(shownPictures[0].pixels.data(), shownPictures[1].pixels.data(),
                                   shownPictures[2].pixels.data(), shownPictures[3].pixels.data());
    }

    const int fileChannels;
    const int analysedChannels;
    const bool drawPictures;
    std::unique_ptr<Analyzer> analyzer = std::make_unique<Analyzer>(nullptr, nullptr);
    std::int64_t blocks = 0;
    float left[Analyzer::kBlockFrames] = {};
    float right[Analyzer::kBlockFrames] = {};
    PictureSet shownPictures;
};

} // namespace

#if DISPLAY_SCALE == 1
std::unique_ptr<AnalyzerSession> makeAnalyzerSessionScale1(const SessionSettings& settings)
#else
std::unique_ptr<AnalyzerSession> makeAnalyzerSessionScale2(const SessionSettings& settings)
#endif
{
    return std::make_unique<ScaledAnalyzerSession>(settings);
}
