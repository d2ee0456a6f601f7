#include "testhost/filePlayback.h"

#include "analysis/Analyzer.h"
#include "editor/panelMeasures.h"
#include "host/opcodes.h"
#include "testhost/PluginLibrary.h"
#include "testhost/WavFile.h"
#include "tests/support/RecordingHost.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kHostBlockFrames = 512;

void feed(AEffect* effect, WavFile& wav)
{
    const std::size_t frames = wav.left.size();
    std::vector<float> outLeft(kHostBlockFrames), outRight(kHostBlockFrames);
    for (std::size_t start = 0; start < frames; start += kHostBlockFrames) {
        const auto n = static_cast<std::int32_t>(std::min<std::size_t>(kHostBlockFrames, frames - start));
        float* inputs[2] = {wav.left.data() + start, wav.channels > 1 ? wav.right.data() + start : nullptr};
        float* outputs[2] = {outLeft.data(), outRight.data()};
        effect->processReplacing(effect, inputs, outputs, n);
    }
}

} // namespace

bool playFile(const std::string& wavPath, const std::string& pluginPath)
{
    WavFile wav;
    if (const std::string error = WavFile::read(wavPath, wav); !error.empty()) {
        std::printf("%s: %s\n", wavPath.c_str(), error.c_str());
        return false;
    }
    PluginLibrary library(pluginPath);
    AEffect* effect = library.loaded() ? library.instantiate(RecordingHost::callback) : nullptr;
    if (!effect) {
        std::printf("%s: could not make an effect\n", pluginPath.c_str());
        return false;
    }
    dispatch(effect, effOpen);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, wav.sampleRate);
    dispatch(effect, effMainsChanged, 0, 1);
    feed(effect, wav);
    dispatch(effect, effMainsChanged, 0, 0);
    // This host is built from the plug-in's own sources, so it may read the
    // measures through the record's object; a host from elsewhere could not.
    const Analyzer* analyzer = static_cast<const Analyzer*>(static_cast<PluginEffect*>(effect->object));
    const AnalyzerMeasures measures = analyzer->measures;
    std::printf("%s in %s\n", wavPath.c_str(), pluginPath.c_str());
    for (const PanelMeasure& measure : kPanelMeasures)
        std::printf("measure %s %.9g\n", measure.name, static_cast<double>(measures.*measure.value));
    dispatch(effect, effClose);
    return true;
}
