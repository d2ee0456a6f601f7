// The project's own VST 3 test host, for Windows (64- and 32-bit) and Linux:
// loads each bundle like a host (the binary for this system, its entry
// function, GetPluginFactory), checks the class it describes, makes
// instances, negotiates their buses, plays the demo signal through them at
// several block sizes and checks that it comes out bit for bit, opens the
// editor in a window of its own while the signal plays in real time and
// saves a screenshot, and takes the saved view options into a new instance.
// Prints one line per check; the exit status is 0 when every check passed.
// usage: orvhost_vst3 [--screenshots FOLDER] BUNDLE...
#include "testhost/DemoSignal.h"
#include "testhost/MemoryStream.h"
#include "testhost/PlugViewWindow.h"
#include "testhost/Vst3Module.h"
#include "testhost/vst3Playback.h"
#include "vst3/IAudioProcessor.h"
#include "vst3/IComponent.h"
#include "vst3/IEditController.h"
#include "vst3/IPlugView.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

using namespace vst3;

namespace {

constexpr std::int32_t kBlockSizes[] = {1, 64, 2048, 4097};
constexpr std::int32_t kLargestBlock = 4097;
constexpr std::int32_t kRealTimeBlockFrames = 512;
constexpr std::int32_t kMonoBlockFrames = 64;
constexpr auto kSettle = std::chrono::milliseconds(150);
// The view is closed and opened again twice while the signal plays.
constexpr int kReopenings = 2;
// The centre of the level histogram, whose click switches its zoom.
constexpr int kHistogramX = 208;
constexpr int kHistogramY = 52;

class Report {
public:
    void line(const char* name, bool good, const std::string& text)
    {
        std::printf("  %-15s %s%s\n", name, text.c_str(), good ? "" : "   <- FAILED");
        passed = passed && good;
    }
    bool allPassed() const { return passed; }

private:
    bool passed = true;
};

std::string hex(const char* bytes, std::size_t count)
{
    std::string text;
    char digits[3];
    for (std::size_t i = 0; i < count; ++i) {
        std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned char>(bytes[i]));
        text += digits;
    }
    return text;
}

std::string ascii(const char16_t* text)
{
    std::string result;
    for (; *text; ++text)
        result += static_cast<char>(*text);
    return result;
}

const char* yesNo(bool value)
{
    return value ? "yes" : "no";
}

template <typename Interface> Interface* query(FUnknown* object)
{
    void* answer = nullptr;
    return object && object->queryInterface(Interface::iid.bytes, &answer) == kResultOk
               ? static_cast<Interface*>(answer)
               : nullptr;
}

// One plug-in instance as a host holds it: the component and the two
// interfaces it answers, released in the end.
struct Instance {
    IComponent* component = nullptr;
    IAudioProcessor* processor = nullptr;
    IEditController* controller = nullptr;

    Instance(IPluginFactory& factory, const TUID classId)
    {
        void* made = nullptr;
        if (factory.createInstance(classId, IComponent::iid.bytes, &made) != kResultOk || !made)
            return;
        component = static_cast<IComponent*>(made);
        component->initialize(nullptr);
        processor = query<IAudioProcessor>(component);
        controller = query<IEditController>(component);
    }
    ~Instance()
    {
        for (FUnknown* held : {static_cast<FUnknown*>(processor), static_cast<FUnknown*>(controller)})
            if (held)
                held->release();
        if (component) {
            component->terminate();
            component->release();
        }
    }
    Instance(const Instance&) = delete;
    Instance& operator=(const Instance&) = delete;
    bool complete() const { return component && processor && controller; }

    void start(std::int32_t maxBlock)
    {
        ProcessSetup setup{kRealtime, kSample32, maxBlock, DemoSignal::kSampleRate};
        processor->setupProcessing(setup);
        component->setActive(1);
        processor->setProcessing(1);
    }
    void stop()
    {
        processor->setProcessing(0);
        component->setActive(0);
    }
    std::vector<std::uint8_t> state()
    {
        MemoryStream stream;
        return component->getState(&stream) == kResultOk ? stream.bytes() : std::vector<std::uint8_t>();
    }
};

