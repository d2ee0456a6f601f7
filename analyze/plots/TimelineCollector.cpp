#include "analyze/plots/TimelineCollector.h"

#include "analysis/fft.h"

#include <algorithm>
#include <cmath>

namespace {

using Merge = SliceSeries::Merge;

// Fine enough for a plot a thousand pixels wide of a file of a few seconds;
// the series coarsen for longer ones.
constexpr std::int64_t kLevelBlockFrames = 1024;
constexpr std::size_t kMaxLevelSlices = 8192;
constexpr std::int64_t kLoudnessSliceFrames = 1024;
constexpr std::size_t kMaxLoudnessSlices = 8192;
constexpr std::int64_t kTruePeakSliceFrames = 1024;
constexpr std::size_t kMaxTruePeakSlices = 8192;
// Each spectrogram slice holds a spectrum of 2048 bins: about 8 MB in all.
constexpr std::size_t kMaxSpectrogramSlices = 1024;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kDecibelsPerDecade = 20.0;

// A damaged sample would spoil the sums and spectra of its whole slice;
// peaks and the histogram still show it.
float finiteOrSilent(float sample)
{
    return std::isfinite(sample) ? sample : 0.0f;
}

std::vector<Merge> levelColumns(int channels)
{
    std::vector<Merge> columns;
    for (int channel = 0; channel < channels; ++channel)
        columns.insert(columns.end(), {Merge::Maximum, Merge::Sum});
    columns.push_back(Merge::Sum);
    return columns;
}

// Hann: its leakage falls off fast enough for a display a hundred dB deep.
std::vector<float> hannWindow(int frames)
{
    std::vector<float> window(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i)
        window[static_cast<std::size_t>(i)] = static_cast<float>(0.5 - 0.5 * std::cos(kTwoPi * i / frames));
    return window;
}

// A full-scale sine at a bin's frequency then has power 1 in that bin.
double powerScale(const std::vector<float>& window)
{
    double sum = 0.0;
    for (const float w : window)
        sum += w;
    return 1.0 / (sum * sum / 4.0);
}

} // namespace

TimelineCollector::TimelineCollector(int channelCount, int rate)
    : channels(channelCount), sampleRate(rate),
      levels(kLevelBlockFrames, levelColumns(channelCount), kMaxLevelSlices),
      blockPeak(static_cast<std::size_t>(channelCount)), blockSquares(static_cast<std::size_t>(channelCount)),
      histogram(static_cast<std::size_t>(channelCount),
                std::vector<std::int64_t>(FileTimeline::kHistogramBins, 0)),
      window(hannWindow(kSpectrumFrames)), windowPowerScale(powerScale(window)),
      spectrumInput(static_cast<std::size_t>(channelCount), std::vector<float>(kSpectrumFrames)),
      transformReal(kSpectrumFrames), transformImaginary(kSpectrumFrames),
      framePower(kSpectrumFrames / 2 + 1),
      powerSums(static_cast<std::size_t>(channelCount), std::vector<double>(kSpectrumFrames / 2)),
      spectrogram(kSpectrumFrames, std::vector<Merge>(kSpectrumFrames / 2 + 1, Merge::Sum),
                  kMaxSpectrogramSlices),
      shortTerm(kLoudnessSliceFrames, {Merge::Maximum}, kMaxLoudnessSlices),
      truePeakOvers(static_cast<std::size_t>(channelCount),
                    SliceSeries(kTruePeakSliceFrames, {Merge::Maximum}, kMaxTruePeakSlices))
{
}

void TimelineCollector::add(const float* interleaved, std::int64_t frames)
{
    for (std::int64_t i = 0; i < frames; ++i) {
        const float* frame = interleaved + i * channels;
        addToLevelBlock(frame);
        for (int channel = 0; channel < channels; ++channel) {
            addToHistogram(channel, frame[channel]);
            spectrumInput[static_cast<std::size_t>(channel)][static_cast<std::size_t>(spectrumFill)] =
                finiteOrSilent(frame[channel]);
        }
        if (++spectrumFill == kSpectrumFrames)
            endSpectrumFrame();
    }
    framesTaken += frames;
}

void TimelineCollector::addToLevelBlock(const float* frame)
{
    for (int channel = 0; channel < channels; ++channel) {
        const auto c = static_cast<std::size_t>(channel);
        const float magnitude = std::fabs(frame[channel]);
        // A non-number never becomes the peak.
        blockPeak[c] = magnitude > blockPeak[c] ? magnitude : blockPeak[c];
        const double sample = finiteOrSilent(frame[channel]);
        blockSquares[c] += sample * sample;
    }
    if (++blockFill == kLevelBlockFrames)
        endLevelBlock();
}

