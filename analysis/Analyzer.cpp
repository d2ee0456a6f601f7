#include "analysis/Analyzer.h"

#include "analysis/fft.h"
#include "host/entryPoints.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

// Hosts and saved projects find a plug-in by this ID, so each build needs its
// own: 'OrVa' for orvane as it always was, 'OrV2' for orvane_x2.
constexpr std::int32_t kUniqueId =
    kDisplayScale == 1 ? fourCharCode('O', 'r', 'V', 'a') : fourCharCode('O', 'r', 'V', '2');
constexpr const char* kVendor = "Brindlewick";

void consumeLevelRow(float (&energy)[kAnalysisChannels], std::int32_t& blocks, float period, float sampleRate)
{
    if (!isHistoryRowDue(sampleRate, period, blocks))
        return;
    blocks = 0;
    energy[1] = 0.0f;
    energy[0] = 0.0f;
}

void consumeSpectrogramRow(std::int32_t& blocks, float period, float sampleRate)
{
    if (isHistoryRowDue(sampleRate, period, blocks))
        blocks = 0;
}

} // namespace

Analyzer::Analyzer(audioMasterCallback audioMaster, DebugLog* debugLog)
    : ExtendedEffect(audioMaster, 1, 0), debugLog(debugLog)
{
    if (debugLog)
        debugLog->attach();
    setNumInputs(kChannels);
    setNumOutputs(kChannels);
    setUniqueID(kUniqueId);
    setCanMono(true);
    setCanReplacing(true);
    std::strcpy(programName, "Default");
    if (!makeAnalyzerEditor(*this))
        outOfMemory = 1;
    reset();
    logFrequencyAxis = false;
    zoomHistogram = true;
    slowLevelHistory = false;
    slowSpectrogram = false;
    fillHammingWindow(kBlockFrames, hammingWindow);
    buildColourMap();
    std::memset(spectrogramImages, 0, sizeof spectrogramImages);
    std::memset(levelHistoryImages, 0, sizeof levelHistoryImages);
}

// The base destroys the editor.
Analyzer::~Analyzer()
{
    if (debugLog)
        debugLog->detach();
}

// No parameters: writes are ignored and every read answers 1.0.
void Analyzer::setParameter(std::int32_t, float) {}

float Analyzer::getParameter(std::int32_t)
{
    return 1.0f;
}

void Analyzer::process(float** inputs, float**, std::int32_t sampleFrames)
{
    if (debugLog)
        debugLog->countLine();
    // Waits at most for a request being applied or a refresh reading the analysis.
    analysisGate.enter();
    applyRequests();
    if (sampleFrames > 0 && inputs && inputs[0])
        gatherFrames(inputs, sampleFrames);
    analysisGate.leave();
}

void Analyzer::request(Request what)
{
    if (what == RequestReset) {
        pendingRequests.fetch_or(what);
    } else {
        requestedViewOptions.fetch_xor(what);
        pendingRequests.fetch_xor(what);
    }
    applyRequestsUnlessProcessing();
}

void Analyzer::requestViewOptions(std::uint32_t options)
{
    options &= kViewOptionBits;
    const std::uint32_t changes = requestedViewOptions.exchange(options) ^ options;
    pendingRequests.fetch_xor(changes);
    applyRequestsUnlessProcessing();
}

// Otherwise the process call under way applies them when the next one starts.
void Analyzer::applyRequestsUnlessProcessing()
{
    if (analysisGate.tryEnter()) {
        applyRequests();
        analysisGate.leave();
    }
}

void Analyzer::applyRequests()
{
    const std::uint32_t pending = pendingRequests.exchange(0);
    if (pending & ToggleZoomHistogram)
        zoomHistogram = !zoomHistogram;
    if (pending & ToggleLogFrequencyAxis)
        logFrequencyAxis = !logFrequencyAxis;
    if (pending & ToggleSlowLevelHistory)
        slowLevelHistory = !slowLevelHistory;
    if (pending & ToggleSlowSpectrogram)
        slowSpectrogram = !slowSpectrogram;
    if (pending & RequestReset)
        reset();
}

// The channel count is decided per call, so a block begun in stereo and
// finished by a mono call is analysed as mono.
void Analyzer::gatherFrames(float** inputs, std::int32_t sampleFrames)
{
    const std::int32_t channels = inputs[1] ? 2 : 1;
    std::int32_t remaining = sampleFrames;
    while (remaining > 0) {
        const std::int32_t n = std::min(kBlockFrames - blockFill, remaining);
        for (std::int32_t c = 0; c < channels; ++c)
            std::memcpy(&blockBuffer[c][blockFill], inputs[c] + (sampleFrames - remaining),
                        sizeof(float) * static_cast<std::size_t>(n));
        blockFill += n;
        if (blockFill == kBlockFrames) {
            analyseBlock(channels);
            blockFill = 0;
        }
        remaining -= n;
    }
}

