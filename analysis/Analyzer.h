// The plug-in's effect: copies its two inputs to its two outputs, gathers the
// input into 2048-frame blocks and measures every full block. It owns all
// analysis state that the editor shows; the editor takes snapshots of it, and
// only the picture rendering and the editor's controls write to it from outside.
//
// Threads: process and processReplacing run on the host's audio thread, and
// all analysis runs inside them, holding `analysisGate`. The editor's
// controls (reset, options) run on the user-interface thread and only post
// requests, which take effect between two calls of process: a block never
// sees half a reset or an option flipped halfway through its pictures.
#pragma once

#include "analysis/AnalysisSnapshot.h"
#include "analysis/BlockWork.h"
#include "analysis/DebugLog.h"
#include "analysis/EngineKernels.h"
#include "analysis/SpinGate.h"
#include "analysis/displayScale.h"
#include "host/ExtendedEffect.h"

#include <atomic>
#include <cstdint>

class Analyzer : public ExtendedEffect {
public:
    static constexpr int kChannels = kAnalysisChannels;
    static constexpr int kBlockFrames = kAnalysisBlockFrames;
    static constexpr int kSpectrumBins = kSpectrumBinCount;
    static constexpr int kHistogramBins = kHistogramBinCount;
    static constexpr int kProgramNameLength = 31;

    // Counts its process calls in `debugLog` (none: no log). The destructor
    // returns once every counted line is written.
    explicit Analyzer(audioMasterCallback audioMaster, DebugLog* debugLog = &DebugLog::plugin());
    ~Analyzer() override;

