// The demo's native half: runs the demo signal through the analyzer of this
// build's display scale, refreshing the pictures as the open editor would,
// then prints the nine measures and writes the four pictures as PNG files.
#include "analysis/Analyzer.h"
#include "testhost/DemoSignal.h"
#include "testhost/measuresReport.h"
#include "testhost/pictureFiles.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int kHostBlockFrames = 512;
// The editor refreshes every 50 ms, about every second block at 44.1 kHz.
constexpr int kFramesPerRefresh = 2 * Analyzer::kBlockFrames;

void feed(Analyzer& analyzer, const DemoSignal& signal)
{
    std::vector<std::uint8_t> pictures[4];
    for (auto& picture : pictures)
        picture.resize(kPictureBytes);
    std::vector<float> scratch[2] = {std::vector<float>(kHostBlockFrames),
                                     std::vector<float>(kHostBlockFrames)};
    std::vector<float> left = signal.left, right = signal.right;
    for (std::size_t start = 0; start < left.size(); start += kHostBlockFrames) {
        const auto n =
            static_cast<std::int32_t>(std::min<std::size_t>(kHostBlockFrames, left.size() - start));
        float* inputs[2] = {left.data() + start, right.data() + start};
        float* outputs[2] = {scratch[0].data(), scratch[1].data()};
        analyzer.processReplacing(inputs, outputs, n);
        if ((start + n) % kFramesPerRefresh == 0)
            analyzer.renderGraphs(pictures[0].data(), pictures[1].data(), pictures[2].data(),
                                  pictures[3].data());
    }
}

} // namespace

int main(int argc, char** argv)
{
    const std::string folder = argc > 1 ? argv[1] : ".";
    const std::string stem = kDisplayScale == 1 ? "orvane" : "orvane_x2";
    auto analyzer = std::make_unique<Analyzer>(nullptr);
    analyzer->setSampleRate(DemoSignal::kSampleRate);
    feed(*analyzer, DemoSignal::make(DemoSignal::kDemoSeconds));
    std::printf("%s after %.0f s of the demo signal:\n", stem.c_str(), DemoSignal::kDemoSeconds);
    printMeasures(analyzer->measures, stdout);
    if (!writePictures(*analyzer, folder, stem)) {
        std::fprintf(stderr, "could not write the pictures into %s\n", folder.c_str());
        return 1;
    }
    std::printf("pictures: %s/%s-{histogram,spectrum,levelhistory,spectrogram}.png\n\n", folder.c_str(),
                stem.c_str());
    return 0;
}