void Analyzer::processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames)
{
    // A missing array counts like missing channels: that channel is not copied.
    for (int c = 0; c < kChannels && sampleFrames > 0; ++c) {
        const float* in = inputs ? inputs[c] : nullptr;
        float* out = outputs ? outputs[c] : nullptr;
        if (in && out && in != out)
            std::memmove(out, in, sizeof(float) * static_cast<std::size_t>(sampleFrames));
    }
    process(inputs, outputs, sampleFrames);
}

void Analyzer::setProgramName(char* name)
{
    std::size_t n = 0;
    while (n < kProgramNameLength && name[n] != '\0') {
        programName[n] = name[n];
        ++n;
    }
    programName[n] = '\0';
}

void Analyzer::getProgramName(char* name)
{
    // The host's buffer holds 24 bytes, fewer than a stored name may need.
    std::size_t n = 0;
    while (n < kProgramNameBufferSize - 1 && programName[n] != '\0') {
        name[n] = programName[n];
        ++n;
    }
    name[n] = '\0';
}

// No parameters, so the host's buffers are left as they were.
void Analyzer::getParameterLabel(std::int32_t, char*) {}

void Analyzer::getParameterDisplay(std::int32_t, char*) {}

void Analyzer::getParameterName(std::int32_t, char*) {}

bool Analyzer::getEffectName(char* name)
{
    if (kDisplayScale == 1)
        std::strcpy(name, "Orvane");
    else
        std::sprintf(name, "Orvane x%d", kDisplayScale);
    return true;
}

bool Analyzer::getVendorString(char* text)
{
    std::strcpy(text, kVendor);
    return true;
}

bool Analyzer::getProductString(char* text)
{
    if (kDisplayScale == 1)
        std::strcpy(text, "Orvane VST");
    else
        std::sprintf(text, "Orvane VST x%d", kDisplayScale);
    return true;
}

void Analyzer::reset()
{
    runningPeak = 0.0f;
    overallRms = 0.0f;
    meanAbsolute = 0.0f;
    measures = AnalyzerMeasures{};
    nearPeakCount = 0;
    quietCount = 0;
    std::memset(levelHistogram, 0, sizeof levelHistogram);
    std::memset(channelSpectrum, 0, sizeof channelSpectrum);
    std::memset(combinedSpectrum, 0, sizeof combinedSpectrum);
    analysedFrames = 0;
    spectrumCount = 0;
    slowSpectrumCount = 0;
    fastSpectrumCount = 0;
    slowLevelBlocks = 0;
    fastLevelBlocks = 0;
    std::memset(slowEnergy, 0, sizeof slowEnergy);
    std::memset(fastEnergy, 0, sizeof fastEnergy);
    blockFill = 0;
}

void Analyzer::takeSnapshot(AnalysisSnapshot& snapshot)
{
    snapshot.measures = measures;
    snapshot.sampleRate = sampleRate;
    snapshot.analysedFrames = analysedFrames;
    std::memcpy(snapshot.levelHistogram, levelHistogram, sizeof levelHistogram);
    std::memcpy(snapshot.channelSpectrum, channelSpectrum, sizeof channelSpectrum);
    std::memcpy(snapshot.combinedSpectrum, combinedSpectrum, sizeof combinedSpectrum);
    std::memcpy(snapshot.slowEnergy, slowEnergy, sizeof slowEnergy);
    std::memcpy(snapshot.fastEnergy, fastEnergy, sizeof fastEnergy);
    snapshot.slowSpectrumCount = slowSpectrumCount;
    snapshot.fastSpectrumCount = fastSpectrumCount;
    snapshot.slowLevelBlocks = slowLevelBlocks;
    snapshot.fastLevelBlocks = fastLevelBlocks;
    snapshot.logFrequencyAxis = logFrequencyAxis;
    snapshot.zoomHistogram = zoomHistogram;
    snapshot.slowLevelHistory = slowLevelHistory;
    snapshot.slowSpectrogram = slowSpectrogram;
    // The pictures made from this snapshot add no rows while nothing has
    // been analysed since the last reset.
    if (analysedFrames == 0)
        return;
    consumeLevelRow(slowEnergy, slowLevelBlocks, kSlowHistoryPeriod, sampleRate);
    consumeLevelRow(fastEnergy, fastLevelBlocks, kFastHistoryPeriod, sampleRate);
    consumeSpectrogramRow(slowSpectrumCount, kSlowHistoryPeriod, sampleRate);
    consumeSpectrogramRow(fastSpectrumCount, kFastHistoryPeriod, sampleRate);
}