    void setParameter(std::int32_t index, float value) override;
    float getParameter(std::int32_t index) override;
    // Audio thread. Counts the debug line, then gathers frames into blocks.
    void process(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    // Audio thread. Bit-exact copy of the inputs (in place allowed), then process.
    void processReplacing(float** inputs, float** outputs, std::int32_t sampleFrames) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(std::int32_t index, char* label) override;
    void getParameterDisplay(std::int32_t index, char* text) override;
    void getParameterName(std::int32_t index, char* text) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;

    // Starts a new measurement from the next block on; frames of the current
    // partial block are dropped. Only for the holder of `analysisGate`.
    void reset();

    // What the editor's controls ask for, from the user-interface thread.
    enum Request : std::uint32_t {
        RequestReset = 1,
        ToggleZoomHistogram = 2,
        ToggleLogFrequencyAxis = 4,
        ToggleSlowLevelHistory = 8,
        ToggleSlowSpectrogram = 16,
    };
    // Applied at once when no audio is being processed, otherwise at the start
    // of the next process call. Two toggles of one option cancel out.
    void request(Request what);
    // The four picture options as last asked for, applied or still pending:
    // the Toggle bits of the options that are on. For saving them with a
    // host's project; user-interface thread.
    static constexpr std::uint32_t kViewOptionBits =
        ToggleZoomHistogram | ToggleLogFrequencyAxis | ToggleSlowLevelHistory | ToggleSlowSpectrogram;
    std::uint32_t viewOptions() const { return requestedViewOptions.load(); }
    // Asks for exactly these options, as the toggles that lead there would.
    void requestViewOptions(std::uint32_t options);

    // The per-block steps, run on the audio thread for every full block.
    void analyseBlock(std::int32_t channels);
    // Folds one block into the running state: `samples` are the block's and
    // `work` its BlockWork, measured (and transformed, or it is done here when
    // the block is not silent). Blocks must come in order, one at a time; the
    // result has the bits of analyseBlock on the same samples.
    void accumulateBlock(const BlockWork::Samples& samples, std::int32_t channels, BlockWork& work);
    void averageSpectrum(std::int32_t channels, float sumAbsolute, const float (&sumSquares)[kChannels]);
    void updateMeasures(std::int32_t channels);

    // What a refresh of the editor shows, as it stands now. The history sums
    // and counters that the refresh's pictures consume (the ones whose row is
    // due) are set back to zero here, so each gathered period goes into
    // exactly one row. Only for the holder of `analysisGate`.
    void takeSnapshot(AnalysisSnapshot& snapshot);

    // Pictures for the editor. The colour map is made once by the constructor.
    void buildColourMap();
    void colourFor(float value, std::uint8_t* blue, std::uint8_t* green, std::uint8_t* red) const;
    // Which pictures a rendering changed: bit i for picture i, in the order
    // histogram, spectrum, level history, spectrogram.
    using PictureChanges = std::uint32_t;
    // Renders the four pictures from a snapshot and adds the due history rows
    // to the history images, which nothing else touches. Any thread, one at a time.
    PictureChanges renderGraphs(AnalysisSnapshot& snapshot, std::uint8_t* histogramPicture,
                                std::uint8_t* spectrumPicture, std::uint8_t* levelHistoryPicture,
                                std::uint8_t* spectrogramPicture);
    // The same for the analysis as it stands now; only for the holder of `analysisGate`.
    void renderGraphs(std::uint8_t* histogramPicture, std::uint8_t* spectrumPicture,
                      std::uint8_t* levelHistoryPicture, std::uint8_t* spectrogramPicture);

    char programName[kProgramNameLength + 1];
    float overallRms = 0.0f;
    float channelRms[kChannels] = {};
    float meanAbsolute = 0.0f;
    float runningPeak = 0.0f;
    // 64-bit counts: a float count would stop growing after 16,777,216 samples.
    std::int64_t nearPeakCount = 0;
    std::int64_t quietCount = 0;
    AnalyzerMeasures measures = {};
    // 64-bit: one bin of days of audio at high sample rates outgrows 32 bits.
    std::int64_t levelHistogram[kChannels][kHistogramBins] = {};
    float channelSpectrum[kChannels][kSpectrumBins] = {};
    float combinedSpectrum[kSpectrumBins] = {};
    float slowEnergy[kChannels] = {};
    float fastEnergy[kChannels] = {};
    float hammingWindow[kBlockFrames] = {};
    // 64-bit so that days of audio since a reset keep every measure right.
    std::int64_t analysedFrames = 0;
    std::int32_t spectrumCount = 0;
    std::int32_t slowSpectrumCount = 0;
    std::int32_t fastSpectrumCount = 0;
    std::int32_t slowLevelBlocks = 0;
    std::int32_t fastLevelBlocks = 0;
    float blockBuffer[kChannels][kBlockFrames] = {};
    std::int32_t blockFill = 0;
    bool logFrequencyAxis = false;
    bool zoomHistogram = true;
    bool slowLevelHistory = false;
    bool slowSpectrogram = false;
    // The vector loops the analysis runs on: the fastest this processor has.
    // Every table gives the same bits.
    const EngineKernels* kernels = &fastestKernels();
    // Saturates at the int32 limit: a silence of days stays a silence.
    std::int32_t silentRun = 0;
    bool silent = false;
    std::uint8_t levelHistoryImages[2][kPictureBytes];
    std::uint8_t spectrogramImages[4][kPictureBytes];
    std::uint32_t colourMap[1024];
    // Held by process for the whole call; others hold it only briefly to
    // apply a request or to read the analysis for a refresh.
    SpinGate analysisGate;

private:
    void gatherFrames(float** inputs, std::int32_t sampleFrames);
    void applyRequests();
    void applyRequestsUnlessProcessing();

    std::atomic<std::uint32_t> pendingRequests{0};
    // Zoomed histogram, linear axis, fast histories: the options at start.
    std::atomic<std::uint32_t> requestedViewOptions{ToggleZoomHistogram};
    DebugLog* debugLog;
};

// Makes the analyzer's editor, which binds itself to the analyzer. False only
// when it could not be allocated. Provided by the editor subsystem.
bool makeAnalyzerEditor(Analyzer& analyzer);
// The editor's paced refresh, run after every analysed block on the audio
// thread, inside `analysisGate`. Provided by the editor subsystem.
void pacedEditorUpdate(Analyzer& analyzer);