bool describeClass(IPluginFactory& factory, const std::string& stem, PClassInfo2& info, Report& report)
{
    PFactoryInfo factoryInfo{};
    factory.getFactoryInfo(&factoryInfo);
    const std::int32_t classes = factory.countClasses();
    report.line("factory", classes == 1 && std::string(factoryInfo.vendor) == "Brindlewick",
                std::string(factoryInfo.vendor) + ", " + factoryInfo.url + ", " + std::to_string(classes) +
                    " class");
    auto* factory2 = query<IPluginFactory2>(&factory);
    const bool described = factory2 && factory2->getClassInfo2(0, &info) == kResultOk;
    if (factory2)
        factory2->release();
    if (!described) {
        report.line("class", false, "no IPluginFactory2 class information");
        return false;
    }
    const std::string expectedName = stem == "orvane_x2" ? "Orvane x2" : "Orvane";
    report.line("class",
                expectedName == info.name && std::string(info.category) == "Audio Module Class" &&
                    std::string(info.subCategories) == "Fx|Analyzer" &&
                    std::string(info.vendor) == "Brindlewick" && std::string(info.version) == ORVANE_VERSION,
                std::string(info.name) + ": " + info.category + ", " + info.subCategories + ", " +
                    info.vendor + ", version " + info.version + ", " + info.sdkVersion);
    report.line("class ID", true, hex(info.cid, sizeof info.cid));
    return true;
}

void checkBuses(Instance& instance, Report& report)
{
    IComponent& component = *instance.component;
    BusInfo input{}, output{};
    const bool described = component.getBusInfo(kAudio, kInput, 0, input) == kResultOk &&
                           component.getBusInfo(kAudio, kOutput, 0, output) == kResultOk;
    const std::int32_t audioIn = component.getBusCount(kAudio, kInput),
                       audioOut = component.getBusCount(kAudio, kOutput);
    const std::int32_t eventIn = component.getBusCount(kEvent, kInput),
                       eventOut = component.getBusCount(kEvent, kOutput);
    report.line("buses",
                described && audioIn == 1 && audioOut == 1 && eventIn == 0 && eventOut == 0 &&
                    input.channelCount == 2 && output.channelCount == 2 && input.busType == kMain,
                "audio in " + std::to_string(audioIn) + " (" + std::to_string(input.channelCount) +
                    " channels, \"" + ascii(input.name) + "\"), out " + std::to_string(audioOut) + " (" +
                    std::to_string(output.channelCount) + " channels, \"" + ascii(output.name) +
                    "\"), events " + std::to_string(eventIn) + "/" + std::to_string(eventOut));
}

bool arrange(IAudioProcessor& processor, std::vector<SpeakerArrangement> inputs,
             std::vector<SpeakerArrangement> outputs)
{
    return processor.setBusArrangements(inputs.data(), static_cast<std::int32_t>(inputs.size()),
                                        outputs.data(),
                                        static_cast<std::int32_t>(outputs.size())) == kResultTrue;
}

void checkArrangements(Instance& instance, Report& report)
{
    IAudioProcessor& processor = *instance.processor;
    struct Proposal {
        const char* name;
        std::vector<SpeakerArrangement> inputs, outputs;
        bool taken;
    };
    const Proposal proposals[] = {
        {"mono", {kMono}, {kMono}, true},
        {"stereo in, mono out", {kStereo}, {kMono}, false},
        {"L R C", {kStereo | kSpeakerC}, {kStereo | kSpeakerC}, false},
        {"two inputs", {kStereo, kStereo}, {kStereo}, false},
        {"stereo", {kStereo}, {kStereo}, true},
    };
    bool good = true;
    std::string text;
    for (const Proposal& proposal : proposals) {
        const bool taken = arrange(processor, proposal.inputs, proposal.outputs);
        good = good && taken == proposal.taken;
        text += std::string(text.empty() ? "" : ", ") + proposal.name + " " + yesNo(taken);
    }
    SpeakerArrangement kept = 0;
    processor.getBusArrangement(kOutput, 0, kept);
    report.line("arrangements", good && kept == kStereo, text);
    report.line("processing",
                processor.canProcessSampleSize(kSample32) == kResultTrue &&
                    processor.canProcessSampleSize(kSample64) != kResultTrue &&
                    processor.getLatencySamples() == 0 && processor.getTailSamples() == 0,
                std::string("32-bit samples ") +
                    yesNo(processor.canProcessSampleSize(kSample32) == kResultTrue) + ", 64-bit " +
                    yesNo(processor.canProcessSampleSize(kSample64) == kResultTrue) + ", latency " +
                    std::to_string(processor.getLatencySamples()) + ", tail " +
                    std::to_string(processor.getTailSamples()));
}

