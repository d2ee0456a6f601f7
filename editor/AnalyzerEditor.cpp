#include "editor/AnalyzerEditor.h"

#include "analysis/Analyzer.h"
#include "editor/ImageBitmap.h"
#include "gui/Frame.h"
#include "gui/MomentaryButton.h"
#include "gui/OverlayButton.h"
#include "gui/Platform.h"
#include "gui/ValueDisplay.h"

#include <atomic>
#include <initializer_list>
#include <new>

namespace {

constexpr std::int32_t K = kDisplayScale;

struct BitmapIds {
    std::int32_t background, display, reset, overlay, picture;
};
constexpr BitmapIds kBitmapIds = K == 1 ? BitmapIds{101, 102, 103, 104, 105} : BitmapIds{122, 119, 115, 120, 121};

// The editor is 4 pixels wider than the pictures' right edge at any scale.
constexpr std::int16_t kEditorWidth = 512 * K + 4;
constexpr std::int16_t kEditorHeight = 204 * K;
constexpr Rect kEditorArea{0, 0, kEditorWidth, kEditorHeight};
constexpr Rect kResetButtonArea{40 * K, 184 * K, 70 * K, 200 * K};
constexpr std::int32_t kResetPressedOffset = 16 * K;
constexpr Rect kOverlayButtonArea{74 * K, 184 * K, 138 * K, 200 * K};
// Histogram, spectrum, level history, spectrogram: tags 1 to 4.
constexpr Rect kPictureAreas[AnalyzerEditor::kPictureCount] = {
    {108 * K, 4 * K, 308 * K, 100 * K},
    {312 * K, 4 * K, 512 * K, 100 * K},
    {108 * K, 104 * K, 308 * K, 200 * K},
    {312 * K, 104 * K, 512 * K, 200 * K},
};

enum Tag : std::int32_t {
    TagReset = 0,
    TagHistogram = 1,
    TagSpectrum = 2,
    TagLevelHistory = 3,
    TagSpectrogram = 4,
    TagOverlay = 5,
};

constexpr Analyzer::Request kPictureToggles[AnalyzerEditor::kPictureCount] = {
    Analyzer::ToggleZoomHistogram,
    Analyzer::ToggleLogFrequencyAxis,
    Analyzer::ToggleSlowLevelHistory,
    Analyzer::ToggleSlowSpectrogram,
};

Rect displayArea(int k)
{
    const std::int32_t bottom = 20 * (k + 1) * K;
    return {40 * K, bottom - 16 * K, 104 * K, bottom};
}

constexpr std::int32_t kRefreshIntervalMs = 50;
// One clock for every editor in the process; the first call only starts it.
std::atomic<bool> clockStarted{false};
std::atomic<std::uint32_t> lastUpdate{0};


} // namespace

AnalyzerEditor::AnalyzerEditor(Analyzer& analyzer) : EditorBase(&analyzer), analyzer(&analyzer)
{
    editorRect = ERect{0, 0, kEditorHeight, kEditorWidth};
    for (ImageBitmap*& picture : imageBitmaps)
        picture = new (std::nothrow) ImageBitmap(kBitmapIds.picture);
}

AnalyzerEditor::~AnalyzerEditor()
{
    if (frame)
        close();
    for (ImageBitmap*& picture : imageBitmaps) {
        if (picture)
            picture->release();
        picture = nullptr;
    }
}

std::int32_t AnalyzerEditor::open(void* parentWindow)
{
    const UserInterfaceScope userInterface(userInterfaceLock());
    // A second open without close replaces the first window instead of leaking it.
    if (frame)
        close();
    EditorBase::open(parentWindow);
    ERect* rect = nullptr;
    getRect(&rect);
    // Out of memory, the editor shows what it could make rather than take the host down.
    frame = new (std::nothrow) Frame(Rect{rect->left, rect->top, rect->right, rect->bottom}, parentWindow, this);
    if (!frame)
        return 0;
    makeBitmaps();
    makeControls();
    opened = true;
    // The analysis is read here on the user-interface thread only when no
    // block is being analysed; otherwise the next block hands the refresh over.
    if (!refreshPending && analyzer->analysisGate.tryEnter()) {
        pacedUpdate();
        analyzer->analysisGate.leave();
    }
    updateDisplay();
    return 1;
}

void AnalyzerEditor::makeBitmaps()
{
    displayBitmap = new (std::nothrow) Bitmap(kBitmapIds.display);
    resetBitmap = new (std::nothrow) Bitmap(kBitmapIds.reset);
    backgroundBitmap = new (std::nothrow) Bitmap(kBitmapIds.background);
    overlayBitmap = new (std::nothrow) Bitmap(kBitmapIds.overlay);
    if (backgroundBitmap)
        backgroundBitmap->setTransparentColor(ColorYellow);
    frame->setBackground(backgroundBitmap);
}

