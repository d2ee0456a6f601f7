// The project's own test host: loads each plug-in DLL like a VST 2.x host,
// prints what a host sees of it, opens its editor in a window of its own and
// runs the demo signal through it in real time, checking that the output is
// a bit-exact copy of the input. Then saves a screenshot of the editor.
// usage: orvhost [--screenshots FOLDER] [plugin.dll...]
//        orvhost --play FILE.wav [plugin.dll...]   (prints the nine measures of the file)
#include "host/opcodes.h"
#include "testhost/DemoSignal.h"
#include "testhost/HostWindow.h"
#include "testhost/demoPlayback.h"
#include "testhost/effectReport.h"
#include "testhost/PluginLibrary.h"
#include "testhost/filePlayback.h"
#include "testhost/screenshotFile.h"
#include "testhost/versionResource.h"
#include "tests/support/RecordingHost.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kLogFolder = "C:\\temp";
constexpr const char* kLogFile = "C:\\temp\\orvlog.txt";

long countLogLines()
{
    std::FILE* log = std::fopen(kLogFile, "r");
    if (!log)
        return 0;
    long lines = 0;
    for (int c; (c = std::fgetc(log)) != EOF;)
        lines += c == '\n';
    std::fclose(log);
    return lines;
}

// What Explorer's properties show of the file, and the export the host used.
void describeFile(const std::string& path, const PluginLibrary& library)
{
    VersionResource version;
    if (readVersionResource(path, version))
        std::printf("  file version    %s, %s, %s\n", version.fileVersion.c_str(),
                    version.companyName.c_str(), version.productName.c_str());
    else
        std::printf("  file version    NONE\n");
    std::printf("  entry point     %s\n", library.entryName());
}

// Reopening after the pacing interval shows the final state: the editor
// refreshes once when it opens.
bool saveScreenshot(HostWindow& window, const std::string& folder, const std::string& path)
{
    window.pumpFor(100);
    window.reopenEditor();
    window.pumpFor(100);
    const std::string stem = path.substr(0, path.rfind('.'));
    const std::string file = folder + "\\" + stem + "-editor.bmp";
    const bool saved = writeScreenshot(window.capture(), file);
    std::printf("  screenshot      %s%s\n", file.c_str(), saved ? "" : " could NOT be written");
    return saved;
}

bool demonstrate(const std::string& path, const DemoSignal& signal, const std::string& screenshots)
{
    std::printf("%s\n", path.c_str());
    PluginLibrary library(path);
    if (!library.loaded()) {
        std::printf("  could not load it or find its main export\n");
        return false;
    }
    RecordingHost::clear();
    AEffect* effect = library.instantiate(RecordingHost::callback);
    if (!effect) {
        std::printf("  main refused to make an effect\n");
        return false;
    }
    dispatch(effect, effOpen);
    describeFile(path, library);
    describeEffect(effect);
    bool ok;
    const long logBefore = countLogLines();
    {
        HostWindow window(effect);
        std::printf("  editor          %d x %d pixels, %s\n", window.editorRect().right - window.editorRect().left,
                    window.editorRect().bottom - window.editorRect().top,
                    window.opened() ? "open" : "did NOT open");
        ok = playDemoSignal(effect, signal, [&] { window.pump(); }) && window.opened();
        if (!screenshots.empty())
            ok = saveScreenshot(window, screenshots, path) && ok;
    }
    // The log is written off the audio thread; closing the effect completes it.
    dispatch(effect, effClose);
    std::printf("  debug log       %s gained %ld lines\n", kLogFile, countLogLines() - logBefore);
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    std::vector<std::string> plugins(argv + 1, argv + argc);
    std::string screenshots, played;
    if (plugins.size() >= 2 && plugins[0] == "--play") {
        played = plugins[1];
        plugins.erase(plugins.begin(), plugins.begin() + 2);
    }
    if (plugins.size() >= 2 && plugins[0] == "--screenshots") {
        screenshots = plugins[1];
        plugins.erase(plugins.begin(), plugins.begin() + 2);
    }
    if (plugins.empty())
        plugins = {"orvane.dll", "orvane_x2.dll"};
    CreateDirectoryA(kLogFolder, nullptr);
    if (!played.empty())
        return std::all_of(plugins.begin(), plugins.end(),
                           [&](const std::string& plugin) { return playFile(played, plugin); })
                   ? 0
                   : 1;
    const DemoSignal signal = DemoSignal::make(DemoSignal::kDemoSeconds);
    std::printf("Demo signal: %.1f s of a synthetic stereo mix at %.0f Hz\n\n", DemoSignal::kDemoSeconds,
                static_cast<double>(DemoSignal::kSampleRate));
    bool ok = true;
    for (const std::string& plugin : plugins) {
        ok = demonstrate(plugin, signal, screenshots) && ok;
        std::printf("\n");
    }
    return ok ? 0 : 1;
}
