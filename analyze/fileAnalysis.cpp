#include "analyze/fileAnalysis.h"

#include "analyze/AudioFile.h"
#include "analyze/ChannelLayout.h"
#include "analyze/ChunkRing.h"
#include "analyze/plots/TimelineCollector.h"
#include "analyze/pngFiles.h"

#include <algorithm>
#include <deque>
#include <optional>

namespace {

// Channels beyond this many share consumers, so a file that declares
// hundreds of channels does not start a thread for each.
constexpr std::size_t kMostChannelConsumers = 8;

// A stride the compiler knows lets it move whole vectors for stereo files.
void takeChannel(const float* frames, std::size_t channels, std::size_t channel, std::vector<float>& samples)
{
    if (channels == 2) {
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] = frames[2 * i + channel];
        return;
    }
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = frames[i * channels + channel];
}

void readThrough(AudioFile& file, std::vector<ChunkRing::Consumer> consumers, bool ownThreads,
                 const ProgressReport& progress)
{
    ChunkRing ring(file.channels(), std::move(consumers), ownThreads);
    for (;;) {
        float* chunk = ring.nextChunk();
        const std::int64_t frames = file.read(chunk, ring.chunkFrames());
        if (frames == 0)
            break;
        ring.publish(frames);
        progress(file.progress());
    }
    ring.finish();
}

// A file's meters beside the Analyzer: one per channel (peak, RMS, true
// peak) and the loudness meter over the weighted channels. Each channel is
// measured and K-weighted by one consumer of the file's chunks, so that the
// channels share the cores. They hold on to themselves in the consumers, so
// they stay put. The plots' timeline, if any, hears their short-term
// loudness and true-peak overs.
class FileMeters {
public:
    FileMeters(const AudioFile& file, const ChannelLayout& layout, bool measureLoudness,
               std::vector<ChunkRing::Consumer>& consumers, TimelineCollector* timeline)
        : rateRefusal(LoudnessMeter::refusal(file.sampleRate()))
    {
        const bool loudness = measureLoudness && rateRefusal.empty();
        if (loudness && layout.refusal().empty()) {
            LoudnessMeter& meter = loudnessMeter.emplace(file.sampleRate(), layout.weights());
            if (timeline)
                meter.shortTermListener = [timeline](std::int64_t end, double lufs) {
                    timeline->addShortTermLoudness(end, lufs);
                };
        }
        const std::optional<int> truePeakRate =
            loudness ? std::optional<int>(file.sampleRate()) : std::nullopt;
        const std::string noTruePeak = measureLoudness ? rateRefusal : "not measured (--no-loudness)";
        for (int channel = 0; channel < file.channels(); ++channel) {
            ChannelMeter& meter = channelMeters.emplace_back(truePeakRate, noTruePeak);
            if (timeline && truePeakRate)
                meter.reportTruePeakOvers(TimelineCollector::kOverLevel,
                                          [timeline, channel](std::int64_t frame, double peak) {
                                              timeline->addTruePeakOver(channel, frame, peak);
                                          });
        }
        if (timeline && truePeakRate)
            timeline->expectTruePeakOvers();
        const std::size_t groups = std::min(channelMeters.size(), kMostChannelConsumers);
        groupSamples.resize(groups);
        for (std::size_t group = 0; group < groups; ++group)
            consumers.push_back([this, group](const float* frames, std::int64_t count) {
                measureGroup(group, frames, count);
            });
    }
    FileMeters(const FileMeters&) = delete;
    FileMeters& operator=(const FileMeters&) = delete;

    std::vector<ChannelFigures> channels() const
    {
        std::vector<ChannelFigures> figures;
        for (const ChannelMeter& meter : channelMeters)
            figures.push_back(meter.figures());
        return figures;
    }

