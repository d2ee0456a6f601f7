// The session of one display scale: built once per scale, each time against
// that scale's core, into a library of its own.
#include "analysis/Analyzer.h"
#include "analyze/AnalyzerSession.h"
#include "analyze/BlockPipeline.h"

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
        if (settings.blockHelpers > 0)
            pipeline = std::make_unique<BlockPipeline>(
                settings.blockHelpers, [this](BlockPipeline::Block& block) { workOn(block); },
                [this](BlockPipeline::Block& block) { accumulate(block); });
    }

    void feed(const float* interleaved, std::int64_t frames) override
    {
        if (pipeline)
            feedPipeline(interleaved, frames);
        else
            feedAsHost(interleaved, frames);
    }

    void finish() override
    {
        if (pipeline)
            pipeline->finish();
    }

    PanelValues measures() const override
    {
        PanelValues values;
        for (int i = 0; i < kPanelMeasureCount; ++i)
            values[static_cast<std::size_t>(i)] = analyzer->measures.*kPanelMeasures[i].value;
        return values;
    }

    std::int64_t completedBlocks() const override { return blocks; }
    std::int64_t pendingFrames() const override { return pipeline ? openFrames : analyzer->blockFill; }
    const PictureSet& pictures() const override { return shownPictures; }

private:
    // Each call reaches at most the next block boundary, so the pictures can
    // be rendered after every block as an editor refreshed that often would.
    void feedAsHost(const float* interleaved, std::int64_t frames)
    {
        while (frames > 0) {
            const auto n = static_cast<std::int32_t>(
                std::min<std::int64_t>(frames, Analyzer::kBlockFrames - analyzer->blockFill));
            float* channels[Analyzer::kChannels] = {hostBuffers[0],
                                                    analysedChannels > 1 ? hostBuffers[1] : nullptr};
            deinterleave(interleaved, n, hostBuffers, 0);
            // In place, as hosts often run effects: the copy to the outputs is then skipped.
            analyzer->processReplacing(channels, channels, n);
            if (analyzer->blockFill == 0)
                blockAnalysed();
            interleaved += static_cast<std::int64_t>(n) * fileChannels;
            frames -= n;
        }
    }

    // The blocks are gathered here rather than in the Analyzer, which then
    // only folds each one in: as it would on its own, since a file tool
    // never changes the channel count, the options or the rate midway.
    void feedPipeline(const float* interleaved, std::int64_t frames)
    {
        while (frames > 0) {
            BlockPipeline::Block& block = pipeline->openBlock();
            const auto n = static_cast<std::int32_t>(
                std::min<std::int64_t>(frames, Analyzer::kBlockFrames - openFrames));
            deinterleave(interleaved, n, block.samples, openFrames);
            openFrames += n;
            if (openFrames == Analyzer::kBlockFrames) {
                block.channels = analysedChannels;
                openFrames = 0;
                pipeline->submit();
            }
            interleaved += static_cast<std::int64_t>(n) * fileChannels;
            frames -= n;
        }
    }

    // Any thread: reads the block and the Analyzer's fixed window and kernels only.
    void workOn(BlockPipeline::Block& block) const
    {
        block.work.transformed = false;
        block.work.measure(*analyzer->kernels, block.samples, block.channels);
        if (block.work.needsTransform())
            block.work.transform(*analyzer->kernels, block.samples, block.channels, analyzer->hammingWindow);
    }

    void accumulate(BlockPipeline::Block& block)
    {
        analyzer->accumulateBlock(block.samples, block.channels, block.work);
        blockAnalysed();
    }

    // Strides the compiler knows let it move whole vectors for mono and stereo files.
    void deinterleave(const float* interleaved, std::int32_t frames, BlockWork::Samples& into,
                      std::int32_t at) const
    {
        float* left = into[0] + at;
        float* right = into[1] + at;
        if (fileChannels == 1) {
            std::copy(interleaved, interleaved + frames, left);
        } else if (fileChannels == 2) {
            for (std::int32_t i = 0; i < frames; ++i) {
                left[i] = interleaved[2 * i];
                right[i] = interleaved[2 * i + 1];
            }
        } else {
            for (std::int32_t i = 0; i < frames; ++i) {
                left[i] = interleaved[static_cast<std::int64_t>(i) * fileChannels];
                right[i] = interleaved[static_cast<std::int64_t>(i) * fileChannels + 1];
            }
        }
    }

    void blockAnalysed()
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
    BlockWork::Samples hostBuffers = {};
    PictureSet shownPictures;
    // Frames in the pipeline's open block.
    std::int32_t openFrames = 0;
    // Last, so that its helpers stop before the rest goes.
    std::unique_ptr<BlockPipeline> pipeline;
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
