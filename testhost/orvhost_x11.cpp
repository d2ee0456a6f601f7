// The project's own test host on Linux: loads each VST 2.x shared object
// like a host (dlopen, VSTPluginMain), or, given none, makes an effect of
// this build's display scale in-process through the same entry point. Prints
// what a host sees of it, opens its editor in an X11 window of its own and
// plays the demo signal through it in real time, checking that the output is
// a bit-exact copy of the input; then saves a screenshot of the editor as a
// PNG file (and, in-process, prints the nine measures).
// usage: orvhost_x11 [--screenshots FOLDER] [plugin.so...]
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
#include <vector>

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

// Describes the effect, plays the demo signal in its editor and saves the
// screenshot as FOLDER/STEM-linux-editor.png; false when anything failed.
bool demonstrate(AEffect* effect, const DemoSignal& signal, const std::string& screenshots, const std::string& stem)
{
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
    return ok;
}

bool demonstrateInProcess(const DemoSignal& signal, const std::string& screenshots)
{
    const std::string stem = kDisplayScale == 1 ? "orvane" : "orvane_x2";
    std::printf("%s in-process\n", stem.c_str());
    AEffect* effect = pluginMain(host);
    if (!effect) {
        std::printf("  the entry point refused to make an effect\n");
        return false;
    }
    const bool ok = demonstrate(effect, signal, screenshots, stem);
    printMeasures(static_cast<Analyzer*>(PluginEffect::fromRecord(effect))->measures, stdout);
    dispatch(effect, effClose);
    return ok;
}

bool demonstrateLibrary(const std::string& path, const DemoSignal& signal, const std::string& screenshots)
{
    std::printf("%s\n", path.c_str());
    PluginLibrary library(path);
    if (!library.loaded()) {
        std::printf("  could not load it or find its entry point\n");
        return false;
    }
    std::printf("  entry point     %s\n", library.entryName());
    AEffect* effect = library.instantiate(host);
    if (!effect) {
        std::printf("  the entry point refused to make an effect\n");
        return false;
    }
    const std::string name = path.substr(path.rfind('/') + 1);
    const bool ok = demonstrate(effect, signal, screenshots, name.substr(0, name.rfind('.')) + "-so");
    dispatch(effect, effClose);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> plugins(argv + 1, argv + argc);
    std::string screenshots;
    if (plugins.size() >= 2 && plugins[0] == "--screenshots") {
        screenshots = plugins[1];
        plugins.erase(plugins.begin(), plugins.begin() + 2);
    }
    const DemoSignal signal = DemoSignal::make(DemoSignal::kDemoSeconds);
    std::printf("Demo signal: %.1f s of a synthetic stereo mix at %.0f Hz\n\n", DemoSignal::kDemoSeconds,
                static_cast<double>(DemoSignal::kSampleRate));
    if (plugins.empty())
        return demonstrateInProcess(signal, screenshots) ? 0 : 1;
    bool ok = true;
    for (const std::string& plugin : plugins) {
        ok = demonstrateLibrary(plugin, signal, screenshots) && ok;
        std::printf("\n");
    }
    return ok ? 0 : 1;
}