void TimelineCollector::endLevelBlock()
{
    std::vector<float> values;
    for (int channel = 0; channel < channels; ++channel) {
        const auto c = static_cast<std::size_t>(channel);
        values.push_back(blockPeak[c]);
        values.push_back(static_cast<float>(blockSquares[c]));
        blockPeak[c] = 0.0f;
        blockSquares[c] = 0.0;
    }
    values.push_back(static_cast<float>(blockFill));
    levels.add(blockStart, values.data());
    blockStart += blockFill;
    blockFill = 0;
}

void TimelineCollector::addToHistogram(int channel, float sample)
{
    static const double kFloorAmplitude =
        std::pow(10.0, FileTimeline::kHistogramFloorDb / kDecibelsPerDecade);
    const double magnitude = std::fabs(static_cast<double>(sample));
    int bin = 0;
    // Silence and non-numbers go to the first bin, anything beyond full scale to the last.
    if (magnitude > kFloorAmplitude) {
        const double level = kDecibelsPerDecade * std::log10(magnitude);
        const double position = (level - FileTimeline::kHistogramFloorDb) / FileTimeline::kHistogramBinDb;
        bin = static_cast<int>(std::min(position, FileTimeline::kHistogramBins - 1.0));
    }
    ++histogram[static_cast<std::size_t>(channel)][static_cast<std::size_t>(bin)];
}

void TimelineCollector::endSpectrumFrame()
{
    constexpr std::size_t kBins = kSpectrumFrames / 2;
    std::fill(framePower.begin(), framePower.end(), 0.0f);
    for (int channel = 0; channel < channels; ++channel) {
        std::vector<float>& samples = spectrumInput[static_cast<std::size_t>(channel)];
        for (std::size_t i = 0; i < samples.size(); ++i)
            samples[i] *= window[i];
        fft_float(kSpectrumFrames, 0, samples.data(), nullptr, transformReal.data(),
                  transformImaginary.data());
        std::vector<double>& sums = powerSums[static_cast<std::size_t>(channel)];
        for (std::size_t bin = 0; bin < kBins; ++bin) {
            const double power = (static_cast<double>(transformReal[bin]) * transformReal[bin] +
                                  static_cast<double>(transformImaginary[bin]) * transformImaginary[bin]) *
                                 windowPowerScale;
            sums[bin] += power;
            framePower[bin] += static_cast<float>(power);
        }
    }
    ++spectraSummed;
    // The last column counts the spectra a slice sums.
    framePower[kBins] = 1.0f;
    spectrogram.add(spectrumStart, framePower.data());
    spectrumStart += kSpectrumFrames;
    spectrumFill = 0;
}

void TimelineCollector::addShortTermLoudness(std::int64_t endFrame, double lufs)
{
    const auto value = static_cast<float>(lufs);
    shortTerm.add(std::max<std::int64_t>(endFrame - 1, 0), &value);
}

void TimelineCollector::addTruePeakOver(int channel, std::int64_t frame, double peak)
{
    const auto value = static_cast<float>(kDecibelsPerDecade * std::log10(peak));
    truePeakOvers[static_cast<std::size_t>(channel)].add(frame, &value);
}

FileTimeline TimelineCollector::finish()
{
    if (blockFill > 0)
        endLevelBlock();
    FileTimeline timeline;
    timeline.sampleRate = sampleRate;
    timeline.channels = channels;
    timeline.frames = framesTaken;
    timeline.levels = levels.slices();
    timeline.shortTermLoudness = shortTerm.slices();
    timeline.spectrogram = spectrogram.slices();
    timeline.bins = kSpectrumFrames / 2;
    timeline.binHz = static_cast<double>(sampleRate) / kSpectrumFrames;
    timeline.histogram = histogram;
    for (std::vector<double> sums : powerSums) {
        for (double& sum : sums)
            sum = spectraSummed > 0 ? sum / static_cast<double>(spectraSummed) : 0.0;
        timeline.spectrum.push_back(std::move(sums));
    }
    // Each channel's series coarsened as far as its own overs reached.
    SliceSeries overs(kTruePeakSliceFrames, {Merge::Maximum}, kMaxTruePeakSlices);
    for (const SliceSeries& series : truePeakOvers) {
        const TimeSlices& slices = series.slices();
        for (std::size_t i = 0; i < slices.count(); ++i)
            if (std::isfinite(slices.values[i]))
                overs.add(static_cast<std::int64_t>(i) * slices.sliceFrames, &slices.values[i]);
    }
    timeline.truePeak = overs.slices();
    timeline.truePeakMeasured = truePeakMeasured;
    return timeline;
}