    Loudness loudness(const ChannelLayout& layout) const
    {
        if (!rateRefusal.empty()) {
            const Reading refused = Reading::none(rateRefusal);
            return {{refused, refused, refused, refused}, refused};
        }
        Loudness result;
        if (loudnessMeter) {
            result.figures = loudnessMeter->figures();
        } else {
            const Reading refused = Reading::none(layout.refusal());
            result.figures = {refused, refused, refused, refused};
        }
        result.truePeak = truePeak();
        return result;
    }

private:
    // The channels of one consumer, each taken out of the frames once for all its meters.
    void measureGroup(std::size_t group, const float* frames, std::int64_t count)
    {
        std::vector<float>& samples = groupSamples[group];
        samples.resize(static_cast<std::size_t>(count));
        const std::size_t channels = channelMeters.size();
        for (std::size_t channel = group; channel < channels; channel += groupSamples.size()) {
            takeChannel(frames, channels, channel, samples);
            channelMeters[channel].add(samples.data(), count);
            if (loudnessMeter)
                loudnessMeter->addChannel(static_cast<int>(channel), samples.data(), count);
        }
    }

    // The largest of the channels' true peaks, dBTP.
    Reading truePeak() const
    {
        double peak = 0.0;
        for (const ChannelMeter& meter : channelMeters) {
            const std::optional<double> channelPeak = meter.truePeak();
            if (!channelPeak)
                return meter.figures().truePeak;
            peak = std::max(peak, *channelPeak);
        }
        return ChannelMeter::decibels(peak);
    }

    const std::string rateRefusal;
    std::optional<LoudnessMeter> loudnessMeter;
    std::deque<ChannelMeter> channelMeters;
    // Per consumer: one channel's samples of the chunk it measures.
    std::vector<std::vector<float>> groupSamples;
};

SessionSettings sessionSettings(const AudioFile& file, const AnalysisSettings& settings)
{
    SessionSettings session;
    session.sampleRate = static_cast<float>(file.sampleRate());
    session.fileChannels = file.channels();
    session.options = settings.options;
    session.drawPictures = !settings.pictureFolder.empty();
    session.blockHelpers = settings.threads - 1;
    return session;
}

FileInfo fileInfo(const AudioFile& file, const ChannelLayout& layout)
{
    FileInfo info{file.formatName(),    file.sampleRate(), file.channels(), 0,
                  layout.description(), layout.names()};
    info.channelNames.resize(static_cast<std::size_t>(file.channels()));
    return info;
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
    const ChannelLayout layout(file.channels(), file.channelMap());
    report.info = fileInfo(file, layout);

    const std::unique_ptr<AnalyzerSession> session =
        makeAnalyzerSession(settings.displayScale, sessionSettings(file, settings));
    std::vector<ChunkRing::Consumer> consumers = {
        [&](const float* frames, std::int64_t count) { session->feed(frames, count); }};
    std::optional<TimelineCollector> timeline;
    if (!settings.plotFolder.empty() || settings.keepPlots) {
        timeline.emplace(file.channels(), file.sampleRate());
        consumers.push_back([&](const float* frames, std::int64_t count) { timeline->add(frames, count); });
    }
    FileMeters meters(file, layout, settings.loudness, consumers, timeline ? &*timeline : nullptr);
    readThrough(file, std::move(consumers), settings.threads > 1, progress);
    session->finish();

    report.info->frames = file.framesRead();
    file.checkComplete();
    if (file.failed()) {
        report.error = file.error();
        return report;
    }
    report.complete = true;
    if (!file.note().empty())
        report.notes.push_back(file.note());
    if (session->completedBlocks() > 0)
        report.measures = session->measures();
    report.unanalysedFrames = session->pendingFrames();
    report.channels = meters.channels();
    if (settings.loudness)
        report.loudness = meters.loudness(layout);
    if (!settings.pictureFolder.empty())
        report.error =
            writePictures(session->pictures(), settings.pictureFolder, pictureStem, report.pictures);
    if (timeline && report.error.empty())
        report.error =
            makePlots(timeline->finish(), {settings.plotFolder, pictureStem, settings.keepPlots}, report);
    return report;
}