void checkBlockSizes(Instance& instance, const DemoSignal& signal, Report& report)
{
    const Channels stereo{signal.left, signal.right};
    instance.start(kLargestBlock);
    for (std::int32_t blockFrames : kBlockSizes) {
        const PlaybackResult apart = playChannels(*instance.processor, stereo, blockFrames, false);
        const PlaybackResult inPlace = playChannels(*instance.processor, stereo, blockFrames, true);
        report.line(("block " + std::to_string(blockFrames)).c_str(),
                    apart.exact && inPlace.exact && apart.silenceFlagsPassed && inPlace.silenceFlagsPassed,
                    std::string(apart.exact ? "bit-exact" : "DIFFERS") + " out of place, " +
                        (inPlace.exact ? "bit-exact" : "DIFFERS") + " in place, " +
                        std::to_string(apart.calls) + " calls each; silence flags " +
                        (apart.silenceFlagsPassed && inPlace.silenceFlagsPassed ? "passed through" : "LOST"));
    }
    report.line("edge calls", playEdgeCalls(*instance.processor), "0 frames, and no buses at all");
    instance.stop();
    const bool mono = arrange(*instance.processor, {kMono}, {kMono});
    BusInfo bus{};
    instance.component->getBusInfo(kAudio, kInput, 0, bus);
    instance.start(kLargestBlock);
    const PlaybackResult apart = playChannels(*instance.processor, {signal.left}, kMonoBlockFrames, false);
    const PlaybackResult inPlace = playChannels(*instance.processor, {signal.left}, kMonoBlockFrames, true);
    instance.stop();
    report.line("mono", mono && bus.channelCount == 1 && apart.exact && inPlace.exact,
                std::to_string(bus.channelCount) + " channel a bus, " +
                    (apart.exact && inPlace.exact ? "bit-exact" : "DIFFERS") +
                    " out of place and in place in calls of " + std::to_string(kMonoBlockFrames));
}

// Opens the editor without and with the host's run loop, plays the signal in
// real time while reopening it, saves the screenshot, then clicks the level
// histogram. Answers the state saved after the click.
std::vector<std::uint8_t> checkView(Instance& instance, IPlugView* view, const DemoSignal& signal,
                                    const std::string& stem, const std::string& screenshots, Report& report)
{
    const int scale = stem == "orvane_x2" ? 2 : 1;
    // The window opened first also brings what the system starts with its
    // first windows; the editor's own threads show in the second.
    int before = PlugViewWindow::processThreads();
    int ownTimerThreads = 0;
    {
        PlugViewWindow withoutLoop(view, false);
        ownTimerThreads = PlugViewWindow::processThreads() - before;
    }
    before = PlugViewWindow::processThreads();
    PlugViewWindow window(view, true);
    const int added = PlugViewWindow::processThreads() - before;
    // With a run loop the view registers its connection and a timer and
    // starts no thread; without one, on Linux, its own timer thread runs.
    const int registrations = PlugViewWindow::kOffersRunLoop ? 1 : 0;
    const bool ownTimerRight = !PlugViewWindow::kOffersRunLoop || ownTimerThreads == 1;
    const ViewRect size = window.size();
    const std::string loopText = PlugViewWindow::kOffersRunLoop
                                     ? "; without a host run loop " + std::to_string(ownTimerThreads) +
                                           " thread of its own, with one " + std::to_string(added) + " (" +
                                           std::to_string(window.registeredDescriptors()) + " descriptor, " +
                                           std::to_string(window.registeredTimers()) + " timer registered)"
                                     : "; no run loop on this system (the window's own timer message), " +
                                           std::to_string(added) + " threads added";
    report.line("editor",
                window.attached() && view->canResize() == kResultFalse && added == 0 && ownTimerRight &&
                    window.registeredDescriptors() == registrations &&
                    window.registeredTimers() == registrations,
                std::to_string(size.right - size.left) + " x " + std::to_string(size.bottom - size.top) +
                    " pixels, " + (window.attached() ? "attached" : "NOT attached") + ", resizable " +
                    yesNo(view->canResize() == kResultTrue) + loopText);

    instance.start(kRealTimeBlockFrames);
    int reopenings = 0;
    const PlaybackResult played =
        playInRealTime(*instance.processor, signal, kRealTimeBlockFrames, [&](double share) {
            window.serve();
            if (reopenings < kReopenings && share >= (reopenings + 1.0) / (kReopenings + 1.0)) {
                window.reattach();
                ++reopenings;
            }
        });
    instance.stop();
    report.line("pass-through", played.exact && played.silenceFlagsPassed && window.attached(),
                std::string(played.exact ? "bit-exact" : "DIFFERS") + " for " +
                    std::to_string(signal.left.size()) + " frames in " + std::to_string(played.calls) +
                    " calls of " + std::to_string(kRealTimeBlockFrames) +
                    " in real time, the view reopened " + std::to_string(reopenings) + " times meanwhile");
    // Reopened after the refresh interval, the editor shows the final state.
    window.serveFor(kSettle);
    window.reattach();
    window.serveFor(kSettle);
    if (!screenshots.empty()) {
        const Screenshot shot = window.capture();
        const std::string file = window.saveCapture(screenshots, stem);
        report.line("screenshot",
                    !file.empty() && shot.width == size.right - size.left &&
                        shot.height == size.bottom - size.top,
                    file.empty() ? "could NOT be written" : file);
    }
    const std::vector<std::uint8_t> initial = instance.state();
    window.click(kHistogramX * scale, kHistogramY * scale);
    const std::vector<std::uint8_t> after = instance.state();
    report.line("view options", !initial.empty() && !after.empty() && initial != after,
                "saved " + hex(reinterpret_cast<const char*>(initial.data()), initial.size()) +
                    ", after a click on the level histogram " +
                    hex(reinterpret_cast<const char*>(after.data()), after.size()));
    return after;
}