void AnalyzerEditor::makeControls()
{
    for (int k = 0; k < kDisplayCount; ++k) {
        displays[k] = adopt(new (std::nothrow) ValueDisplay(displayArea(k), displayBitmap, 0));
        if (displays[k])
            displays[k]->setTextColor(ColorBlack);
    }
    resetButton = adopt(new (std::nothrow) MomentaryButton(kResetButtonArea, this, TagReset, kResetPressedOffset,
                                                           resetBitmap, Point{}));
    for (int i = 0; i < kPictureCount; ++i) {
        // Both states show the same picture.
        imageViews[i] = adopt(new (std::nothrow) MomentaryButton(kPictureAreas[i], this, TagHistogram + i, 0,
                                                                 imageBitmaps[i], Point{}));
    }
    // Added last, so that it lies above everything it covers when shown.
    overlayButton = adopt(
        new (std::nothrow) OverlayButton(kOverlayButtonArea, this, TagOverlay, overlayBitmap, kEditorArea, Point{}));
}

template <typename SomeView> SomeView* AnalyzerEditor::adopt(SomeView* view)
{
    if (view && !frame->addChild(view)) {
        view->release();
        return nullptr;
    }
    return view;
}

void AnalyzerEditor::close()
{
    const UserInterfaceScope userInterface(userInterfaceLock());
    opened = false;
    delete frame;
    frame = nullptr;
    releaseBitmaps();
}

void AnalyzerEditor::releaseBitmaps()
{
    for (Bitmap** bitmap : {&displayBitmap, &resetBitmap, &backgroundBitmap, &overlayBitmap}) {
        if (*bitmap)
            (*bitmap)->release();
        *bitmap = nullptr;
    }
}

void AnalyzerEditor::idle()
{
    // A host answering the tracking loop's own idle call finds the work under way.
    if (inIdle)
        return;
    const UserInterfaceScope userInterface(userInterfaceLock());
    EditorBase::idle();
    updateDisplay();
}

void AnalyzerEditor::onRefreshTimer()
{
    updateDisplay();
}

float AnalyzerEditor::displayedValue(int k) const
{
    return opened && displays[k] ? displays[k]->getValue() : 0.0f;
}

void AnalyzerEditor::updateDisplay()
{
    if (!analyzer || !opened || !refreshPending.load(std::memory_order_acquire))
        return;
    for (int k = 0; k < kDisplayCount; ++k)
        if (displays[k])
            displays[k]->setValue(pendingRefresh.measures.*kPanelMeasures[k].value);
    const Analyzer::PictureChanges changed = renderPictures(pendingRefresh);
    // Rendered: the analysis may hand over the next refresh while this one is drawn.
    refreshPending.store(false, std::memory_order_release);
    // The overlay stays intact; the new values and pictures show when it closes.
    if (overlayShown)
        return;
    drawPictures(changed);
}

Analyzer::PictureChanges AnalyzerEditor::renderPictures(AnalysisSnapshot& snapshot)
{
    std::uint8_t* pixels[kPictureCount] = {};
    for (int i = 0; i < kPictureCount; ++i) {
        pixels[i] = imageBitmaps[i] ? imageBitmaps[i]->getPixels() : nullptr;
        if (!pixels[i])
            return 0;
    }
    return analyzer->renderGraphs(snapshot, pixels[0], pixels[1], pixels[2], pixels[3]);
}

// Only what changed is drawn: the pictures the rendering changed and the
// displays whose value moved. The rest of the window already shows what a
// full redraw would.
void AnalyzerEditor::drawPictures(Analyzer::PictureChanges changed)
{
    for (int i = 0; i < kPictureCount; ++i)
        if (imageViews[i] && (changed & (1u << i)))
            imageViews[i]->setDirty(true);
    frame->updateDirtyViews();
}

void AnalyzerEditor::pacedUpdate()
{
    const std::uint32_t now = platform::refreshClockMilliseconds();
    if (!clockStarted.exchange(true)) {
        lastUpdate = now;
        return;
    }
    if (static_cast<std::int32_t>(now - lastUpdate.load()) <= kRefreshIntervalMs)
        return;
    if (opened.load(std::memory_order_acquire)) {
        // The last refresh is not drawn yet: no history row may be taken from
        // the analysis for a picture that would never show it, so wait.
        if (refreshPending.load(std::memory_order_acquire))
            return;
        analyzer->takeSnapshot(pendingRefresh);
        refreshPending.store(true, std::memory_order_release);
    }
    lastUpdate = now;
}

void AnalyzerEditor::showOverlay(bool shown)
{
    overlayShown = shown;
    // The background picture covers the panel only: without an erase, the
    // help would stay visible in the gaps between the pictures.
    if (!shown && frame)
        frame->invalidate();
}

void AnalyzerEditor::valueChanged(DrawContext* context, Control* control)
{
    const std::int32_t tag = control->getTag();
    const float value = control->getValue();
    if (tag == TagReset)
        analyzer->request(Analyzer::RequestReset);
    else if (tag >= TagHistogram && tag <= TagSpectrogram && value == 0.0f)
        analyzer->request(kPictureToggles[tag - TagHistogram]);
    else if (tag == TagOverlay)
        showOverlay(value == 1.0f);
    if (context)
        control->update(*context);
}
