// The project's own test host on Linux: makes an effect of this build's
// display scale in-process through the plug-in's entry point, prints what a
// host sees of it, opens its editor in an X11 window of its own and plays the
// demo signal through it in real time, checking that the output is a
// bit-exact copy of the input. Then prints the nine measures and saves a
// screenshot of the editor as a PNG file.
// usage: orvhost_x11 [--screenshots FOLDER]
#include "analysis/Analyzer.h"
#include "host/entryPoints.h"
#include "host/opcodes.h"
#include "testhost/DemoSignal.h"
#include "testhost/PluginLibrary.h"
#include "testhost/demoPlayback.h"
#include "testhost/effectReport.h"
#include "testhost/measuresReport.h"
#include "testhost/screenshotPng.h"
#include "testhost/x11/X11HostWindow.h"

#include <chrono>
#include <cstdio>
#include <string>

namespace {

constexpr VstIntPtr kHostVersion = 2400;
constexpr auto kSettle = std::chrono::milliseconds(100);

VstIntPtr ORVANE_CDECL host(AEffect*, std::int32_t opcode, std::int32_t, VstIntPtr, void*, float)
{
    return opcode == audioMasterVersion ? kHostVersion : 0;
}

// Reopening after the pacing interval shows the final state: the editor
// refreshes once when it opens.
bool saveScreenshot(X11HostWindow& window, const std::string& folder, const std::string& stem)
{
    window.idleFor(kSettle);
    window.reopenEditor();
    window.idleFor(kSettle);
    const std::string file = folder + "/" + stem + "-linux-editor.png";
    const bool saved = writeScreenshotPng(window.capture(), file);
    std::printf("  screenshot      %s%s\n", file.c_str(), saved ? "" : " could NOT be written");
    return saved;
}

} // namespace

int main(int argc, char** argv)
{
    const std::string stem = kDisplayScale == 1 ? "orvane" : "orvane_x2";
    const std::string screenshots = argc >= 3 && std::string(argv[1]) == "--screenshots" ? argv[2] : "";
    const DemoSignal signal = DemoSignal::make(DemoSignal::kDemoSeconds);
    std::printf("%s in-process, demo signal of %.1f s at %.0f Hz\n", stem.c_str(), DemoSignal::kDemoSeconds,
                static_cast<double>(DemoSignal::kSampleRate));
    AEffect* effect = pluginMain(host);
    if (!effect) {
        std::printf("  the entry point refused to make an effect\n");
        return 1;
    }
    dispatch(effect, effOpen);
    describeEffect(effect);
    bool ok;
    {
        X11HostWindow window(effect);
        std::printf("  editor          %d x %d pixels, %s\n", window.editorRect().right - window.editorRect().left,
                    window.editorRect().bottom - window.editorRect().top,
                    window.opened() ? "open" : "did NOT open");
        ok = playDemoSignal(effect, signal, [&] { window.idle(); }) && window.opened();
        if (!screenshots.empty())
            ok = saveScreenshot(window, screenshots, stem) && ok;
    }
    printMeasures(static_cast<Analyzer*>(PluginEffect::fromRecord(effect))->measures, stdout);
    dispatch(effect, effClose);
    return ok ? 0 : 1;
}