std::vector<std::uint8_t> checkEditor(Instance& instance, const DemoSignal& signal, const std::string& stem,
                                      const std::string& screenshots, Report& report)
{
    IPlugView* view = instance.controller->createView(kEditor);
    if (!view) {
        report.line("editor", false, "createView answered no view");
        return {};
    }
    const std::vector<std::uint8_t> saved = checkView(instance, view, signal, stem, screenshots, report);
    view->release();
    return saved;
}

// The saved options in a new instance, and streams that must be refused
// without changing them.
void checkState(Instance& instance, const std::vector<std::uint8_t>& saved, Report& report)
{
    MemoryStream stream(saved);
    const bool restored = instance.component->setState(&stream) == kResultOk && instance.state() == saved;
    MemoryStream again(saved);
    const bool controllerTakes = instance.controller->setComponentState(&again) == kResultOk;
    std::vector<std::uint8_t> damaged = saved;
    if (!damaged.empty())
        damaged.back() = 0xFF;
    struct Refusal {
        const char* name;
        std::vector<std::uint8_t> bytes;
    };
    const Refusal refusals[] = {
        {"empty", {}},
        {"short",
         std::vector<std::uint8_t>(saved.begin(), saved.begin() + std::min<std::size_t>(3, saved.size()))},
        {"damaged", damaged},
        {"foreign", {'R', 'I', 'F', 'F', 0x24, 0x00, 0x00, 0x00}},
    };
    bool refused = true;
    std::string text;
    for (const Refusal& refusal : refusals) {
        MemoryStream bad(refusal.bytes);
        const bool took = instance.component->setState(&bad) == kResultOk;
        refused = refused && !took && instance.state() == saved;
        text += std::string(", ") + refusal.name + (took ? " TAKEN" : " refused");
    }
    report.line("state", restored && controllerTakes && refused,
                std::string(restored ? "restored" : "NOT restored") + " in a new instance" + text);
}

bool checkBundle(const std::string& bundle, const DemoSignal& signal, const std::string& screenshots)
{
    std::printf("%s\n", bundle.c_str());
    Report report;
    Vst3Module module(bundle);
    report.line("binary", module.factory() != nullptr,
                module.binaryPath() + (module.factory() ? "" : ": " + module.problem()));
    PClassInfo2 info{};
    if (!module.factory() || !describeClass(*module.factory(), Vst3Module::stemOf(bundle), info, report))
        return false;
    {
        Instance instance(*module.factory(), info.cid);
        report.line("instance", instance.complete(),
                    instance.complete() ? "component, processor and controller" : "INCOMPLETE");
        if (!instance.complete())
            return false;
        checkBuses(instance, report);
        checkArrangements(instance, report);
        checkBlockSizes(instance, signal, report);
    }
    std::vector<std::uint8_t> saved;
    {
        Instance instance(*module.factory(), info.cid);
        if (instance.complete())
            saved = checkEditor(instance, signal, Vst3Module::stemOf(bundle), screenshots, report);
    }
    {
        Instance instance(*module.factory(), info.cid);
        if (instance.complete() && !saved.empty())
            checkState(instance, saved, report);
    }
    return report.allPassed();
}

} // namespace

int main(int argc, char** argv)
{
    // Each line as it is printed, so that a log shows how far a run came.
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    std::vector<std::string> bundles(argv + 1, argv + argc);
    std::string screenshots;
    if (bundles.size() >= 2 && bundles[0] == "--screenshots") {
        screenshots = bundles[1];
        bundles.erase(bundles.begin(), bundles.begin() + 2);
    }
    if (bundles.empty()) {
        std::fprintf(stderr, "usage: orvhost_vst3 [--screenshots FOLDER] BUNDLE...\n");
        return 2;
    }
    const DemoSignal signal = DemoSignal::make(DemoSignal::kDemoSeconds);
    std::printf("Demo signal: %.1f s of a synthetic stereo mix at %.0f Hz\n\n", DemoSignal::kDemoSeconds,
                static_cast<double>(DemoSignal::kSampleRate));
    bool ok = true;
    for (const std::string& bundle : bundles) {
        const bool passed = checkBundle(bundle, signal, screenshots);
        std::printf("  %-15s %s\n\n", "result", passed ? "every check passed" : "SOME CHECKS FAILED");
        ok = ok && passed;
    }
    return ok ? 0 : 1;
}
