#include "analyze/fileAnalysis.h"

#include "analyze/AudioFile.h"
#include "analyze/ChunkRing.h"
#include "analyze/TruePeakMeter.h"
#include "analyze/plots/TimelineCollector.h"
#include "analyze/pngFiles.h"

#include <algorithm>
#include <cmath>
#include <deque>
#include <optional>

namespace {

void readThrough(AudioFile& file, std::vector<ChunkRing::Consumer> consumers, bool ownThreads,
                 const ProgressReport& progress)
{
    ChunkRing ring(file.channels(), std::move(consumers), ownThreads);
    for (;;) {
        float* chunk = ring.nextChunk();
        const std::int64_t frames = file.read(chunk, ChunkRing::kChunkFrames);
        if (frames == 0)
            break;
        ring.publish(frames);
        progress(file.progress());
    }
    ring.finish();
}

// A file's loudness meters, each taking the file's chunks as a consumer of
// its own. They hold on to themselves in the consumers, so they stay put.
class LoudnessMeters {
public:
    LoudnessMeters(const AudioFile& file, std::vector<ChunkRing::Consumer>& consumers,
                   TimelineCollector* timeline)
        : loudness(file.channels(), file.sampleRate())
    {
        if (timeline)
            loudness.shortTermListener = [timeline](std::int64_t end, double lufs) {
                timeline->addShortTermLoudness(end, lufs);
            };
        consumers.push_back([this](const float* frames, std::int64_t count) { loudness.add(frames, count); });
        for (int channel = 0; channel < file.channels(); ++channel) {
            TruePeakMeter& meter = truePeaks.emplace_back(file.channels(), file.sampleRate(), channel);
            consumers.push_back([&meter, timeline, channel, channels = file.channels()](const float* frames,
                                                                                        std::int64_t count) {
                // In short stretches for the plots, which show where the overs are.
                const std::int64_t stretch = timeline ? TimelineCollector::kTruePeakFrames : count;
                for (std::int64_t done = 0; done < count; done += stretch) {
                    const std::int64_t n = std::min(stretch, count - done);
                    meter.add(frames + done * channels, n);
                    if (timeline)
                        timeline->addTruePeak(channel, n, meter.lastTruePeakDb());
                }
            });
        }
    }
    LoudnessMeters(const LoudnessMeters&) = delete;
    LoudnessMeters& operator=(const LoudnessMeters&) = delete;

    const std::string& error() const { return loudness.error(); }

    Loudness result() const
    {
        double truePeak = -HUGE_VAL;
        for (const TruePeakMeter& meter : truePeaks)
            truePeak = std::max(truePeak, meter.truePeakDb());
        return Loudness{loudness.figures(), truePeak};
    }

private:
    LoudnessMeter loudness;
    std::deque<TruePeakMeter> truePeaks;
};

SessionSettings sessionSettings(const AudioFile& file, const AnalysisSettings& settings)
{
    SessionSettings session;
    session.sampleRate = static_cast<float>(file.sampleRate());
    session.fileChannels = file.channels();
    session.options = settings.options;
    session.drawPictures = !settings.pictureFolder.empty();
    return session;
}

} // namespace

FileReport analyseFile(const std::string& path, const std::string& pictureStem,
                       const AnalysisSettings& settings, const ProgressReport& progress)
{
    FileReport report;
    report.path = path;
    AudioFile file(path);
    if (file.failed()) {
        report.error = file.error();
        return report;
    }
    report.info = FileInfo{file.formatName(), file.sampleRate(), file.channels(), 0};

    const std::unique_ptr<AnalyzerSession> session =
        makeAnalyzerSession(settings.displayScale, sessionSettings(file, settings));
    std::vector<ChunkRing::Consumer> consumers = {
        [&](const float* frames, std::int64_t count) { session->feed(frames, count); }};
    std::optional<TimelineCollector> timeline;
    if (!settings.plotFolder.empty() || settings.keepPlots) {
        timeline.emplace(file.channels(), file.sampleRate());
        consumers.push_back([&](const float* frames, std::int64_t count) { timeline->add(frames, count); });
    }
    std::optional<LoudnessMeters> loudness;
    if (settings.loudness &&
        !loudness.emplace(file, consumers, timeline ? &*timeline : nullptr).error().empty()) {
        report.error = loudness->error();
        return report;
    }
    readThrough(file, std::move(consumers), settings.meterThreads, progress);

    report.info->frames = file.framesRead();
    file.checkComplete();
    if (file.failed()) {
        report.error = file.error();
        return report;
    }
    report.complete = true;
    if (session->completedBlocks() > 0)
        report.measures = session->measures();
    report.unanalysedFrames = session->pendingFrames();
    if (loudness)
        report.loudness = loudness->result();
    if (!settings.pictureFolder.empty())
        report.error =
            writePictures(session->pictures(), settings.pictureFolder, pictureStem, report.pictures);
    if (timeline && report.error.empty())
        report.error =
            makePlots(timeline->finish(), {settings.plotFolder, pictureStem, settings.keepPlots}, report);
    return report;
}
