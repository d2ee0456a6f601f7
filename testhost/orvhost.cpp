// The project's own test host: loads each plug-in DLL like a VST 2.x host,
// prints what a host sees of it, opens its editor in a window of its own and
// runs the demo signal through it in real time, checking that the output is
// a bit-exact copy of the input. Then saves a screenshot of the editor.
// usage: orvhost [--screenshots FOLDER] [plugin.dll...]
//        orvhost --play FILE.wav [plugin.dll...]   (prints the nine measures of the file)
#include "host/opcodes.h"
#include "testhost/DemoSignal.h"
#include "testhost/HostWindow.h"
#include "testhost/PluginLibrary.h"
#include "testhost/filePlayback.h"
#include "testhost/screenshotFile.h"
#include "tests/support/RecordingHost.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kHostBlockFrames = 512;
constexpr const char* kLogFolder = "C:\\temp";
constexpr const char* kLogFile = "C:\\temp\\orvlog.txt";

std::string text(AEffect* effect, std::int32_t opcode)
{
    char buffer[256] = {};
    dispatch(effect, opcode, 0, 0, buffer);
    return buffer;
}

std::string fourChars(std::int32_t code)
{
    std::string s;
    for (int shift = 24; shift >= 0; shift -= 8)
        s += static_cast<char>((code >> shift) & 0xFF);
    return s;
}

std::string flagNames(std::int32_t flags)
{
    const std::pair<std::int32_t, const char*> names[] = {{effFlagsHasEditor, "has editor"},
                                                          {effFlagsCanMono, "can mono"},
                                                          {effFlagsCanReplacing, "can replacing"}};
    std::string out;
    for (const auto& [bit, name] : names)
        if (flags & bit)
            out += (out.empty() ? "" : ", ") + std::string(name);
    return out;
}

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

void describe(AEffect* effect)
{
    std::printf("  effect name     %s\n", text(effect, effGetEffectName).c_str());
    std::printf("  vendor          %s\n", text(effect, effGetVendorString).c_str());
    std::printf("  product         %s\n", text(effect, effGetProductString).c_str());
    std::printf("  unique ID       '%s' (0x%08X)\n", fourChars(effect->uniqueID).c_str(),
                static_cast<unsigned>(effect->uniqueID));
    std::printf("  inputs/outputs  %d / %d\n", effect->numInputs, effect->numOutputs);
    std::printf("  flags           0x%02X (%s)\n", effect->flags, flagNames(effect->flags).c_str());
    std::printf("  programs        %d (\"%s\"), parameters %d\n", effect->numPrograms,
                text(effect, effGetProgramName).c_str(), effect->numParams);
    std::printf("  VST version     %d\n", static_cast<int>(dispatch(effect, effGetVstVersion)));
}

// Waits until the audio fed so far has had its real-time duration, keeping
// the editor's window served meanwhile, as a host's clock would.
void keepRealTime(HostWindow& window, DWORD start, std::size_t framesFed)
{
    const auto due = static_cast<DWORD>(1000.0 * static_cast<double>(framesFed) / DemoSignal::kSampleRate);
    do {
        window.pump();
        if (GetTickCount() - start < due)
            Sleep(1);
    } while (GetTickCount() - start < due);
}

// Feeds the demo signal in host-sized calls; true when every output sample
// has the input's bit pattern.
bool runDemoSignal(AEffect* effect, const DemoSignal& signal, HostWindow& window)
{
    const std::size_t frames = signal.left.size();
    std::vector<float> inLeft = signal.left, inRight = signal.right;
    std::vector<float> outLeft(frames), outRight(frames);
    dispatch(effect, effSetSampleRate, 0, 0, nullptr, DemoSignal::kSampleRate);
    dispatch(effect, effSetBlockSize, 0, kHostBlockFrames);
    dispatch(effect, effMainsChanged, 0, 1);
    long calls = 0;
    const DWORD begin = GetTickCount();
    for (std::size_t start = 0; start < frames; start += kHostBlockFrames, ++calls) {
        const auto n = static_cast<std::int32_t>(std::min<std::size_t>(kHostBlockFrames, frames - start));
        float* inputs[2] = {inLeft.data() + start, inRight.data() + start};
        float* outputs[2] = {outLeft.data() + start, outRight.data() + start};
        effect->processReplacing(effect, inputs, outputs, n);
        keepRealTime(window, begin, start + static_cast<std::size_t>(n));
    }
    dispatch(effect, effMainsChanged, 0, 0);
    const bool exact = std::memcmp(outLeft.data(), signal.left.data(), frames * sizeof(float)) == 0 &&
                       std::memcmp(outRight.data(), signal.right.data(), frames * sizeof(float)) == 0;
    std::printf("  pass-through    %s for %zu stereo frames in %ld calls of up to %d\n",
                exact ? "bit-exact" : "DIFFERS", frames, calls, kHostBlockFrames);
    return exact;
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
    describe(effect);
    bool ok;
    const long logBefore = countLogLines();
    {
        HostWindow window(effect);
        std::printf("  editor          %d x %d pixels, %s\n", window.editorRect().right - window.editorRect().left,
                    window.editorRect().bottom - window.editorRect().top,
                    window.opened() ? "open" : "did NOT open");
        ok = runDemoSignal(effect, signal, window) && window.opened();
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
